#include "editor/screenart.h"

#include "support/pathsep.h"

#include <string>

namespace {

std::string pathOf(const std::string& folder, const char* name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == kPathSeparator ? folder + name : folder + kPathSeparator + name;
}

TDib load(const std::string& folder, const char* name) {
    return TDib(pathOf(folder, name).c_str());
}

std::vector<TCelArray> loadStrips(const std::string& folder) {
    std::vector<TCelArray> strips;
    strips.reserve(kGlyphStrips);
    for (int n = 0; n < kGlyphStrips; ++n) {
        const std::string name = std::to_string(n) + "alpha";
        strips.emplace_back(load(folder, name.c_str()), kGlyphCels);
    }
    return strips;
}

} // namespace

TScreenArt::TScreenArt(const std::string& folder)
    : details(load(folder, "details")), extChar(load(folder, "extChar")),
      strips(loadStrips(folder)), cursor(load(folder, "cursor"), kCursorPhases),
      hiTop(load(folder, "hiTop"), 2), hiSide(load(folder, "hiSide"), 2),
      colorHiTop(load(folder, "colorHiTop"), 3), colorHiSide(load(folder, "colorHiSide"), 3) {}
