#pragma once

#include "settings/settingsui.h"
#include "toolkit/toolkit.h"

#include <cstddef>

// The template Browse button proposes the template's file name cut to this many bytes
// (terminator included).
inline constexpr std::size_t kProposedNameCapacity = 33;

// The modal "Drovak Settings" dialog (dialog resource 2): the game folder, the template and
// the SAV folder with their Browse buttons, the two ties to the game folder, and the sound
// and splash switches. It works on its own record, read from the settings table when it is
// built; OK writes drovak.ini and hands the record to callback.
class TDrovakSettings : public TDialog {
  public:
    TDrovakSettings(TWindow* parent, TSettingsCallback callback, int resId);
    ~TDrovakSettings() override;

    void SetupWindow() override;

    void clickOk();
    void clickCancel();
    void clickHelp();
    void clickRaptorPathBrowse();
    void clickTemplatePathBrowse();
    void clickSavPathBrowse();
    void clickSavPathEqRaptorPath();
    void clicktempPathEqRaptorSav();
    void updateRaptorPath();
    void updateTemplatePath();
    void updateSavPath();

    DECLARE_RESPONSE_TABLE(TDrovakSettings);

  private:
    bool isChecked(const TCheckBox& box) const { return box.GetCheck() == BF_CHECKED; }

    TSettingsCallback callback;
    TDrovakSettingsXfer xfer;
    TEdit raptorPathEdit;
    TEdit templatePathEdit;
    TEdit savPathEdit;
    TCheckBox savPathEqRaptorPathBox;
    TCheckBox templateFileEqRaptorSavBox;
    TCheckBox soundOnBox;
    TCheckBox showSplashScreenBox;
    // The game folder's and the template's Browse buttons share one; the SAV folder has its own.
    TOpenSaveDialog::TData fileData;
    TOpenSaveDialog::TData savFileData;
};
