#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/filename.h"
#include "toolkit/bmp.h"
#include "toolkit/errors.h"

namespace {

// The headers and palette of nearly every bitmap file lie within this many first bytes.
constexpr std::size_t kHeadBytes = 4096;

// Reads up to count first bytes of a file into bytes, in one read; how many it read.
std::size_t readStart(std::ifstream& file, std::uint8_t* bytes, std::size_t count) {
    file.clear();
    file.seekg(0);
    file.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(count));
    return file ? count : static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0));
}

std::vector<std::uint8_t> readStart(std::ifstream& file, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    bytes.resize(readStart(file, bytes.data(), count));
    return bytes;
}

} // namespace

struct TDib::Pixels {
    std::optional<TRgbImage> image;
    std::string path; // until decoded
    std::string name;
    TBmpLayout layout;
};

TDib::TDib(const char* name) : pixels_(std::make_shared<Pixels>()) {
    const std::string bare = name ? name : "";
    for (const std::string& path : {bare, bare + ".bmp"}) {
        std::ifstream file;
        if (!bare.empty())
            file.open(fsPath(path), std::ios::binary);
        std::vector<std::uint8_t> head =
            file ? readStart(file, kHeadBytes) : std::vector<std::uint8_t>();
        if (head.empty())
            continue;
        file.clear();
        file.seekg(0, std::ios::end);
        const std::streamoff size = file.tellg();
        if (size < static_cast<std::streamoff>(head.size()))
            continue;
        if (const std::size_t want = bmpHeadBytes(head);
            want > head.size() && static_cast<std::size_t>(size) > head.size())
            head = readStart(file, std::min(want, static_cast<std::size_t>(size)));
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
        std::ifstream file(fsPath(p.path), std::ios::binary);
        // Not zeroed first: the read fills it.
        const std::size_t size = p.layout.fileBytes;
        const auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        if (readStart(file, bytes.get(), size) != size)
            throw TXBitmap("TDib: cannot read the bitmap " + p.name);
        TRgbImage image = decodeBmp({bytes.get(), size}, p.name);
        if (image.Width() != size_.cx || image.Height() != size_.cy)
            throw TXBitmap("TDib: " + p.name + " changed while the program ran");
        p.image = std::move(image);
        p.path.clear();
    }
    return *p.image;
}

TRgbImage TDib::GetPart(const TRect& part) const {
    const Pixels& p = *pixels_;
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
    std::vector<std::uint8_t> bytes(to - from);
    std::ifstream file;
    file.rdbuf()->pubsetbuf(nullptr, 0); // each read is the one system call it asks for
    file.open(fsPath(p.path), std::ios::binary);
    const std::size_t outRow = static_cast<std::size_t>(part.Width()) * 3;
    for (int y = part.top; y < part.bottom; ++y) {
        const int stored = layout.topDown ? y : layout.height - 1 - y;
        file.seekg(static_cast<std::streamoff>(
            layout.dataOffset + layout.stride * static_cast<std::size_t>(stored) + from));
        file.read(reinterpret_cast<char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!file)
            throw TXBitmap("TDib: cannot read the bitmap " + p.name);
        decodeBmpRow(layout, bytes.data(), skip, part.Width(),
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
