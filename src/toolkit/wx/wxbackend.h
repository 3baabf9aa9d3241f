#pragma once

// What the wx backend keeps about the layer's objects, shared by its source files.

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/event.h>
#include <wx/graphics.h>
#include <wx/timer.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include "toolkit/toolkit.h"

namespace toolkit_wx {

// The MK_* keys of a mouse message from wx's mouse state.
uint modKeysOf(const wxMouseState& state);
// The mouse message of a wx mouse event: presses, releases of the left button, double
// clicks and moves; nothing for the others.
std::optional<TMsgKind> mouseKindOf(wxEventType type);

// Starts wxWidgets when nothing has yet (the program's TApplication does it first); false
// when there is no display.
bool ensureWx();

wxString toWx(const char* text);
wxString toWx(const std::string& text);
std::string fromWx(const wxString& text);

// A timer of a window: its ticks go to the window's table.
class TWindowTimer : public wxTimer {
  public:
    TWindowTimer(TWindow* owner, uint id) : owner_(owner), id_(id) {}
    void Notify() override;
    void Detach() { owner_ = nullptr; }
    bool InNotify() const { return inNotify_; }
    // Deleted once its tick has returned: a tick may run a nested loop (a message box).
    void DeleteAfterNotify() { deleteAfterNotify_ = true; }

  private:
    TWindow* owner_;
    uint id_;
    bool inNotify_ = false;
    bool deleteAfterNotify_ = false;
};

// A wx window that calls back into a layer window; Detach cuts the link before the layer
// window goes.
class TDetachable {
  public:
    virtual ~TDetachable() = default;
    virtual void Detach() = 0;
};

// Deletes a timer now, or once its tick has returned when it is ticking (a window may end
// itself from its timer handler).
void disposeTimer(TWindowTimer* timer);

// Takes a window off the screen and deletes it once the event being handled has returned.
void disposeWindow(wxWindow* window);

// The window that receives paint, mouse and key events for a plain TWindow.
class TCanvas;

// Sends a message to a window's table, then up the chain of its parents (a frame's client
// goes to its frame): the way commands and command enabling travel. False when no table
// answered.
bool routeUp(TWindow& start, TMsg& msg);

// Asks the tables from start upwards whether the command may run now.
bool isCommandEnabled(TWindow& start, int id);

// Whether a key belongs to the menus rather than the window: Alt alone or with another key,
// and F10.
bool isSystemKey(const wxKeyEvent& event, unsigned vk);

// A key pressed in a window of a frame: when it is one of the frame's accelerators, runs its
// command (when enabled) and returns true, and the key reaches no window.
bool translateAccelerator(TWindow& window, const wxKeyEvent& event, unsigned vk);

// A key event of a layer window goes to its table: accelerators first, then KeyDown or KeyUp
// with the modifiers the event itself carries (never the keyboard's state when it is handled:
// keys typed ahead of a busy program keep theirs). A key that may type a character goes on
// to the layout's translation, dead keys and the input method included, which comes back as
// a Char event for sendCharEvent.
void sendKeyEvent(TWindow& window, wxKeyEvent& event);
void sendCharEvent(TWindow& window, wxKeyEvent& event);

// The parent a window is created in: its parent, or the frame that holds it as its client.
TWindow* hostOf(const TWindow& window);

// The top-level wx window of a layer window, for owning dialogs; nullptr when none.
wxWindow* topLevelOf(const TWindow* window);

// Builds the list control of a TListWindow (listwindow.cpp), the dialog of a TDialog
// (dialog.cpp).
wxWindow* createListControl(TListWindow& list, wxWindow* parent);

// The picture files of the resources, loaded from the working directory.
wxBitmap loadIconBitmap(int iconResId, int size);
wxBitmap bitmapOf(const TDib& dib);
// The same for a graphics context's renderer, of a part of the picture (inside it):
// converted once, then drawn as it is.
const wxGraphicsBitmap& graphicsBitmapOf(const TDib& dib, const TRect& part,
                                         wxGraphicsRenderer& renderer);

} // namespace toolkit_wx

struct TWindow::Impl {
    std::vector<TWindow*> children; // in construction order
    TWindow* host = nullptr;        // the frame of a client window
    wxWeakRef<wxWindow> pane;       // a frame's scrolled pane, where its client lies
    wxWeakRef<wxWindow> wx;         // the outermost window on screen
    wxWeakRef<wxWindow> events;     // where paint, mouse and keys arrive
    std::map<uint, toolkit_wx::TWindowTimer*> timers;
    std::optional<TColor> bkgnd;
    int cursorId = 0;
    bool captured = false;
    // The watch of WatchFolder, whose news it dispatches to the window.
    std::unique_ptr<wxEvtHandler> folderWatch;

    // A frame's icons.
    int iconId = 0;
    int iconSmId = 0;

    // A dialog control's state while its dialog is not on screen: set before it runs, read
    // after it closed.
    std::optional<std::string> text;
    std::optional<uint> check;
    std::optional<bool> readOnly;

    // A running modal dialog.
    bool modal = false;
    int retValue = IDCANCEL;
};

struct TDC::Impl {
    wxDC* dc = nullptr;
    TRect clip;
    wxMemoryDC source;
    const void* selected = nullptr; // the TDib::Native selected into source
};

struct TDib::Native {
    wxBitmap bitmap; // for a device context without a graphics context
    // The graphics renderer's own copies, each made once: of parts drawn (a strip's cels), by
    // their rectangle (left, top, right, bottom), the whole picture as a part too.
    std::map<std::array<int, 4>, wxGraphicsBitmap> parts;
    const void* renderer = nullptr; // the one the parts were made for
};
