#pragma once

#include "editor/chartable.h"

#include <array>

// What the editor knows of the six fields and the game's font without any screen: the command
// line checks its values against the same rules the editor types by.

// Field numbers of the editor; 0 means that no field is being edited.
inline constexpr int kNoField = 0;
inline constexpr int kFieldCallsign = 1;
inline constexpr int kFieldSquadronName = 2;
inline constexpr int kFieldSquadronPassword = 3;
inline constexpr int kFieldSide = 4;
inline constexpr int kFieldIpAddress = 5;
inline constexpr int kFieldServerName = 6;
inline constexpr int kFieldCount = 6;

// The extended-character palette: a grid of cells with one glyph each.
inline constexpr int kPaletteRows = 7;
inline constexpr int kPaletteColumns = 17;

// Field capacities (terminator included) and default colour digits; 0 for no text.
int fieldCapacity(int field);
char fieldDefaultColor(int field);
bool isTextField(int field);
// The text the side field shows for a side code; empty for a code no game uses.
const char* sideText(int code);
// The code in the extended-character palette's row and column; 0 outside the grid.
char extendedChar(int row, int column);

// The bytes the game's font shows and the editor can put into a field: the letters, digits
// and blank it types by its own rules, everything the key table types, and the palette.
class TFontRules {
  public:
    explicit TFontRules(const TCharTable& table);

    bool shows(unsigned char b) const { return shown[b]; }
    // The editor types capitals into the squadron password, whatever Shift and Caps Lock say.
    bool allows(int field, unsigned char b) const {
        return shown[b] && !(field == kFieldSquadronPassword && b >= 'a' && b <= 'z');
    }

  private:
    std::array<bool, 256> shown{};
};

// The byte a character typed into a field puts there: its Windows-1252 code when the font
// shows it, a small letter in the squadron password as its capital; 0 when the field cannot
// take it (the keyboard's control characters among them).
unsigned char typedByte(char32_t c, int field, const TFontRules& font);
