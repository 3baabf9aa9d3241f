// The windows the main window opens: the splash and About pictures, the settings dialog and
// the first-run wizard.
#include "app/drovakwindow.h"

#include "player/demosetup.h"
#include "resources/resources.h"
#include "settings/programfolder.h"
#include "settings/settingsdialog.h"
#include "settings/setupwizard.h"
#include "support/trace.h"

void TDrovakWindow::startSplashWindow() {
    trace("startSplashWindow", "");
    splash = makeStartUpSplash(*this, settings->soundOn != 0);
}

void TDrovakWindow::CmdAbout() {
    trace("CmdAbout", "");
    endFieldEdit();
    splash.reset();
    splash = makeAboutBox(*this);
}

void TDrovakWindow::CmdSettings() {
    trace("CmdSettings", "");
    endFieldEdit();
    syncWorkingCopy();
    TDrovakSettings dialog(
        this, [this](const TDrovakSettingsXfer& xfer) { settingsCallback(xfer); },
        resources::kSettingsDialog);
    dialog.Execute();
}

void TDrovakWindow::runSetupWizard() {
    TDrovakSetupWizard wizard(
        this, [this](const TDrovakSettingsXfer& xfer) { wizardCallback(xfer); },
        resources::kWizardDialog,
        [](TDrovakSettingsXfer& xfer) {
            const std::string folder = demoFolder();
            return !folder.empty() && makeDemoSetup(sharedFile("template.sav"), folder, xfer);
        });
    wizard.Execute();
}
