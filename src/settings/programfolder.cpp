#include "settings/programfolder.h"

#include "support/pathsep.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

char programFolder[kPathCapacity] = "";

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

// A folder with any of the program's own files is its folder: one that lost a file is
// reported as damaged instead of quietly giving way to another folder.
bool holdsAssets(const std::string& folder) {
    std::error_code ec;
    for (const char* marker : {kAssetMarker, "details", "savTop"}) {
        if (!folder.empty() && fs::is_regular_file(fs::path(folder) / marker, ec)) {
            return true;
        }
    }
    return false;
}

bool writable(const std::string& folder) {
#ifdef _WIN32
    // Probing with a file is the only honest test there.
    fs::path probe = fs::path(folder) / ".drovak-probe";
    std::FILE* f = std::fopen(probe.string().c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
#else
    return access(folder.c_str(), W_OK) == 0;
#endif
}

// Copies every shipped file and folder that the user folder lacks; never replaces one.
void seed(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(from, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::path target = to / fs::relative(it->path(), from, ec);
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else if (!fs::exists(target, ec)) {
            fs::copy_file(it->path(), target, ec);
        }
    }
}

} // namespace

const char* getDrovakPath() {
    trace("getDrovakPath", "");
    return programFolder;
}

void setDrovakPath(const char* folder) {
    trace("setDrovakPath", "");
    std::size_t n = folder ? std::strlen(folder) : 0;
    if (n >= kPathCapacity) {
        n = kPathCapacity - 1;
    }
    std::memcpy(programFolder, folder ? folder : "", n);
    programFolder[n] = '\0';
}

std::string chooseProgramFolder(const std::string& exeFolder, const std::string& sharedFolder,
                                const std::string& userFolder) {
    if (holdsAssets(exeFolder) && writable(exeFolder)) {
        return withSeparator(exeFolder);
    }
    if (userFolder.empty()) {
        return "";
    }
    std::error_code ec;
    fs::create_directories(userFolder, ec);
    if (!fs::is_directory(userFolder, ec)) {
        return "";
    }
    std::string source = holdsAssets(sharedFolder) ? sharedFolder : exeFolder;
    if (holdsAssets(source)) {
        seed(source, userFolder);
    }
    return withSeparator(userFolder);
}

std::string userDataFolder() {
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    return appData && *appData ? withSeparator(appData) + "Drovak" : "";
#else
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') {
        return withSeparator(xdg) + "drovak";
    }
    const char* home = std::getenv("HOME");
    return home && *home ? withSeparator(home) + ".local/share/drovak" : "";
#endif
}
