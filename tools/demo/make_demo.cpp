// Makes the demo set-up a build starts on when the game is not installed (player/demosetup.h)
// and settings in the program folder that point at it.
#include "player/demosetup.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/filename.h"
#include "support/pathsep.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string folderOf(const fs::path& p) {
    return fsName(p) + kPathSeparator;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = commandLineArguments(argc, argv);
    if (args.size() != 4) {
        std::fprintf(stderr,
                     "usage: drovak_make_demo <template.sav> <demo folder> <program folder>\n");
        return 2;
    }
    fs::path templateFile = fs::absolute(fsPath(args[1]));
    fs::path demo = fs::absolute(fsPath(args[2]));
    fs::path program = fs::absolute(fsPath(args[3]));
    std::error_code ec;
    fs::create_directories(demo, ec);

    // Settings: keep every key the program folder's file already has, point the paths at
    // the demo and mark the first run as done.
    fs::current_path(program, ec);
    if (ec) {
        std::fprintf(stderr, "make_demo: no program folder %s\n", fsName(program).c_str());
        return 1;
    }
    setDrovakPath(folderOf(program).c_str());
    TDrovakSettingsXfer settings;
    openINI(settings);
    const bool ok = makeDemoSetup(fsName(templateFile), folderOf(demo), settings);
    settings.firstRun = 0;
    if (saveINI(settings) != 0) {
        std::fprintf(stderr, "make_demo: cannot write the settings file\n");
        return 1;
    }
    return ok ? 0 : 1;
}
