#pragma once

// What the headless backend keeps: each window's state behind TWindow::Impl, and the one
// simulated desktop (scripts, records, clock, timers, focus) shared by all windows.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "toolkit/headless/headless.h"

namespace headless::detail {

struct ControlState {
    resources::TControlKind kind = resources::TControlKind::Static;
    std::string text;
    bool checked = false;
    bool readOnly = false;
};

struct Timer {
    TWindow* window;
    uint id;
    std::uint64_t interval;
    std::uint64_t due;
    std::uint64_t order; // ties between timers due at once go in the order they were set
};

struct Desktop {
    // Single-instance claims by key, and the window later starts hand their requests to.
    std::set<std::string> claimedInstances;
    TWindow* startRequests = nullptr;
    std::deque<int> messageBoxAnswers;
    std::function<int(const TMessageBoxRecord&)> messageBoxAnswerer;
    std::function<std::optional<std::string>(const TFileDialogRecord&)> fileDialogAnswerer;
    std::vector<TMessageBoxRecord> messageBoxes;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<TFileDialogRecord> fileDialogs;
    std::deque<TDialogScript> dialogScripts;
    std::vector<TDialogRecord> dialogs;
    std::deque<int> popupChoices;
    std::vector<TPopupRecord> popups;
    std::vector<std::string> launched;
    bool launchAvailable = true;
    std::vector<std::string> trashed;
    bool trashAvailable = true;
    std::vector<TDrawnText> texts;
    std::deque<int> choiceAnswers;
    std::vector<TChoiceRecord> choices;
    std::vector<std::string> sounds;
    std::optional<std::string> clipboard;
    std::vector<TMailRecord> mails;
    bool messageProgram = true;
    bool linkProgram = true;
    bool soundsAvailable = true;
    bool timersAvailable = true;
    std::optional<int> quitCode;

    // Kept by reset: they belong to live windows.
    std::uint64_t now = 0;
    std::uint64_t timerOrder = 0;
    std::vector<Timer> timers;
    TWindow* focus = nullptr;
    TWindow* capture = nullptr;
    // The keyboard: keys held down and the Caps Lock state, as sendKey left them.
    std::set<uint> keysDown;
    bool capsLockOn = false;
    // What the keyboard's layout types; a US one unless a test sets another.
    KeyboardLayout layout;
};

Desktop& desktop();

void removeTimers(const TWindow* window);
// Commands and enablers of a frame go to its client first.
bool routeCommand(TWindow& window, TMsg& msg);

} // namespace headless::detail

struct TWindow::Impl {
    bool created = false;
    bool destroyed = false;
    bool visible = false;
    int showCmd = -1;
    std::vector<TWindow*> children;
    TFrameWindow* frame = nullptr; // the frame whose client this is
    TColor background{255, 255, 255};
    int cursor = 0;
    bool acceptsFiles = false;
    std::string watchedFolder;

    TRgbImage surface;
    std::vector<headless::TInvalidation> invalidations;
    TRect pending;
    bool pendingErase = false;

    // Dialogs: their controls by id, and the modal run.
    std::map<int, headless::detail::ControlState> controls;
    bool running = false;
    bool closed = false;
    int result = IDCANCEL;

    // Frames.
    int icon = 0;
    int iconSm = 0;

    // Lists.
    std::vector<int> ensured;
    std::vector<std::pair<int, int>> redrawn;
};

struct TDC::Impl {
    TRgbImage* target;
    TRect clip;
};

struct TWaveSound::Impl {};
