#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/toolkit.h"

// The tests' control panel of the headless backend. Nothing here is on a screen: modal
// boxes and dialogs answer from scripts and record what they were asked, time moves only
// when a test advances it, painting goes into a pixel buffer per window.
//
// Modal things that nobody scripted (message box, file dialog, dialog) throw
// std::logic_error naming what was asked: a test must say how the user answers.

namespace headless {

// Forgets every script and record and every setting below (call it before each test). Live
// windows stay as they are.
void reset();

// --- Message boxes ---------------------------------------------------------------------------

struct TMessageBoxRecord {
    std::string text;
    std::string caption;
    uint buttons; // MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL
    uint icon;    // MB_ICONEXCLAMATION, MB_ICONSTOP or 0
    int answer;
    uint defaultButton = 0; // MB_DEFBUTTON2 when the second button is the default
};

// Queues the answer of the next message box: IDOK, IDCANCEL, IDYES or IDNO. An answer that
// is not one of the box's buttons throws std::logic_error when the box opens.
void scriptMessageBox(int answer);
// Answers every message box that finds no scripted answer (a randomised run); empty to stop.
void answerMessageBoxesWith(std::function<int(const TMessageBoxRecord&)> answerer);
const std::vector<TMessageBoxRecord>& messageBoxes();
std::size_t pendingMessageBoxAnswers();

// --- File dialogs ----------------------------------------------------------------------------

struct TFileDialogRecord {
    TOpenSaveDialog::TKind kind;
    std::string initialDir;
    std::string fileName; // proposed
    std::string filter;
    std::uint32_t flags;
    int result;         // IDOK or IDCANCEL
    std::string chosen; // the path on IDOK
};

void scriptFileDialog(const std::string& path); // the user picks this path
// The user picks several files in an open dialog that allows it.
void scriptFileDialog(const std::vector<std::string>& paths);
void scriptFileDialogCancel();
// Answers every file dialog that finds no scripted answer: a path, or nullopt to cancel.
void answerFileDialogsWith(
    std::function<std::optional<std::string>(const TFileDialogRecord&)> answerer);
const std::vector<TFileDialogRecord>& fileDialogs();

// --- Choice dialogs --------------------------------------------------------------------------

struct TChoiceRecord {
    std::string caption;
    std::string prompt;
    std::vector<std::string> lines;
    int result;    // IDOK or IDCANCEL
    int selection; // the chosen line on IDOK
};

// The line the user picks in the next choice dialog; -1 cancels it.
void scriptChoice(int line);
const std::vector<TChoiceRecord>& choiceDialogs();

// --- Modal dialogs ---------------------------------------------------------------------------

// Runs while the dialog is open, after SetupWindow: the user's part. When it returns and
// the dialog has not been closed, it is closed as by its close box (IDCANCEL).
using TDialogScript = std::function<void(TDialog&)>;
void scriptDialog(TDialogScript script);

struct TDialogRecord {
    int resId;
    std::string caption;
    int result;
};
const std::vector<TDialogRecord>& dialogs();

// The user's actions in an open dialog. They return false when the control is missing, the
// dialog is not open, or the control refuses (typing into a read-only edit).
bool typeText(TDialog& dlg, int controlId, const std::string& text);    // appends, key by key
bool replaceText(TDialog& dlg, int controlId, const std::string& text); // select all, paste
bool clickButton(TDialog& dlg, int controlId);                          // buttons and check boxes
std::string controlText(const TDialog& dlg, int controlId);
bool isChecked(const TDialog& dlg, int controlId);
bool isReadOnly(const TDialog& dlg, int controlId);
bool isOpen(const TDialog& dlg);

// --- Application, windows and messages -------------------------------------------------------

// What Run does before its loop: InitMainWindow, creates and shows the main window with
// nCmdShow, paints its client once; then the loop's first turn, which ticks the timers set to
// tick at once (a timeout of 0).
void startApplication(TApplication& app);
// The user closes the frame: true when CanClose agreed and the frame was taken down.
bool closeWindow(TFrameWindow& frame);
// The quit message's exit code, if one was posted.
std::optional<int> quitCode();
// The last show state a window was shown with (SW_*), -1 when never shown.
int shownState(const TWindow& window);

// Is the command enabled now? Asks the window's table (for a frame: the client's, then the
// frame's), as a menu does before it opens.
bool isCommandEnabled(TWindow& window, int id);
// The user picks a menu item: nothing happens when it is disabled (returns false).
bool chooseMenuItem(TFrameWindow& frame, int id);
// Sends one message to a window's table as the backend would; true when a handler took it.
bool sendCommand(TWindow& window, int id);
bool sendMouse(TWindow& window, TMsgKind kind, const TPoint& point, uint modKeys = 0);
// A key message with the modifiers the keyboard holds; a key down is followed by the Char the
// layout types for it, as on the desktop.
bool sendKey(TWindow& window, TMsgKind kind, uint key);
void pressKey(TWindow& window, uint key); // key down, then key up
// A keyboard layout: the character a key types with Shift and Caps Lock as given, or 0. AltGr's
// characters come with Control and Alt held, as on Windows.
using KeyboardLayout = std::function<char32_t(uint key, bool shift, bool capsLock, bool altGr)>;
void setKeyboardLayout(KeyboardLayout layout); // an empty one brings back the US layout
char32_t usLayout(uint key, bool shift, bool capsLock, bool altGr);
// The kKey* modifier flags of the keys held now.
uint heldKeyFlags();
// Presses or releases a key where no window sees it (while a dialog or menu has the keys).
void setKeyboard(uint key, bool down);
bool sendTimer(TWindow& window, uint timerId);
// The user types a key on the keyboard: it goes to the focus window, the modifiers (kCtrl,
// kAlt, kShift) pressed before it and released after, each with its own messages. A chord
// of the frame's accelerators runs its command instead (when enabled) and reaches no window.
inline constexpr uint kCtrl = 1;
inline constexpr uint kAlt = 2;
inline constexpr uint kShift = 4;
void typeKey(uint key, uint modifiers = 0);

// --- Time ------------------------------------------------------------------------------------

// Moves the clock on; every timer that falls due ticks, earliest first, as often as it is due.
// A timer set with a timeout of 0 is due at once.
void advanceTime(std::uint64_t ms);
std::uint64_t now();
bool hasTimer(const TWindow& window, uint timerId);
void setTimersAvailable(bool available); // false: SetTimer fails

// --- Painting --------------------------------------------------------------------------------

struct TInvalidation {
    TRect rect;
    bool erase;
};

// Repaint requests since the last clearInvalidations (painting does not clear them).
const std::vector<TInvalidation>& invalidations(const TWindow& window);
void clearInvalidations(TWindow& window);
// Paints what was asked for (erasing first where asked), as the message loop would.
void paint(TWindow& window);
// Asks for the whole client area and paints it.
void paintAll(TWindow& window);
// The window's client area as painted so far, background colour where nothing was drawn.
const TRgbImage& surface(const TWindow& window);
// A drawing context on any picture, clipped to clip (the whole picture when empty).
std::unique_ptr<TDC> makeDC(TRgbImage& target, const TRect& clip = TRect());

// --- The list view ---------------------------------------------------------------------------

// Row geometry of the headless list: the header, then rows of equal height from the top.
inline constexpr int kListHeaderHeight = 24;
inline constexpr int kListRowHeight = 34;
TPoint listItemPoint(int index); // a point in the middle of a row's label

std::vector<std::string> listLabels(const TListWindow& list);
std::vector<int> listImages(const TListWindow& list);
std::vector<int> listSelection(const TListWindow& list);
std::string cellText(const TListWindow& list, int index, int column);
// The picture a cell shows instead of its text, as the list draws it; null for none.
std::shared_ptr<const TDib> cellPicture(const TListWindow& list, int index, int column);
// The user clicks a row (left or right button, through the list's table) or a header.
bool clickListItem(TListWindow& list, int index, uint modKeys = 0);
bool rightClickListItem(TListWindow& list, int index, uint modKeys = 0);
void clickListHeader(TListWindow& list, int column);
// The user ends the in-place edit: the new text, or nullopt for Escape.
void endLabelEdit(TListWindow& list, const std::optional<std::string>& text);
// Items asked to be scrolled into view and redrawn, in order.
const std::vector<int>& ensuredVisible(const TListWindow& list);
const std::vector<std::pair<int, int>>& redrawnItems(const TListWindow& list);

// --- Watched folders ---------------------------------------------------------------------------

// The folder the window watches (WatchFolder); empty when none.
std::string watchedFolder(const TWindow& window);
// Another program changed these entries of the folder the window watches (none: anything):
// true when the window watches a folder and its table took the news.
bool changeFolder(TWindow& window, const std::vector<std::string>& names);

// --- Dropping files ---------------------------------------------------------------------------

// The user drops files from another program on a window at a point of its client area: true
// when the window accepts dropped files (DragAcceptFiles) and its table took them.
bool dropFiles(TWindow& window, const std::vector<std::string>& paths,
               const TPoint& point = TPoint());

// --- Pop-up menus ----------------------------------------------------------------------------

struct TPopupRecord {
    std::vector<TPopupMenu::TItem> items;
    std::vector<bool> enabled; // per item, as the owner's enablers said when it opened
    TPoint point;              // screen coordinates
    uint flags;
    int chosen; // 0 when dismissed
};

// The command the user picks in the next pop-up menu; unscripted menus are dismissed. A
// choice that is not an enabled item throws std::logic_error.
void scriptPopupChoice(int commandId);
const std::vector<TPopupRecord>& popupMenus();

// --- Services and input state ----------------------------------------------------------------

const std::vector<std::string>& launchedDocuments();
// false: no program takes a document, LaunchDocument fails and records nothing.
void setLaunchAvailable(bool available);
// Files moved to the trash (they are gone from their folder); with no trash, MoveToTrash
// fails and the file stays.
const std::vector<std::string>& trashedFiles();
void setTrashAvailable(bool available);
// Text drawn with TDC::TextOut since the last reset or clearDrawnTexts, in every window.
struct TDrawnText {
    TPoint at;
    std::string text;
};
const std::vector<TDrawnText>& drawnTexts();
void clearDrawnTexts();
// The list's font: every character is this many pixels wide.
inline constexpr int kListCharWidth = 7;
const std::vector<std::string>& playedSounds();
std::optional<std::string> clipboard(); // nullopt when it holds no text
void setClipboard(const std::optional<std::string>& bytes);
// The desktop's mail programs: one set for mail messages, one for mailto links (both by
// default). OpenMail records every message handed over, and which program took it.
void setMailPrograms(bool message, bool link);
struct TMailRecord {
    std::string messageFile;
    TMailDraft draft;
    TMailProgram took;
};
const std::vector<TMailRecord>& mails();
void setSoundsAvailable(bool available); // false: Play fails
TWindow* focusWindow();
TWindow* captureWindow();

} // namespace headless
