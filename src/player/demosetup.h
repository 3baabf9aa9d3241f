#pragma once

#include "settings/settingsxfer.h"

#include <string>

// Makes the demo set-up a newcomer can start on when the game is not installed, in folder
// (ending with the separator): a game folder "F-22 Raptor" with its raptor.sav and a folder
// "pilots" of four pilots, every file written from templateFile by the program's own record
// code. Files already there are left alone: the demo keeps what the user did with it. Points
// the settings' paths at it and returns whether every file is there.
bool makeDemoSetup(const std::string& templateFile, const std::string& folder,
                   TDrovakSettingsXfer& settings);
