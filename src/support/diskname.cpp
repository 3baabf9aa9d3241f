#include "support/diskname.h"

#include "support/filename.h"
#include "support/pathsep.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#ifndef _WIN32
#include <dirent.h>
#endif

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
    fs::path dir = folder.empty() ? fs::path(".") : fsPath(folder);
    std::error_code ec;
#ifndef _WIN32
    // A case-blind disk finds a file by any spelling, so only elsewhere is this the name.
    if (fs::symlink_status(dir / fsPath(name), ec).type() != fs::file_type::not_found && !ec) {
        return name;
    }
#endif
    std::string best;
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string entry = fsName(it->path().filename());
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

std::vector<std::string> findNamesOnDisk(const std::string& folder,
                                         const std::vector<std::string>& names) {
    auto folded = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), lowerAscii);
        return text;
    };
    std::unordered_set<std::string> wanted;
    std::unordered_set<std::size_t> lengths;
    for (const std::string& name : names) {
        wanted.insert(folded(name));
        lengths.insert(name.size());
    }
    std::vector<std::string> found;
    auto consider = [&](std::string entry) {
        if (lengths.count(entry.size()) != 0 && wanted.count(folded(entry)) != 0) {
            found.push_back(std::move(entry));
        }
    };
    std::string dir = folder.empty() ? std::string(".") : folder;
#ifndef _WIN32
    // The plain directory read: a folder of many thousand pilots is read in a millisecond or
    // two, several times faster than through directory entries with their paths.
    if (DIR* stream = opendir(dir.c_str())) {
        while (const dirent* entry = readdir(stream)) {
            consider(entry->d_name);
        }
        closedir(stream);
    }
#else
    std::error_code ec;
    for (fs::directory_iterator it(fsPath(dir), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        consider(fsName(it->path().filename()));
    }
#endif
    return found;
}
