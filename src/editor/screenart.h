#pragma once

#include "toolkit/graphics.h"

#include <functional>
#include <string>
#include <vector>

// Glyph strips: ten text colours, then the palette colour and the selection colour.
inline constexpr int kGlyphStrips = 12;
inline constexpr int kTextColors = 10;
inline constexpr int kPaletteStrip = 10;
inline constexpr int kSelectionStrip = 11;
inline constexpr int kGlyphCels = 256;
// One cursor cel per blink phase.
inline constexpr int kCursorPhases = 4;

// The editor's pictures, each read once by its name. Copies share the pixels, so several
// screens (tests, benchmarks) can share one set read from disk.
class TScreenArt {
  public:
    // Reads every picture from folder, or from the working directory when folder is empty.
    // A missing or unreadable picture throws TXBitmap naming it.
    explicit TScreenArt(const std::string& folder = "");
    // The same from a source that gives each picture by its name.
    using TSource = std::function<TDib(const char* name)>;
    explicit TScreenArt(const TSource& source);

    TDib details;                  // behind the six fields
    TDib extChar;                  // behind both palettes, with the colour swatches
    std::vector<TCelArray> strips; // "0alpha" to "11alpha", kGlyphCels cels each
    TCelArray cursor;              // kCursorPhases cels
    TCelArray hiTop;               // extended-character frame: top, bottom
    TCelArray hiSide;              // left, right
    TCelArray colorHiTop;          // colour frame: top, bottom, unused
    TCelArray colorHiSide;         // left, right, unused
};
