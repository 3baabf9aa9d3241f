#include "editor/colortext.h"
#include "editor/screen.h"
#include "support/trace.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// Glyph places in the palette, from the palette origin.
constexpr int kPaletteGlyphX = 5;
constexpr int kPaletteGlyphY = 73;

// Characters drawn in each field: its whole buffer, terminator and trailing zeros included.
constexpr int kSidePositions = 7;
// The side field's text buffer; its three texts are far shorter.
constexpr std::size_t kSideTextCapacity = 16;

// The cel of a character: the byte read as signed, plus 128, so codes 128 to 255 come
// first and byte 0 is cel 128.
int getCharNumber(char c) {
    return static_cast<signed char>(c) + 128;
}

// A colour digit's strip; any other byte gives the callsign's default.
int setColor(char digit) {
    return isColorDigit(digit) ? digit - '0' : 5;
}

} // namespace

void TDrovakScreen::showEditor(TDC& dc, int x, int y) {
    trace("showEditor", "");
    setInfoRect(x, y, paletteX, paletteY);
    dc.BitBlt(x, y, art.details);
    if (fields[kFieldCallsign].empty()) {
        return; // no record yet
    }
    // The IP address shows its bytes as they are, in the palette colour.
    for (int f : {kFieldCallsign, kFieldSquadronName, kFieldSquadronPassword, kFieldIpAddress,
                  kFieldServerName}) {
        const bool interpret = f != kFieldIpAddress;
        setInfo(dc, fields[static_cast<std::size_t>(f)], f,
                interpret ? setColor(defaultColor(f)) : kPaletteStrip, fieldCapacity(f), interpret);
    }
    std::array<char, kSideTextCapacity> side{};
    const char* word = sideText(static_cast<unsigned char>(fields[kFieldSide][0]));
    std::copy_n(word, std::min(std::char_traits<char>::length(word), side.size() - 1),
                side.begin());
    setInfo(dc, side, kFieldSide, kPaletteStrip, kSidePositions, false);
}

void TDrovakScreen::setInfo(TDC& dc, std::span<const char> text, int field, int color, int count,
                            bool interpret) {
    trace("setInfo", "");
    // Never past the buffer, whatever the count asks for.
    const int n = std::min(count, static_cast<int>(text.size()));
    const bool codesShown = showColorCodes && field == currentField;
    int x = 0;
    if (!interpret) {
        for (int i = 0; i < n; ++i) {
            setCharacter(dc, text[static_cast<std::size_t>(i)], i, field, x, color);
            x += kCharAdvance;
        }
        return;
    }
    // The zero bytes after the text are drawn too, as blanks in the colour last in effect.
    scanColorCodes(text, n, [&](int i, TByteKind kind) {
        const char c = text[static_cast<std::size_t>(i)];
        if (kind == TByteKind::Visible) {
            setCharacter(dc, c, i, field, x, color);
            x += kCharAdvance;
            return true;
        }
        if (kind == TByteKind::CodeDigit) {
            color = setColor(c);
        }
        if (codesShown) {
            setCharacter(dc, c, i, field, x, kPaletteStrip);
            x += kCharAdvance;
        }
        return true;
    });
}

void TDrovakScreen::setCharacter(TDC& dc, char c, int index, int field, int x, int color) {
    trace("setCharacter", "");
    const bool selected = field == currentField && currentField != kFieldSide &&
                          (dragging || selection) && std::min(cursorIndex, anchorIndex) <= index &&
                          index < std::max(cursorIndex, anchorIndex);
    const int strip = selected ? kSelectionStrip : std::clamp(color, 0, kGlyphStrips - 1);
    const TScreenRect r = fieldRect(field);
    art.strips[static_cast<std::size_t>(strip)].BitBlt(getCharNumber(c), dc,
                                                       r.left + x + kTextInset, r.top);
}

void TDrovakScreen::showExtendedChars(TDC& dc, int x, int y) {
    trace("showExtendedChars", "");
    setInfoRect(editorX, editorY, x, y);
    if (!palettePicture) {
        // Glyphs are kept to the background's picture, which holds them all.
        TRgbImage picture = art.extChar.GetPart(TRect(TPoint(0, 0), art.extChar.Size()));
        const TCelArray& strip = art.strips[kPaletteStrip];
        for (int r = 0; r < kPaletteRows; ++r) {
            for (int j = 0; j < kPaletteColumns; ++j) {
                const TPoint at(kPaletteGlyphX + kPaletteCellWidth * j,
                                kPaletteGlyphY + kPaletteCellHeight * r);
                const TRect cel = strip.CelRect(getCharNumber(extendedChar(r, j)));
                // Each glyph alone: the whole strip is never decoded for the palette.
                picture.Draw(TRect(at, cel.Size()), strip.GetDib().GetPart(cel), TPoint(0, 0));
            }
        }
        palettePicture.emplace(std::move(picture));
    }
    dc.BitBlt(x, y, *palettePicture);
}

int TDrovakScreen::cursorDisplayPosition() const {
    std::span<const char> text = fieldText(currentField);
    if (!isTextField(currentField) || text.empty()) {
        return cursorIndex;
    }
    // The record may have been replaced under the cursor: never past the text's end.
    const int index = std::clamp(cursorIndex, 0, textLength(text));
    // The IP address shows every byte, codes or not.
    if (showColorCodes || currentField == kFieldIpAddress) {
        return index;
    }
    return getCursorIndex(text, index);
}

void TDrovakScreen::showCursor(TDC& dc) {
    trace("showCursor", "");
    if (!isTextField(currentField)) {
        return;
    }
    const TScreenRect r = fieldRect(currentField);
    art.cursor.BitBlt(blinkPhase, dc, r.left + kCharAdvance * cursorDisplayPosition() + kTextInset,
                      r.top + kCursorDrop);
}

void TDrovakScreen::hilightExtendedChars(TDC& dc) {
    trace("hilightExtendedChars", "");
    const TScreenRect& r = extendedCharRect();
    if (!r.contains(lastMouse.x, lastMouse.y)) {
        return;
    }
    const int cx = lastMouse.x - (lastMouse.x - r.left) % kPaletteCellWidth;
    const int cy = lastMouse.y - (lastMouse.y - r.top) % kPaletteCellHeight;
    art.hiTop.BitBlt(0, dc, cx, cy);
    art.hiTop.BitBlt(1, dc, cx, cy + kPaletteCellHeight);
    art.hiSide.BitBlt(0, dc, cx, cy);
    art.hiSide.BitBlt(1, dc, cx + kPaletteCellWidth, cy + 2);
}

void TDrovakScreen::hilightColors(TDC& dc) {
    trace("hilightColors", "");
    const TScreenRect& r = colorRect();
    if (!r.contains(lastMouse.x, lastMouse.y)) {
        return;
    }
    const int cx = lastMouse.x - (lastMouse.x - r.left) % kColorCellWidth;
    const int cy = lastMouse.y - (lastMouse.y - r.top) % kColorCellHeight;
    art.colorHiTop.BitBlt(0, dc, cx + 1, cy);
    art.colorHiTop.BitBlt(1, dc, cx, cy + 28);
    art.colorHiSide.BitBlt(0, dc, cx, cy);
    art.colorHiSide.BitBlt(1, dc, cx + 30, cy);
}

void TDrovakScreen::changeCursor() {
    trace("changeCursor", "");
    if (currentField == kNoField) {
        return;
    }
    blinkPhase = (blinkPhase + 1) % kCursorPhases;
    const TScreenRect r = fieldRect(currentField);
    const int x = r.left + kCharAdvance * cursorDisplayPosition();
    owner.repaintRect(TScreenRect{x, r.bottom - kBlinkStripHeight, x + kBlinkStripWidth, r.bottom});
}

void TDrovakScreen::clearEditor() {
    trace("clearEditor", "");
    for (int f = 1; f <= kFieldCount; ++f) {
        owner.repaintRect(fieldRect(f));
    }
}

TDib TDrovakScreen::callsignPicture(std::string_view callsign) const {
    // The callsign as its field shows it when not edited (codes applied, not shown), at half
    // size so that it fits a list's row; a blank cell for an empty one.
    std::span<const char> text(callsign.data(), callsign.size());
    std::vector<std::pair<int, int>> glyphs; // cel, strip
    int color = setColor(defaultColor(kFieldCallsign));
    scanColorCodes(text, static_cast<int>(text.size()), [&](int i, TByteKind kind) {
        const char c = text[static_cast<std::size_t>(i)];
        if (c == '\0') {
            return false;
        }
        if (kind == TByteKind::Visible) {
            glyphs.emplace_back(getCharNumber(c), color);
        } else if (kind == TByteKind::CodeDigit) {
            color = setColor(c);
        }
        return true;
    });
    if (glyphs.empty()) {
        glyphs.emplace_back(getCharNumber('\0'), color);
    }
    const TSize cel = art.strips[0].CelSize();
    TRgbImage full(cel.cx * static_cast<int>(glyphs.size()), cel.cy);
    int x = 0;
    for (const auto& [number, strip] : glyphs) {
        const TCelArray& cels = art.strips[static_cast<std::size_t>(strip)];
        full.Draw(TRect(TPoint(x, 0), cel), cels.GetDib().GetPixels(),
                  cels.CelRect(number).TopLeft());
        x += cel.cx;
    }
    TRgbImage half(full.Width() / 2, full.Height() / 2);
    for (int y = 0; y < half.Height(); ++y) {
        for (int hx = 0; hx < half.Width(); ++hx) {
            int sum[3] = {0, 0, 0};
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
                const TColor p = full.GetPixel(2 * hx + dx, 2 * y + dy);
                sum[0] += p.r;
                sum[1] += p.g;
                sum[2] += p.b;
            }
            half.SetPixel(hx, y,
                          TColor(static_cast<std::uint8_t>(sum[0] / 4),
                                 static_cast<std::uint8_t>(sum[1] / 4),
                                 static_cast<std::uint8_t>(sum[2] / 4)));
        }
    }
    return TDib(std::move(half));
}
