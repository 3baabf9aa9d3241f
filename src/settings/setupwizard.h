#pragma once

#include "settings/settingsui.h"
#include "toolkit/toolkit.h"

#include <string>

// Shown when the chosen game folder does not hold raptor.sav.
inline constexpr const char* kRaptorSavNotFoundText =
    "RAPTOR.SAV was not found.  Please make sure\nthis is the folder where F-22 Raptor is "
    "installed.  Use\nBrowse to search for the folder.";

// Where the game is usually installed, ending with the separator: the folder "Program Files",
// "Novalogic", "F-22 Raptor" on drive C (on Windows) or on the drive_c of the Wine prefix
// elsewhere ($WINEPREFIX, or ~/.wine). Empty when it cannot be told or would not fit a
// settings path.
std::string defaultRaptorPath();

// The modal "Drovak Setup Wizard" (dialog resource 6), shown on the first run: it asks for
// the game folder, accepts it only when raptor.sav is there, and then derives the SAV folder
// and the template from it, hands the record to callback and writes drovak.ini. Cancel ends
// the program through the main window's Exit command.
class TDrovakSetupWizard : public TDialog {
  public:
    TDrovakSetupWizard(TWindow* parent, TSettingsCallback callback, int resId);
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
    TSettingsCallback callback;
    TEdit raptorPathEdit;
    TDrovakSettingsXfer xfer;
    TOpenSaveDialog::TData fileData;
};
