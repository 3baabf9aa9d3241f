#include "toolkit/headless/headless.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bitmap file with an info header: bits per pixel, compression, palette (BGR0) and the
// rows as stored. Height is negative for a top-down file.
Bytes bmpFile(int width, int height, unsigned bpp, unsigned compression, const Bytes& palette,
              const Bytes& pixels, const Bytes& masks = {}) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    const std::uint32_t offset = static_cast<std::uint32_t>(54 + masks.size() + palette.size());
    put32(b, 10, offset);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, bpp);
    put32(b, 30, compression);
    put32(b, 46, static_cast<std::uint32_t>(palette.size() / 4));
    b.insert(b.end(), masks.begin(), masks.end());
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

std::vector<TColor> pixelsOf(const TRgbImage& image) {
    std::vector<TColor> all;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            all.push_back(image.GetPixel(x, y));
    return all;
}

const TColor red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), white(255, 255, 255);

TEST(Bitmap, DecodesTheFormatsOfTheAssetTools) {
    // Every case is 3 by 2 pixels: red green blue on the top row, white blue red below.
    const std::vector<TColor> expected{red, green, blue, white, blue, red};
    const Bytes palette{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"8-bit, bottom-up", bmpFile(3, 2, 8, 0, palette, {3, 2, 0, 0, /**/ 0, 1, 2, 0})},
        {"8-bit, top-down", bmpFile(3, -2, 8, 0, palette, {0, 1, 2, 0, /**/ 3, 2, 0, 0})},
        {"4-bit", bmpFile(3, 2, 4, 0, palette, {0x32, 0x00, 0, 0, /**/ 0x01, 0x20, 0, 0})},
        {"1-bit picks from two colours",
         bmpFile(3, 2, 1, 0, {255, 255, 255, 0, 0, 0, 255, 0}, {0x80, 0, 0, 0, 0x60, 0, 0, 0})},
        {"24-bit", bmpFile(3, 2, 24, 0, {}, {255, 255, 255, 255, 0,   0, 0,   0, 255, 0, 0, 0, //
                                             0,   0,   255, 0,   255, 0, 255, 0, 0,   0, 0, 0})},
        {"32-bit bit fields",
         bmpFile(3, 2, 32, 3, {}, {255, 255, 255, 0, 255, 0,   0, 0, 0,   0, 255, 0, //
                                   0,   0,   255, 0, 0,   255, 0, 0, 255, 0, 0,   0},
                 {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0})},
    };
    for (Case& c : cases) {
        // The 1-bit case is a two-colour picture: expect what its palette says.
        std::vector<TColor> want = expected;
        if (std::string(c.what).starts_with("1-bit"))
            want = {white, red, red, red, white, white};
        EXPECT_EQ(pixelsOf(decodeBmp(c.file, c.what)), want) << c.what;
    }
}

TEST(Bitmap, RefusesWhatIsNoUsableBitmap) {
    const Bytes good = encodeBmp(TRgbImage(4, 4, red));
    Bytes notBm = good;
    notBm[0] = 'X';
    Bytes cut = good;
    cut.resize(good.size() - 1);
    Bytes zeroWidth = good;
    put32(zeroWidth, 18, 0);
    Bytes huge = good;
    put32(huge, 18, 100000);
    put32(huge, 22, 100000);
    const Bytes rle = bmpFile(2, 1, 8, 1, {0, 0, 0, 0}, {0, 0, 0, 0});
    const Bytes outsidePalette = bmpFile(2, 1, 8, 0, {0, 0, 0, 0}, {0, 5, 0, 0});
    for (const Bytes* file : std::initializer_list<const Bytes*>{&notBm, &cut, &zeroWidth, &huge,
                                                                 &rle, &outsidePalette})
        EXPECT_THROW(decodeBmp(*file, "x"), TXBitmap);
    EXPECT_THROW(decodeBmp({}, "x"), TXBitmap);
}

TEST(Bitmap, TDibReadsByNameFromTheWorkingFolder) {
    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    auto write = [&](const std::string& name, const TRgbImage& image) {
        const Bytes bytes = encodeBmp(image);
        dir.write(name, std::string(bytes.begin(), bytes.end()));
    };
    write("details", TRgbImage(2, 3, red));
    write("details.bmp", TRgbImage(5, 5, green)); // the bare name comes first
    write("savTop.bmp", TRgbImage(7, 1, blue));
    dir.write("broken", "BM not really");

    const TDib details("details");
    EXPECT_EQ(details.Size(), TSize(2, 3));
    EXPECT_EQ(details.GetPixels().GetPixel(1, 2), red);
    EXPECT_EQ(TDib("savTop").Size(), TSize(7, 1));
    EXPECT_THROW(TDib("splash"), TXBitmap);
    EXPECT_THROW(TDib("broken"), TXBitmap);
    EXPECT_THROW(TDib(""), TXBitmap);
}

// Every picture the program opens by name reads, and the strips cut into whole cels.
TEST(Bitmap, TheShippedPicturesRead) {
    ScopedWorkingDir cd(DROVAK_ASSETS_DIR);
    struct Case {
        const char* name;
        int cels;
    } cases[] = {{"details", 1}, {"extChar", 1},    {"savTop", 1},     {"splash", 1},
                 {"about", 1},   {"wizard", 1},     {"cursor", 4},     {"hiTop", 2},
                 {"hiSide", 2},  {"colorHiTop", 3}, {"colorHiSide", 3}};
    for (const Case& c : cases) {
        const TDib dib(c.name);
        EXPECT_EQ(dib.Width() % c.cels, 0) << c.name;
        EXPECT_NO_THROW(TCelArray(dib, c.cels)) << c.name;
    }
    for (int colour = 0; colour < 12; ++colour) {
        const std::string name = std::to_string(colour) + "alpha";
        const TDib strip(name.c_str());
        ASSERT_EQ(strip.Width() % 256, 0) << name;
        // Cel 128 (byte 0) is blank: one colour all over.
        const TRect blank = TCelArray(strip, 256).CelRect(128);
        const TColor ground = strip.GetPixels().GetPixel(blank.left, blank.top);
        for (int y = blank.top; y < blank.bottom; ++y)
            for (int x = blank.left; x < blank.right; ++x)
                ASSERT_EQ(strip.GetPixels().GetPixel(x, y), ground) << name;
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
    struct Case {
        int cel;
        TPoint at;
        TRect clip; // empty: the whole surface
    } cases[] = {
        {2, {5, 7}, {}},
        {0, {0, 0}, {}},
        {3, {25, 20}, {}}, // partly off the surface's right and bottom edges
        {1, {-4, -2}, {}}, // partly off the left and top edges
        {2, {5, 7}, {8, 0, 12, 30}},
    };
    for (const Case& c : cases) {
        TRgbImage surface(30, 24, ground);
        auto dc = headless::makeDC(surface, c.clip);
        ASSERT_TRUE(cels.BitBlt(c.cel, *dc, c.at.x, c.at.y));
        const TRect visible = c.clip.IsEmpty() ? TRect(0, 0, 30, 24) : c.clip;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 30; ++x) {
                const int cx = x - c.at.x, cy = y - c.at.y;
                const bool drawn =
                    cx >= 0 && cx < 10 && cy >= 0 && cy < 6 && visible.Contains(TPoint(x, y));
                const TColor want = drawn ? TColor(c.cel * 60, cx, cy) : ground;
                ASSERT_EQ(surface.GetPixel(x, y), want)
                    << "cel " << c.cel << " pixel " << x << "," << y;
            }
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

// The PNG only serves to look at what a test painted: a PNG of the picture's size, and a
// failure said when the file cannot be made.
TEST(Bitmap, PngNamesTheSizeAndSaysWhenItFails) {
    TempDir dir;
    const TRgbImage picture(200, 120, TColor(34, 34, 34));
    ASSERT_TRUE(picture.WritePng(dir.file("shot.png")));
    const std::string bytes = dir.read("shot.png");
    EXPECT_EQ(bytes.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\0\xc8\0\0\0\x78", 8));
    EXPECT_FALSE(picture.WritePng(dir.file("no-such-folder/shot.png")));
}

} // namespace
