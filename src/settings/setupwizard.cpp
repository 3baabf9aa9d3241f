#include "settings/setupwizard.h"

#include "resources/resources.h"
#include "settings/gamesearch.h"
#include "settings/settingsfile.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <utility>

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

// Only a file that reads counts: a folder of that name opens for reading on some systems.
bool isReadableFile(const char* path) {
    std::string first;
    return readFilePrefix(path, 1, first);
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

TDrovakSetupWizard::TDrovakSetupWizard(TWindow* parent, TSettingsCallback callback, int resId,
                                       TDemoMaker makeDemo)
    : TDialog(parent, resId), callback(std::move(callback)), makeDemo(std::move(makeDemo)),
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
    std::string folder = proposed.empty() ? defaultRaptorPath() : proposed;
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
    accept(*this);
    CloseWindow(IDOK);
}

void TDrovakSetupWizard::accept(TWindow& owner) {
    xfer.showSplashScreen = 1;
    xfer.firstRun = 0;
    if (callback) {
        callback(TDrovakSettingsXfer(xfer));
    }
    saveSettings(owner, xfer);
}

int TDrovakSetupWizard::chooseStart() {
    const std::vector<std::string> found = findGameFolders();
    if (!found.empty()) {
        proposed = found.front();
    }
    if (found.size() == 1 || (found.empty() && !makeDemo)) {
        return 0;
    }
    std::vector<std::string> lines = found;
    lines.push_back(kOtherFolderLine);
    if (found.empty()) {
        lines = {kDemoLine, kNameFolderLine};
    }
    TChoiceDialog choice(GetParentO(), kStartChoiceCaption,
                         found.empty() ? kGameNotFoundText : kGameFoldersFoundText, lines);
    if (choice.Execute() != IDOK) {
        return 0;
    }
    const auto chosen = static_cast<std::size_t>(choice.GetSelection());
    if (chosen < found.size()) {
        proposed = found[chosen];
    } else if (found.empty() && chosen == 0) {
        TWindow& owner = GetParentO() != nullptr ? *GetParentO() : *this;
        if (makeDemo(xfer)) {
            accept(owner);
            return IDOK;
        }
        owner.MessageBox(kDemoFailedText, "Error", MB_OK | MB_ICONEXCLAMATION);
    }
    return 0;
}

int TDrovakSetupWizard::Execute() {
    int result = chooseStart();
    if (result == 0) {
        result = TDialog::Execute();
    }
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
