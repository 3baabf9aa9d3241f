#include "support/diskname.h"

#include "support/pathsep.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string::npos &&
           name.find(kPathSeparator) == std::string::npos;
}

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string findNameOnDisk(const std::string& folder, const std::string& name) {
    if (name.empty()) {
        return "";
    }
    fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    std::error_code ec;
    if (fs::symlink_status(dir / name, ec).type() != fs::file_type::not_found && !ec) {
        return name;
    }
    std::string best;
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (sameNameIgnoringCase(entry, name) && (best.empty() || entry < best)) {
            best = entry;
        }
    }
    return best;
}

std::string diskNameOr(const std::string& folder, const std::string& name) {
    std::string found = findNameOnDisk(folder, name);
    return found.empty() ? name : found;
}
