#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

// Pictures and drawing. A TDib is a bitmap file decoded into RGB pixels by the layer itself
// (the same pixels in every backend); a TCelArray cuts one into equal cels; a TDC draws them
// into a window (wx) or into a pixel buffer (headless).

// An RGB picture, 3 bytes a pixel, rows top to bottom.
class TRgbImage {
  public:
    TRgbImage() = default;
    TRgbImage(int width, int height, const TColor& fill = TColor());

    int Width() const { return width_; }
    int Height() const { return height_; }
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, const TColor& color);
    void Fill(const TRect& rect, const TColor& color); // clipped to the picture
    // Copies the part of another picture that starts at src, of dest's size, to dest; only
    // the pixels both pictures have are copied.
    void Draw(const TRect& dest, const TRgbImage& from, const TPoint& src);
    const std::uint8_t* Data() const { return data_.data(); }
    std::uint8_t* Data() { return data_.data(); }
    bool operator==(const TRgbImage&) const = default;

    // Writes the picture as a PNG file; false when the file cannot be written.
    bool WritePng(const std::string& path) const;

  private:
    // Where a pixel of the picture starts in data_.
    std::size_t Offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)) *
               3;
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> data_;
};

// Decodes a Windows bitmap file (uncompressed 1, 4, 8, 24 or 32 bits a pixel, bottom-up or
// top-down). Throws TXBitmap naming the file when it is not one.
TRgbImage decodeBmp(std::span<const std::uint8_t> bytes, const std::string& name);

// Encodes a picture as a 24-bit bitmap file (tests and asset tools write their inputs so).
std::vector<std::uint8_t> encodeBmp(const TRgbImage& image);

// A device-independent bitmap read by name from the working directory: the file of exactly
// that name, or, when there is none, the name with ".bmp". The constructor reads and checks
// the headers alone and throws TXBitmap when neither file can be read as a bitmap; the pixels
// are read in one go and decoded when first asked for, so a picture never drawn costs one
// small read. Copies share the pixels.
class TDib {
  public:
    explicit TDib(const char* name);
    explicit TDib(TRgbImage image);

    int Width() const { return size_.cx; }
    int Height() const { return size_.cy; }
    TSize Size() const { return size_; }
    // Throws TXBitmap when the file can no longer be read as the picture it was.
    const TRgbImage& GetPixels() const;
    // The pixels of a part inside the picture (the whole picture is a part too). Until the
    // picture is decoded whole, only the part is decoded, and the picture keeps none of it.
    TRgbImage GetPart(const TRect& part) const;
    // The whole picture's pixels if they are decoded already (a picture made in memory
    // always is), else null: nothing is read.
    const TRgbImage* GetDecoded() const;
    // Parts are decoded from the bytes of the last picture file read, kept for the next part;
    // this lets them go.
    static void ReleaseFileBytes();

    // A backend's own rendering of the pixels (the wx backend keeps a wxBitmap here), made
    // on first use. The headless backend has none.
    struct Native;
    std::shared_ptr<Native>& GetNative() const { return native_; }

  private:
    struct Pixels; // the decoded picture, or where to read it
    std::shared_ptr<Pixels> pixels_;
    TSize size_;
    mutable std::shared_ptr<Native> native_;
};

class TDC;

// A bitmap cut from left to right into numCels cels of equal width (the picture's width
// divided by numCels) and the picture's full height.
class TCelArray {
  public:
    TCelArray(const TDib& dib, int numCels);

    int NumCels() const { return numCels_; }
    TSize CelSize() const { return {dib_.Width() / numCels_, dib_.Height()}; }
    TRect CelRect(int index) const; // in the bitmap's pixels
    const TDib& GetDib() const { return dib_; }

    // Draws cel index unchanged (no transparency) with its top left at (x, y); false for an
    // index out of range.
    bool BitBlt(int index, TDC& dc, int x, int y) const;

  private:
    TDib dib_;
    int numCels_;
};

// A drawing context: what a window's Paint gets, clipped to the area being repainted.
class TDC {
  public:
    struct Impl;
    explicit TDC(std::unique_ptr<Impl> impl);
    ~TDC();
    TDC(const TDC&) = delete;
    TDC& operator=(const TDC&) = delete;

    // Copies the part of the bitmap that starts at src, of dest's size, to dest.
    bool BitBlt(const TRect& dest, const TDib& dib, const TPoint& src);
    // Copies the whole bitmap with its top left at (x, y).
    bool BitBlt(int x, int y, const TDib& dib);
    // One line of text in the desktop's normal font, its top left at (x, y), over what is
    // there.
    bool TextOut(int x, int y, const std::string& text, const TColor& color);
    // The area this paint may change (everything outside is left as it was).
    TRect GetClipBox() const;

    Impl& GetImpl() const { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

// An icon of the program's resources (resources/resources.h names them).
class TIcon {
  public:
    explicit TIcon(int resId) : resId_(resId) {}
    int GetResId() const { return resId_; }

  private:
    int resId_;
};

// The list view's small images: icons of one size, numbered in the order they were added.
class TImageList {
  public:
    TImageList(const TSize& imageSize, uint flags, int initCount, int growBy)
        : size_(imageSize), flags_(flags), initCount_(initCount), growBy_(growBy) {}

    int Add(const TIcon& icon); // the new image's index
    int GetImageCount() const { return static_cast<int>(icons_.size()); }
    int GetIconResId(int index) const; // 0 for an index out of range
    TSize GetImageSize() const { return size_; }
    uint GetFlags() const { return flags_; }
    int GetInitCount() const { return initCount_; }
    int GetGrowBy() const { return growBy_; }

  private:
    TSize size_;
    uint flags_;
    int initCount_;
    int growBy_;
    std::vector<int> icons_;
};
