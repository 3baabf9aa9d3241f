// The text model driven as the user drives it: keys, palette picks and the clipboard, each
// case from a text, a cursor and a selection to the resulting text, cursor and dirty mark.

#include "editor_fixture.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// One thing the user does, given the fixture.
using Fixture = ScreenFixture;
using Step = std::function<void(Fixture&)>;

const auto key = [](int k) -> Step { return [k](Fixture& t) { t.press(k); }; };
const auto shiftDown = []() -> Step { return [](Fixture& t) { t.down(kKeyShift); }; };
const auto shiftUp = []() -> Step { return [](Fixture& t) { t.up(kKeyShift); }; };
const auto ctrl = [](auto... k) -> Step { return [k...](Fixture& t) { t.controlled(k...); }; };
// A character as a keyboard layout types it, with the modifiers held.
const auto chr = [](char32_t c, TKeyModifiers held = {}) -> Step {
    return [c, held](Fixture& t) { t.screen->setChar(c, held); };
};
const auto typed = [](std::string chars) -> Step { return [chars](Fixture& t) { t.type(chars); }; };
const auto color = [](char digit) -> Step {
    return [digit](Fixture& t) { t.screen->pickColor(digit); };
};
const auto extended = [](char c) -> Step {
    return [c](Fixture& t) { t.screen->pickExtendedChar(c); };
};
const auto paste = [](std::string bytes) -> Step {
    return [bytes](Fixture& t) {
        t.owner.clipboard = bytes;
        t.controlled(kKeyV);
    };
};
// A press in the current field at one display position, a drag to another, and the release.
const auto drag = [](int from, int to) -> Step {
    return [from, to](Fixture& t) {
        t.screen->clickField(t.screen->getCurrentField(), from);
        t.screen->dragTo(to);
        t.screen->endDrag();
    };
};

// The owner replaces the record under the cursor (Undo from the menu reopens the file), then
// the step.
const auto replacedThen = [](std::string text, Step then) -> Step {
    return [text, then](Fixture& t) {
        t.fields.set(t.screen->getCurrentField(), text);
        then(t);
    };
};

constexpr int kClicked = -1; // leave the cursor where the entering click put it
constexpr char kEacute = static_cast<char>(0xE9);

struct EditCase {
    const char* name;
    int field;
    std::string text;
    int cursor;
    std::optional<int> anchor; // a selection from anchor to cursor
    std::vector<Step> steps;
    std::string expected;
    int expectedCursor;
    bool expectedDirty;
    bool expectedSelection = false;
    std::optional<std::string> expectedClipboard = std::nullopt; // what the clipboard holds after
};

// Test names say enough; GoogleTest would otherwise print the case's bytes.
void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string k19 = "ABCDEFGHIJKLMNOPQRS";
const std::string k20 = k19 + "T";
const std::string k21 = k20 + "U";

// clang-format off
const std::vector<EditCase> kCases = {
    // Capacity: a text is at most capacity - 1 bytes.
    {"TypeFillsLastByte", kFieldCallsign, k20, 20, {}, {typed("u")}, k20 + "u", 21, true},
    {"TypeIntoFullField", kFieldCallsign, k21, 21, {}, {typed("v")}, k21, 21, false},
    {"TypeIntoFullFieldMiddle", kFieldCallsign, k21, 5, {}, {typed("v")}, k21, 5, false},
    {"PasswordFillsAtEleven", kFieldSquadronPassword, "ABCDEFGHIJ", 10, {}, {typed("k")}, "ABCDEFGHIJK", 11, true},
    {"PasswordFull", kFieldSquadronPassword, "ABCDEFGHIJK", 11, {}, {typed("l")}, "ABCDEFGHIJK", 11, false},
    {"SpaceIntoFullField", kFieldCallsign, k21, 3, {}, {key(kKeySpace)}, k21, 3, false},
    {"ExtendedIntoFullField", kFieldCallsign, k21, 3, {}, {extended(kEacute)}, k21, 3, false},
    {"ColourNeedsTwoBytesOfRoom", kFieldCallsign, k20, 20, {}, {color('3')}, k20, 20, true},
    {"ColourTakesLastTwoBytes", kFieldCallsign, k19, 19, {}, {color('3')}, k19 + "~3", 21, true},
    {"PasteCutToFit", kFieldCallsign, k19, 19, {}, {paste("XYZ")}, k19 + "XY", 21, true, false, "XYZ"},
    {"PasteIntoFullField", kFieldCallsign, k21, 21, {}, {paste("XYZ")}, k21, 21, true, false, "XYZ"},
    {"PasteEndsAtZeroByte", kFieldCallsign, "Q", 1, {}, {paste(std::string("AB\0CD", 5))}, "QAB", 3, true, false, std::string("AB\0CD", 5)},
    // Each removed code is taken again in the scan: "~~33" after "~3" leaves nothing new.
    {"PastedCodesRepeatingTheColour", kFieldCallsign, "~3", 2, {}, {paste("~~33")}, "~3", 2, true, false, "~~33"},
    {"PasteOverSelection", kFieldCallsign, "ABCDE", 4, 1, {paste("xy")}, "AxyE", 3, true, false, "xy"},
    {"PasteKeepsCodesInPassword", kFieldSquadronPassword, "AB", 2, {}, {paste("~3c")}, "AB~3c", 5, true, false, "~3c"},

    // Colour codes around the cursor.
    {"BackspaceAfterCode", kFieldCallsign, "AB~3C", 4, {}, {key(kKeyBackspace)}, "ABC", 2, true},
    {"BackspaceLoneCodeAtStart", kFieldCallsign, "~3", 0, {}, {key(kKeyBackspace)}, "", 0, true},
    {"BackspaceSplitCode", kFieldCallsign, "A~3BC", 2, {}, {key(kKeyBackspace)}, "ABC", 1, true},
    {"DeleteSplitCode", kFieldCallsign, "A~3BC", 2, {}, {key(kKeyDelete)}, "ABC", 1, true},
    {"DeleteCodeAtCursor", kFieldCallsign, "A~3BC", 1, {}, {key(kKeyDelete)}, "ABC", 1, true},
    {"DeleteLoneCode", kFieldCallsign, "~3", 2, {}, {key(kKeyDelete)}, "", 0, true},
    {"DeleteAtEndChangesNothing", kFieldCallsign, "AB", 2, {}, {key(kKeyDelete)}, "AB", 2, false},
    {"SpaceBeforeSplitCode", kFieldCallsign, "A~3B", 2, {}, {key(kKeySpace)}, "A ~3B", 2, true},
    {"DefaultCodeDropsOnNextKey", kFieldSquadronName, "~4AB", kClicked, {}, {key(kKeyRight)}, "AB", 1, false},
    {"RepeatedCodeDropsOnNextKey", kFieldCallsign, "~3AB~3C", kClicked, {}, {key(kKeyRight)}, "~3ABC", 3, false},
    {"DroppedCodeBeforeCursor", kFieldCallsign, "~3A~3B", kClicked, {}, {key(kKeyEnd)}, "~3AB", 4, false},
    {"DroppedCodeMovesAnchor", kFieldCallsign, "AB~5CDEF", kClicked, {}, {drag(6, 0), key(kKeyShift), key(kKeyDelete)}, "EF", 0, true},
    {"DroppedCodeSplitByCursor", kFieldCallsign, "AB5", 2, {}, {typed("~")}, "AB", 2, true},
    {"TypedCodeRepeatsColour", kFieldCallsign, "~3AB", 4, {}, {typed("~3")}, "~3AB", 4, true},
    {"TypedDefaultCodeServer", kFieldServerName, "AB", 2, {}, {typed("~2")}, "AB", 2, true},
    {"PasswordKeepsRepeatedCodes", kFieldSquadronPassword, "~2A~2", 5, {}, {key(kKeyLeft)}, "~2A~2", 4, false},

    // Colour palette.
    {"ColourDefaultInsertsNothing", kFieldCallsign, "ACE", 3, {}, {color('5')}, "ACE", 3, true},
    {"ColourInsertsCode", kFieldCallsign, "ACE", 3, {}, {color('3')}, "ACE~3", 5, true},
    {"ColourBackToDefaultRemovesCode", kFieldCallsign, "ACE", 3, {}, {color('3'), color('5')}, "ACE", 3, true},
    {"ColourChangesAdjacentCode", kFieldCallsign, "ACE", 3, {}, {color('3'), color('7')}, "ACE~7", 5, true},
    {"ColourChangesCodeBeforeCursorAtStart", kFieldCallsign, "~3A", 2, {}, {color('7')}, "~7A", 2, true},
    {"ColourChangesSplitLoneCode", kFieldCallsign, "~3", 1, {}, {color('7')}, "~7", 1, true},
    {"ColourChangesCodeAfterCursor", kFieldCallsign, "AB~3C", 2, {}, {color('7')}, "AB~7C", 2, true},
    {"ColourSameAsSplitCodeRemovesIt", kFieldCallsign, "A~3B", 2, {}, {color('5')}, "AB", 1, true},
    {"ColourSelectionRightwards", kFieldCallsign, "A~2BCD", 5, 3, {color('6')}, "A~6BC~2D", 3, true},
    {"ColourSelectionLeftwards", kFieldCallsign, "A~2BCD", 3, 5, {color('6')}, "A~6BC~2D", 3, true},
    {"ColourSelectionSameAsAfterRightwards", kFieldCallsign, "A~2BCD", 5, 3, {color('2')}, "A~2BCD", 3, true},
    {"ColourSelectionOverCodeRightwards", kFieldCallsign, "AB~3CD", 5, 1, {color('7')}, "A~7BC~3D", 3, true},
    {"ColourSelectionStartsInsideCode", kFieldCallsign, "A~3~4BC", 6, 4, {color('7')}, "A~3~7B~4C", 4, true},
    {"ColourSelectionEndsInsideCode", kFieldCallsign, "AB~3CD", 3, 1, {color('7')}, "A~7B~3CD", 3, true},
    {"ColourSelectionBeforeLoneTilde", kFieldCallsign, "AB~CD", 2, 1, {color('7')}, "A~7B~5~CD", 3, true},
    {"ColourSelectionToEndRightwards", kFieldCallsign, "ABC", 3, 1, {color('4')}, "A~4BC", 3, true},
    {"ColourSelectionEndingInACode", kFieldCallsign, "AB~3", 4, 1, {color('7')}, "A~7B", 3, true},
    {"ColourSelectionDefaultLeftwards", kFieldSquadronName, "A~7BCD", 3, 5, {color('4')}, "ABC~7D", 1, true},
    {"ColourEmptySelectionKeepsColourAfter", kFieldCallsign, "A~2BCD", 3, {}, {key(kKeyShift), color('6')}, "A~6~2BCD", 3, true},
    {"PasswordColourStripsSelection", kFieldSquadronPassword, "AB~3CD", 5, 1, {color('7')}, "ABCD", 1, true},
    {"PasswordColourSelectionInsertsNothing", kFieldSquadronPassword, "ABCD", 3, 1, {color('7')}, "ABCD", 1, true},
    {"PasswordColourWithoutSelection", kFieldSquadronPassword, "AB~3CD", 2, {}, {color('7')}, "AB~3CD", 2, true},
    {"IpAddressIgnoresColour", kFieldIpAddress, "1.2", 3, {}, {color('4')}, "1.2", 3, false},

    // Selection by Shift, and what removes it.
    {"ShiftSelectionReleased", kFieldCallsign, "ABCDE", 5, {}, {shiftDown(), key(kKeyLeft), key(kKeyLeft), shiftUp(), key(kKeyLeft)}, "ABCDE", 2, false},
    {"ShiftSelectionKept", kFieldCallsign, "ABCDE", 5, {}, {shiftDown(), key(kKeyHome), shiftUp()}, "ABCDE", 0, false, true},
    {"BackspaceSelection", kFieldCallsign, "ABCDE", 4, 1, {key(kKeyBackspace)}, "AE", 1, true},
    {"DeleteSelectionLeftwards", kFieldCallsign, "ABCDE", 1, 4, {key(kKeyDelete)}, "AE", 1, true},
    {"TypeOverSelection", kFieldCallsign, "ABCDE", 4, 1, {typed("x")}, "AxE", 2, true},
    {"TypeOverSelectionInFullField", kFieldCallsign, k21, 4, 1, {typed("x")}, "AEFGHIJKLMNOPQRSTU", 1, true},
    {"SpaceOverSelectionInFullField", kFieldCallsign, k21, 1, 4, {key(kKeySpace)}, "AEFGHIJKLMNOPQRSTU", 1, true},
    {"UnmappedKeyRemovesSelection", kFieldCallsign, "ABCDE", 4, 1, {key(kKeyUnmapped)}, "AE", 1, true},
    {"EmptySelectionBackspace", kFieldCallsign, "ABCDE", 3, {}, {key(kKeyShift), key(kKeyBackspace)}, "ABCDE", 3, false},
    {"DeleteAtTheEndAfterACode", kFieldCallsign, "~3A", 3, {}, {key(kKeyDelete)}, "~3A", 3, false},
    {"EmptySelectionDelete", kFieldCallsign, "ABCDE", 3, {}, {key(kKeyShift), key(kKeyDelete)}, "ABCDE", 3, false},
    {"EmptySelectionUnmappedKey", kFieldCallsign, "ABCDE", 3, {}, {key(kKeyShift), key(kKeyUnmapped)}, "ABCDE", 3, false},
    {"EmptySelectionCut", kFieldCallsign, "ABCDE", 3, {}, {key(kKeyShift), ctrl(kKeyX)}, "ABCDE", 3, true, false, ""},
    {"EmptySelectionCopy", kFieldCallsign, "ABCDE", 3, {}, {key(kKeyShift), ctrl(kKeyC)}, "ABCDE", 3, false, true, ""},
    {"EmptySelectionTyping", kFieldCallsign, "ABCDE", 3, {}, {key(kKeyShift), typed("x")}, "ABCxDE", 4, true},
    // Bytes the file carried after the terminator do not go back into the field with the edit.
    {"DeletedSelectionLeavesNoOldBytes", kFieldCallsign, std::string("ABC\0OLD", 7), 3, 1, {key(kKeyDelete)}, "A", 1, true},
    {"CutSelection", kFieldCallsign, "ABCDE", 1, 4, {ctrl(kKeyX)}, "AE", 1, true, false, "BCD"},
    {"CutThenPasteUnderOneControl", kFieldCallsign, "ABCDE", 1, 4, {ctrl(kKeyX, kKeyV)}, "ABCDE", 4, true, false, "BCD"},
    {"CopySelection", kFieldCallsign, "A~3BCDE", 6, 1, {ctrl(kKeyC)}, "A~3BCDE", 6, false, true, "~3BCD"},
    {"ExtendedKeepsSelection", kFieldCallsign, "ABCDE", 3, 1, {extended(kEacute)}, "ABC\xE9" "DE", 4, true, true},
    {"ExtendedIntoReplacedText", kFieldCallsign, "ABCDE", 5, {}, {replacedThen("AB", extended(kEacute))}, "AB\xE9", 3, true},
    {"ExtendedInPassword", kFieldSquadronPassword, "AB", 2, {}, {extended(kEacute)}, "AB\xE9", 3, true},
    {"ExtendedIgnoredInIpAddress", kFieldIpAddress, "AB", 2, {}, {extended(kEacute)}, "AB", 2, false},

    // Key mapping inside fields.
    {"PasswordLettersCapital", kFieldSquadronPassword, "", 0, {}, {typed("aB")}, "AB", 2, true},
    {"PasswordCapsLockStillCapital", kFieldSquadronPassword, "", 0, {}, {key(kKeyCapsLock), typed("aB")}, "AB", 2, true},
    {"CapsLockWithShiftSmall", kFieldCallsign, "", 0, {}, {key(kKeyCapsLock), typed("aB")}, "Ab", 2, true},
    // What a layout types: its Windows-1252 byte when the font shows it; AltGr (Control with
    // Alt on Windows) types, Control alone does not; what the font lacks is an unknown key.
    {"LayoutCharacter", kFieldCallsign, "", 0, {}, {chr(U'\u00E9'), typed("!")}, "\xE9!", 2, true},
    {"LayoutAltGr", kFieldCallsign, "", 0, {}, {chr(U'@', {false, true, true}), chr(U'q', {false, true, false})}, "@", 1, true},
    {"LayoutCharacterFontLacksRemovesSelection", kFieldCallsign, "ABCDE", 4, 1, {chr(U'\u20AC')}, "AE", 1, true},
    {"LayoutCharacterOutsideTheCodePage", kFieldCallsign, "AB", 2, {}, {chr(U'\u65E5'), chr(U'\t')}, "AB", 2, false},
    {"LayoutSmallLetterInPasswordCapital", kFieldSquadronPassword, "", 0, {}, {chr(U'\u00F6'), chr(U'\u0153')}, "\xD6\x8C", 2, true},
    {"UnmappedKeyTypesNothing", kFieldCallsign, "AB", 2, {}, {key(kKeyUnmapped)}, "AB", 2, false},
};
// clang-format on

class TextModel : public ScreenFixture, public ::testing::WithParamInterface<EditCase> {};

TEST_P(TextModel, Edit) {
    const EditCase& c = GetParam();
    enter(c.field, c.text);
    if (c.cursor != kClicked) {
        place(c.cursor, c.anchor);
        ASSERT_EQ(screen->getCursor(), c.cursor);
        ASSERT_EQ(screen->isHilight(), c.anchor.has_value());
    }
    ASSERT_EQ(text(), c.text.c_str()) << "placing the cursor changed the text";
    ASSERT_FALSE(screen->isDirty());
    for (const Step& step : c.steps) {
        step(*this);
        expectSound();
    }
    EXPECT_EQ(text(), c.expected);
    EXPECT_EQ(screen->getCursor(), c.expectedCursor);
    EXPECT_EQ(screen->isDirty(), c.expectedDirty);
    EXPECT_EQ(owner.dirtyFileCalls, c.expectedDirty ? 1 : 0);
    EXPECT_EQ(screen->isHilight(), c.expectedSelection);
    EXPECT_EQ(owner.clipboard, c.expectedClipboard);
    // Bytes freed by a shorter text are zero.
    std::span<char> buffer = fields.field(c.field);
    for (std::size_t i = c.expected.size(); i < std::min(buffer.size(), c.text.size()); ++i) {
        EXPECT_EQ(buffer[i], 0) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextModel, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScreenFixture, CursorDisplayPositionsWithCodesHidden) {
    struct Case {
        const char* text;
        int index;
        int display;
    };
    // clang-format off
    const Case cases[] = {
        {"~5AB", 4, 2}, {"~5AB", 2, 0}, {"~5AB", 0, 0}, {"A~3B", 2, 1}, {"A~3B", 3, 1},
        {"~~5X", 3, 0}, {"~~5X", 4, 1}, {"AB", 5, 6},
    };
    // clang-format on
    for (const Case& c : cases) {
        // The text with its terminator.
        const std::span<const char> text(c.text, std::strlen(c.text) + 1);
        EXPECT_EQ(screen->getCursorIndex(text, c.index), c.display) << c.text << " at " << c.index;
    }
}

} // namespace
