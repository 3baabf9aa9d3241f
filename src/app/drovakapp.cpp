#include "app/drovakapp.h"

#include "app/drovakwindow.h"
#include "cli/commandline.h"
#include "editor/chartable.h"
#include "resources/resources.h"
#include "settings/programfolder.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <vector>

namespace fs = std::filesystem;

void TDrovakApp::InitMainWindow() {
    trace("InitMainWindow", "");
    // The window never opens maximized: anything but hidden or minimized becomes normal.
    if (nCmdShow != SW_HIDE && nCmdShow != SW_SHOWMINNOACTIVE) {
        nCmdShow = SW_RESTORE;
    }
    auto* client = new TDrovakWindow(nullptr, startFile);
    auto* frame = new TFrameWindow(nullptr, kFrameTitle, client, false);
    SetMainWindow(frame);
    frame->AssignMenu(resources::kMainMenu);
    // Seven sizes of icon to decode: the desktop gets them once the window is drawn.
    client->afterFirstPaint = [frame] {
        frame->SetIconSm(resources::kProgramIcon);
        frame->SetIcon(resources::kProgramIcon);
    };
    // The window grows, the list with it; the client's size is the least it keeps.
    frame->Attr.Style |= WS_MAXIMIZEBOX | WS_THICKFRAME;
    frame->Attr.W = kFrameWidth;
    frame->Attr.H = kFrameHeight;
    client->Attr.W = kFrameWidth;
    client->Attr.H = kFrameHeight;
}

std::string enterProgramFolder(const char* exePath) {
    TProgramFolders folders = locateProgramFolders(exePath);
    if (folders.shared.empty()) {
        return "no folder with Drovak's files was found beside the program or in its "
               "installed place.\nReinstall Drovak.";
    }
    for (const std::string* folder : {&folders.settings, &folders.mail}) {
        if (folder->empty() || folder->size() >= kPathCapacity) {
            return "no folder for the settings and mail could be found: set HOME.";
        }
    }
    // The shipped files are read from the working folder; nothing is written there.
    std::error_code ec;
    fs::current_path(fsPath(folders.shared), ec);
    if (ec) {
        return "the folder " + folders.shared + " cannot be entered: " + ec.message() + ".";
    }
    setProgramFolders(folders);
    return "";
}

namespace {

constexpr const char* kCannotStart = "Drovak cannot start";

int startFailed(const std::string& text) {
    std::fprintf(stderr, "drovak: %s\n", text.c_str());
    ShowStartupError(text.c_str(), kCannotStart);
    return 1;
}

std::string restoreAdvice() {
    return "\nReinstall Drovak, or copy the file back into " + programFolders().shared + ".";
}

} // namespace

int runDrovak(int argc, char** argv) {
    std::vector<std::string> args = commandLineArguments(std::max(argc, 0), argv);
    const std::string exeName = args.empty() ? "" : args.front();
    const char* exePath = args.empty() ? nullptr : exeName.c_str();
    if (!args.empty()) {
        args.erase(args.begin());
    }
    // The subcommands answer without a window; a folder they cannot use is theirs to name.
    setProgramFolders(locateProgramFolders(exePath));
    TCommandLineResult command = runCommandLine(args, std::cout, std::cerr);
    if (!command.startWindow) {
        return command.status;
    }
    if (std::string failure = enterProgramFolder(exePath); !failure.empty()) {
        return startFailed(failure);
    }
    // The window keeps its settings and mail there; an installed copy makes them on its first
    // start.
    if (!makeUserFolders(programFolders())) {
        return startFailed("the folders " + programFolders().settings + " and " +
                           programFolders().mail + " cannot be made.");
    }
    // Without its key table the editor would type next to nothing, and say nothing about it.
    if (std::string why = TCharTable{}.load(TCharTable::kFileName); !why.empty()) {
        return startFailed("the key table " + sharedFile(TCharTable::kFileName) +
                           " cannot be read: " + why + "." + restoreAdvice());
    }
    // One window per settings folder: a later start hands its file to the one running.
    const std::string& settingsFolder = programFolders().settings;
    if (!ClaimSingleInstance(settingsFolder)) {
        if (HandToRunningInstance(settingsFolder, command.windowFile)) {
            return 0;
        }
        return startFailed("Drovak is already running on the settings in " + settingsFolder +
                           " and does not answer.\nClose it, then start Drovak again.");
    }
    // The failure is said while the application still stands, so that its box can show.
    TDrovakApp app;
    app.startFile = command.windowFile;
    try {
        return app.Run();
    } catch (const TXBitmap& e) {
        return startFailed(std::string(e.what()) + "." + restoreAdvice());
    } catch (const std::exception& e) {
        return startFailed(e.what());
    } catch (const char* text) {
        return startFailed(text ? text : "unknown error");
    }
}
