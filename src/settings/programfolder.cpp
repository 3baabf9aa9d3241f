#include "settings/programfolder.h"

#include "support/filename.h"
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

TProgramFolders folders;
std::string settingsPath; // folders.settings as a C string that outlives every call

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
        if (!folder.empty() && fs::is_regular_file(fsPath(folder) / marker, ec)) {
            return true;
        }
    }
    return false;
}

bool writable(const std::string& folder) {
#ifdef _WIN32
    // Probing with a file is the only honest test there.
    fs::path probe = fsPath(folder) / ".drovak-probe";
    std::FILE* f = _wfopen(probe.c_str(), L"wb");
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

#ifndef _WIN32
// An XDG base folder: the variable when it holds an absolute path, else the fallback under
// the home folder.
std::string xdgFolder(const char* variable, const char* underHome) {
    const std::string set = environmentText(variable);
    if (set.starts_with('/')) {
        return withSeparator(set) + "drovak" + kPathSeparator;
    }
    const std::string home = environmentText("HOME");
    return !home.empty()
               ? withSeparator(home) + underHome + kPathSeparator + "drovak" + kPathSeparator
               : "";
}
#endif

bool makeFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(fsPath(folder), ec);
    return !folder.empty() && fs::is_directory(fsPath(folder), ec);
}

} // namespace

const char* getDrovakPath() {
    trace("getDrovakPath", "");
    return settingsPath.c_str();
}

void setDrovakPath(const char* folder) {
    trace("setDrovakPath", "");
    std::string f = folder ? folder : "";
    setProgramFolders({f, f, f});
}

const TProgramFolders& programFolders() {
    return folders;
}

void setProgramFolders(const TProgramFolders& chosen) {
    folders = chosen;
    settingsPath = folders.settings.substr(0, kPathCapacity - 1);
}

std::string sharedFile(const char* name) {
    return joinPath(folders.shared.c_str(), name);
}

std::string mailFile(const char* name) {
    return joinPath(folders.mail.c_str(), name);
}

TProgramFolders userFolders() {
#ifdef _WIN32
    const std::string appData = environmentText("APPDATA");
    std::string own = !appData.empty() ? withSeparator(appData) + "Drovak\\" : "";
    return {"", own, own};
#else
    return {"", xdgFolder("XDG_CONFIG_HOME", ".config"), xdgFolder("XDG_CACHE_HOME", ".cache")};
#endif
}

std::string backupFolder() {
#ifdef _WIN32
    const std::string appData = environmentText("APPDATA");
    return !appData.empty() ? withSeparator(appData) + "Drovak\\backups\\" : "";
#else
    std::string data = xdgFolder("XDG_DATA_HOME", ".local/share");
    return data.empty() ? data : data + "backups" + kPathSeparator;
#endif
}

std::string demoFolder() {
    std::string backups = backupFolder();
    const std::size_t end = backups.size() - std::string("backups/").size();
    return backups.empty() ? backups : backups.substr(0, end) + "demo" + kPathSeparator;
}

TProgramFolders chooseProgramFolders(const std::string& exeFolder,
                                     const std::string& installedShared,
                                     const TProgramFolders& user) {
    const std::string own = withSeparator(exeFolder);
    // A portable copy keeps its shipped files in a folder of their own beside the program.
    const std::string data = own.empty() ? own : own + kPortableDataFolder + kPathSeparator;
    const bool portable = holdsAssets(exeFolder) || holdsAssets(data);
    if (portable && writable(exeFolder)) {
        return {holdsAssets(exeFolder) ? own : data, own, own};
    }
    TProgramFolders chosen{"", withSeparator(user.settings), withSeparator(user.mail)};
    if (portable) {
        chosen.shared = holdsAssets(exeFolder) ? own : data;
    } else if (holdsAssets(installedShared)) {
        chosen.shared = withSeparator(installedShared);
    }
    return chosen;
}

bool makeUserFolders(const TProgramFolders& chosen) {
    return makeFolder(chosen.settings) && makeFolder(chosen.mail);
}

TProgramFolders locateProgramFolders(const char* exePath) {
    // The system's word for the program's file, never the first word of its command line: a
    // start through PATH or a shortcut names no folder there.
    std::error_code ec;
    fs::path exe = executablePath();
    exe = fs::canonical(exe.empty() ? fsPath(exePath ? exePath : "") : exe, ec);
    if (ec) {
        return {};
    }
    fs::path exeFolder = exe.parent_path();
    fs::path installed = (exeFolder / DROVAK_SHARED_FROM_BIN).lexically_normal();
    return chooseProgramFolders(fsName(exeFolder), fsName(installed), userFolders());
}
