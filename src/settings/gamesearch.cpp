#include "settings/gamesearch.h"

#include "settings/settingsxfer.h"
#include "support/filename.h"
#include "support/pathsep.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

bool sameNameCaseBlind(const std::string& a, const char* b) {
    return std::equal(a.begin(), a.end(), b, b + std::char_traits<char>::length(b),
                      [](char x, char y) {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

struct TFound {
    std::string folder;
    bool named;   // in the prefix the user named
    bool withExe; // Raptor.exe beside it
    fs::file_time_type played;
};

// Looks for raptor.sav in a folder and the folders below it, down to depth levels. A prefix
// is searched whole but for Windows' own folder, within a bound on the folders visited so a
// crowded prefix cannot hold up the first start.
void searchFolder(const fs::path& folder, int depth, bool named, int& budget,
                  std::vector<TFound>& found) {
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec || --budget < 0) {
        return;
    }
    std::vector<fs::path> below;
    bool holdsSav = false;
    bool withExe = false;
    fs::file_time_type played{};
    for (const auto& entry : it) {
        const std::string name = fsName(entry.path().filename());
        if (entry.is_directory(ec)) {
            if (depth > 0 && !entry.is_symlink(ec) && !sameNameCaseBlind(name, "windows")) {
                below.push_back(entry.path());
            }
        } else if (sameNameCaseBlind(name, kRaptorSavName) && entry.is_regular_file(ec)) {
            played = entry.last_write_time(ec);
            holdsSav = true;
        } else if (sameNameCaseBlind(name, "Raptor.exe")) {
            withExe = true;
        }
    }
    if (holdsSav) {
        found.push_back({fsName(folder) + kPathSeparator, named, withExe, played});
    }
    std::sort(below.begin(), below.end());
    for (const auto& sub : below) {
        searchFolder(sub, depth - 1, named, budget, found);
    }
}

#ifndef _WIN32
std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// Each folder below parent (sorted), joined with tail: the prefixes a game manager keeps.
void addEach(std::vector<fs::path>& prefixes, const fs::path& parent, const char* tail = "") {
    std::error_code ec;
    std::vector<fs::path> each;
    for (const auto& entry : fs::directory_iterator(parent, ec)) {
        if (entry.is_directory(ec)) {
            each.push_back(*tail != '\0' ? entry.path() / tail : entry.path());
        }
    }
    std::sort(each.begin(), each.end());
    prefixes.insert(prefixes.end(), each.begin(), each.end());
}
#endif

} // namespace

#ifndef _WIN32
std::string winePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    std::string folder = prefix != nullptr && *prefix != '\0' ? prefix : "";
    if (folder.empty()) {
        std::string home = homeFolder();
        if (home.empty()) {
            return "";
        }
        folder = home + kPathSeparator + ".wine";
    }
    while (folder.size() > 1 && folder.back() == kPathSeparator) {
        folder.pop_back();
    }
    return folder;
}
#endif

std::vector<std::string> findGameFolders() {
    // The drives to search; the first is the one the user named.
    std::vector<fs::path> drives;
#ifdef _WIN32
    std::string root = environmentText("SystemDrive");
    root = root.empty() ? std::string("C:") : root;
    // "C:" as Windows sets it, or a folder named with its closing separator.
    if (root.back() != kPathSeparator) {
        root += kPathSeparator;
    }
    drives = {fsPath(root + "Program Files"), fsPath(root + "Program Files (x86)")};
    const bool firstNamed = false;
#else
    const bool firstNamed = !environmentText("WINEPREFIX").empty();
    std::vector<fs::path> prefixes;
    if (std::string prefix = winePrefix(); !prefix.empty()) {
        prefixes.push_back(fsPath(prefix));
    }
    if (const std::string home = homeFolder(); !home.empty()) {
        const fs::path h = fsPath(home);
        prefixes.push_back(h / ".wine");
        addEach(prefixes, h / "Games");
        addEach(prefixes, h / ".local/share/bottles/bottles");
        addEach(prefixes, h / ".var/app/com.usebottles.bottles/data/bottles/bottles");
        for (const char* steam : {".steam/steam", ".local/share/Steam",
                                  ".var/app/com.valvesoftware.Steam/data/Steam"}) {
            addEach(prefixes, h / steam / "steamapps/compatdata", "pfx");
        }
        addEach(prefixes, h / ".PlayOnLinux/wineprefix");
    }
    for (const auto& prefix : prefixes) {
        drives.push_back(prefix / "drive_c");
    }
#endif
    std::vector<TFound> found;
    std::set<fs::path> seen; // a prefix reached twice (a link, ~/.wine named again)
    for (std::size_t i = 0; i < drives.size(); ++i) {
        std::error_code ec;
        const fs::path real = fs::canonical(drives[i], ec);
        if (ec || !seen.insert(real).second) {
            continue;
        }
        int budget = 2000;
        // The game's folder lies three folders down a drive (Program Files, Novalogic).
        searchFolder(drives[i], 4, i == 0 && firstNamed, budget, found);
    }
    std::stable_sort(found.begin(), found.end(), [](const TFound& a, const TFound& b) {
        return std::tuple(a.named, a.withExe, a.played) > std::tuple(b.named, b.withExe, b.played);
    });
    std::vector<std::string> folders;
    for (const auto& f : found) {
        if (f.folder.size() < kSettingsPathCapacity) {
            folders.push_back(f.folder);
        }
    }
    return folders;
}
