#include <bit>
#include <cstdint>

#include "toolkit/bmp.h"
#include "toolkit/errors.h"

namespace {

// Large enough for any picture the program shows, small enough that a damaged header
// cannot make us allocate gigabytes.
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

// Reads the headers from head, the file's first bytes; fileSize is the whole file's.
struct Reader {
    std::span<const std::uint8_t> head;
    const std::string& name;

    [[noreturn]] void cutShort() const { throw TXBitmap("TDib: " + name + " is cut short"); }
    void need(std::size_t offset, std::size_t count) const {
        if (offset > head.size() || count > head.size() - offset)
            cutShort();
    }
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return static_cast<std::uint32_t>(head[at]) |
               static_cast<std::uint32_t>(head[at + 1]) << 8 |
               static_cast<std::uint32_t>(head[at + 2]) << 16 |
               static_cast<std::uint32_t>(head[at + 3]) << 24;
    }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(head[at] | head[at + 1] << 8);
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

void putMasked(std::uint8_t* out, std::uint32_t pixel, const std::uint32_t (&masks)[3]) {
    out[0] = channel(pixel, masks[0]);
    out[1] = channel(pixel, masks[1]);
    out[2] = channel(pixel, masks[2]);
}

} // namespace

void decodeBmpRow(const TBmpLayout& layout, const std::uint8_t* src, int first, int count,
                  std::uint8_t* out, const std::string& name) {
    const std::size_t skip = static_cast<std::size_t>(first);
    switch (layout.bpp) {
    case 24:
        src += skip * 3;
        for (int x = 0; x < count; ++x, src += 3, out += 3) {
            out[0] = src[2];
            out[1] = src[1];
            out[2] = src[0];
        }
        break;
    case 32:
        src += skip * 4;
        for (int x = 0; x < count; ++x, src += 4, out += 3) {
            const std::uint32_t p =
                static_cast<std::uint32_t>(src[0]) | static_cast<std::uint32_t>(src[1]) << 8 |
                static_cast<std::uint32_t>(src[2]) << 16 | static_cast<std::uint32_t>(src[3]) << 24;
            putMasked(out, p, layout.masks);
        }
        break;
    case 16:
        src += skip * 2;
        for (int x = 0; x < count; ++x, src += 2, out += 3)
            putMasked(out, static_cast<std::uint32_t>(src[0] | src[1] << 8), layout.masks);
        break;
    default: { // 1, 4 or 8 bits of palette index, the leftmost pixel in the high bits
        const unsigned bpp = layout.bpp;
        const unsigned mask = (1u << bpp) - 1;
        for (int x = 0; x < count; ++x, out += 3) {
            const std::size_t bit = (skip + static_cast<std::size_t>(x)) * bpp;
            const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
            const unsigned index = (src[bit / 8] >> shift) & mask;
            if (index >= layout.palette.size())
                throw TXBitmap("TDib: " + name + " uses a colour outside its palette");
            const TColor& c = layout.palette[index];
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
        }
        break;
    }
    }
}

TBmpLayout readBmpLayout(std::span<const std::uint8_t> head, std::size_t fileSize,
                         const std::string& name) {
    Reader in{head, name};
    in.need(0, 14);
    if (head[0] != 'B' || head[1] != 'M')
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

    TBmpLayout layout;
    layout.topDown = height < 0;
    if (layout.topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels)
        throw TXBitmap("TDib: " + name + " has a bad size");

    std::uint32_t(&masks)[3] = layout.masks;
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

    if (bpp <= 8) {
        std::size_t count = colorsUsed != 0 ? colorsUsed : (1u << bpp);
        if (count > 256)
            throw TXBitmap("TDib: " + name + " has a bad palette");
        std::size_t at = 14 + headerSize;
        if (compression == 3)
            at += 12;
        in.need(at, count * paletteEntry);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = &head[at + i * paletteEntry];
            layout.palette.emplace_back(e[2], e[1], e[0]);
        }
    }

    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    layout.bpp = bpp;
    layout.dataOffset = dataOffset;
    layout.stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    // The last row need not be padded out to the stride.
    const std::size_t pixelBytes = layout.stride * static_cast<std::size_t>(height - 1) +
                                   (static_cast<std::size_t>(width) * bpp + 7) / 8;
    if (dataOffset > fileSize || pixelBytes > fileSize - dataOffset)
        in.cutShort();
    layout.fileBytes = dataOffset + pixelBytes;
    return layout;
}

std::size_t bmpHeadBytes(std::span<const std::uint8_t> first) {
    if (first.size() < 18)
        return first.size();
    const std::uint64_t headerSize = static_cast<std::uint64_t>(first[14]) | first[15] << 8 |
                                     first[16] << 16 | static_cast<std::uint64_t>(first[17]) << 24;
    // The file header, the info header, bit-field masks and the largest palette.
    return static_cast<std::size_t>(14 + headerSize + 12 + 256 * 4);
}

TRgbImage decodeBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
    const TBmpLayout layout = readBmpLayout(bytes, bytes.size(), name);
    TRgbImage image(layout.width, layout.height);
    const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * 3;
    for (int row = 0; row < layout.height; ++row) {
        const int y = layout.topDown ? row : layout.height - 1 - row;
        decodeBmpRow(layout,
                     &bytes[layout.dataOffset + layout.stride * static_cast<std::size_t>(row)], 0,
                     layout.width, image.Data() + rowBytes * static_cast<std::size_t>(y), name);
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
