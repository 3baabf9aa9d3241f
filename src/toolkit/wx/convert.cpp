#include "toolkit/wx/convert.h"

#include <array>
#include <cstddef>

#include "support/cp1252.h"
#include "toolkit/constants.h"

namespace toolkit_wx {
namespace {

// Virtual-key codes by evdev code (the X hardware keycode less 8), US layout positions.
constexpr std::size_t kEvdevKeys = 128;
constexpr std::array<unsigned char, kEvdevKeys> makeVkTable() {
    std::array<unsigned char, kEvdevKeys> t{};
    t[1] = VK_ESCAPE;
    for (int i = 0; i < 9; ++i)
        t[2 + i] = static_cast<unsigned char>('1' + i);
    t[11] = '0';
    t[12] = VK_OEM_MINUS;
    t[13] = VK_OEM_PLUS;
    t[14] = VK_BACK;
    t[15] = VK_TAB;
    const char* row1 = "QWERTYUIOP";
    for (int i = 0; row1[i]; ++i)
        t[16 + i] = static_cast<unsigned char>(row1[i]);
    t[26] = VK_OEM_4;
    t[27] = VK_OEM_6;
    t[28] = VK_RETURN;
    t[29] = VK_CONTROL;
    const char* row2 = "ASDFGHJKL";
    for (int i = 0; row2[i]; ++i)
        t[30 + i] = static_cast<unsigned char>(row2[i]);
    t[39] = VK_OEM_1;
    t[40] = VK_OEM_7;
    t[41] = VK_OEM_3;
    t[42] = VK_SHIFT;
    t[43] = VK_OEM_5;
    const char* row3 = "ZXCVBNM";
    for (int i = 0; row3[i]; ++i)
        t[44 + i] = static_cast<unsigned char>(row3[i]);
    t[51] = VK_OEM_COMMA;
    t[52] = VK_OEM_PERIOD;
    t[53] = VK_OEM_2;
    t[54] = VK_SHIFT;
    t[55] = VK_MULTIPLY;
    t[56] = VK_MENU;
    t[57] = VK_SPACE;
    t[58] = VK_CAPITAL;
    for (int i = 0; i < 10; ++i)
        t[59 + i] = static_cast<unsigned char>(VK_F1 + i);
    t[69] = 144; // VK_NUMLOCK
    t[70] = 145; // VK_SCROLL
    // The keypad as with Num Lock off; its digits are told apart by wx's key code.
    t[71] = VK_HOME;
    t[72] = VK_UP;
    t[73] = VK_PRIOR;
    t[74] = VK_SUBTRACT;
    t[75] = VK_LEFT;
    t[76] = 12; // VK_CLEAR
    t[77] = VK_RIGHT;
    t[78] = VK_ADD;
    t[79] = VK_END;
    t[80] = VK_DOWN;
    t[81] = VK_NEXT;
    t[82] = VK_INSERT;
    t[83] = VK_DELETE;
    t[86] = 226; // VK_OEM_102, the key beside the left Shift on European keyboards
    t[87] = VK_F1 + 10;
    t[88] = VK_F1 + 11;
    t[96] = VK_RETURN;
    t[97] = VK_CONTROL;
    t[98] = VK_DIVIDE;
    t[99] = 44; // VK_SNAPSHOT
    t[100] = VK_MENU;
    t[102] = VK_HOME;
    t[103] = VK_UP;
    t[104] = VK_PRIOR;
    t[105] = VK_LEFT;
    t[106] = VK_RIGHT;
    t[107] = VK_END;
    t[108] = VK_DOWN;
    t[109] = VK_NEXT;
    t[110] = VK_INSERT;
    t[111] = VK_DELETE;
    t[119] = 19; // VK_PAUSE
    t[125] = 91; // VK_LWIN
    t[126] = 92; // VK_RWIN
    t[127] = 93; // VK_APPS
    return t;
}
constexpr auto kVkByEvdev = makeVkTable();
constexpr unsigned kXKeycodeOffset = 8;
constexpr unsigned kLastScanCode = 88;

// wx's key codes of the keypad digits and decimal point with Num Lock on (WXK_NUMPAD0 ..
// WXK_NUMPAD9, WXK_NUMPAD_DECIMAL), kept here as numbers so this file needs no wx header.
constexpr int kWxNumpad0 = 324;
constexpr int kWxNumpad9 = 333;
constexpr int kWxNumpadDecimal = 391;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

unsigned vkFromGtk(int wxKeyCode, unsigned xKeycode) {
    if (wxKeyCode >= 'A' && wxKeyCode <= 'Z')
        return static_cast<unsigned>(wxKeyCode);
    if (wxKeyCode >= 'a' && wxKeyCode <= 'z')
        return static_cast<unsigned>(wxKeyCode - 'a' + 'A');
    if (wxKeyCode >= kWxNumpad0 && wxKeyCode <= kWxNumpad9)
        return VK_NUMPAD0 + static_cast<unsigned>(wxKeyCode - kWxNumpad0);
    if (wxKeyCode == kWxNumpadDecimal)
        return VK_DECIMAL;
    if (xKeycode < kXKeycodeOffset || xKeycode - kXKeycodeOffset >= kEvdevKeys)
        return 0;
    return kVkByEvdev[xKeycode - kXKeycodeOffset];
}

unsigned scanCodeFromX(unsigned xKeycode) {
    if (xKeycode <= kXKeycodeOffset || xKeycode - kXKeycodeOffset > kLastScanCode)
        return 0;
    return xKeycode - kXKeycodeOffset;
}

std::string utf8FromProgramText(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();)
        if (!nextUtf8(text, pos))
            return utf8FromCp1252(text);
    return std::string(text);
}

std::string wxFilterFromWindows(std::string_view filter, bool anyCase) {
    std::string out;
    bool pattern = false; // parts alternate: description, pattern, description, ...
    bool first = true;
    std::size_t start = 0;
    while (start < filter.size()) {
        std::size_t bar = filter.find('|', start);
        std::string_view part = filter.substr(
            start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        if (!first)
            out += '|';
        first = false;
        if (pattern && anyCase) {
            for (char c : part) {
                if (isAsciiLetter(c)) {
                    const char lower = static_cast<char>(c | 0x20);
                    out += '[';
                    out += lower;
                    out += static_cast<char>(lower - 'a' + 'A');
                    out += ']';
                } else {
                    out += c;
                }
            }
        } else {
            out += part;
        }
        pattern = !pattern;
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
    }
    return out;
}

} // namespace toolkit_wx
