#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

// Copies of the game's raptor.sav, kept in the backups folder (backupFolder()) before the
// program replaces it, named by the time and the callsign they held:
// "2026-12-06_19-40-52_Maverick.sav". The newest kBackupsKept stay.

inline constexpr std::size_t kBackupsKept = 20;

struct TGameBackup {
    std::string path;
    std::string time;     // "2026-12-06 19:40:52", the local time it was kept
    std::string callsign; // without colour codes; printable ASCII, '?' for any other byte
};

// The backup's file name for a record kept at a time: the callsign without colour codes,
// letters, digits, '-' and '_' alone ("pilot" when nothing is left).
std::string backupName(std::time_t when, const std::string& record);

// Keeps a copy of raptor.sav of the game folder; true when it was kept or there is none to
// keep, false (errno says why) when the copy could not be written.
bool backupGamePilot(const std::string& raptorFolder, std::time_t when);

// Whether the backups folder holds any backup (reads names alone).
bool hasGameBackups();

// The backups, newest first.
std::vector<TGameBackup> listGameBackups();

// Puts a backup back as the game's raptor.sav, keeping the current one first.
enum class TRestoreStatus { Ok, BackupUnreadable, CurrentNotKept, TargetFailed };
TRestoreStatus restoreGamePilot(const std::string& raptorFolder, const TGameBackup& backup,
                                std::time_t when);
