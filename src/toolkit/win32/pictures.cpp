// Pictures for Windows: PNG files decoded by WIC into 32-bit BGRA, and the icons, cursors and
// DIB sections made from them and from the layer's bitmaps.

#include <algorithm>
#include <map>
#include <utility>

#include "resources/resources.h"
#include "toolkit/win32/win32backend.h"

#include <objbase.h>
#include <wincodec.h>

namespace toolkit_win32 {
namespace {

// Releases a COM interface when it goes out of scope.
template <class T> class TComPtr {
  public:
    TComPtr() = default;
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    ~TComPtr() {
        if (p_)
            p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** out() { return &p_; }

  private:
    T* p_ = nullptr;
};

IWICImagingFactory* imagingFactory() {
    static IWICImagingFactory* factory = [] {
        // S_FALSE (already initialised) and another apartment's mode both leave COM usable.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IWICImagingFactory* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&made))))
            return static_cast<IWICImagingFactory*>(nullptr);
        return made;
    }();
    return factory;
}

BITMAPINFO dibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The icon at the size asked for: from the smallest file at least that large, else the
// largest, scaled to size.
std::optional<TBgraImage> iconImage(int iconResId, int size) {
    std::vector<const char*> files(resources::iconBundle(iconResId).begin(),
                                   resources::iconBundle(iconResId).end());
    if (const char* small = resources::smallIconFile(iconResId))
        files.push_back(small);
    if (const char* file = resources::iconFile(iconResId))
        files.push_back(file);
    const char* bestFile = nullptr;
    int bestWidth = 0;
    for (const char* file : files) {
        std::optional<TBgraImage> image = loadPicture(file);
        if (!image)
            continue;
        const int w = image->width;
        const bool better = bestFile == nullptr ||
                            (w >= size && (bestWidth < size || w < bestWidth)) ||
                            (w < size && bestWidth < size && w > bestWidth);
        if (better) {
            bestFile = file;
            bestWidth = w;
        }
    }
    return bestFile ? loadPicture(bestFile, size, size) : std::nullopt;
}

} // namespace

std::optional<TBgraImage> loadPicture(const std::string& path, int width, int height) {
    IWICImagingFactory* factory = imagingFactory();
    if (!factory || path.empty())
        return std::nullopt;
    TComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(widen(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out())))
        return std::nullopt;
    TComPtr<IWICBitmapFrameDecode> frame;
    TComPtr<IWICBitmapSource> straight;
    if (FAILED(decoder->GetFrame(0, frame.out())) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), straight.out())))
        return std::nullopt;
    IWICBitmapSource* source = straight.get();
    TComPtr<IWICBitmapScaler> scaler;
    UINT w = 0, h = 0;
    if (FAILED(source->GetSize(&w, &h)))
        return std::nullopt;
    if (width > 0 && height > 0 &&
        (w != static_cast<UINT>(width) || h != static_cast<UINT>(height))) {
        if (FAILED(factory->CreateBitmapScaler(scaler.out())) ||
            FAILED(scaler->Initialize(source, static_cast<UINT>(width), static_cast<UINT>(height),
                                      WICBitmapInterpolationModeFant)))
            return std::nullopt;
        source = scaler.get();
        w = static_cast<UINT>(width);
        h = static_cast<UINT>(height);
    }
    TBgraImage image;
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h);
    image.bgra.resize(static_cast<std::size_t>(w) * h * 4);
    if (FAILED(source->CopyPixels(nullptr, w * 4, static_cast<UINT>(image.bgra.size()),
                                  image.bgra.data())))
        return std::nullopt;
    return image;
}

HBITMAP makeDibSection(const TBgraImage& image, bool premultiply) {
    BITMAPINFO info = dibInfo(image.width, image.height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return nullptr;
    auto* out = static_cast<std::uint8_t*>(bits);
    std::copy(image.bgra.begin(), image.bgra.end(), out);
    if (premultiply) {
        // AlphaBlend wants each colour already weighed by its pixel's alpha.
        for (std::size_t i = 0; i < image.bgra.size(); i += 4)
            for (std::size_t c = 0; c < 3; ++c)
                out[i + c] = static_cast<std::uint8_t>((out[i + c] * out[i + 3] + 127) / 255);
    }
    return bitmap;
}

HICON makeIcon(const TBgraImage& image, bool icon, int hotX, int hotY) {
    // Icons take straight alpha; the mask is unused where the colour bitmap has alpha.
    HBITMAP color = makeDibSection(image, false);
    std::vector<std::uint8_t> zeros(static_cast<std::size_t>((image.width + 15) / 16 * 2) *
                                    static_cast<std::size_t>(image.height));
    HBITMAP mask = CreateBitmap(image.width, image.height, 1, 1, zeros.data());
    ICONINFO info{};
    info.fIcon = icon;
    info.xHotspot = static_cast<DWORD>(hotX);
    info.yHotspot = static_cast<DWORD>(hotY);
    info.hbmMask = mask;
    info.hbmColor = color;
    HICON made = color && mask ? CreateIconIndirect(&info) : nullptr;
    if (color)
        DeleteObject(color);
    if (mask)
        DeleteObject(mask);
    return made;
}

HICON iconOf(int iconResId, int size) {
    // Made once and kept for the program's life: windows and image lists share them.
    static std::map<std::pair<int, int>, HICON> made;
    auto found = made.find({iconResId, size});
    if (found != made.end())
        return found->second;
    std::optional<TBgraImage> image = iconImage(iconResId, size);
    HICON icon = image ? makeIcon(*image, true, 0, 0) : nullptr;
    made[{iconResId, size}] = icon;
    return icon;
}

HCURSOR cursorOf(int cursorResId) {
    static std::map<int, HCURSOR> made;
    auto found = made.find(cursorResId);
    if (found != made.end())
        return found->second;
    const char* file = resources::cursorFile(cursorResId);
    std::optional<TBgraImage> image = file ? loadPicture(file) : std::nullopt;
    const resources::THotSpot hot = resources::cursorHotSpot(cursorResId);
    HCURSOR cursor = image ? makeIcon(*image, false, hot.x, hot.y) : nullptr;
    made[cursorResId] = cursor;
    return cursor;
}

HBITMAP bitmapOf(const TDib& dib, int dpi) {
    HBITMAP native = bitmapOf(dib);
    if (dpi == 96 || !native)
        return native;
    // Grown with the screen: whole factors pixel for pixel, others smoothly.
    const int w = dib.Width(), h = dib.Height();
    const int sw = toScreen(w, dpi), sh = toScreen(h, dpi);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = sw;
    info.bmiHeader.biHeight = -sh;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP scaled = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!scaled)
        return native;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, native);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, dpi % 96 == 0 ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, sw, sh, from, 0, 0, w, h, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(native);
    return scaled;
}

HBITMAP bitmapOf(const TDib& dib) {
    const TRgbImage& pixels = dib.GetPixels();
    TBgraImage image;
    image.width = pixels.Width();
    image.height = pixels.Height();
    image.bgra.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    const std::uint8_t* rgb = pixels.Data();
    for (std::size_t i = 0, n = image.bgra.size() / 4; i < n; ++i) {
        image.bgra[i * 4] = rgb[i * 3 + 2];
        image.bgra[i * 4 + 1] = rgb[i * 3 + 1];
        image.bgra[i * 4 + 2] = rgb[i * 3];
        image.bgra[i * 4 + 3] = 255;
    }
    return makeDibSection(image, false);
}

HBITMAP keyedBitmapOf(const TDib& dib) {
    std::shared_ptr<TDib::Native>& native = dib.GetNative();
    if (native && native->keyed)
        return native->keyed;
    const TRgbImage& pixels = dib.GetPixels();
    TBgraImage image;
    image.width = pixels.Width();
    image.height = pixels.Height();
    image.bgra.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    const std::uint8_t* rgb = pixels.Data();
    for (std::size_t i = 0, n = image.bgra.size() / 4; i < n; ++i) {
        const bool background =
            rgb[i * 3] == rgb[0] && rgb[i * 3 + 1] == rgb[1] && rgb[i * 3 + 2] == rgb[2];
        if (background)
            continue; // transparent: zero in every channel
        image.bgra[i * 4] = rgb[i * 3 + 2];
        image.bgra[i * 4 + 1] = rgb[i * 3 + 1];
        image.bgra[i * 4 + 2] = rgb[i * 3];
        image.bgra[i * 4 + 3] = 255;
    }
    if (!native)
        native = std::make_shared<TDib::Native>();
    native->keyed = makeDibSection(image, true);
    return native->keyed;
}

bool drawKeyed(HDC hdc, int x, int y, const TDib& dib, int dpi) {
    HBITMAP bitmap = keyedBitmapOf(dib);
    if (!bitmap)
        return false;
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const bool ok = AlphaBlend(hdc, x, y, toScreen(dib.Width(), dpi), toScreen(dib.Height(), dpi),
                               memory, 0, 0, dib.Width(), dib.Height(), blend) != FALSE;
    SelectObject(memory, old);
    DeleteDC(memory);
    return ok;
}

} // namespace toolkit_win32

TDib::Native::~Native() {
    if (keyed)
        DeleteObject(keyed);
}
