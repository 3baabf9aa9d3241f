#include "settings/setupwizard.h"

#include "resources/resources.h"
#include "settings/settingsfile.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace ids = resources::wizard;

namespace {

constexpr const char* kRaptorExeName = "Raptor.exe";
constexpr const char* kRaptorExeFilter = "Raptor.exe (Raptor.exe)|Raptor.exe|";

// The game's folder under a Windows drive, separators of this platform.
std::string gameFolderUnder(std::string drive, const char* programFiles = "Program Files") {
    for (const char* part : {programFiles, "Novalogic", "F-22 Raptor"}) {
        drive += part;
        drive += kPathSeparator;
    }
    return drive;
}

#ifndef _WIN32
std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string winePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    std::string folder = prefix != nullptr && *prefix != '\0' ? prefix : "";
    if (folder.empty()) {
        std::string home = homeFolder();
        if (home.empty()) {
            return "";
        }
        folder = home + kPathSeparator + ".wine";
    }
    while (folder.size() > 1 && folder.back() == kPathSeparator) {
        folder.pop_back();
    }
    return folder;
}
#endif

// Only a file counts: opening a folder of that name for reading succeeds on some systems.
bool isReadableFile(const char* path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fsPath(path), ec)) {
        return false;
    }
    std::ifstream file(fsPath(path), std::ios::binary);
    return file.is_open();
}

} // namespace

std::string defaultRaptorPath() {
#ifdef _WIN32
    std::string root = environmentText("SystemDrive");
    if (root.empty()) {
        root = "C:";
    }
    // "C:" as Windows sets it, or a folder named with its closing separator.
    if (root.back() != kPathSeparator) {
        root += kPathSeparator;
    }
#else
    std::string prefix = winePrefix();
    if (prefix.empty()) {
        return "";
    }
    std::string root = prefix + kPathSeparator + "drive_c" + kPathSeparator;
#endif
    // A 64-bit Windows (or Wine prefix) installs the 32-bit game under Program Files (x86).
    std::string folder = gameFolderUnder(root);
    std::string x86 = gameFolderUnder(root, "Program Files (x86)");
    std::error_code ec;
    if (!std::filesystem::is_directory(fsPath(folder), ec) &&
        std::filesystem::is_directory(fsPath(x86), ec)) {
        folder = x86;
    }
    return folder.size() < kSettingsPathCapacity ? folder : "";
}

TDrovakSetupWizard::TDrovakSetupWizard(TWindow* parent, TSettingsCallback callback, int resId)
    : TDialog(parent, resId), callback(std::move(callback)),
      raptorPathEdit(this, ids::kRaptorPathEdit, kSettingsPathCapacity) {
    trace("TDrovakWizard", "");
    getData(tokenTable(), xfer);
}

TDrovakSetupWizard::~TDrovakSetupWizard() {
    trace("~TDrovakWizard", "");
}

// The resource's text names the Windows folder; this platform's usual place replaces it.
void TDrovakSetupWizard::SetupWindow() {
    trace("SetupWindow", "");
    TDialog::SetupWindow();
    std::string folder = defaultRaptorPath();
    if (!folder.empty()) {
        raptorPathEdit.SetText(folder.c_str());
    }
}

void TDrovakSetupWizard::clickOk() {
    trace("clickOk", "");
    raptorPathEdit.GetText(xfer.raptorPath.data(), static_cast<int>(xfer.raptorPath.size()));
    raptorSavPath(xfer.templatePath.data(), xfer.templatePath.size(), xfer.raptorPath.data());
    xfer.savPath = xfer.raptorPath;
    if (refuseLineBreaks(*this, {xfer.raptorPath.data()})) {
        return;
    }
    if (!isReadableFile(xfer.templatePath.data())) {
        MessageBox(kRaptorSavNotFoundText, "Error", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    xfer.showSplashScreen = 1;
    xfer.firstRun = 0;
    if (callback) {
        callback(TDrovakSettingsXfer(xfer));
    }
    saveSettings(*this, xfer);
    CloseWindow(IDOK);
}

int TDrovakSetupWizard::Execute() {
    int result = TDialog::Execute();
    if (result != IDOK) {
        sendParentCommand(GetParentO(), resources::CM_EXIT);
    }
    return result;
}

// The program ends once the wizard has closed (Execute).
void TDrovakSetupWizard::clickCancel() {
    trace("clickCancel", "");
    CloseWindow(IDCANCEL);
}

void TDrovakSetupWizard::clickHelp() {
    trace("clickHelp", "");
    sendParentCommand(GetParentO(), resources::CM_HELP);
}

void TDrovakSetupWizard::clickRaptorPathBrowse() {
    trace("clickRaptorPathBrowse", "");
    std::array<char, kSettingsPathCapacity> current{};
    raptorPathEdit.GetText(current.data(), static_cast<int>(current.size()));
    fileData.InitialDir = current.data();
    fileData.FileName = kRaptorExeName;
    fileData.SetFilter(kRaptorExeFilter);
    if (TFileOpenDialog(this, fileData).Execute() != IDOK) {
        return;
    }
    std::array<char, kSettingsPathCapacity> folder{};
    parseFilePath(folder.data(), fileData.FileName.c_str(), folder.size());
    raptorPathEdit.SetText(folder.data());
}

// Both Browse buttons carry the same id. The command entries of OK and Cancel answer their
// buttons and the keyboard's Enter and Escape alike.
DEFINE_RESPONSE_TABLE1(TDrovakSetupWizard, TDialog)
EV_COMMAND(IDOK, clickOk), EV_COMMAND(IDCANCEL, clickCancel), EV_COMMAND(IDHELP, clickHelp),
    EV_BN_CLICKED(ids::kBrowse, clickRaptorPathBrowse), END_RESPONSE_TABLE;
