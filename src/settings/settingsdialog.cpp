#include "settings/settingsdialog.h"

#include "resources/resources.h"
#include "settings/settingsfile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <array>
#include <utility>

namespace ids = resources::settings;

namespace {

constexpr const char* kRaptorExeName = "Raptor.exe";
constexpr const char* kRaptorExeFilter = "Raptor.exe (Raptor.exe)|Raptor.exe|";
constexpr const char* kTemplateFilter = "F-22 Raptor SAV file (*.sav) |*.sav|";
// Matches no ordinary file: the open dialog only serves to pick a folder.
constexpr const char* kSavFolderFilter = "SAV files Folder (.sav)|.sav|";

using PathText = std::array<char, kSettingsPathCapacity>;

PathText textOf(const TEdit& edit) {
    PathText text{};
    edit.GetText(text.data(), static_cast<int>(text.size()));
    return text;
}

} // namespace

TDrovakSettings::TDrovakSettings(TWindow* parent, TSettingsCallback callback, int resId)
    : TDialog(parent, resId), callback(std::move(callback)),
      raptorPathEdit(this, ids::kRaptorPathEdit, kSettingsPathCapacity),
      templatePathEdit(this, ids::kTemplatePathEdit, kSettingsPathCapacity),
      savPathEdit(this, ids::kSavPathEdit, kSettingsPathCapacity),
      savPathEqRaptorPathBox(this, ids::kSavPathEqRaptorPathBox),
      templateFileEqRaptorSavBox(this, ids::kTemplateEqRaptorSavBox),
      soundOnBox(this, ids::kSoundOnBox), showSplashScreenBox(this, ids::kShowSplashScreenBox) {
    trace("TDrovakSettings", "");
    getData(tokenTable(), xfer);
}

TDrovakSettings::~TDrovakSettings() {
    trace("~TDrovakSettings", "");
}

void TDrovakSettings::SetupWindow() {
    trace("SetupWindow", "");
    TDialog::SetupWindow();
    raptorPathEdit.SetText(xfer.raptorPath.data());
    templatePathEdit.SetText(xfer.templatePath.data());
    savPathEdit.SetText(xfer.savPath.data());
    savPathEqRaptorPathBox.SetCheck(xfer.savPathEqRaptorPath ? BF_CHECKED : BF_UNCHECKED);
    savPathEdit.SetReadOnly(xfer.savPathEqRaptorPath != 0);
    templateFileEqRaptorSavBox.SetCheck(xfer.templateFileEqRaptorSav ? BF_CHECKED : BF_UNCHECKED);
    templatePathEdit.SetReadOnly(xfer.templateFileEqRaptorSav != 0);
    soundOnBox.SetCheck(xfer.soundOn ? BF_CHECKED : BF_UNCHECKED);
    showSplashScreenBox.SetCheck(xfer.showSplashScreen ? BF_CHECKED : BF_UNCHECKED);
}

// The dependent fields follow every change of the game folder, typed or put there.
void TDrovakSettings::updateRaptorPath() {
    trace("updateRaptorPath", "");
    PathText folder = textOf(raptorPathEdit);
    if (isChecked(savPathEqRaptorPathBox)) {
        savPathEdit.SetText(folder.data());
    }
    if (isChecked(templateFileEqRaptorSavBox)) {
        PathText templatePath{};
        raptorSavPath(templatePath.data(), templatePath.size(), folder.data());
        templatePathEdit.SetText(templatePath.data());
    }
}

void TDrovakSettings::updateTemplatePath() {
    trace("updateTemplatePath", "");
}

void TDrovakSettings::updateSavPath() {
    trace("updateSavPath", "");
}

void TDrovakSettings::clickSavPathEqRaptorPath() {
    trace("clickSavPathEqRaptorPath", "");
    if (isChecked(savPathEqRaptorPathBox)) {
        savPathEdit.SetText(textOf(raptorPathEdit).data());
        savPathEdit.SetReadOnly(true);
    } else {
        savPathEdit.SetText(xfer.savPath.data());
        savPathEdit.SetReadOnly(false);
    }
}

void TDrovakSettings::clicktempPathEqRaptorSav() {
    trace("clicktempPathEqRaptorSav", "");
    if (isChecked(templateFileEqRaptorSavBox)) {
        PathText templatePath{};
        raptorSavPath(templatePath.data(), templatePath.size(), textOf(raptorPathEdit).data());
        templatePathEdit.SetText(templatePath.data());
        templatePathEdit.SetReadOnly(true);
    } else {
        templatePathEdit.SetText(xfer.templatePath.data());
        templatePathEdit.SetReadOnly(false);
    }
}

void TDrovakSettings::clickRaptorPathBrowse() {
    trace("clickRaptorPathBrowse", "");
    fileData.InitialDir = textOf(raptorPathEdit).data();
    fileData.FileName = kRaptorExeName;
    fileData.SetFilter(kRaptorExeFilter);
    if (TFileOpenDialog(this, fileData).Execute() != IDOK) {
        return;
    }
    PathText folder{};
    parseFilePath(folder.data(), fileData.FileName.c_str(), folder.size());
    // Putting the folder in notifies updateRaptorPath, which carries it to the tied fields.
    raptorPathEdit.SetText(folder.data());
}

void TDrovakSettings::clickTemplatePathBrowse() {
    trace("clickTemplatePathBrowse", "");
    if (isChecked(templateFileEqRaptorSavBox)) {
        return;
    }
    PathText current = textOf(templatePathEdit);
    PathText folder{};
    parseFilePath(folder.data(), current.data(), folder.size());
    std::array<char, kProposedNameCapacity> name{};
    parseFileName(name.data(), current.data(), name.size());
    fileData.InitialDir = folder.data();
    fileData.FileName = name.data();
    fileData.SetFilter(kTemplateFilter);
    if (TFileOpenDialog(this, fileData).Execute() == IDOK) {
        templatePathEdit.SetText(fileData.FileName.c_str());
    }
}

void TDrovakSettings::clickSavPathBrowse() {
    trace("clickSavPathBrowse", "");
    if (isChecked(savPathEqRaptorPathBox)) {
        return;
    }
    savFileData.InitialDir = textOf(savPathEdit).data();
    savFileData.FileName.clear();
    savFileData.Flags = 0; // a typed name that does not exist names the folder it is in
    savFileData.SetFilter(kSavFolderFilter);
    if (TFileOpenDialog(this, savFileData).Execute() != IDOK) {
        return;
    }
    PathText folder{};
    parseFilePath(folder.data(), savFileData.FileName.c_str(), folder.size());
    savPathEdit.SetText(folder.data());
}

void TDrovakSettings::clickOk() {
    trace("clickOk", "");
    // Checked before the record takes them: unticking a tie puts the record's path back.
    PathText raptorPath = textOf(raptorPathEdit);
    PathText templatePath = textOf(templatePathEdit);
    PathText savPath = textOf(savPathEdit);
    if (refuseLineBreaks(*this, {raptorPath.data(), templatePath.data(), savPath.data()})) {
        return;
    }
    xfer.raptorPath = raptorPath;
    xfer.templatePath = templatePath;
    xfer.savPath = savPath;
    xfer.savPathEqRaptorPath = isChecked(savPathEqRaptorPathBox) ? 1 : 0;
    xfer.soundOn = isChecked(soundOnBox) ? 1 : 0;
    xfer.showSplashScreen = isChecked(showSplashScreenBox) ? 1 : 0;
    xfer.templateFileEqRaptorSav = isChecked(templateFileEqRaptorSavBox) ? 1 : 0;
    saveSettings(*this, xfer);
    if (callback) {
        callback(TDrovakSettingsXfer(xfer));
    }
    CloseWindow(IDOK);
}

void TDrovakSettings::clickCancel() {
    trace("clickCancel", "");
    CloseWindow(IDCANCEL);
}

void TDrovakSettings::clickHelp() {
    trace("clickHelp", "");
    sendParentCommand(GetParentO(), resources::CM_HELP);
}

// The command entries of OK and Cancel answer their buttons and the keyboard's Enter and
// Escape alike.
DEFINE_RESPONSE_TABLE1(TDrovakSettings, TDialog)
EV_COMMAND(IDOK, clickOk), EV_COMMAND(IDCANCEL, clickCancel), EV_COMMAND(IDHELP, clickHelp),
    EV_BN_CLICKED(ids::kRaptorPathBrowse, clickRaptorPathBrowse),
    EV_BN_CLICKED(ids::kTemplatePathBrowse, clickTemplatePathBrowse),
    EV_BN_CLICKED(ids::kSavPathBrowse, clickSavPathBrowse),
    EV_BN_CLICKED(ids::kSavPathEqRaptorPathBox, clickSavPathEqRaptorPath),
    EV_BN_CLICKED(ids::kTemplateEqRaptorSavBox, clicktempPathEqRaptorSav),
    EV_EN_UPDATE(ids::kRaptorPathEdit, updateRaptorPath),
    EV_EN_UPDATE(ids::kTemplatePathEdit, updateTemplatePath),
    EV_EN_UPDATE(ids::kSavPathEdit, updateSavPath), END_RESPONSE_TABLE;
