// Makes the demo set-up a newcomer starts on when the game is not installed: a game folder
// with its raptor.sav, a folder of pilots, and settings that point at them. Every file is
// written from our own template by the program's own record code, so the demo exercises the
// same paths as real files. Files that already exist are left alone: the demo keeps what
// the user did with it.
#include "player/player.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/filename.h"
#include "support/pathsep.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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

template <std::size_t N> void setText(std::array<char, N>& field, const char* text) {
    field.fill('\0');
    std::strncpy(field.data(), text, N - 1);
}

template <std::size_t N> void setPath(std::array<char, N>& field, const std::string& text) {
    setText(field, text.c_str());
}

std::string folderOf(const fs::path& p) {
    return fsName(p) + kPathSeparator;
}

bool writePilot(const TDrovakSettingsXfer& settings, const DemoPilot& pilot,
                const std::string& target) {
    if (fs::exists(fsPath(target))) {
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
        std::fprintf(stderr, "make_demo: cannot write %s (%d)\n", target.c_str(), status);
    }
    return status == 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = commandLineArguments(argc, argv);
    if (args.size() != 4) {
        std::fprintf(stderr,
                     "usage: drovak_make_demo <template.sav> <demo folder> <program folder>\n");
        return 2;
    }
    fs::path templateFile = fsPath(args[1]);
    fs::path demo = fs::absolute(fsPath(args[2]));
    fs::path program = fs::absolute(fsPath(args[3]));
    fs::path game = demo / "F-22 Raptor";
    fs::path pilots = demo / "pilots";
    std::error_code ec;
    fs::create_directories(game, ec);
    fs::create_directories(pilots, ec);

    TDrovakSettingsXfer settings;
    setPath(settings.templatePath, fsName(templateFile));
    bool ok = writePilot(settings, kPilots[0], fsName(game / "raptor.sav"));
    for (const auto& pilot : kPilots) {
        ok = writePilot(settings, pilot, fsName(pilots / pilot.file)) && ok;
    }

    // Settings: keep every key the program folder's file already has, point the paths at
    // the demo and mark the first run as done.
    fs::current_path(program, ec);
    if (ec) {
        std::fprintf(stderr, "make_demo: no program folder %s\n", fsName(program).c_str());
        return 1;
    }
    setDrovakPath(folderOf(program).c_str());
    openINI(settings);
    setPath(settings.raptorPath, folderOf(game));
    setPath(settings.savPath, folderOf(pilots));
    setPath(settings.templatePath, fsName(game / "raptor.sav"));
    setPath(settings.lastLoadedFile, "ace.sav");
    settings.templateFileEqRaptorSav = 1;
    settings.savPathEqRaptorPath = 0;
    settings.firstRun = 0;
    if (saveINI(settings) != 0) {
        std::fprintf(stderr, "make_demo: cannot write the settings file\n");
        return 1;
    }
    return ok ? 0 : 1;
}
