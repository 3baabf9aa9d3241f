#include "player/demosetup.h"

#include "player/player.h"
#include "support/filename.h"
#include "support/pathsep.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct DemoPilot {
    const char* file;
    const char* callsign;
    const char* squadron;
    const char* password;
    const char* ip;
    const char* server;
    char side;
};

const DemoPilot kPilots[] = {
    {"ace.sav", "~5ACE~3HIGH", "~4BLUE KNIGHTS", "SECRET", "192.168.0.10", "~2RAPTOR NIGHTS", 1},
    {"viper.sav", "~1VIPER", "~7SEA DOGS", "", "", "~6DOGFIGHT", 2},
    {"ghost.sav", "GHOST", "~8PHANTOMS", "BOO", "10.0.0.7", "~2FRIDAY OPS", 0},
    {"bulldog.sav", "BULLDOG", "DROVAK", "", "", "RAPTOR", 0},
};

template <std::size_t N> void setText(std::array<char, N>& field, const std::string& text) {
    field.fill('\0');
    std::strncpy(field.data(), text.c_str(), N - 1);
}

bool writePilot(const TDrovakSettingsXfer& settings, const DemoPilot& pilot,
                const std::string& target) {
    std::error_code ec;
    if (fs::exists(fsPath(target), ec)) {
        return true;
    }
    TPlayer player(settings, pilot.file);
    setText(player.callsign, pilot.callsign);
    setText(player.squadronName, pilot.squadron);
    setText(player.squadronPassword, pilot.password);
    setText(player.ipAddress, pilot.ip);
    setText(player.serverName, pilot.server);
    player.side[0] = pilot.side;
    int status = player.saveAsFile(target.c_str(), false);
    if (status != 0) {
        std::fprintf(stderr, "drovak: cannot write %s (%d)\n", target.c_str(), status);
    }
    return status == 0;
}

} // namespace

bool makeDemoSetup(const std::string& templateFile, const std::string& folder,
                   TDrovakSettingsXfer& settings) {
    const std::string game = folder + "F-22 Raptor" + kPathSeparator;
    const std::string pilots = folder + "pilots" + kPathSeparator;
    std::error_code ec;
    fs::create_directories(fsPath(game), ec);
    fs::create_directories(fsPath(pilots), ec);
    if (game.size() >= kSettingsPathCapacity - std::strlen(kRaptorSavName)) {
        return false;
    }
    TDrovakSettingsXfer made;
    setText(made.templatePath, templateFile);
    bool ok = writePilot(made, kPilots[0], game + kRaptorSavName);
    for (const auto& pilot : kPilots) {
        ok = writePilot(made, pilot, pilots + pilot.file) && ok;
    }
    setText(settings.raptorPath, game);
    setText(settings.savPath, pilots);
    setText(settings.templatePath, game + kRaptorSavName);
    setText(settings.lastLoadedFile, "ace.sav");
    settings.templateFileEqRaptorSav = 1;
    settings.savPathEqRaptorPath = 0;
    return ok;
}
