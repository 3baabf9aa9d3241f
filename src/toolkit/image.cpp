#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

#include "support/filename.h"
#include "toolkit/graphics.h"

TRgbImage::TRgbImage(int width, int height, const TColor& fill)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
      data_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {
    if (fill != TColor())
        Fill(TRect(0, 0, width_, height_), fill); // black it is already
}

TColor TRgbImage::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return TColor();
    const std::uint8_t* p = &data_[Offset(x, y)];
    return TColor(p[0], p[1], p[2]);
}

void TRgbImage::SetPixel(int x, int y, const TColor& color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    std::uint8_t* p = &data_[Offset(x, y)];
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
}

void TRgbImage::Fill(const TRect& rect, const TColor& color) {
    const TRect r = rect & TRect(0, 0, width_, height_);
    if (r.IsEmpty())
        return;
    // The first row is set pixel by pixel; the others are copies of it.
    const std::size_t rowBytes = static_cast<std::size_t>(r.Width()) * 3;
    std::uint8_t* first = data_.data() + Offset(r.left, r.top);
    for (std::size_t i = 0; i < rowBytes; i += 3) {
        first[i] = color.r;
        first[i + 1] = color.g;
        first[i + 2] = color.b;
    }
    for (int y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(data_.data() + Offset(r.left, y), first, rowBytes);
}

void TRgbImage::Draw(const TRect& dest, const TRgbImage& from, const TPoint& src) {
    // Where the source has pixels, moved to dest's place.
    const TRect sourceArea(dest.left - src.x, dest.top - src.y, dest.left - src.x + from.width_,
                           dest.top - src.y + from.height_);
    const TRect r = dest & TRect(0, 0, width_, height_) & sourceArea;
    if (r.IsEmpty())
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(r.Width()) * 3;
    const int dx = src.x - dest.left;
    const int dy = src.y - dest.top;
    for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(data_.data() + Offset(r.left, y),
                    from.data_.data() + from.Offset(r.left + dx, y + dy), rowBytes);
}

namespace {

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& body) {
    putBigEndian(out, static_cast<std::uint32_t>(body.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBigEndian(out, crc32(&out[start], out.size() - start));
}

} // namespace

// The picture data goes into stored (uncompressed) deflate blocks: the files are for tests to
// look at, and this needs no compression library.
bool TRgbImage::WritePng(const std::string& path) const {
    std::vector<std::uint8_t> raw;
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        raw.push_back(0); // filter: none
        const std::uint8_t* row = &data_[static_cast<std::size_t>(y) * rowBytes];
        raw.insert(raw.end(), row, row + rowBytes);
    }

    std::vector<std::uint8_t> zlib{0x78, 0x01};
    constexpr std::size_t kMaxBlock = 65535;
    std::size_t pos = 0;
    do {
        std::size_t len = std::min(kMaxBlock, raw.size() - pos);
        bool last = pos + len == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(len));
        zlib.push_back(static_cast<std::uint8_t>(len >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~len));
        zlib.push_back(static_cast<std::uint8_t>(~len >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                    raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
        pos += len;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(width_));
    putBigEndian(header, static_cast<std::uint32_t>(height_));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});

    std::ofstream file(fsPath(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}
