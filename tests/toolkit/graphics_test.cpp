#include "common/tempdir.h"
#include "toolkit/headless/headless.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bitmap file with an info header: bits per pixel, compression, palette (BGR0) and the
// rows as stored. Height is negative for a top-down file.
Bytes bmpFile(int width, int height, unsigned bpp, unsigned compression, const Bytes& palette,
              const Bytes& pixels) {
    Bytes b(54 + palette.size() + pixels.size(), 0);
    std::copy(pixels.begin(), pixels.end(),
              std::copy(palette.begin(), palette.end(), b.begin() + 54));
    b[0] = 'B';
    b[1] = 'M';
    const auto colours = static_cast<std::uint32_t>(palette.size() / 4);
    // Each field's offset and value; the planes and the bits per pixel share one 32-bit word.
    for (auto [at, v] : {std::pair<std::size_t, std::uint32_t>{2, std::uint32_t(b.size())},
                         {10, 54 + colours * 4},
                         {14, 40},
                         {18, std::uint32_t(width)},
                         {22, std::uint32_t(height)},
                         {26, 1 | bpp << 16},
                         {30, compression},
                         {46, colours}})
        put32(b, at, v);
    return b;
}

const TColor red(255, 0, 0);

// act must be refused with a TXBitmap that names the file.
template <class Act> void expectRefused(Act act, const std::string& name) {
    try {
        act();
        ADD_FAILURE() << name << " was taken";
    } catch (const TXBitmap& e) {
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
}

// What is no usable bitmap is refused, in memory or named. A named file's headers are checked
// when it is named, its pixels read when first drawn: one gone by then is refused then.
TEST(Bitmap, RefusesWhatIsNoUsableBitmap) {
    const Bytes good = encodeBmp(TRgbImage(4, 4, red));
    Bytes notBm = good, cut = good, zeroWidth = good, huge = good;
    notBm[0] = 'X';
    cut.resize(good.size() - 1);
    put32(zeroWidth, 18, 0);
    put32(huge, 18, 100000);
    put32(huge, 22, 100000);
    const std::pair<const char*, Bytes> files[] = {
        {"notbm", notBm}, {"cut", cut},  {"zerowidth", zeroWidth},
        {"huge", huge},   {"empty", {}}, {"rle", bmpFile(2, 1, 8, 1, {0, 0, 0, 0}, {0, 0, 0, 0})}};
    TempDir dir;
    for (const auto& [name, bytes] : files) {
        EXPECT_THROW(decodeBmp(bytes, "x"), TXBitmap) << name;
        dir.write(name, std::string(bytes.begin(), bytes.end()));
        expectRefused([&, n = name] { TDib dib(dir.file(n).c_str()); }, name);
    }
    // A pixel outside the palette.
    EXPECT_THROW(decodeBmp(bmpFile(2, 1, 8, 0, {0, 0, 0, 0}, {0, 5, 0, 0}), "x"), TXBitmap);
    expectRefused([&] { TDib dib(dir.file("none").c_str()); }, "none");
    dir.write("plain", std::string(good.begin(), good.end()));
    const TDib gone(dir.file("plain").c_str());
    const TDib copy = gone;
    std::filesystem::remove(dir.file("plain"));
    expectRefused([&] { copy.GetPixels(); }, "plain");
}

// The program's pictures are 24-bit files; stored bottom-up or top-down, each gives the same
// 3 by 2 picture: red, green, blue over white, black, yellow; so does each part of it read
// alone from the file, before the whole is decoded and after. A picture named without its
// ".bmp" is found with it.
TEST(Bitmap, DecodesTheProgramsPixelFormat) {
    const TColor want[2][3] = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                               {{255, 255, 255}, {0, 0, 0}, {255, 255, 0}}};
    // name, height (negative: top-down), rows as stored, each padded to four bytes
    const std::tuple<const char*, int, Bytes> cases[] = {
        {"bottom-up", 2, {255, 255, 255, 0, 0,   0, 0,   255, 255, 0, 0, 0,
                          0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0}},
        {"top-down", -2, {0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0,
                          255, 255, 255, 0, 0,   0, 0,   255, 255, 0, 0, 0}}};
    TempDir dir;
    const TRect parts[] = {{1, 0, 3, 2}, {0, 1, 2, 2}, {2, 0, 3, 1}, {0, 0, 3, 2}};
    std::vector<TDib> dibs;
    for (const auto& [name, height, rows] : cases) {
        const Bytes file = bmpFile(3, height, 24, 0, {}, rows);
        dir.write(name + std::string(height < 0 ? ".bmp" : ""),
                  std::string(file.begin(), file.end()));
        dibs.emplace_back(dir.file(name).c_str());
        EXPECT_EQ(dibs.back().Size(), TSize(3, 2)) << name;
    }
    // The two files' parts in turns: each part comes from its own file's bytes, also after
    // the bytes kept were let go; once decoded (as decodeBmp does), from the whole picture.
    for (bool decoded : {false, true}) {
        for (const TRect& part : parts) {
            for (std::size_t i = 0; i < dibs.size(); ++i) {
                if (decoded)
                    dibs[i].GetPixels();
                const TRgbImage pixels = dibs[i].GetPart(part);
                ASSERT_EQ(pixels.Width(), part.Width());
                for (int y = part.top; y < part.bottom; ++y)
                    for (int x = part.left; x < part.right; ++x)
                        EXPECT_EQ(pixels.GetPixel(x - part.left, y - part.top), want[y][x])
                            << std::get<0>(cases[i]) << (decoded ? ", decoded," : "") << " at " << x
                            << "," << y;
            }
            TDib::ReleaseFileBytes();
        }
    }
}

// A strip of four 10 by 6 cels; every pixel says which cel and where it is.
TDib numberedStrip() {
    TRgbImage strip(40, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 40; ++x)
            strip.SetPixel(x, y, TColor(x / 10 * 60, x % 10, y));
    return TDib(strip);
}

TEST(Bitmap, ACelLandsAtItsPoint) {
    const TCelArray cels(numberedStrip(), 4);
    EXPECT_EQ(cels.CelSize(), TSize(10, 6));
    const TColor ground(34, 34, 34);
    // cel (-1: the strip's part at src, of dest's size), point, clip (empty: the whole surface),
    // dest, src; the last three reach past the strip's edges: only its own pixels are copied.
    // clang-format off
    const std::tuple<int, TPoint, TRect, TRect, TPoint> cases[] = {
        {2, {5, 7}, {}, {}, {}}, {3, {25, 20}, {}, {}, {}}, {1, {-4, -2}, {}, {}, {}},
        {2, {5, 7}, {8, 0, 12, 30}, {}, {}}, {-1, {}, {}, {2, 3, 28, 12}, {-3, -2}},
        {-1, {}, {}, {0, 0, 30, 24}, {25, 4}}, {-1, {}, {3, 1, 9, 20}, {1, 1, 29, 23}, {-2, 1}}};
    // clang-format on
    for (const auto& [cel, at, clip, partDest, partSrc] : cases) {
        TRgbImage surface(30, 24, ground);
        auto dc = headless::makeDC(surface, clip);
        const TRect dest = cel >= 0 ? TRect(at, cels.CelSize()) : partDest;
        const TPoint src = cel >= 0 ? cels.CelRect(cel).TopLeft() : partSrc;
        ASSERT_TRUE(cel >= 0 ? cels.BitBlt(cel, *dc, at.x, at.y)
                             : dc->BitBlt(dest, cels.GetDib(), src));
        const TRect visible = clip.IsEmpty() ? TRect(0, 0, 30, 24) : clip;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 30; ++x) {
                const int sx = src.x + x - dest.left, sy = src.y + y - dest.top;
                const bool drawn = dest.Contains(TPoint(x, y)) && sx >= 0 && sx < 40 && sy >= 0 &&
                                   sy < 6 && visible.Contains(TPoint(x, y));
                const TColor want = drawn ? TColor(sx / 10 * 60, sx % 10, sy) : ground;
                ASSERT_EQ(surface.GetPixel(x, y), want)
                    << "case at " << dest.left << "," << dest.top << " pixel " << x << "," << y;
            }
    }
    TRgbImage surface(30, 24, ground);
    auto dc = headless::makeDC(surface);
    EXPECT_FALSE(cels.BitBlt(4, *dc, 0, 0));
    EXPECT_FALSE(cels.BitBlt(-1, *dc, 0, 0));
    EXPECT_EQ(surface, TRgbImage(30, 24, ground));
    EXPECT_THROW(TCelArray(numberedStrip(), 0), TXBitmap);
    EXPECT_THROW(TCelArray(numberedStrip(), 41), TXBitmap);
}

} // namespace
