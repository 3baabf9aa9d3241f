#include "app/drovakapp.h"

#include "app/drovakwindow.h"
#include "editor/chartable.h"
#include "resources/resources.h"
#include "settings/programfolder.h"
#include "support/pathsep.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

namespace fs = std::filesystem;

void TDrovakApp::InitMainWindow() {
    trace("InitMainWindow", "");
    // The window never opens maximized: anything but hidden or minimized becomes normal.
    if (nCmdShow != SW_HIDE && nCmdShow != SW_SHOWMINNOACTIVE) {
        nCmdShow = SW_RESTORE;
    }
    auto* client = new TDrovakWindow(nullptr);
    auto* frame = new TFrameWindow(nullptr, kFrameTitle, client, false);
    SetMainWindow(frame);
    frame->AssignMenu(resources::kMainMenu);
    frame->SetIconSm(resources::kProgramIcon);
    frame->SetIcon(resources::kProgramIcon);
    frame->Attr.Style &= ~(WS_MAXIMIZEBOX | WS_THICKFRAME);
    frame->Attr.W = kFrameWidth;
    frame->Attr.H = kFrameHeight;
}

bool enterProgramFolder(const char* exePath) {
    std::error_code ec;
    fs::path exe;
#ifdef __linux__
    // The real file, whatever the command line or a link called it.
    exe = fs::canonical("/proc/self/exe", ec);
    if (ec)
#endif
    {
        exe = fs::canonical(exePath ? exePath : "", ec);
    }
    fs::path exeFolder = ec ? fs::path() : exe.parent_path();
    fs::path shared = exeFolder.parent_path() / "share" / "drovak";
    std::string folder = chooseProgramFolder(exeFolder.string(), shared.string(), userDataFolder());
    if (folder.empty() || folder.size() >= kPathCapacity) {
        return false;
    }
    fs::current_path(folder, ec);
    if (ec) {
        return false;
    }
    setDrovakPath(folder.c_str());
    return true;
}

namespace {

constexpr const char* kCannotStart = "Drovak cannot start";

int startFailed(const std::string& text) {
    std::fprintf(stderr, "drovak: %s\n", text.c_str());
    ShowStartupError(text.c_str(), kCannotStart);
    return 1;
}

std::string restoreAdvice() {
    return std::string("\nReinstall Drovak, or copy the file back into ") + getDrovakPath() + ".";
}

} // namespace

int runDrovak(const char* exePath) {
    if (!enterProgramFolder(exePath)) {
        return startFailed("no folder with Drovak's files was found beside the program or in " +
                           userDataFolder() + ".\nReinstall Drovak.");
    }
    // Without its key table the editor would type next to nothing, and say nothing about it.
    if (std::FILE* table = std::fopen(TCharTable::kFileName, "rb")) {
        std::fclose(table);
    } else {
        return startFailed(std::string("the key table ") + getDrovakPath() + TCharTable::kFileName +
                           " cannot be read: " + std::strerror(errno) + "." + restoreAdvice());
    }
    // The failure is said while the application still stands, so that its box can show.
    TDrovakApp app;
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
