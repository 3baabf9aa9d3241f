#pragma once

#include "settings/settingsxfer.h"
#include "toolkit/window.h"

#include <cstddef>
#include <functional>
#include <initializer_list>

// What the settings dialog and the setup wizard share.

// Receives the settings a dialog hands back: the main window's settingsCallback and
// wizardCallback. The record is the dialog's own copy; the receiver assigns it.
using TSettingsCallback = std::function<void(const TDrovakSettingsXfer&)>;

// Shown when drovak.ini could not be written; the settings still hold for this session.
inline constexpr const char* kSettingsNotSavedText =
    "The settings could not be saved in drovak.ini.  They hold\nuntil Drovak is closed.";

// Shown when a path holds a line break: drovak.ini keeps one path a line.
inline constexpr const char* kLineBreakInPathText =
    "A folder or file name must not hold a line break.\nPlease choose another one.";

// Whether a path holds a CR or LF, which drovak.ini could not keep; if one does, says so in a
// message box owned by owner.
bool refuseLineBreaks(TWindow& owner, std::initializer_list<const char*> paths);

// A folder text followed by raptor.sav as it is named there (raptorSavName), within a
// path's capacity; empty when it would not fit. No separator is inserted: the folder text is
// used as it stands.
void raptorSavPath(char* dest, std::size_t capacity, const char* folder);

// Writes drovak.ini from settings; when that fails, says so in a message box owned by owner.
// Returns whether the file was written.
bool saveSettings(TWindow& owner, const TDrovakSettingsXfer& settings);

// Sends a menu command to the main window's table (its Help and Exit commands serve the
// dialogs' Help and Cancel buttons). Nothing happens without a parent.
void sendParentCommand(TWindow* parent, int commandId);
