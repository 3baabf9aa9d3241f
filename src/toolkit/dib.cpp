#include <fstream>
#include <iterator>

#include "toolkit/errors.h"
#include "toolkit/graphics.h"

namespace {

bool readFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !bytes.empty();
}

} // namespace

TDib::TDib(const char* name) {
    const std::string bare = name ? name : "";
    std::vector<std::uint8_t> bytes;
    if (!bare.empty() && (readFile(bare, bytes) || readFile(bare + ".bmp", bytes)))
        pixels_ = std::make_shared<const TRgbImage>(decodeBmp(bytes, bare));
    else
        throw TXBitmap("TDib: cannot read the bitmap " + bare);
}

TDib::TDib(TRgbImage image) : pixels_(std::make_shared<const TRgbImage>(std::move(image))) {}

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
