#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/constants.h"
#include "toolkit/events.h"
#include "toolkit/geometry.h"
#include "toolkit/graphics.h"

// Windows. Each class is declared once for both backends; what a backend keeps about a
// window lives behind Impl, which the backend defines. A parent does not own its children:
// whoever creates a child window deletes it (the frame alone owns its client).

// A part of a window's drawing as assistive technology (a screen reader) is told of it. Texts
// are the game's 8-bit codes, as elsewhere in the layer.
struct TAccessiblePart {
    enum class TRole { Row, Field, Button, Message };
    explicit TAccessiblePart(TRole role = TRole::Message, std::string name = "",
                             std::string text = "")
        : role(role), name(std::move(name)), text(std::move(text)) {}

    TRole role;
    std::string name; // what it is: a field's title, a row's label, a button's colour
    std::string text; // what it holds: a field's text, a row's cells
    int caret = -1;   // in text; -1 when it has none
    int selectionStart = 0;
    int selectionEnd = 0;  // the selection in text; none when equal
    bool selected = false; // the row chosen, the field being edited
    TRect bounds;          // where it is drawn, in the window's client area; empty when unknown
};

// One difference between two readings of a window's parts, as assistive technology is told of
// it. Removing the Removed parts (highest index first) and then inserting the Added ones
// (lowest first) turns the parts before into the parts after; a part keeps its role and name.
struct TAccessibleChange {
    enum class TKind { Removed, Added, TextRemoved, TextInserted, Caret, Selection, Selected };
    TKind kind;
    int index;        // in the parts before for Removed, in the parts after otherwise
    int offset = 0;   // where text went or came, in the part's text
    std::string text; // the text removed or inserted
};
std::vector<TAccessibleChange> accessibleChanges(const std::vector<TAccessiblePart>& before,
                                                 const std::vector<TAccessiblePart>& after);

struct TWindowAttr {
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
    int Id = 0;
};

class TApplication;

class TWindow : public TEventHandler {
  public:
    struct Impl;

    explicit TWindow(TWindow* parent, const char* title = nullptr);
    ~TWindow() override;
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Style, position, size and id, read when the window is created.
    TWindowAttr Attr;

    TWindow* GetParentO() const { return parent_; }
    int GetId() const { return Attr.Id; }
    const std::string& GetCaption() const { return title_; }

    // Creates the window on screen, then its children (in the order they were constructed),
    // and calls SetupWindow. Creating a window twice does nothing.
    virtual bool Create();
    bool IsWindow() const; // created and not yet destroyed
    // Takes the window off the screen; the object lives on until its owner deletes it.
    void Destroy(int retVal = 0);
    void Show(int cmdShow);
    bool IsWindowVisible() const;

    // Framework overrides.
    virtual void SetupWindow();
    virtual bool CanClose();
    virtual void Paint(TDC& dc, bool erase, TRect& rect);
    // The parts a window draws itself, for assistive technology; none unless overridden.
    virtual std::vector<TAccessiblePart> AccessibleParts() { return {}; }

    // Repainting: asks for the rectangle (client coordinates) to be painted again, its
    // background erased first when erase is true. Paint then runs with the DC clipped to it.
    void Invalidate(bool erase = true);
    void InvalidateRect(const TRect& rect, bool erase = true);
    void UpdateWindow(); // paints what was asked for, now
    void SetBkgndColor(const TColor& color);
    TColor GetBkgndColor() const;
    TRect GetClientRect() const;
    void ClientToScreen(TPoint& point) const;
    // Moves a child window to rect, in its parent's client coordinates.
    void MoveWindow(const TRect& rect);

    // Input.
    void SetFocus();
    // Whether files dropped from other programs reach this window's table (EvDropFiles).
    void DragAcceptFiles(bool accept);
    // Watches the entries of a folder: what is added, removed, renamed or rewritten there, by
    // any program, reaches this window's table (EvFolderChange) while the message loop runs.
    // An empty folder stops. False when the system gives no watch: nothing will arrive.
    bool WatchFolder(const std::string& folder);
    // Whether later starts of the program (HandToRunningInstance) reach this window's table
    // (EvStartRequest), after the backend brought its frame to the front.
    void AcceptStartRequests(bool accept);
    void SetCapture();
    void ReleaseCapture();
    bool SetCursor(int cursorResId); // a cursor of the program's resources
    int GetCursor() const;           // the resource id set last, 0 for the standard arrow

    // A repeating timer whose ticks reach this window's table (EvTimer) with timerId. It may be
    // started before the window is created. Returns timerId, or 0 when no timer could be made.
    // A timeout of 0 ticks as soon as the message loop is free, then every millisecond.
    uint SetTimer(uint timerId, uint timeoutMs);
    bool KillTimer(uint timerId);

    // A modal message box owned by this window: MB_OK, MB_OKCANCEL, MB_YESNO or
    // MB_YESNOCANCEL with MB_ICONEXCLAMATION (MB_ICONWARNING) or MB_ICONSTOP. Returns the
    // button pressed: IDOK, IDCANCEL, IDYES or IDNO.
    int MessageBox(const char* text, const char* caption = nullptr, uint type = MB_OK);

    Impl& GetImpl() const { return *impl_; }

  private:
    friend class TApplication;
    TWindow* parent_;
    std::string title_;
    std::unique_ptr<Impl> impl_;
};

// The main window's frame: title, menu, icons and the client window it owns.
class TFrameWindow : public TWindow {
  public:
    TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd,
                 bool shrinkToClient = false);
    ~TFrameWindow() override; // deletes the client

    TWindow* GetClientWindow() const { return client_; }
    bool AssignMenu(int menuResId);
    int GetMenuResId() const { return menuResId_; }
    bool SetIcon(int iconResId);
    bool SetIconSm(int iconResId);
    bool CanClose() override; // asks the client

    // Commands from the menu and accelerators go to the client's table, then the frame's.
    bool Create() override;

  private:
    TWindow* client_;
    int menuResId_ = 0;
};

class TApplication {
  public:
    explicit TApplication(const char* name = nullptr);
    virtual ~TApplication(); // deletes the main window
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Builds the main window and hands it over with SetMainWindow.
    virtual void InitMainWindow();
    // Builds, shows and runs the main window until the quit message; returns its exit code.
    int Run();

    void SetMainWindow(TFrameWindow* window); // takes ownership
    TFrameWindow* GetMainWindow() const { return mainWindow_; }
    const std::string& GetName() const { return name_; }

    // How the main window is first shown (SW_*), as the program was started; InitMainWindow
    // may change it.
    int nCmdShow = SW_SHOWNORMAL;

  private:
    std::string name_;
    TFrameWindow* mainWindow_ = nullptr;
};

// Ends the message loop: Run returns exitCode once the current handler has returned.
void PostQuitMessage(int exitCode);

// A pop-up window that shows one picture, closes itself after timeOut milliseconds (none
// when 0) and, with CaptureMouse, captures the mouse while open and closes on a click.
// Closing takes the window off the screen; its owner deletes the object.
class TSplashWindow : public TWindow {
  public:
    enum TStyle { None = 0, CaptureMouse = 0x8 };
    static constexpr uint kTimerId = 1;

    TSplashWindow(const TDib& dib, int width, int height, int style = None, uint timeOut = 0,
                  const char* title = nullptr);

    const TDib& GetDib() const { return dib_; }
    int GetStyle() const { return style_; }
    uint GetTimeOut() const { return timeOut_; }

    // The splash's own handling, which a derived class's handlers call.
    void EvTimer(uint timerId);                            // closes once the time-out is over
    void EvLButtonDown(uint modKeys, const TPoint& point); // closes with CaptureMouse

    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;

    DECLARE_RESPONSE_TABLE(TSplashWindow);

  private:
    TDib dib_;
    int style_;
    uint timeOut_;
};

// A menu built at run time and opened at a point.
class TPopupMenu {
  public:
    struct TItem {
        uint flags; // MF_STRING or MF_SEPARATOR
        int id;
        std::string text;
    };

    bool AppendMenu(uint flags, int id = 0, const char* text = nullptr);
    int GetMenuItemCount() const { return static_cast<int>(items_.size()); }
    const std::vector<TItem>& GetItems() const { return items_; }

    // Opens the menu at a point in screen coordinates (TPM_RIGHTBUTTON: the right button picks
    // too) and waits until it closes. The items are enabled by owner's command enablers; the
    // chosen command goes to owner's table. Returns whether a command was chosen.
    bool TrackPopupMenu(uint flags, const TPoint& point, TWindow& owner);

  private:
    std::vector<TItem> items_;
};
