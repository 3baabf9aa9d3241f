#pragma once

// Reading Windows bitmap files, shared by decodeBmp and TDib.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "toolkit/graphics.h"

// What a bitmap file's headers say about its pixels.
struct TBmpLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    unsigned bpp = 0;
    std::uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu}; // 16 and 32 bits
    std::vector<TColor> palette;                                      // 1, 4 and 8 bits
    std::size_t dataOffset = 0;
    std::size_t stride = 0;    // bytes from one stored row to the next
    std::size_t fileBytes = 0; // how much of the file the picture takes, headers included
};

// Reads the headers from head, the file's first bytes up to the end of its palette at least
// (bmpHeadBytes tells how many that takes); fileSize is the whole file's, to check that the
// pixels are all there. Throws TXBitmap naming the file for anything decodeBmp refuses before
// it looks at the pixels.
TBmpLayout readBmpLayout(std::span<const std::uint8_t> head, std::size_t fileSize,
                         const std::string& name);

// How many first bytes of a file readBmpLayout needs, from the first 18 or more.
std::size_t bmpHeadBytes(std::span<const std::uint8_t> first);

// Decodes count pixels from pixel first on of one stored row (src, as the file holds it) into
// out, 3 bytes a pixel. Throws TXBitmap for a palette index the palette lacks.
void decodeBmpRow(const TBmpLayout& layout, const std::uint8_t* src, int first, int count,
                  std::uint8_t* out, const std::string& name);
