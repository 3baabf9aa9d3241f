#pragma once

#include "settings/settingsxfer.h"
#include "support/diskname.h"

#include <array>
#include <cstddef>
#include <string>

inline constexpr std::size_t kCallsignCapacity = 22;
inline constexpr std::size_t kSquadronNameCapacity = 22;
inline constexpr std::size_t kSquadronPasswordCapacity = 12;
inline constexpr std::size_t kIpAddressCapacity = 22;
inline constexpr std::size_t kServerNameCapacity = 22;
inline constexpr std::size_t kSideCapacity = 2;
inline constexpr std::size_t kPlayerFileNameCapacity = 128;

// Save statuses.
inline constexpr int kSaveOk = 0;
inline constexpr int kSaveTargetFailed = -1;
inline constexpr int kSaveTemplateFailed = -2;
// Load only: the game's raptor.sav could not be kept in the backups folder, so it stays.
inline constexpr int kSaveBackupFailed = -3;

// One SAV file in memory: the six fields the editor changes in place, the file's name in the
// SAV folder, and the folders it needs to find that file, the template and the game.
class TPlayer {
  public:
    TPlayer(const TDrovakSettingsXfer& settings, const char* fileName);
    TPlayer(const TPlayer& other);
    TPlayer& operator=(const TPlayer&) = delete;
    ~TPlayer();

    std::array<char, kCallsignCapacity> callsign{};
    std::array<char, kSquadronNameCapacity> squadronName{};
    std::array<char, kSquadronPasswordCapacity> squadronPassword{};
    std::array<char, kIpAddressCapacity> ipAddress{};
    std::array<char, kServerNameCapacity> serverName{};
    std::array<char, kSideCapacity> side{}; // the side code 0, 1 or 2, then 0
    std::array<char, kPlayerFileNameCapacity> fileName{};
    TDrovakSettingsXfer xfer;
    // After a save that returned kSaveTargetFailed: the file it could not write and errno.
    std::string failedPath;
    int failedError = 0;

    void assignPlayer(const TPlayer& other);
    void setFileName(const char* name);
    void setXferBuffer(const TDrovakSettingsXfer& settings);
    const char* getSavPath() const { return xfer.savPath.data(); }
    const char* getFileName() const { return fileName.data(); }
    // Who keeps the SAV folder's names, so that finding a file's spelling does not read the
    // folder; not owned, nullptr to read the folder.
    void setSavNames(const TFolderNames* names) { savNames = names; }

    int openTemplate();
    // 0 when the file was read; -1 with errno telling why when it was not (ENOENT for a file
    // that is not there or a name that is not a plain file name).
    int openFile();
    int saveFile();
    int saveAsFile(const char* targetPath, bool append);
    int loadFile();
    // Composes send.eml in the mail folder with the record attached, and the record alone as
    // attachment/<file name> beside it, for a mail program that attaches files by name.
    int emailFile();

    // The path of a file of the SAV folder, spelt as it is on disk; empty for a name that
    // would leave the folder or that no list would show.
    std::string savFolderPath(const std::string& name) const;

  private:
    // The template's 440 bytes; false when it cannot be read (errno says why) or is shorter
    // (errno 0).
    bool readTemplate(std::string& bytes) const;
    int targetFailed(const std::string& path, int error);

    const TFolderNames* savNames = nullptr;
};

// Where emailFile puts the record alone, under its file name.
std::string emailAttachmentPath(const std::string& fileName);
