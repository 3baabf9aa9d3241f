#pragma once

#include <string>

// The program's own folder, ending with the path separator: where drovak.ini is written and
// where the shipped files (help pages, mail templates, artwork) are found.
const char* getDrovakPath();
void setDrovakPath(const char* folder);

// The file whose presence marks a folder as holding the program's shipped files.
inline constexpr const char* kAssetMarker = "chrtable.dv";

// Picks the program folder. The executable's own folder when it holds the shipped files and
// can be written (a build tree, a portable copy); otherwise userFolder, created if need be
// and given a copy of every shipped file from sharedFolder that it lacks, so that an
// installed, read-only copy still has one writable place for its settings. Returns the
// folder with a trailing separator, or the empty text when neither can be used.
std::string chooseProgramFolder(const std::string& exeFolder, const std::string& sharedFolder,
                                const std::string& userFolder);

// The per-user data folder: $XDG_DATA_HOME/drovak or ~/.local/share/drovak on Linux,
// %APPDATA%\Drovak on Windows.
std::string userDataFolder();
