#pragma once

#include "settings/settingsui.h"
#include "toolkit/toolkit.h"

#include <functional>
#include <string>

// The choice shown before the wizard when the game was found in several folders, and when it
// was found nowhere.
inline constexpr const char* kStartChoiceCaption = "Drovak Setup";
inline constexpr const char* kGameFoldersFoundText =
    "F-22 Raptor was found in these folders, the most likely first.\nChoose the one Drovak "
    "should use:";
inline constexpr const char* kOtherFolderLine = "Another folder...";
inline constexpr const char* kGameNotFoundText =
    "F-22 Raptor was not found in the usual places (Wine, Lutris, Bottles,\nSteam and "
    "PlayOnLinux prefixes).  How would you like to start?";
inline constexpr const char* kDemoLine = "Try Drovak on a demo set-up with four sample pilots";
inline constexpr const char* kNameFolderLine = "Name the F-22 Raptor folder myself";
inline constexpr const char* kDemoFailedText =
    "The demo set-up could not be made.  Please name the\nF-22 Raptor folder instead.";

// Shown when the chosen game folder does not hold raptor.sav.
inline constexpr const char* kRaptorSavNotFoundText =
    "RAPTOR.SAV was not found.  Please make sure\nthis is the folder where F-22 Raptor is "
    "installed.  Use\nBrowse to search for the folder.";

// Where the game is usually installed, ending with the separator: the folder "Program Files",
// "Novalogic", "F-22 Raptor" on drive C (on Windows) or on the drive_c of the Wine prefix
// elsewhere ($WINEPREFIX, or ~/.wine). Empty when it cannot be told or would not fit a
// settings path.
std::string defaultRaptorPath();

// Makes the demo set-up and points the settings at it; false when it could not be made.
using TDemoMaker = std::function<bool(TDrovakSettingsXfer&)>;

// The modal "Drovak Setup Wizard" (dialog resource 6), shown on the first run: it asks for
// the game folder, accepts it only when raptor.sav is there, and then derives the SAV folder
// and the template from it, hands the record to callback and writes drovak.ini. Cancel ends
// the program through the main window's Exit command.
//
// It first looks for the game in the usual places (findGameFolders) and proposes the best
// folder found; with several it lets the user choose among them first, and with none it
// offers to start on the demo set-up that makeDemo makes, when one is given.
class TDrovakSetupWizard : public TDialog {
  public:
    TDrovakSetupWizard(TWindow* parent, TSettingsCallback callback, int resId,
                       TDemoMaker makeDemo = {});
    ~TDrovakSetupWizard() override;

    // Runs the wizard; any ending but a successful OK (Cancel, Escape, the close box) then
    // ends the program through the parent's Exit command.
    int Execute() override;
    void SetupWindow() override;

    void clickOk();
    void clickCancel();
    void clickHelp();
    void clickRaptorPathBrowse();

    DECLARE_RESPONSE_TABLE(TDrovakSetupWizard);

  private:
    // The choice before the wizard: IDOK when the demo set-up was taken, 0 to show the wizard.
    int chooseStart();
    // Takes the settings in xfer; a box about them is owned by owner.
    void accept(TWindow& owner);

    TSettingsCallback callback;
    TDemoMaker makeDemo;
    std::string proposed;
    TEdit raptorPathEdit;
    TDrovakSettingsXfer xfer;
    TOpenSaveDialog::TData fileData;
};
