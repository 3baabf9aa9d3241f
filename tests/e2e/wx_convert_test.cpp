// The wx backend's translations that need no display: GTK keys to Windows virtual-key codes,
// the clipboard's Windows-1252 text, file-dialog filters.

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/cp1252.h"
#include "toolkit/constants.h"
#include "toolkit/wx/convert.h"

namespace {

using namespace toolkit_wx;

// wx's key code for a key that is no character.
constexpr int kWxNone = 0;

TEST(WxKeys, VirtualKeyCodesFollowLettersThenPositionAndScanCodesThePosition) {
    // wx key codes of the keypad: 329 is WXK_NUMPAD5, 389 WXK_NUMPAD_BEGIN, 391 WXK_NUMPAD_DECIMAL.
    // what, wx key code, X keycode (evdev code + 8), virtual key, scan code (the evdev code for
    // the main keys, none for the rest)
    const std::tuple<const char*, int, unsigned, unsigned, unsigned> cases[] = {
        {"a typed lower case", 'a', 38, 'A', 30},
        {"French layout: Q where US has A", 'Q', 38, 'Q', 30},
        {"Cyrillic letter: the US letter of its place", 0x0444, 38, 'A', 30},
        {"Shift+1 gives '!' but the key is 1", '!', 10, '1', 2},
        {"underscore is the minus key", '_', 20, VK_OEM_MINUS, 12},
        {"the key beside left Shift", '<', 94, 226, 86},
        {"keypad 5 with Num Lock", 329, 84, VK_NUMPAD0 + 5, 76},
        {"keypad 5 without Num Lock", 389, 84, 12, 76},
        {"keypad point with Num Lock", 391, 91, VK_DECIMAL, 83},
        {"keypad point without Num Lock", kWxNone, 91, VK_DELETE, 83},
        {"keypad minus", '-', 82, VK_SUBTRACT, 74},
        {"keypad plus", '+', 86, VK_ADD, 78},
        {"Escape", kWxNone, 9, VK_ESCAPE, 1},
        {"F12", kWxNone, 96, VK_F1 + 11, 88},
        {"Up, an extended key: no scan code of its own", kWxNone, 111, VK_UP, 0},
        {"the keycode of no key", kWxNone, 8, 0, 0},
        {"a keycode below the first key", kWxNone, 7, 0, 0},
        {"a keycode past the table", kWxNone, 255, 0, 0},
        {"an unknown key", kWxNone, 8 + 84, 0, 84},
    };
    for (const auto& [what, wxKeyCode, xKeycode, vk, scanCode] : cases) {
        EXPECT_EQ(vkFromGtk(wxKeyCode, xKeycode), vk) << what;
        EXPECT_EQ(scanCodeFromX(xKeycode), scanCode) << what;
    }

    // Runs of neighbouring keys that wx gives no key code of their own, from the X keycode of
    // the first on.
    // From 10: the digits, minus, equals, Backspace, Tab. From 34: the brackets, Return, left
    // Control. From 47: semicolon, apostrophe, grave, left Shift, backslash. From 59: comma,
    // period, slash, right Shift, keypad star, left Alt, space, Caps Lock, F1 to F4. From 95: F11,
    // F12. From 104: keypad Enter, right Control, keypad slash. From 110: Home, Up, Page Up,
    // Left, Right, End, Down, Page Down, Insert, Delete.
    const std::pair<unsigned, std::vector<unsigned>> runs[] = {
        {10,
         {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS, VK_BACK,
          VK_TAB}},
        {34, {VK_OEM_4, VK_OEM_6, VK_RETURN, VK_CONTROL}},
        {47, {VK_OEM_1, VK_OEM_7, VK_OEM_3, VK_SHIFT, VK_OEM_5}},
        {59,
         {VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2, VK_SHIFT, VK_MULTIPLY, VK_MENU, VK_SPACE,
          VK_CAPITAL, VK_F1, VK_F1 + 1, VK_F1 + 2, VK_F1 + 3}},
        {95, {VK_F1 + 10, VK_F1 + 11}},
        {104, {VK_RETURN, VK_CONTROL, VK_DIVIDE}},
        {110,
         {VK_HOME, VK_UP, VK_PRIOR, VK_LEFT, VK_RIGHT, VK_END, VK_DOWN, VK_NEXT, VK_INSERT,
          VK_DELETE}}};
    for (const auto& [first, vks] : runs)
        for (unsigned i = 0; i < vks.size(); ++i)
            EXPECT_EQ(vkFromGtk(kWxNone, first + i), vks[i]) << "X keycode " << first + i;
}

// Both ways for the characters Windows-1252 has, so that every byte survives the way to
// Unicode and back; any other, and bytes that are no UTF-8 character, come back as question
// marks. The program's own text passes when it is UTF-8 and
// reads as Windows-1252 when it is not.
TEST(WxText, ClipboardAsWindows1252AndFileFilters) {
    // what, bytes, UTF-8, both ways
    const std::tuple<const char*, std::string, std::string, bool> cases[] = {
        {"ASCII", "Maverick 7", "Maverick 7", true},
        {"euro sign", "\x80", "\xE2\x82\xAC", true},
        {"e acute", "Pilot \xE9t\xE9", "Pilot \xC3\xA9t\xC3\xA9", true},
        {"curly quotes", "\x93\x94", "\xE2\x80\x9C\xE2\x80\x9D", true},
        {"undefined byte keeps its C1 value", "\x81", "\xC2\x81", true},
        {"y diaeresis", "\xFF", "\xC3\xBF", true},
        {"empty", "", "", true},
        {"a CJK character", "?", "\xE6\x97\xA5", false},
        {"an emoji", "a?z", "a\xF0\x9F\x9B\xA9z", false},
        {"not UTF-8 at all", "??", "\xFF\xFE", false},
        {"cut short", "?", "\xC3", false},
        {"overlong NUL", "??", "\xC0\x80", false},
        {"a lone surrogate", "???", "\xED\xA0\x80", false},
    };
    for (const auto& [what, bytes, utf8, bothWays] : cases) {
        EXPECT_EQ(cp1252FromUtf8(utf8), bytes) << what;
        if (!bothWays)
            continue;
        EXPECT_EQ(utf8FromCp1252(bytes), utf8) << what;
        EXPECT_EQ(utf8FromProgramText(bytes), utf8) << what;
        EXPECT_EQ(utf8FromProgramText(utf8), utf8) << what;
    }
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(cp1252FromUtf8(utf8FromCp1252(all)), all);
    // File-dialog filters: pairs joined, patterns matching either case when asked.
    // filter, any case, for wx
    const std::tuple<const char*, bool, const char*> filters[] = {
        {"SAV Files (*.sav)|*.sav|", true, "SAV Files (*.sav)|*.[sS][aA][vV]"},
        {"SAV Files (*.sav)|*.sav|", false, "SAV Files (*.sav)|*.sav"},
        {"SAV Files (*.sav)|*.sav|All Files (*.*)|*.*|", true,
         "SAV Files (*.sav)|*.[sS][aA][vV]|All Files (*.*)|*.*"},
        {"Templates|*.SAV;raptor.sav|", true,
         "Templates|*.[sS][aA][vV];[rR][aA][pP][tT][oO][rR].[sS][aA][vV]"},
        {"|*.sav|", false, "|*.sav"},
        {"", true, ""},
    };
    for (const auto& [filter, anyCase, wx] : filters)
        EXPECT_EQ(wxFilterFromWindows(filter, anyCase), wx) << filter;
}

} // namespace
