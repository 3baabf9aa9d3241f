// The picture decoder on any bytes: a bitmap file either decodes or is refused with
// TXBitmap. What decodes must survive our own 24-bit encoding unchanged.
#include "toolkit/errors.h"
#include "toolkit/graphics.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    TRgbImage image;
    try {
        image = decodeBmp(bytes, "fuzz");
    } catch (const TXBitmap&) {
        return 0;
    }
    if (decodeBmp(encodeBmp(image), "again") != image)
        std::abort();
    return 0;
}
