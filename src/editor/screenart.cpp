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

std::vector<TCelArray> loadStrips(const TScreenArt::TSource& load) {
    std::vector<TCelArray> strips;
    strips.reserve(kGlyphStrips);
    for (int n = 0; n < kGlyphStrips; ++n) {
        const std::string name = std::to_string(n) + "alpha";
        strips.emplace_back(load(name.c_str()), kGlyphCels);
    }
    return strips;
}

} // namespace

TScreenArt::TScreenArt(const std::string& folder)
    : TScreenArt([&folder](const char* name) { return TDib(pathOf(folder, name).c_str()); }) {}

TScreenArt::TScreenArt(const TSource& load)
    : details(load("details")), extChar(load("extChar")), strips(loadStrips(load)),
      cursor(load("cursor"), kCursorPhases), hiTop(load("hiTop"), 2), hiSide(load("hiSide"), 2),
      colorHiTop(load("colorHiTop"), 3), colorHiSide(load("colorHiSide"), 3) {}
