// The mouse at pixel points of the main window: clicks into fields and palettes, drags,
// hover frames, the blink timer, and the repaint requests each makes.

#include "editor_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Mouse = ScreenFixture;

// What a click at a point does: which rectangle it falls in (left <= x < right, top <= y <
// bottom) and what it adds to the field entered with "AB", the cursor at its end. A palette
// click keeps that field current and never steps the side.
TEST_F(Mouse, Clicks) {
    const TScreenRect call = screen->fieldRect(kFieldCallsign);
    const TScreenRect ext = screen->extendedCharRect();
    const TScreenRect colors = screen->colorRect();
    auto extendedCell = [&](int row, int column) {
        return TPoint(ext.left + 20 * column + 10, ext.top + 32 * row + 16);
    };
    // The field current afterwards, and the text of the field entered first.
    // clang-format off
    struct Case { const char* name; TPoint point; int field; bool overField, paletteClick;
                  std::string text; int entered = kFieldCallsign; };
    std::vector<Case> cases{
        {"CallsignTopLeft", TPoint(call.left, call.top), kFieldCallsign, true, false, "AB"},
        {"CallsignBottomRight", TPoint(call.right - 1, call.bottom - 1), kFieldCallsign, true, false, "AB"},
        {"PastCallsignRight", TPoint(call.right, call.top), kNoField, false, false, "AB"},
        {"AboveCallsign", TPoint(call.left, call.top - 1), kNoField, false, false, "AB"},
        {"BetweenPasswordAndSide", TPoint(kEditorOrigin.x + 260, kEditorOrigin.y + 320), kNoField, false, false, "AB"},
        {"PastCharacterPalette", TPoint(ext.right, ext.top), kNoField, false, false, "AB"},
        {"ListCorner", TPoint(0, 0), kNoField, false, false, "AB"},
        {"OutsideTheWindow", TPoint(-5, 9000), kNoField, false, false, "AB"},
        {"BlankInRowFour", extendedCell(4, 12), kFieldCallsign, false, true, "AB "},
        {"CharacterPaletteLastCorner", TPoint(ext.right - 1, ext.bottom - 1), kFieldCallsign, false, true, "AB\xBF"},
        {"LastCharacterInServerName", extendedCell(6, 16), kFieldServerName, false, true, "AB\xBF", kFieldServerName},
        {"CharacterInPassword", extendedCell(3, 1), kFieldSquadronPassword, false, true, "AB\x83", kFieldSquadronPassword},
        {"IpTakesNoCharacter", extendedCell(0, 0), kFieldIpAddress, false, true, "AB", kFieldIpAddress},
        {"SideTakesNoCharacter", extendedCell(0, 0), kFieldSide, false, true, "\1", kFieldSide},
        // The colour swatches run 1 to 9, then 0 (each button's middle: the accessibility test).
        {"LastSwatchCorner", TPoint(colors.right - 1, colors.bottom - 1), kFieldCallsign, false, true, "AB~0"},
    };
    // clang-format on
    for (int f = kFieldSquadronName; f <= kFieldServerName; ++f) {
        const TScreenRect r = screen->fieldRect(f);
        cases.push_back({"FieldMiddle", TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), f,
                         true, false, "AB"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        fields.set(c.entered, c.entered == kFieldSide ? "" : "AB");
        // Entered by a click inside its sixth cell.
        screen->editPlayer(
            TPoint(screen->fieldRect(c.entered).left + 99, screen->fieldRect(c.entered).top + 20));
        screen->endDrag();
        EXPECT_EQ(screen->checkWindows(c.point), c.overField);
        EXPECT_EQ(screen->editPlayer(c.point), c.field != kNoField);
        EXPECT_EQ(screen->getCurrentField(), c.field);
        EXPECT_EQ(screen->isExtChar(), c.paletteClick);
        EXPECT_EQ(fields.text(c.entered), c.text);
    }
}

} // namespace
