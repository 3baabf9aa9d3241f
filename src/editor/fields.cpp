#include "editor/fields.h"

#include "player/player.h"
#include "support/cp1252.h"

#include <cstdint>
#include <optional>

namespace {

struct TFieldInfo {
    int capacity;
    char defaultColor;
};

// By field number; the side is one byte and its terminator, and holds no text.
constexpr std::array<TFieldInfo, kFieldCount + 1> kFieldInfo{{
    {0, '2'},
    {static_cast<int>(kCallsignCapacity), '5'},
    {static_cast<int>(kSquadronNameCapacity), '4'},
    {static_cast<int>(kSquadronPasswordCapacity), '2'},
    {static_cast<int>(kSideCapacity), '2'},
    {static_cast<int>(kIpAddressCapacity), '2'},
    {static_cast<int>(kServerNameCapacity), '2'},
}};

using TPaletteRow = std::array<std::uint8_t, kPaletteColumns>;

// The extended characters offered beside the fields, row by row.
// clang-format off
constexpr std::array<TPaletteRow, kPaletteRows> kPalette{{
    {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xDF, 0xC7, 0xD0, 0x8C, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD},
    {0xCE, 0xCF, 0xA3, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xA7, 0x8A, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD},
    {0x9F, 0xA5, 0xAA, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xA2, 0xE7, 0xA9, 0x9C, 0xE8, 0xE9, 0xEA},
    {0xEB, 0x83, 0xEC, 0xED, 0xEE, 0xEF, 0xA1, 0xF1, 0xF0, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xDE, 0xFE},
    {0xAE, 0x9A, 0x86, 0x87, 0xF9, 0xFA, 0xFB, 0xFC, 0xB5, 0xD7, 0xFD, 0xFF, 0x20, 0x7F, 0xBC, 0xBD, 0xBE},
    {0x99, 0xBA, 0xB9, 0xB2, 0xB3, 0xAB, 0xBB, 0x8B, 0x9B, 0x84, 0x85, 0x89, 0x91, 0x92, 0x93, 0x94, 0x95},
    {0x96, 0x97, 0x98, 0xF7, 0xA4, 0xA6, 0xA8, 0xAC, 0x2D, 0xAF, 0xB0, 0xB1, 0xB4, 0xB6, 0xB7, 0xB8, 0xBF},
}};
// clang-format on

// The capitals of the small letters Windows-1252 holds beyond ASCII.
unsigned char capitalOf(unsigned char b) {
    if (b >= 'a' && b <= 'z') {
        return static_cast<unsigned char>(b - 'a' + 'A');
    }
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {
        return static_cast<unsigned char>(b - 0x20);
    }
    switch (b) {
    case 0x9A: // s with caron
    case 0x9C: // oe
    case 0x9E: // z with caron
        return static_cast<unsigned char>(b - 0x10);
    case 0xFF: // y with diaeresis
        return 0x9F;
    default:
        return b;
    }
}

} // namespace

int fieldCapacity(int field) {
    if (field < 1 || field > kFieldCount) {
        return 0;
    }
    return kFieldInfo[static_cast<std::size_t>(field)].capacity;
}

char fieldDefaultColor(int field) {
    if (field < 1 || field > kFieldCount) {
        return '2';
    }
    return kFieldInfo[static_cast<std::size_t>(field)].defaultColor;
}

bool isTextField(int field) {
    return field >= 1 && field <= kFieldCount && field != kFieldSide;
}

const char* sideText(int code) {
    switch (code) {
    case 0:
        return "EITHER";
    case 1:
        return "SIDE 1";
    case 2:
        return "SIDE 2";
    default:
        return "";
    }
}

char extendedChar(int row, int column) {
    if (row < 0 || row >= kPaletteRows || column < 0 || column >= kPaletteColumns) {
        return 0;
    }
    return static_cast<char>(
        kPalette[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
}

TFontRules::TFontRules(const TCharTable& table) {
    for (int c = 'A'; c <= 'Z'; ++c) {
        shown[static_cast<std::size_t>(c)] = true;
        shown[static_cast<std::size_t>(c - 'A' + 'a')] = true;
    }
    for (int c = '0'; c <= '9'; ++c) {
        shown[static_cast<std::size_t>(c)] = true;
    }
    shown[' '] = true;
    for (const auto* keys : {&table.characterTable(), &table.shiftTable()}) {
        for (const TKeyEntry& entry : *keys) {
            if (entry.key == 0) {
                break;
            }
            shown[static_cast<unsigned char>(entry.character)] = true;
        }
    }
    for (const TPaletteRow& row : kPalette) {
        for (std::uint8_t b : row) {
            shown[b] = true;
        }
    }
    shown[0] = false;
}

unsigned char typedByte(char32_t c, int field, const TFontRules& font) {
    const std::optional<unsigned char> byte = cp1252FromUnicode(c);
    if (!byte || *byte < 0x20 || *byte == 0x7F) {
        return 0;
    }
    const unsigned char b = field == kFieldSquadronPassword ? capitalOf(*byte) : *byte;
    return font.allows(field, b) ? b : 0;
}
