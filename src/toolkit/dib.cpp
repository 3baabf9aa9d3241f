#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/safefile.h"
#include "toolkit/bmp.h"
#include "toolkit/errors.h"

namespace {

// The headers and palette of nearly every bitmap file lie within this many first bytes.
constexpr std::size_t kHeadBytes = 4096;

// The bytes of the file last read for decoding, shared by every picture. Glyphs are drawn a
// run from one strip at a time, so one read serves many parts; no picture keeps its file's
// bytes beside its pixels, and the buffer's memory is reused rather than taken anew.
struct LastFile {
    std::uint64_t owner = 0; // the picture whose file the bytes are, 0 for none
    std::string bytes;
};

LastFile& lastFile() {
    static LastFile last;
    return last;
}

std::uint64_t nextPictureSerial() {
    static std::uint64_t serial = 0;
    return ++serial;
}

} // namespace

struct TDib::Pixels {
    std::optional<TRgbImage> image;
    std::string path; // until decoded
    std::string name;
    TBmpLayout layout;
    std::uint64_t serial = nextPictureSerial();

    // The file's bytes, read whole when first needed after another picture's.
    const std::uint8_t* Bytes() {
        LastFile& last = lastFile();
        if (last.owner != serial) {
            last.owner = 0;
            if (!readFilePrefix(path, layout.fileBytes, last.bytes) ||
                last.bytes.size() != layout.fileBytes)
                throw TXBitmap("TDib: cannot read the bitmap " + name);
            last.owner = serial;
        }
        return reinterpret_cast<const std::uint8_t*>(last.bytes.data());
    }
};

TDib::TDib(const char* name) : pixels_(std::make_shared<Pixels>()) {
    const std::string bare = name ? name : "";
    for (const std::string& path : {bare, bare + ".bmp"}) {
        std::string start;
        std::uint64_t size = 0;
        if (bare.empty() || !readFilePrefix(path, kHeadBytes, start, &size) || start.empty())
            continue;
        std::vector<std::uint8_t> head(start.begin(), start.end());
        if (const std::size_t want = bmpHeadBytes(head); want > head.size() && size > head.size()) {
            if (!readFilePrefix(path, want, start, &size))
                continue;
            head.assign(start.begin(), start.end());
        }
        const TBmpLayout layout = readBmpLayout(head, static_cast<std::size_t>(size), bare);
        size_ = TSize(layout.width, layout.height);
        pixels_->path = path;
        pixels_->name = bare;
        pixels_->layout = layout;
        return;
    }
    throw TXBitmap("TDib: cannot read the bitmap " + bare);
}

TDib::TDib(TRgbImage image)
    : pixels_(std::make_shared<Pixels>()), size_(image.Width(), image.Height()) {
    pixels_->image = std::move(image);
}

const TRgbImage& TDib::GetPixels() const {
    Pixels& p = *pixels_;
    if (!p.image) {
        TRgbImage image = decodeBmp({p.Bytes(), p.layout.fileBytes}, p.name);
        if (image.Width() != size_.cx || image.Height() != size_.cy)
            throw TXBitmap("TDib: " + p.name + " changed while the program ran");
        p.image = std::move(image);
        p.path.clear();
    }
    return *p.image;
}

void TDib::ReleaseFileBytes() {
    lastFile() = LastFile();
}

const TRgbImage* TDib::GetDecoded() const {
    return pixels_->image ? &*pixels_->image : nullptr;
}

TRgbImage TDib::GetPart(const TRect& part) const {
    Pixels& p = *pixels_;
    TRgbImage out(part.Width(), part.Height());
    if (p.image) {
        out.Draw(TRect(TPoint(0, 0), part.Size()), *p.image, part.TopLeft());
        return out;
    }
    // Of each stored row, only the bytes that hold the part: a glyph's are a few dozen.
    const TBmpLayout& layout = p.layout;
    const std::size_t bpp = layout.bpp;
    const std::size_t from = static_cast<std::size_t>(part.left) * bpp / 8;
    const std::size_t to = (static_cast<std::size_t>(part.right) * bpp + 7) / 8;
    const int skip = part.left - static_cast<int>(from * 8 / bpp);
    const std::uint8_t* bytes = p.Bytes();
    const std::size_t outRow = static_cast<std::size_t>(part.Width()) * 3;
    for (int y = part.top; y < part.bottom; ++y) {
        const int stored = layout.topDown ? y : layout.height - 1 - y;
        const std::size_t at = layout.dataOffset + layout.stride * static_cast<std::size_t>(stored);
        if (at + to > layout.fileBytes)
            throw TXBitmap("TDib: cannot read the bitmap " + p.name);
        decodeBmpRow(layout, bytes + at + from, skip, part.Width(),
                     out.Data() + outRow * static_cast<std::size_t>(y - part.top), p.name);
    }
    return out;
}

TCelArray::TCelArray(const TDib& dib, int numCels) : dib_(dib), numCels_(numCels) {
    if (numCels < 1 || numCels > dib.Width())
        throw TXBitmap("TCelArray: cannot cut the bitmap into that many cels");
}

TRect TCelArray::CelRect(int index) const {
    const TSize cel = CelSize();
    return TRect(TPoint(index * cel.cx, 0), cel);
}

bool TCelArray::BitBlt(int index, TDC& dc, int x, int y) const {
    if (index < 0 || index >= numCels_)
        return false;
    const TRect cel = CelRect(index);
    return dc.BitBlt(TRect(TPoint(x, y), cel.Size()), dib_, cel.TopLeft());
}

bool TDC::BitBlt(int x, int y, const TDib& dib) {
    return BitBlt(TRect(TPoint(x, y), dib.Size()), dib, TPoint(0, 0));
}

int TImageList::Add(const TIcon& icon) {
    icons_.push_back(icon.GetResId());
    return static_cast<int>(icons_.size()) - 1;
}

int TImageList::GetIconResId(int index) const {
    if (index < 0 || index >= GetImageCount())
        return 0;
    return icons_[static_cast<std::size_t>(index)];
}
