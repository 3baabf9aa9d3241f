#include "list/savfolder.h"

#include "support/filename.h"
#include "support/trace.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool hasExtension(std::string_view name, std::string_view extension) {
    if (name.size() <= extension.size()) {
        return false;
    }
    std::string_view tail = name.substr(name.size() - extension.size());
#ifdef _WIN32
    // Windows names ignore case, and "Ace.SAV" opens as "Ace.sav" there.
    return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
#else
    // The program writes and opens label + ".sav" and label + ".dvw" in lower case. On a
    // case-sensitive file system "Ace.SAV" is not the file "Ace.sav", so listing it would
    // show a label whose file cannot be opened: only the exact extension counts.
    return tail == extension;
#endif
}

std::vector<std::vector<std::string>>
findFolderFiles(const std::string& folder, const std::vector<std::string_view>& extensions) {
    trace("findFolderFiles", "");
    std::vector<std::vector<std::string>> names(extensions.size());
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fsPath(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = fsName(it->path().filename());
        if (name.empty() || name.front() == '.') {
            continue;
        }
        auto match = std::find_if(extensions.begin(), extensions.end(),
                                  [&](std::string_view ext) { return hasExtension(name, ext); });
        if (match == extensions.end()) {
            continue;
        }
        std::error_code typeError;
        if (it->is_regular_file(typeError) && !typeError) {
            names[static_cast<std::size_t>(match - extensions.begin())].push_back(std::move(name));
        }
    }
    for (auto& list : names) {
        std::sort(list.begin(), list.end());
    }
    return names;
}
