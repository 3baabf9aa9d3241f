#include "resources/resources.h"

#include <array>

namespace resources {
namespace {

constexpr std::array<TMenuItem, 16> kFileMenu{{
    {CM_NEW, "&New", "Ctrl+N"},
    {CM_SAVE, "&Save", "Ctrl+S"},
    {CM_SAVEAS, "Save &As", "Ctrl+Shift+S"},
    {CM_IMPORT, "&Import...", ""},
    {0, "", ""},
    {CM_LOAD, "&Load into F-22 Raptor", ""},
    {CM_EMAIL, "Send by &Email", ""},
    {CM_RESTORE, "Restore Game &Pilot...", ""},
    {0, "", ""},
    {CM_DUPLICATE, "Dupli&cate", ""},
    {CM_RENAME, "&Rename", "", "F2"},
    {CM_DELETE, "&Delete", "", "Del"},
    {0, "", ""},
    {CM_SETTINGS, "Se&ttings", ""},
    {0, "", ""},
    {CM_EXIT, "E&xit", "Ctrl+Q"},
}};

constexpr std::array<TMenuItem, 5> kEditMenu{{
    {CM_UNDO, "&Undo Modifications", "Ctrl+Z"},
    {0, "", ""},
    {CM_CUT, "Cu&t", "Ctrl+X"},
    {CM_COPY, "&Copy", "Ctrl+C"},
    {CM_PASTE, "&Paste", "Ctrl+V"},
}};

constexpr std::array<TMenuItem, 5> kHelpMenu{{
    {CM_HELP, "&Quick Help", "F1"},
    {CM_WEBSITE, "Tarnel's website", ""},
    {CM_CONTACT, "&Contact Tarnel", ""},
    {0, "", ""},
    {CM_ABOUT, "&About", ""},
}};

constexpr std::array<TMenuPopup, 3> kMainPopups{{
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&Help", kHelpMenu},
}};

constexpr TMenuResource kMenu1{kMainMenu, kMainPopups};

constexpr unsigned kVkF1 = 112;
constexpr unsigned kVkF4 = 115;
constexpr std::array<TAccelerator, 10> kAccel1{{
    {'N', kAccelControl, CM_NEW},
    {'S', kAccelControl, CM_SAVE},
    {'S', kAccelControl | kAccelShift, CM_SAVEAS},
    {'Q', kAccelControl, CM_EXIT},
    {kVkF1, 0, CM_HELP},
    {'Z', kAccelControl, CM_UNDO},
    {'X', kAccelControl, CM_CUT},
    {'C', kAccelControl, CM_COPY},
    {'V', kAccelControl, CM_PASTE},
    {kVkF4, kAccelAlt, CM_CLOSE},
}};

using K = TControlKind;

// "Drovak Settings": three groups, one per path, each an edit with its Browse button; the
// switches below them, the program's icon at their right, and OK, Cancel and Help along the
// bottom.
constexpr std::array<TDialogControl, 20> kSettingsControls{{
    {settings::kRaptorPathGroup, K::GroupBox, "Location of Raptor.exe", 7, 3, 240, 42},
    {settings::kRaptorPathEdit, K::Edit, "", 14, 14, 170, 12},
    {settings::kRaptorPathBrowse, K::Button, "Browse...", 190, 13, 50, 14},
    {settings::kRaptorPathNote, K::Static, "This is where your F-22 Raptor is installed.", 14, 30,
     226, 10},
    {settings::kTemplateGroup, K::GroupBox, "SAV Template File", 7, 47, 240, 54},
    {settings::kTemplatePathEdit, K::Edit, "", 14, 58, 170, 12},
    {settings::kTemplatePathBrowse, K::Button, "Browse...", 190, 57, 50, 14},
    {settings::kTemplateNote, K::Static, "New pilots are made from this SAV file.", 14, 74, 226,
     10},
    {settings::kTemplateEqRaptorSavBox, K::AutoCheckBox, "Always use RAPTOR.SAV as template", 14,
     86, 226, 10},
    {settings::kSavPathGroup, K::GroupBox, "Location of SAV Files", 7, 103, 240, 74},
    {settings::kSavPathEdit, K::Edit, "", 14, 114, 170, 12},
    {settings::kSavPathBrowse, K::Button, "Browse...", 190, 113, 50, 14},
    {settings::kSavPathNote, K::Static, "This is where all the SAV files are located.", 14, 130,
     226, 10},
    {settings::kSavPathEqRaptorPathBox, K::AutoCheckBox,
     "SAV folder is the same as RAPTOR folder\nClick here if your SAV files are in the same "
     "folder RAPTOR.EXE is.",
     14, 142, 226, 30, kMultiline},
    {settings::kSoundOnBox, K::AutoCheckBox, "Sound is on", 14, 181, 120, 10},
    {settings::kShowSplashScreenBox, K::AutoCheckBox,
     "Splash Screen is on\nWhen Drovak starts, this enables/disable startup screen", 14, 193, 210,
     18, kMultiline},
    {settings::kIcon, K::Icon, "", 226, 180, 21, 20, 0, kProgramIcon},
    {kOkButton, K::DefButton, "OK", 87, 212, 50, 14},
    {kCancelButton, K::Button, "Cancel", 142, 212, 50, 14},
    {kHelpButton, K::Button, "Help", 197, 212, 50, 14},
}};

constexpr TDialogResource kDialog2{
    kSettingsDialog, "Drovak Settings", 254, 230, "MS Sans Serif", 8, kSettingsControls};

// "Drovak Setup Wizard": the picture across the top, the folder area in an etched frame below
// it with the one Browse button beside the folder, then Help, Cancel and OK.
constexpr std::array<TDialogControl, 10> kWizardControls{{
    {wizard::kHeading, K::Static, "Drovak Setup Wizard", 10, 6, 150, 10},
    {wizard::kPicture, K::Bitmap, "", 3, 3, 360, 111, 0, kWizardBitmap},
    {wizard::kFrame, K::EtchedFrame, "", 3, 117, 360, 58},
    {wizard::kFolderLabel, K::Static, "F-22 Raptor Folder", 10, 121, 100, 10},
    {wizard::kFolderNote, K::Static,
     "Please specify the location of F22 Raptor on your computer \ndefault: C:\\Program "
     "Files\\Novalogic\\F-22 Raptor.  \nIf this is not where F22 Raptor is installed, click "
     "browse.",
     10, 132, 290, 26, kMultiline},
    {wizard::kRaptorPathEdit, K::Edit, "C:\\Program Files\\Novalogic\\F-22 Raptor\\", 10, 159, 290,
     12},
    {wizard::kBrowse, K::Button, "Browse...", 306, 158, 50, 14},
    {kHelpButton, K::Button, "Help", 196, 180, 50, 14},
    {kCancelButton, K::Button, "Cancel", 251, 180, 50, 14},
    {kOkButton, K::DefButton, "OK", 306, 180, 50, 14},
}};

constexpr TDialogResource kDialog6{
    kWizardDialog, "Drovak Setup Wizard", 367, 198, "MS Sans Serif", 8, kWizardControls};

} // namespace

const TMenuResource* menu(int id) {
    return id == kMainMenu ? &kMenu1 : nullptr;
}

std::span<const TAccelerator> accelerators(int id) {
    if (id == kAccelerators)
        return kAccel1;
    return {};
}

int acceleratorCommand(int id, unsigned key, unsigned modifiers) {
    for (const TAccelerator& a : accelerators(id))
        if (a.key == key && a.modifiers == modifiers)
            return a.command;
    return 0;
}

std::string acceleratorText(const TAccelerator& accel) {
    std::string text;
    if (accel.modifiers & kAccelControl)
        text += "Ctrl+";
    if (accel.modifiers & kAccelAlt)
        text += "Alt+";
    if (accel.modifiers & kAccelShift)
        text += "Shift+";
    if (accel.key >= kVkF1 && accel.key < kVkF1 + 12)
        return text + "F" + std::to_string(accel.key - kVkF1 + 1);
    return text + static_cast<char>(accel.key);
}

const TDialogResource* dialog(int id) {
    switch (id) {
    case kSettingsDialog:
        return &kDialog2;
    case kWizardDialog:
        return &kDialog6;
    default:
        return nullptr;
    }
}

const TDialogControl* dialogControl(const TDialogResource& dlg, int controlId) {
    for (const TDialogControl& c : dlg.controls)
        if (c.id == controlId)
            return &c;
    return nullptr;
}

const char* iconFile(int id) {
    switch (id) {
    case kProgramIcon:
        return "icons/icon1.png";
    case kFileIcon:
        return "icons/icon5.png";
    case kEditedFileIcon:
        return "icons/icon6.png";
    case kOddFileIcon:
        return "icons/icon7.png";
    default:
        return nullptr;
    }
}

std::span<const char* const> iconBundle(int id) {
    static constexpr const char* kSizes[] = {
        "icons/drovak-16.png", "icons/drovak-24.png",  "icons/drovak-32.png", "icons/drovak-48.png",
        "icons/drovak-64.png", "icons/drovak-128.png", "icons/drovak-256.png"};
    if (id != kProgramIcon) {
        return {};
    }
    return kSizes;
}

const char* smallIconFile(int id) {
    return id == kProgramIcon ? "icons/icon1-16.png" : nullptr;
}

const char* cursorFile(int id) {
    switch (id) {
    case kArrowCursor:
        return "cursors/cursor1.png";
    case kTextCursor:
        return "cursors/cursor2.png";
    default:
        return nullptr;
    }
}

THotSpot cursorHotSpot(int id) {
    // The arrow points with its tip, the text cursor with the middle of its bar.
    return id == kTextCursor ? THotSpot{15, 16} : THotSpot{1, 1};
}

const char* bitmapFile(int id) {
    return id == kWizardBitmap ? "wizard" : nullptr;
}

std::string soundFile(const char* element) {
    return element ? element : "";
}

} // namespace resources
