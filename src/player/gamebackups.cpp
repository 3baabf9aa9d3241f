#include "player/gamebackups.h"

#include "player/savformat.h"
#include "settings/programfolder.h"
#include "settings/settingsxfer.h"
#include "support/filename.h"
#include "support/safefile.h"
#include "support/strutil.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// "YYYY-MM-DD_HH-MM-SS_": the part of a backup's name that says when it was kept.
constexpr std::size_t kStampLength = 20;

bool isBackupName(const std::string& name) {
    static constexpr const char* kShape = "dddd-dd-dd_dd-dd-dd_";
    if (name.size() <= kStampLength + 4 || !name.ends_with(".sav")) {
        return false;
    }
    for (std::size_t i = 0; i < kStampLength; ++i) {
        bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
        if (kShape[i] == 'd' ? !digit : name[i] != kShape[i]) {
            return false;
        }
    }
    return true;
}

std::string callsignOf(const std::string& record) {
    std::string raw;
    for (std::size_t i = TSavLayout::callsign;
         i < record.size() && i + 1 < TSavLayout::callsign + 22 && record[i] != '\0'; ++i) {
        raw += record[i];
    }
    char text[32] = "";
    parseCallsign(text, raw.c_str(), sizeof text);
    return text;
}

std::string raptorSavPath(const std::string& raptorFolder) {
    return joinPath(raptorFolder.c_str(), raptorSavName(raptorFolder.c_str()).c_str());
}

void pruneBackups() {
    std::vector<TGameBackup> backups = listGameBackups();
    for (std::size_t i = kBackupsKept; i < backups.size(); ++i) {
        std::error_code ec;
        fs::remove(fsPath(backups[i].path), ec);
    }
}

} // namespace

std::string backupName(std::time_t when, const std::string& record) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S_", &local);
    std::string safe;
    for (char c : callsignOf(record)) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_') {
            safe += c;
        }
    }
    return stamp + (safe.empty() ? std::string("pilot") : safe) + ".sav";
}

bool backupGamePilot(const std::string& raptorFolder, std::time_t when) {
    const std::string current = raptorSavPath(raptorFolder);
    std::error_code ec;
    if (raptorFolder.empty() || !fs::is_regular_file(fsPath(current), ec)) {
        return true;
    }
    std::string record;
    const std::string folder = backupFolder();
    if (!readWholeFile(current, record)) {
        return false;
    }
    fs::create_directories(fsPath(folder), ec);
    if (folder.empty() || !fs::is_directory(fsPath(folder), ec)) {
        errno = folder.empty() ? ENOENT : errno;
        return false;
    }
    // Two keeps within a second: the same record once, another one beside it.
    std::string name = backupName(when, record);
    std::string path = folder + name;
    for (int n = 2; fs::exists(fsPath(path), ec) && n < 100; ++n) {
        std::string kept;
        if (readWholeFile(path, kept) && kept == record) {
            return true;
        }
        path = folder + name.substr(0, name.size() - 4) + "_" + std::to_string(n) + ".sav";
    }
    if (!replaceFileContents(path, {record.data(), record.size()})) {
        return false;
    }
    pruneBackups();
    return true;
}

bool hasGameBackups() {
    const std::string folder = backupFolder();
    std::error_code ec;
    for (auto it = fs::directory_iterator(fsPath(folder), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (isBackupName(fsName(it->path().filename()))) {
            return true;
        }
    }
    return false;
}

std::vector<TGameBackup> listGameBackups() {
    struct TFound {
        TGameBackup backup;
        std::string name;
        fs::file_time_type written;
    };
    std::vector<TFound> found;
    const std::string folder = backupFolder();
    std::error_code ec;
    for (auto it = fs::directory_iterator(fsPath(folder), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = fsName(it->path().filename());
        std::error_code fileEc;
        if (!isBackupName(name) || !it->is_regular_file(fileEc)) {
            continue;
        }
        std::string record;
        readFilePrefix(fsName(it->path()), kSavSize, record);
        std::string callsign = callsignOf(record);
        for (char& c : callsign) {
            c = c >= 0x20 && c <= 0x7E ? c : '?';
        }
        std::string time = name.substr(0, kStampLength - 1);
        time[10] = ' ';
        time[13] = ':';
        time[16] = ':';
        found.push_back({{fsName(it->path()), time, callsign}, name, it->last_write_time(fileEc)});
    }
    // Newest first: by the time in the name, then by when the file was written.
    std::sort(found.begin(), found.end(), [](const TFound& a, const TFound& b) {
        int order = a.name.compare(0, kStampLength, b.name, 0, kStampLength);
        return order != 0 ? order > 0 : a.written > b.written;
    });
    std::vector<TGameBackup> backups;
    for (TFound& f : found) {
        backups.push_back(std::move(f.backup));
    }
    return backups;
}

TRestoreStatus restoreGamePilot(const std::string& raptorFolder, const TGameBackup& backup,
                                std::time_t when) {
    std::string record;
    // A cut-short or overgrown backup is no pilot the game wrote.
    if (!readWholeFile(backup.path, record) || record.size() != kSavSize) {
        return TRestoreStatus::BackupUnreadable;
    }
    if (!backupGamePilot(raptorFolder, when)) {
        return TRestoreStatus::CurrentNotKept;
    }
    return replaceFileContents(raptorSavPath(raptorFolder), {record.data(), record.size()})
               ? TRestoreStatus::Ok
               : TRestoreStatus::TargetFailed;
}
