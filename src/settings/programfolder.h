#pragma once

#include <string>

// Where the program finds and keeps its files; each folder ends with the path separator.
struct TProgramFolders {
    std::string shared;   // the shipped files: artwork, key table, help pages, mail templates
    std::string settings; // drovak.ini
    std::string mail;     // composed mail (send.eml, info.eml)
};

// The settings folder: where drovak.ini is written.
const char* getDrovakPath();
// One folder for everything, as in a build tree or a portable copy.
void setDrovakPath(const char* folder);
const TProgramFolders& programFolders();
void setProgramFolders(const TProgramFolders& folders);
// A shipped file, or a composed mail file, by its name.
std::string sharedFile(const char* name);
std::string mailFile(const char* name);

// The file whose presence marks a folder as holding the program's shipped files.
inline constexpr const char* kAssetMarker = "chrtable.dv";

// The per-user folders of an installed copy: $XDG_CONFIG_HOME/drovak for the settings and
// $XDG_CACHE_HOME/drovak for composed mail, under ~/.config and ~/.cache when those are unset
// or not absolute; %APPDATA%\Drovak for both on Windows. Empty texts without a home.
TProgramFolders userFolders();

// The folder beside the program that holds a portable copy's shipped files.
inline constexpr const char* kPortableDataFolder = "data";

// Picks the folders. The executable's own folder when it or its data folder holds the shipped
// files (a build tree, a portable copy): everything is kept there, or only the shipped files
// when it cannot be written. Otherwise the installed layout: installedShared for the shipped files,
// read in place, and user for the rest. shared is empty when neither folder holds the shipped
// files, settings and mail when no folder can take them.
TProgramFolders chooseProgramFolders(const std::string& exeFolder,
                                     const std::string& installedShared,
                                     const TProgramFolders& user);

// Where copies of the game's raptor.sav are kept before the program replaces it:
// $XDG_DATA_HOME/drovak/backups/ (~/.local/share/drovak/backups/), %APPDATA%\Drovak\backups\ on
// Windows; empty without a home.
std::string backupFolder();
// Where the demo set-up is made for a newcomer without the game: beside the backups folder.
std::string demoFolder();

// Creates the settings and mail folders where missing; false when one cannot be had.
bool makeUserFolders(const TProgramFolders& folders);

// The folders of the running program, from its executable as the system names it (the real
// file behind any link), or exePath where the system cannot say; the installed layout's shared
// folder lies at DROVAK_SHARED_FROM_BIN from the executable's folder.
TProgramFolders locateProgramFolders(const char* exePath);
