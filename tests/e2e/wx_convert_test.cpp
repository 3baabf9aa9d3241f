// The wx backend's translations that need no display: GTK keys to Windows virtual-key codes,
// the clipboard's Windows-1252 text, file-dialog filters.

#include <gtest/gtest.h>

#include <string>

#include "toolkit/constants.h"
#include "toolkit/wx/convert.h"

namespace {

using namespace toolkit_wx;

// wx key codes that are not characters (WXK_NUMPAD5, WXK_NUMPAD_BEGIN, WXK_SHIFT, ...).
constexpr int kWxNumpad5 = 329;
constexpr int kWxNumpadDecimal = 391;
constexpr int kWxNumpadBegin = 389;
constexpr int kWxShift = 306;
constexpr int kWxNone = 0;

struct KeyCase {
    const char* what;
    int wxKeyCode;
    unsigned xKeycode; // evdev code + 8, as X reports it
    unsigned vk;
};

TEST(WxKeys, VirtualKeyCodesFollowLettersThenPosition) {
    const KeyCase cases[] = {
        {"A", 'A', 38, 'A'},
        {"a typed lower case", 'a', 38, 'A'},
        {"French layout: Q where US has A", 'Q', 38, 'Q'},
        {"Cyrillic letter: the US letter of its place", 0x0444, 38, 'A'},
        {"Shift+1 gives '!' but the key is 1", '!', 10, '1'},
        {"0", '0', 19, '0'},
        {"minus", '-', 20, VK_OEM_MINUS},
        {"underscore is the minus key", '_', 20, VK_OEM_MINUS},
        {"equals", '=', 21, VK_OEM_PLUS},
        {"left bracket", '[', 34, VK_OEM_4},
        {"right bracket", ']', 35, VK_OEM_6},
        {"semicolon", ';', 47, VK_OEM_1},
        {"apostrophe", '\'', 48, VK_OEM_7},
        {"grave", '`', 49, VK_OEM_3},
        {"backslash", '\\', 51, VK_OEM_5},
        {"comma", ',', 59, VK_OEM_COMMA},
        {"period", '.', 60, VK_OEM_PERIOD},
        {"slash", '/', 61, VK_OEM_2},
        {"the key beside left Shift", '<', 94, 226},
        {"Caps Lock", kWxNone, 66, VK_CAPITAL},
        {"left Shift", kWxShift, 50, VK_SHIFT},
        {"right Shift", kWxShift, 62, VK_SHIFT},
        {"left Control", kWxNone, 37, VK_CONTROL},
        {"right Control", kWxNone, 105, VK_CONTROL},
        {"left Alt", kWxNone, 64, VK_MENU},
        {"Escape", kWxNone, 9, VK_ESCAPE},
        {"Backspace", kWxNone, 22, VK_BACK},
        {"Tab", kWxNone, 23, VK_TAB},
        {"Return", kWxNone, 36, VK_RETURN},
        {"keypad Enter", kWxNone, 104, VK_RETURN},
        {"space", ' ', 65, VK_SPACE},
        {"F1", kWxNone, 67, VK_F1},
        {"F4", kWxNone, 70, VK_F4},
        {"F12", kWxNone, 96, VK_F1 + 11},
        {"Home", kWxNone, 110, VK_HOME},
        {"Up", kWxNone, 111, VK_UP},
        {"Page Up", kWxNone, 112, VK_PRIOR},
        {"Left", kWxNone, 113, VK_LEFT},
        {"Right", kWxNone, 114, VK_RIGHT},
        {"End", kWxNone, 115, VK_END},
        {"Down", kWxNone, 116, VK_DOWN},
        {"Page Down", kWxNone, 117, VK_NEXT},
        {"Insert", kWxNone, 118, VK_INSERT},
        {"Delete", kWxNone, 119, VK_DELETE},
        {"keypad 5 with Num Lock", kWxNumpad5, 84, VK_NUMPAD0 + 5},
        {"keypad 5 without Num Lock", kWxNumpadBegin, 84, 12},
        {"keypad point with Num Lock", kWxNumpadDecimal, 91, VK_DECIMAL},
        {"keypad point without Num Lock", kWxNone, 91, VK_DELETE},
        {"keypad minus", '-', 82, VK_SUBTRACT},
        {"keypad plus", '+', 86, VK_ADD},
        {"keypad star", '*', 63, VK_MULTIPLY},
        {"keypad slash", '/', 106, VK_DIVIDE},
        {"no keycode", kWxNone, 0, 0},
        {"a keycode below the first key", kWxNone, 7, 0},
        {"a keycode past the table", kWxNone, 255, 0},
        {"an unknown key", kWxNone, 8 + 84, 0},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(vkFromGtk(c.wxKeyCode, c.xKeycode), c.vk) << c.what;
}

TEST(WxKeys, ScanCodesAreEvdevCodesOfTheMainKeys) {
    EXPECT_EQ(scanCodeFromX(38), 30u); // A
    EXPECT_EQ(scanCodeFromX(9), 1u);   // Escape
    EXPECT_EQ(scanCodeFromX(96), 88u); // F12
    EXPECT_EQ(scanCodeFromX(111), 0u); // Up: an extended key, no set-1 code of its own
    EXPECT_EQ(scanCodeFromX(8), 0u);
    EXPECT_EQ(scanCodeFromX(0), 0u);
}

TEST(WxClipboardText, EveryByteSurvivesTheWayToUnicodeAndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = utf8FromCp1252(all);
    EXPECT_EQ(cp1252FromUtf8(utf8), all);
}

TEST(WxClipboardText, ConvertsAsWindows1252) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"ASCII", "Maverick 7", "Maverick 7"},
        {"euro sign", "\x80", "\xE2\x82\xAC"},
        {"e acute", "\xE9", "\xC3\xA9"},
        {"curly quotes", "\x93\x94", "\xE2\x80\x9C\xE2\x80\x9D"},
        {"undefined byte keeps its C1 value", "\x81", "\xC2\x81"},
        {"y diaeresis", "\xFF", "\xC3\xBF"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8FromCp1252(c.bytes), c.utf8) << c.what;
        EXPECT_EQ(cp1252FromUtf8(c.utf8), c.bytes) << c.what;
    }
}

TEST(WxClipboardText, CharactersOutsideWindows1252BecomeQuestionMarks) {
    EXPECT_EQ(cp1252FromUtf8("\xE6\x97\xA5"), "?");         // a CJK character
    EXPECT_EQ(cp1252FromUtf8("a\xF0\x9F\x9B\xA9z"), "a?z"); // an emoji
    EXPECT_EQ(cp1252FromUtf8("\xFF\xFE"), "??");            // not UTF-8 at all
    EXPECT_EQ(cp1252FromUtf8("\xC3"), "?");                 // cut short
    EXPECT_EQ(cp1252FromUtf8("\xC0\x80"), "??");            // overlong NUL
    EXPECT_EQ(cp1252FromUtf8("\xED\xA0\x80"), "???");       // a lone surrogate
}

TEST(WxProgramText, Utf8PassesAndOtherBytesReadAsWindows1252) {
    EXPECT_EQ(utf8FromProgramText("Pilot \xC3\xA9t\xC3\xA9"), "Pilot \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(utf8FromProgramText("Pilot \xE9t\xE9"), "Pilot \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(utf8FromProgramText(""), "");
}

TEST(WxFileFilter, PairsJoinedAndPatternsMatchEitherCase) {
    struct Case {
        const char* filter;
        bool anyCase;
        const char* wx;
    } cases[] = {
        {"SAV Files (*.sav)|*.sav|", true, "SAV Files (*.sav)|*.[sS][aA][vV]"},
        {"SAV Files (*.sav)|*.sav|", false, "SAV Files (*.sav)|*.sav"},
        {"SAV Files (*.sav)|*.sav|All Files (*.*)|*.*|", true,
         "SAV Files (*.sav)|*.[sS][aA][vV]|All Files (*.*)|*.*"},
        {"Templates|*.SAV;raptor.sav|", true,
         "Templates|*.[sS][aA][vV];[rR][aA][pP][tT][oO][rR].[sS][aA][vV]"},
        {"|*.sav|", false, "|*.sav"},
        {"", true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wxFilterFromWindows(c.filter, c.anyCase), c.wx) << c.filter;
}

} // namespace
