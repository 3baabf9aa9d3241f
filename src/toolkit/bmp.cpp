#include <bit>
#include <cstdint>

#include "toolkit/errors.h"
#include "toolkit/graphics.h"

namespace {

// Large enough for any picture the program shows, small enough that a damaged header
// cannot make us allocate gigabytes.
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

struct Reader {
    const std::vector<std::uint8_t>& bytes;
    const std::string& name;

    void need(std::size_t offset, std::size_t count) const {
        if (offset > bytes.size() || count > bytes.size() - offset)
            throw TXBitmap("TDib: " + name + " is cut short");
    }
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return static_cast<std::uint32_t>(bytes[at]) |
               static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
               static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
               static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    }
};

// Spreads a masked channel over 0..255.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    int bits = std::popcount(mask);
    std::uint32_t v = (pixel & mask) >> shift;
    std::uint32_t max = (bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1);
    return static_cast<std::uint8_t>((static_cast<std::uint64_t>(v) * 255 + max / 2) / max);
}

} // namespace

TRgbImage decodeBmp(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    Reader in{bytes, name};
    in.need(0, 14);
    if (bytes[0] != 'B' || bytes[1] != 'M')
        throw TXBitmap("TDib: " + name + " is not a bitmap file");
    const std::uint32_t dataOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);

    std::int64_t width = 0, height = 0;
    unsigned bpp = 0, compression = 0, colorsUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) { // the old core header
        width = in.u16(18);
        height = static_cast<std::int16_t>(in.u16(20));
        bpp = in.u16(24);
        paletteEntry = 3;
    } else if (headerSize >= 40) {
        width = static_cast<std::int32_t>(in.u32(18));
        height = static_cast<std::int32_t>(in.u32(22));
        bpp = in.u16(28);
        compression = in.u32(30);
        colorsUsed = in.u32(46);
    } else {
        throw TXBitmap("TDib: " + name + " has an unknown header");
    }

    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels)
        throw TXBitmap("TDib: " + name + " has a bad size");

    std::uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bpp == 16)
        masks[0] = 0x7C00u, masks[1] = 0x03E0u, masks[2] = 0x001Fu;
    if (compression == 3 && (bpp == 16 || bpp == 32)) {
        // Bit fields follow the 40-byte header (or sit inside a larger one at the same place).
        masks[0] = in.u32(54);
        masks[1] = in.u32(58);
        masks[2] = in.u32(62);
    } else if (compression != 0) {
        throw TXBitmap("TDib: " + name + " is compressed");
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        throw TXBitmap("TDib: " + name + " has an unknown pixel format");

    std::vector<TColor> palette;
    if (bpp <= 8) {
        std::size_t count = colorsUsed != 0 ? colorsUsed : (1u << bpp);
        if (count > 256)
            throw TXBitmap("TDib: " + name + " has a bad palette");
        std::size_t at = 14 + headerSize;
        if (compression == 3)
            at += 12;
        in.need(at, count * paletteEntry);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = &bytes[at + i * paletteEntry];
            palette.emplace_back(e[2], e[1], e[0]);
        }
    }

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    in.need(dataOffset,
            stride * static_cast<std::size_t>(h - 1) + (static_cast<std::size_t>(w) * bpp + 7) / 8);

    TRgbImage image(w, h);
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* src = &bytes[dataOffset + stride * static_cast<std::size_t>(row)];
        const int y = topDown ? row : h - 1 - row;
        for (int x = 0; x < w; ++x) {
            TColor c;
            switch (bpp) {
            case 1:
            case 4:
            case 8: {
                const std::size_t bit = static_cast<std::size_t>(x) * bpp;
                const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
                const unsigned index = (src[bit / 8] >> shift) & ((1u << bpp) - 1);
                if (index >= palette.size())
                    throw TXBitmap("TDib: " + name + " uses a colour outside its palette");
                c = palette[index];
                break;
            }
            case 16: {
                std::uint32_t p = src[x * 2] | src[x * 2 + 1] << 8;
                c = TColor(channel(p, masks[0]), channel(p, masks[1]), channel(p, masks[2]));
                break;
            }
            case 24:
                c = TColor(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
                break;
            default: {
                const std::uint8_t* q = &src[x * 4];
                std::uint32_t p =
                    static_cast<std::uint32_t>(q[0]) | static_cast<std::uint32_t>(q[1]) << 8 |
                    static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[3]) << 24;
                c = TColor(channel(p, masks[0]), channel(p, masks[1]), channel(p, masks[2]));
                break;
            }
            }
            image.SetPixel(x, y, c);
        }
    }
    return image;
}

std::vector<std::uint8_t> encodeBmp(const TRgbImage& image) {
    const std::size_t w = static_cast<std::size_t>(image.Width());
    const std::size_t h = static_cast<std::size_t>(image.Height());
    const std::size_t stride = (w * 3 + 3) / 4 * 4;
    const std::size_t size = 54 + stride * h;
    std::vector<std::uint8_t> out(size, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(h));
    out[26] = 1;
    out[28] = 24;
    put32(34, static_cast<std::uint32_t>(stride * h));
    for (std::size_t y = 0; y < h; ++y) {
        std::uint8_t* row = &out[54 + (h - 1 - y) * stride];
        for (std::size_t x = 0; x < w; ++x) {
            TColor c = image.GetPixel(static_cast<int>(x), static_cast<int>(y));
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    return out;
}
