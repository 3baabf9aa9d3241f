#pragma once

#include <cstdint>
#include <span>
#include <string>

// The program's resources as data: the menu, the accelerators, the two dialog layouts and
// the files behind the icon, cursor and bitmap ids. Both backends read these one
// definitions and render them their own way.

namespace resources {

// Resource ids.
inline constexpr int kMainMenu = 1;
inline constexpr int kAccelerators = 1;
inline constexpr int kSettingsDialog = 2;
inline constexpr int kWizardDialog = 6;
inline constexpr int kProgramIcon = 1;
inline constexpr int kFileIcon = 5;       // a SAV file without unsaved changes
inline constexpr int kEditedFileIcon = 6; // a SAV file with a working copy
inline constexpr int kOddFileIcon = 7;    // a SAV file that Save would change beyond its fields
inline constexpr int kArrowCursor = 1;
inline constexpr int kTextCursor = 2; // over the editor's fields
inline constexpr int kWizardBitmap = 4;

// Command ids of the menu, the pop-up menus and the accelerators.
inline constexpr int CM_NEW = 101;
inline constexpr int CM_SAVE = 102;
inline constexpr int CM_SAVEAS = 103;
inline constexpr int CM_LOAD = 104;
inline constexpr int CM_DUPLICATE = 105;
inline constexpr int CM_RENAME = 106;
inline constexpr int CM_DELETE = 107;
inline constexpr int CM_SETTINGS = 108;
inline constexpr int CM_RESTORE = 109; // a backup of the game's raptor.sav back into the game
inline constexpr int CM_IMPORT = 110;  // pilot files copied into the SAV folder
inline constexpr int CM_CLOSE = 111;   // Alt+F4's command, which no handler answers
inline constexpr int CM_EXIT = 120;
inline constexpr int CM_EMAIL = 130;
inline constexpr int CM_UNDO = 201;
inline constexpr int CM_CUT = 202;
inline constexpr int CM_COPY = 203;
inline constexpr int CM_PASTE = 204;
inline constexpr int CM_ABOUT = 901;
inline constexpr int CM_HELP = 902;
inline constexpr int CM_CONTACT = 903;
inline constexpr int CM_WEBSITE = 904;

// Controls of the settings dialog (2).
namespace settings {
inline constexpr int kRaptorPathEdit = 101;
inline constexpr int kRaptorPathNote = 102;
inline constexpr int kRaptorPathBrowse = 103;
inline constexpr int kSavPathNote = 104;
inline constexpr int kTemplateGroup = 105;
inline constexpr int kTemplatePathEdit = 106;
inline constexpr int kTemplatePathBrowse = 107;
inline constexpr int kRaptorPathGroup = 108;
inline constexpr int kTemplateEqRaptorSavBox = 109;
inline constexpr int kSavPathEdit = 110;
inline constexpr int kSavPathBrowse = 111;
inline constexpr int kTemplateNote = 112;
inline constexpr int kSavPathEqRaptorPathBox = 114;
inline constexpr int kSoundOnBox = 115;
inline constexpr int kSavPathGroup = 116;
inline constexpr int kShowSplashScreenBox = 117;
inline constexpr int kIcon = 118;
} // namespace settings

// Controls of the setup wizard (6).
namespace wizard {
inline constexpr int kRaptorPathEdit = 101;
inline constexpr int kPicture = 102;
inline constexpr int kHeading = 103;
inline constexpr int kFrame = 104;
inline constexpr int kFolderLabel = 105;
inline constexpr int kFolderNote = 106;
inline constexpr int kBrowse = 400;
} // namespace wizard

// The OK, Cancel and Help buttons of both dialogs.
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
inline constexpr int kHelpButton = 9;

// Menus. An item with id 0 is a separator. text carries the mnemonic (&); accelHint is the
// key shown beside it ("" for none). listKeyHint is a key the list answers itself (F2, Del):
// shown beside the item where the menu can show text alone, never made an accelerator, which
// would take the key from a field being edited.
struct TMenuItem {
    int id;
    const char* text;
    const char* accelHint;
    const char* listKeyHint = "";
};

struct TMenuPopup {
    const char* text;
    std::span<const TMenuItem> items;
};

struct TMenuResource {
    int id;
    std::span<const TMenuPopup> popups;
};

// Accelerators: a virtual-key code with modifiers gives a command.
inline constexpr unsigned kAccelControl = 1;
inline constexpr unsigned kAccelAlt = 2;
inline constexpr unsigned kAccelShift = 4;

struct TAccelerator {
    unsigned key; // virtual-key code
    unsigned modifiers;
    int command;
};

// Dialogs, in dialog units (a quarter of the font's average character width across, an
// eighth of its height down).
enum class TControlKind {
    GroupBox,
    Static,       // text; "\n" breaks lines
    Edit,         // single line, scrolls sideways
    Button,       // push button
    DefButton,    // the default push button (Enter)
    AutoCheckBox, // toggles itself on a click
    Icon,         // static icon, resId names the icon
    Bitmap,       // static picture, resId names the bitmap
    EtchedFrame,  // static etched frame
};

inline constexpr std::uint32_t kReadOnly = 1;  // edit starts read-only
inline constexpr std::uint32_t kMultiline = 2; // static or check box text wraps over lines

struct TDialogControl {
    int id;
    TControlKind kind;
    const char* text;
    int x;
    int y;
    int w;
    int h;
    std::uint32_t options = 0;
    int resId = 0;
};

struct TDialogResource {
    int id;
    const char* caption;
    int w;
    int h;
    const char* fontName;
    int fontPoints;
    std::span<const TDialogControl> controls;
};

// Look-ups; nullptr or an empty span for an id that does not exist.
const TMenuResource* menu(int id);
std::span<const TAccelerator> accelerators(int id);
// The command of a key with exactly these modifiers (kAccel*) in an accelerator table; 0 when
// none.
int acceleratorCommand(int id, unsigned key, unsigned modifiers);
// The chord as a menu shows it: "Ctrl+Shift+S", "F1".
std::string acceleratorText(const TAccelerator& accel);
const TDialogResource* dialog(int id);
// The first control of a dialog with this id (two of the wizard's buttons share one).
const TDialogControl* dialogControl(const TDialogResource& dlg, int controlId);

// Files behind the picture resources, relative to the program folder.
const char* iconFile(int id); // PNG, 32 by 32
// The program icon at every size the desktop asks for (16 to 256 pixels), smallest first;
// empty for every other icon.
std::span<const char* const> iconBundle(int id);
const char* smallIconFile(int id); // PNG, 16 by 16, for the frame's small icon
const char* cursorFile(int id);    // PNG, 32 by 32
struct THotSpot {
    int x;
    int y;
};
THotSpot cursorHotSpot(int id); // the pixel of a cursor that points
const char* bitmapFile(int id); // a bitmap name for TDib (no extension)

// The wave file of a sound element, relative to the program folder: the element's name.
std::string soundFile(const char* element);

} // namespace resources
