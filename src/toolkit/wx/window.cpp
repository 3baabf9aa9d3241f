// Windows: plain windows (a canvas that paints and takes mouse and keys), frames with their
// menu and accelerators, pop-up windows, timers, cursors, message boxes and pop-up menus.

#include <algorithm>

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>
#endif
#include <wx/scrolwin.h>

#include "resources/resources.h"
#include "toolkit/wx/accessible.h"
#include "toolkit/wx/convert.h"
#include "toolkit/wx/wxbackend.h"

namespace toolkit_wx {

// Whether GTK is handling a key press now: a menu command that came from the keys (an
// accelerator, or a mnemonic in an open menu), not from the mouse.
bool handlingKeyPress() {
#if defined(__WXGTK__)
    GdkEvent* event = gtk_get_current_event();
    const bool keys = event != nullptr && event->type == GDK_KEY_PRESS;
    if (event != nullptr)
        gdk_event_free(event);
    return keys;
#else
    return false;
#endif
}

uint modKeysOf(const wxMouseState& state) {
    uint keys = 0;
    if (state.LeftIsDown())
        keys |= MK_LBUTTON;
    if (state.RightIsDown())
        keys |= MK_RBUTTON;
    if (state.ShiftDown())
        keys |= MK_SHIFT;
    if (state.ControlDown())
        keys |= MK_CONTROL;
    return keys;
}

std::optional<TMsgKind> mouseKindOf(wxEventType type) {
    if (type == wxEVT_LEFT_DOWN)
        return TMsgKind::LButtonDown;
    if (type == wxEVT_LEFT_UP)
        return TMsgKind::LButtonUp;
    if (type == wxEVT_LEFT_DCLICK)
        return TMsgKind::LButtonDblClk;
    if (type == wxEVT_RIGHT_DOWN)
        return TMsgKind::RButtonDown;
    if (type == wxEVT_MOTION)
        return TMsgKind::MouseMove;
    return std::nullopt;
}

namespace {

// The menu bar of a menu resource, each item showing its accelerator.
wxMenuBar* buildMenuBar(int menuResId) {
    const resources::TMenuResource* res = resources::menu(menuResId);
    if (!res)
        return nullptr;
    auto* bar = new wxMenuBar();
    for (const resources::TMenuPopup& popup : res->popups) {
        auto* menu = new wxMenu();
        for (const resources::TMenuItem& item : popup.items) {
            if (item.id == 0) {
                menu->AppendSeparator();
                continue;
            }
            wxString label = toWx(item.text);
            if (item.accelHint && *item.accelHint)
                label << '\t' << toWx(item.accelHint);
            menu->Append(item.id, label);
        }
        bar->Append(menu, toWx(popup.text));
    }
    return bar;
}

int wxKeyOfVk(unsigned vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return static_cast<int>(vk);
    if (vk >= VK_F1 && vk < VK_F1 + 12)
        return WXK_F1 + static_cast<int>(vk - VK_F1);
    switch (vk) {
    case VK_DELETE:
        return WXK_DELETE;
    case VK_INSERT:
        return WXK_INSERT;
    case VK_RETURN:
        return WXK_RETURN;
    case VK_ESCAPE:
        return WXK_ESCAPE;
    default:
        return 0;
    }
}

wxAcceleratorTable buildAccelerators(int accelResId) {
    std::vector<wxAcceleratorEntry> entries;
    for (const resources::TAccelerator& a : resources::accelerators(accelResId)) {
        // Alt+F4 closes the window through the desktop itself.
        if (a.key == VK_F4 && a.modifiers == resources::kAccelAlt)
            continue;
        const int key = wxKeyOfVk(a.key);
        if (key == 0)
            continue;
        int flags = wxACCEL_NORMAL;
        if (a.modifiers & resources::kAccelControl)
            flags |= wxACCEL_CTRL;
        if (a.modifiers & resources::kAccelAlt)
            flags |= wxACCEL_ALT;
        if (a.modifiers & resources::kAccelShift)
            flags |= wxACCEL_SHIFT;
        entries.emplace_back(flags, key, a.command);
    }
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

wxCursor loadCursor(int resId) {
    const char* file = resources::cursorFile(resId);
    if (!file)
        return wxNullCursor;
    wxImage image;
    if (!wxFileExists(file) || !image.LoadFile(file, wxBITMAP_TYPE_PNG))
        return wxNullCursor;
    const resources::THotSpot hot = resources::cursorHotSpot(resId);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, hot.x);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, hot.y);
    return wxCursor(image);
}

} // namespace

// The window of a plain TWindow: paints through the layer's Paint and sends mouse, keys and
// the mouse leaving it to the window's table.
class TCanvas : public wxWindow, public TDetachable {
  public:
    TCanvas(wxWindow* parent, TWindow* owner, const wxPoint& pos, const wxSize& size, long style)
        : wxWindow(parent, owner->GetId() > 0 ? owner->GetId() : wxID_ANY, pos, size,
                   style | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
          owner_(owner) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &TCanvas::OnPaint, this);
        Bind(wxEVT_LEFT_DOWN, &TCanvas::OnMouse, this);
        Bind(wxEVT_LEFT_UP, &TCanvas::OnMouse, this);
        Bind(wxEVT_LEFT_DCLICK, &TCanvas::OnMouse, this);
        Bind(wxEVT_RIGHT_DOWN, &TCanvas::OnMouse, this);
        Bind(wxEVT_MOTION, &TCanvas::OnMouse, this);
        Bind(wxEVT_LEAVE_WINDOW, &TCanvas::OnLeave, this);
        Bind(wxEVT_KEY_DOWN, &TCanvas::OnKey, this);
        Bind(wxEVT_KEY_UP, &TCanvas::OnKey, this);
        Bind(wxEVT_CHAR, &TCanvas::OnChar, this);
        Bind(wxEVT_MOUSE_CAPTURE_LOST, &TCanvas::OnCaptureLost, this);
        // Idle comes after every event handled, wherever it changed what is shown.
        Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
            event.Skip();
            announceParts(this);
        });
        exposeParts(this, [this] {
            return owner_ ? owner_->AccessibleParts() : std::vector<TAccessiblePart>{};
        });
    }
    ~TCanvas() override { unexposeParts(this); }

    void Detach() override { owner_ = nullptr; }
    bool AcceptsFocus() const override { return true; }

  private:
    void OnPaint(wxPaintEvent&) {
        wxPaintDC dc(this);
        if (!owner_)
            return;
        if (!painted_) {
            painted_ = true;
            // A grab asked for before the window was on screen may not have taken.
            if (owner_->GetImpl().captured && HasCapture()) {
                ReleaseMouse();
                CaptureMouse();
            }
        }
        const wxRect box = GetUpdateRegion().GetBox();
        TRect rect(box.x, box.y, box.x + box.width, box.y + box.height);
        const TColor bk = owner_->GetBkgndColor();
        dc.SetBrush(wxBrush(wxColour(bk.r, bk.g, bk.b)));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(box);
        auto impl = std::make_unique<TDC::Impl>();
        impl->dc = &dc;
        impl->clip = rect;
        TDC tdc(std::move(impl));
        owner_->Paint(tdc, true, rect);
        // What the paint decoded is converted by now; its file's bytes are not kept idle.
        TDib::ReleaseFileBytes();
    }

    void OnMouse(wxMouseEvent& event) {
        if (!owner_)
            return;
        const TMsgKind kind = mouseKindOf(event.GetEventType()).value_or(TMsgKind::MouseMove);
        if (kind != TMsgKind::MouseMove)
            event.Skip(); // lets the window take the focus
        TMsg msg = TMsg::MakeMouse(kind, modKeysOf(event), TPoint(event.GetX(), event.GetY()));
        owner_->Dispatch(msg);
    }

    // There is no frame border on this side of the desktop: leaving the client area is
    // what a mouse move over the border told.
    void OnLeave(wxMouseEvent& event) {
        event.Skip();
        if (!owner_)
            return;
        wxPoint p = ClientToScreen(event.GetPosition());
        TMsg msg = TMsg::MakeMouse(TMsgKind::NcMouseMove, HTBORDER, TPoint(p.x, p.y));
        owner_->Dispatch(msg);
    }

    void OnKey(wxKeyEvent& event) {
        if (owner_)
            sendKeyEvent(*owner_, event);
        else
            event.Skip();
    }

    void OnChar(wxKeyEvent& event) {
        if (owner_)
            sendCharEvent(*owner_, event);
        else
            event.Skip();
    }

    void OnCaptureLost(wxMouseCaptureLostEvent&) {
        if (owner_)
            owner_->GetImpl().captured = false;
    }

    TWindow* owner_;
    bool painted_ = false;
};

// Files dropped from another program go to the window's table.
class TFileDrop : public wxFileDropTarget, public TDetachable {
  public:
    explicit TFileDrop(TWindow* owner) : owner_(owner) {}
    void Detach() override { owner_ = nullptr; }

    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override {
        if (!owner_)
            return false;
        TDropInfo drop;
        drop.point = TPoint(x, y);
        for (const wxString& name : names)
            drop.files.push_back(fromWx(name));
        TMsg msg;
        msg.kind = TMsgKind::DropFiles;
        msg.dropInfo = &drop;
        return owner_->Dispatch(msg);
    }

  private:
    TWindow* owner_;
};

// A frame: menu commands and command enabling go to the client's table, then the frame's;
// closing asks CanClose and ends the program when it is the main window.
class TFrame : public wxFrame, public TDetachable {
  public:
    TFrame(wxWindow* parent, TFrameWindow* owner, const wxString& title, const wxPoint& pos,
           const wxSize& size, long style)
        : wxFrame(parent, wxID_ANY, title, pos, size, style), owner_(owner) {
        Bind(wxEVT_MENU, &TFrame::OnMenu, this);
        Bind(wxEVT_UPDATE_UI, &TFrame::OnUpdateUI, this);
        Bind(wxEVT_CLOSE_WINDOW, &TFrame::OnClose, this);
    }

    void Detach() override { owner_ = nullptr; }

  private:
    TWindow& start() const {
        TWindow* client = owner_->GetClientWindow();
        return client ? *client : *owner_;
    }

    void OnMenu(wxCommandEvent& event) {
        if (!owner_) {
            event.Skip();
            return;
        }
        // An accelerator may arrive while its menu item is greyed: the enablers decide.
        const int id = event.GetId();
        if (!isCommandEnabled(start(), id))
            return;
        TMsg msg = TMsg::MakeCommand(id);
        msg.fromKeyboard = handlingKeyPress();
        if (!routeUp(start(), msg))
            event.Skip();
    }

    void OnUpdateUI(wxUpdateUIEvent& event) {
        // Only the menus' items: windows' own ids are no commands.
        if (!owner_ || !dynamic_cast<wxMenu*>(event.GetEventObject())) {
            event.Skip();
            return;
        }
        event.Enable(isCommandEnabled(start(), event.GetId()));
    }

    void OnClose(wxCloseEvent& event) {
        if (!owner_) {
            event.Skip();
            return;
        }
        if (event.CanVeto() && !owner_->CanClose()) {
            event.Veto();
            return;
        }
        TFrameWindow* owner = owner_;
        owner->Destroy();
        if (owner->GetParentO() == nullptr)
            PostQuitMessage(0);
    }

    TFrameWindow* owner_;
};

// A parentless pop-up: borderless, above the others, centred on the screen.
class TPopup : public wxFrame {
  public:
    TPopup(const wxString& title, const wxSize& size)
        // GTK sizes a window that cannot be resized by what its contents ask for, which is
        // nothing here: without the resize style the picture's window stays 1x1 on screen.
        : wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, size,
                  wxBORDER_NONE | wxRESIZE_BORDER | wxFRAME_NO_TASKBAR | wxSTAY_ON_TOP) {}
};

void TWindowTimer::Notify() {
    if (!owner_)
        return;
    inNotify_ = true;
    TMsg msg = TMsg::MakeTimer(id_);
    owner_->Dispatch(msg);
    inNotify_ = false;
    if (deleteAfterNotify_ && wxTheApp)
        wxTheApp->CallAfter([this] { delete this; });
}

void disposeTimer(TWindowTimer* timer) {
    timer->Stop();
    timer->Detach();
    if (timer->InNotify() && wxTheApp)
        timer->DeleteAfterNotify();
    else
        delete timer;
}

// Cuts a window and everything inside it off from their objects: events still queued for
// them (a pointer leaving a closing splash) must not reach an object that is gone.
void detachAll(wxWindow* window) {
    if (auto* owned = dynamic_cast<TDetachable*>(window))
        owned->Detach();
    if (auto* drop = dynamic_cast<TDetachable*>(window->GetDropTarget()))
        drop->Detach();
    for (wxWindow* child : window->GetChildren())
        detachAll(child);
}

void disposeWindow(wxWindow* window) {
    if (!window)
        return;
    detachAll(window);
    if (window->HasCapture())
        window->ReleaseMouse();
    window->Hide();
    if (!wxTheApp) {
        delete window;
        return;
    }
    // The window may be the one whose event is being handled right now.
    wxWeakRef<wxWindow> ref(window);
    wxTheApp->CallAfter([ref] {
        if (ref)
            ref->Destroy();
    });
}

bool isSystemKey(const wxKeyEvent& event, unsigned vk) {
    // Shift+F10 opens the focused window's pop-up menu, as the Menu key does.
    return vk == VK_MENU || (vk == VK_F10 && !event.ShiftDown()) ||
           (event.AltDown() && !event.ControlDown());
}

namespace {

uint keyFlagsOf(const wxKeyEvent& event) {
    uint flags = scanCodeFromX(event.GetRawKeyFlags());
    if (event.ShiftDown())
        flags |= kKeyFlagShift;
    if (event.ControlDown())
        flags |= kKeyFlagControl;
    if (event.AltDown())
        flags |= kKeyFlagAlt;
    return flags;
}

} // namespace

// What a key changed is painted before the next event is read: waiting for the frame clock's
// next tick would put up to a frame between a key and its character on screen.
void paintNow(const TWindow& window) {
    if (wxWindow* top = topLevelOf(&window))
        top->Update();
}

void sendKeyEvent(TWindow& window, wxKeyEvent& event) {
    const unsigned vk = vkFromGtk(event.GetKeyCode(), event.GetRawKeyFlags());
    // Alt's keys and F10 are system keys (WM_SYSKEYDOWN on Windows): they open the menus and
    // never reach the window's key handlers.
    if (isSystemKey(event, vk) || vk == 0) {
        event.Skip();
        return;
    }
    const bool down = event.GetEventType() == wxEVT_KEY_DOWN;
    if (down && translateAccelerator(window, event, vk))
        return;
    TMsg msg = TMsg::MakeKey(down ? TMsgKind::KeyDown : TMsgKind::KeyUp, vk, 1, keyFlagsOf(event));
    const bool taken = window.Dispatch(msg);
    paintNow(window);
    if (!taken || (down && IsCharacterKey(vk) && !event.ControlDown()))
        event.Skip();
}

void sendCharEvent(TWindow& window, wxKeyEvent& event) {
    const wxChar c = event.GetUnicodeKey();
    // Control's chords are commands, Alt's the menus'; their characters type nothing.
    if (c == WXK_NONE || c < ' ' || c == WXK_DELETE || event.ControlDown() || event.AltDown()) {
        event.Skip();
        return;
    }
    TMsg msg = TMsg::MakeKey(TMsgKind::Char, static_cast<uint>(c), 1, keyFlagsOf(event));
    if (!window.Dispatch(msg))
        event.Skip();
    paintNow(window);
}

bool translateAccelerator(TWindow& window, const wxKeyEvent& event, unsigned vk) {
    TFrameWindow* frame = nullptr;
    for (TWindow* w = &window; w != nullptr && frame == nullptr; w = hostOf(*w))
        frame = dynamic_cast<TFrameWindow*>(w);
    if (frame == nullptr || frame->GetMenuResId() == 0)
        return false;
    unsigned modifiers = 0;
    if (event.ControlDown())
        modifiers |= resources::kAccelControl;
    if (event.AltDown())
        modifiers |= resources::kAccelAlt;
    if (event.ShiftDown())
        modifiers |= resources::kAccelShift;
    const int command = resources::acceleratorCommand(frame->GetMenuResId(), vk, modifiers);
    if (command == 0)
        return false;
    // A greyed command swallows its chord, as its menu item would.
    TWindow& start = frame->GetClientWindow() ? *frame->GetClientWindow() : *frame;
    if (isCommandEnabled(start, command)) {
        TMsg msg = TMsg::MakeCommand(command);
        msg.fromKeyboard = true;
        routeUp(start, msg);
    }
    return true;
}

TWindow* hostOf(const TWindow& window) {
    if (window.GetImpl().host)
        return window.GetImpl().host;
    return window.GetParentO();
}

bool routeUp(TWindow& start, TMsg& msg) {
    for (TWindow* w = &start; w; w = hostOf(*w))
        if (w->Dispatch(msg))
            return true;
    return false;
}

bool isCommandEnabled(TWindow& start, int id) {
    TCommandEnabler enabler(id);
    TMsg msg = TMsg::MakeCommandEnable(enabler);
    for (TWindow* w = &start; w; w = hostOf(*w)) {
        w->Dispatch(msg);
        if (enabler.WasHandled())
            break;
    }
    return enabler.IsEnabled();
}

wxWindow* topLevelOf(const TWindow* window) {
    for (const TWindow* w = window; w; w = hostOf(*w))
        if (wxWindow* wx = w->GetImpl().wx)
            return wxGetTopLevelParent(wx);
    return nullptr;
}

wxBitmap loadIconBitmap(int iconResId, int size) {
    const char* file = resources::iconFile(iconResId);
    wxImage image;
    if (!file || !wxFileExists(file) || !image.LoadFile(file, wxBITMAP_TYPE_PNG))
        return wxNullBitmap;
    if (size > 0 && (image.GetWidth() != size || image.GetHeight() != size))
        image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

namespace {

// The picture's pixels seen as a wx image, not copied: the image is only read at once to make
// the backend's own copy, and does not own them.
wxImage imageOf(const TRgbImage& pixels) {
    return wxImage(pixels.Width(), pixels.Height(), const_cast<unsigned char*>(pixels.Data()),
                   true);
}

TDib::Native& nativeOf(const TDib& dib) {
    std::shared_ptr<TDib::Native>& native = dib.GetNative();
    if (!native)
        native = std::make_shared<TDib::Native>();
    return *native;
}

} // namespace

wxBitmap bitmapOf(const TDib& dib) {
    TDib::Native& native = nativeOf(dib);
    if (!native.bitmap.IsOk())
        native.bitmap = wxBitmap(imageOf(dib.GetPixels()));
    return native.bitmap;
}

const wxGraphicsBitmap& graphicsBitmapOf(const TDib& dib, const TRect& part,
                                         wxGraphicsRenderer& renderer) {
    TDib::Native& native = nativeOf(dib);
    if (native.renderer != &renderer) {
        native.parts.clear();
        native.renderer = &renderer;
    }
    wxGraphicsBitmap& made = native.parts[{part.left, part.top, part.right, part.bottom}];
    if (made.IsNull()) {
        const TRgbImage* decoded = dib.GetDecoded();
        if (decoded && part == TRect(TPoint(0, 0), dib.Size())) {
            made = renderer.CreateBitmapFromImage(imageOf(*decoded));
        } else {
            // Decoded for the conversion alone: the picture keeps no pixels only wx draws.
            made = renderer.CreateBitmapFromImage(imageOf(dib.GetPart(part)));
        }
    }
    return made;
}

} // namespace toolkit_wx

using namespace toolkit_wx;

namespace {

long borderStyle(const TWindowAttr& attr) {
    if (attr.ExStyle & WS_EX_CLIENTEDGE)
        return wxBORDER_SUNKEN;
    if (attr.Style & WS_BORDER)
        return wxBORDER_SIMPLE;
    return wxBORDER_NONE;
}

// The window whose client area is the layer window's: the canvas of a window standing alone
// on the desktop, else the outermost (a list's client area holds its header, as on Windows).
wxWindow* clientOf(const TWindow::Impl& impl) {
    wxWindow* wx = impl.wx;
    if (wx && wx->IsTopLevel() && impl.events)
        return impl.events;
    return wx;
}

wxPoint positionOf(const TWindowAttr& attr) {
    return wxPoint(attr.X, attr.Y);
}

wxSize sizeOf(const TWindowAttr& attr) {
    return wxSize(attr.W > 0 ? attr.W : -1, attr.H > 0 ? attr.H : -1);
}

bool createsWithParent(const TWindow* child) {
    // Dialogs and their controls are made when the dialog runs; pop-ups stand alone.
    return !dynamic_cast<const TDialog*>(child) && !dynamic_cast<const TControl*>(child) &&
           !(child->Attr.Style & WS_POPUP);
}

void applyLooks(TWindow& window) {
    TWindow::Impl& impl = window.GetImpl();
    if (wxWindow* ev = impl.events) {
        if (impl.bkgnd)
            ev->SetBackgroundColour(wxColour(impl.bkgnd->r, impl.bkgnd->g, impl.bkgnd->b));
        if (impl.cursorId != 0) {
            wxCursor cursor = loadCursor(impl.cursorId);
            if (cursor.IsOk())
                ev->SetCursor(cursor);
        }
    }
}

void finishCreate(TWindow& window) {
    applyLooks(window);
    for (TWindow* child : window.GetImpl().children)
        if (createsWithParent(child))
            child->Create();
    window.SetupWindow();
}

} // namespace

TWindow::TWindow(TWindow* parent, const char* title)
    : parent_(parent), title_(title ? title : ""), impl_(std::make_unique<Impl>()) {
    if (parent_) {
        parent_->impl_->children.push_back(this);
        Attr.Style = WS_CHILD | WS_VISIBLE;
    }
}

TWindow::~TWindow() {
    for (auto& [id, timer] : impl_->timers)
        disposeTimer(timer);
    impl_->timers.clear();
    for (TWindow* child : impl_->children)
        if (child->parent_ == this)
            child->parent_ = nullptr;
    if (parent_) {
        auto& siblings = parent_->impl_->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    if (!dynamic_cast<TControl*>(this))
        disposeWindow(impl_->wx);
}

bool TWindow::Create() {
    if (impl_->wx)
        return true;
    if (!ensureWx())
        return false;
    if (auto* list = dynamic_cast<TListWindow*>(this)) {
        TWindow* host = hostOf(*this);
        wxWindow* parent = host ? host->impl_->wx.get() : nullptr;
        if (!parent)
            return false;
        wxWindow* ctrl = createListControl(*list, parent);
        if (!ctrl)
            return false;
        finishCreate(*this);
        return true;
    }
    if (dynamic_cast<TControl*>(this) || dynamic_cast<TDialog*>(this))
        return impl_->wx != nullptr; // made by the dialog when it runs
    TWindow* host = hostOf(*this);
    if (host) {
        wxWindow* parent = host->impl_->pane ? host->impl_->pane.get() : host->impl_->wx.get();
        if (!parent)
            return false;
        auto* canvas = new TCanvas(parent, this, positionOf(Attr), sizeOf(Attr), borderStyle(Attr));
        impl_->wx = canvas;
        impl_->events = canvas;
        if (!(Attr.Style & WS_VISIBLE) && !impl_->host)
            canvas->Hide();
    } else {
        // A window of its own on the desktop: the splash's pop-up, or a plain frame.
        wxFrame* frame = nullptr;
        if (Attr.Style & WS_POPUP)
            frame = new TPopup(toWx(GetCaption()), wxSize(Attr.W, Attr.H));
        else
            frame =
                new wxFrame(nullptr, wxID_ANY, toWx(GetCaption()), wxDefaultPosition, sizeOf(Attr));
        auto* canvas = new TCanvas(frame, this, wxPoint(0, 0), frame->GetClientSize(), 0);
        if (Attr.W > 0 && Attr.H > 0)
            frame->SetClientSize(Attr.W, Attr.H);
        frame->Centre(wxBOTH);
        impl_->wx = frame;
        impl_->events = canvas;
        // On screen before SetupWindow, which may capture the mouse (the splash does).
        if (Attr.Style & WS_VISIBLE) {
            frame->Show();
            // The start-up splash opens before the message loop runs: let GTK map and paint it
            // now, or it only appears once its time is nearly over.
            if ((Attr.Style & WS_POPUP) && wxTheApp && !wxTheApp->IsMainLoopRunning()) {
                for (int i = 0; i < 50 && !frame->IsShownOnScreen(); ++i) {
                    wxTheApp->Yield(true);
                    wxMilliSleep(2);
                }
                canvas->Refresh();
                canvas->Update();
                wxTheApp->Yield(true);
            }
        }
    }
    finishCreate(*this);
    return true;
}

bool TWindow::IsWindow() const {
    return impl_->wx != nullptr;
}

void TWindow::Destroy(int retVal) {
    (void)retVal;
    for (auto& [id, timer] : impl_->timers)
        disposeTimer(timer);
    impl_->timers.clear();
    if (impl_->captured)
        ReleaseCapture();
    wxWindow* wx = impl_->wx;
    impl_->wx = nullptr;
    impl_->events = nullptr;
    disposeWindow(wx);
}

void TWindow::Show(int cmdShow) {
    wxWindow* wx = impl_->wx;
    if (!wx)
        return;
    auto* top = dynamic_cast<wxTopLevelWindow*>(wx);
    switch (cmdShow) {
    case SW_HIDE:
        wx->Hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        wx->Show();
        if (top)
            top->Iconize(true);
        break;
    case SW_SHOWMAXIMIZED:
        wx->Show();
        if (top)
            top->Maximize(true);
        break;
    case SW_RESTORE:
        if (top)
            top->Iconize(false);
        wx->Show();
        break;
    default:
        wx->Show();
        break;
    }
}

bool TWindow::IsWindowVisible() const {
    wxWindow* wx = impl_->wx;
    return wx && wx->IsShown();
}

void TWindow::Invalidate(bool erase) {
    if (wxWindow* client = clientOf(*impl_))
        client->Refresh(erase);
}

void TWindow::InvalidateRect(const TRect& rect, bool erase) {
    if (wxWindow* client = clientOf(*impl_))
        client->RefreshRect(wxRect(rect.left, rect.top, rect.Width(), rect.Height()), erase);
}

void TWindow::UpdateWindow() {
    if (wxWindow* client = clientOf(*impl_))
        client->Update();
}

void TWindow::SetBkgndColor(const TColor& color) {
    impl_->bkgnd = color;
    if (wxWindow* ev = impl_->events) {
        ev->SetBackgroundColour(wxColour(color.r, color.g, color.b));
        ev->Refresh();
    }
}

TColor TWindow::GetBkgndColor() const {
    // The framework's default background is the system's window colour, white.
    return impl_->bkgnd.value_or(TColor(255, 255, 255));
}

TRect TWindow::GetClientRect() const {
    if (wxWindow* client = clientOf(*impl_)) {
        const wxSize size = client->GetClientSize();
        return TRect(0, 0, size.x, size.y);
    }
    return TRect(0, 0, Attr.W, Attr.H);
}

void TWindow::ClientToScreen(TPoint& point) const {
    if (wxWindow* client = clientOf(*impl_)) {
        const wxPoint p = client->ClientToScreen(wxPoint(point.x, point.y));
        point = TPoint(p.x, p.y);
    }
}

void TWindow::SetFocus() {
    if (wxWindow* ev = impl_->events)
        ev->SetFocus();
}

void TWindow::MoveWindow(const TRect& rect) {
    Attr.X = rect.left;
    Attr.Y = rect.top;
    Attr.W = rect.Width();
    Attr.H = rect.Height();
    if (wxWindow* wx = impl_->wx)
        wx->SetSize(rect.left, rect.top, rect.Width(), rect.Height());
}

void TWindow::DragAcceptFiles(bool accept) {
    wxWindow* ev = impl_->events;
    if (!ev)
        return;
    if (auto* old = dynamic_cast<TFileDrop*>(ev->GetDropTarget()))
        old->Detach();
    // The window owns its target and deletes the one it replaces.
    ev->SetDropTarget(accept ? new TFileDrop(this) : nullptr);
}

void TWindow::SetCapture() {
    wxWindow* ev = impl_->events;
    if (!ev || impl_->captured || ev->HasCapture())
        return;
    ev->CaptureMouse();
    impl_->captured = true;
}

void TWindow::ReleaseCapture() {
    wxWindow* ev = impl_->events;
    if (ev && ev->HasCapture())
        ev->ReleaseMouse();
    impl_->captured = false;
}

bool TWindow::SetCursor(int cursorResId) {
    wxCursor cursor = wxNullCursor;
    if (cursorResId != 0) {
        if (!ensureWx())
            return false;
        cursor = loadCursor(cursorResId);
        if (!cursor.IsOk())
            return false;
    }
    impl_->cursorId = cursorResId;
    if (wxWindow* ev = impl_->events)
        ev->SetCursor(cursorResId == 0 ? *wxSTANDARD_CURSOR : cursor);
    return true;
}

int TWindow::GetCursor() const {
    return impl_->cursorId;
}

uint TWindow::SetTimer(uint timerId, uint timeoutMs) {
    if (!ensureWx())
        return 0;
    auto found = impl_->timers.find(timerId);
    if (found != impl_->timers.end()) {
        disposeTimer(found->second);
        impl_->timers.erase(found);
    }
    auto* timer = new TWindowTimer(this, timerId);
    if (!timer->Start(static_cast<int>(timeoutMs > 0 ? timeoutMs : 1))) {
        delete timer;
        return 0;
    }
    impl_->timers[timerId] = timer;
    return timerId;
}

bool TWindow::KillTimer(uint timerId) {
    auto found = impl_->timers.find(timerId);
    if (found == impl_->timers.end())
        return false;
    disposeTimer(found->second);
    impl_->timers.erase(found);
    return true;
}

int TWindow::MessageBox(const char* text, const char* caption, uint type) {
    if (!ensureWx())
        return IDCANCEL;
    long style = 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        style = wxOK | wxCANCEL;
        break;
    case MB_YESNO:
        style = wxYES_NO;
        break;
    case MB_YESNOCANCEL:
        style = wxYES_NO | wxCANCEL;
        break;
    default:
        style = wxOK;
        break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        style |= wxICON_ERROR;
        break;
    case MB_ICONEXCLAMATION:
        style |= wxICON_WARNING;
        break;
    default:
        break;
    }
    if (type & MB_DEFBUTTON2)
        style |= wxNO_DEFAULT;
    const wxString title = caption ? toWx(caption) : wxTheApp->GetAppDisplayName();
    wxMessageDialog box(topLevelOf(this), toWx(text), title, style);
    switch (box.ShowModal()) {
    case wxID_OK:
        return IDOK;
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd,
                           bool shrinkToClient)
    : TWindow(parent, title), client_(clientWnd) {
    (void)shrinkToClient; // the frame always fits its client
    Attr.Style = WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX);
    if (client_)
        client_->GetImpl().host = this;
}

TFrameWindow::~TFrameWindow() {
    delete client_;
    client_ = nullptr;
}

bool TFrameWindow::Create() {
    if (GetImpl().wx)
        return true;
    if (!ensureWx())
        return false;
    long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
    if (Attr.Style & WS_MINIMIZEBOX)
        style |= wxMINIMIZE_BOX;
    if (Attr.Style & WS_MAXIMIZEBOX)
        style |= wxMAXIMIZE_BOX;
    if (Attr.Style & WS_THICKFRAME)
        style |= wxRESIZE_BORDER;
    TWindow* host = hostOf(*this);
    wxWindow* parent = host ? topLevelOf(host) : nullptr;
    const bool placed = Attr.X != 0 || Attr.Y != 0;
    auto* frame = new TFrame(parent, this, toWx(GetCaption()),
                             placed ? positionOf(Attr) : wxDefaultPosition, sizeOf(Attr), style);
    GetImpl().wx = frame;
    GetImpl().events = frame;
    if (GetMenuResId() != 0)
        AssignMenu(GetMenuResId());
    if (GetImpl().iconId != 0)
        SetIcon(GetImpl().iconId);
    if (client_) {
        client_->GetImpl().host = this;
        // The client lies in a scrolled pane: it is never smaller than its own size, and what
        // a smaller window (a small or scaled screen) cannot show is scrolled to.
        auto* pane = new wxScrolled<wxWindow>(frame, wxID_ANY);
        GetImpl().pane = pane;
        client_->Create();
        wxSize least = frame->GetClientSize();
        if (client_->Attr.W > 0 && client_->Attr.H > 0)
            least = wxSize(client_->Attr.W, client_->Attr.H);
        // Never larger than the desktop's work area, the panels left free; the title bar
        // and borders the window manager adds are not known yet, so some room is left.
        const int display = wxDisplay::GetFromWindow(frame);
        const wxRect work = wxDisplay(display != wxNOT_FOUND ? display : 0).GetClientArea();
        const wxSize around =
            frame->GetSize() - frame->GetClientSize() + frame->FromDIP(wxSize(8, 40));
        frame->SetClientSize(std::min(least.x, work.width - around.x),
                             std::min(least.y, work.height - around.y));
        if (wxWindow* c = client_->GetImpl().wx) {
            pane->SetScrollRate(8, 8);
            pane->Bind(wxEVT_SIZE, [pane, c, least](wxSizeEvent& event) {
                const wxSize shown = pane->GetClientSize();
                c->SetSize(wxSize(std::max(least.x, shown.x), std::max(least.y, shown.y)));
                pane->SetVirtualSize(c->GetSize());
                event.Skip();
            });
            c->SetSize(least);
        }
        frame->SetMinSize(frame->FromDIP(wxSize(320, 240)));
    }
    if (!placed)
        frame->Centre(wxBOTH);
    for (TWindow* child : GetImpl().children)
        if (child != client_ && createsWithParent(child))
            child->Create();
    SetupWindow();
    return true;
}

bool TFrameWindow::AssignMenu(int menuResId) {
    if (!resources::menu(menuResId))
        return false;
    menuResId_ = menuResId;
    auto* frame = dynamic_cast<wxFrame*>(GetImpl().wx.get());
    if (!frame)
        return true;
    // Showing the bar takes room from the client, which keeps its size.
    const wxSize client = frame->GetClientSize();
    frame->SetMenuBar(buildMenuBar(menuResId));
    frame->SetAcceleratorTable(buildAccelerators(menuResId));
    frame->SetClientSize(client);
    return true;
}

bool TFrameWindow::SetIcon(int iconResId) {
    if (!resources::iconFile(iconResId))
        return false;
    GetImpl().iconId = iconResId;
    auto* frame = dynamic_cast<wxTopLevelWindow*>(GetImpl().wx.get());
    if (!frame)
        return true;
    wxIconBundle bundle;
    // Every size the resource has, so the desktop never scales a small one up.
    for (const char* file : resources::iconBundle(GetImpl().iconId)) {
        wxImage image;
        if (wxFileExists(file) && image.LoadFile(file, wxBITMAP_TYPE_PNG)) {
            wxIcon icon;
            icon.CopyFromBitmap(wxBitmap(image));
            bundle.AddIcon(icon);
        }
    }
    for (int id : {GetImpl().iconId, GetImpl().iconSmId}) {
        if (id == 0 || !bundle.IsEmpty())
            continue;
        wxBitmap bitmap = loadIconBitmap(id, id == GetImpl().iconSmId ? 16 : 32);
        if (bitmap.IsOk()) {
            wxIcon icon;
            icon.CopyFromBitmap(bitmap);
            bundle.AddIcon(icon);
        }
    }
    if (!bundle.IsEmpty())
        frame->SetIcons(bundle);
    return true;
}

bool TFrameWindow::SetIconSm(int iconResId) {
    if (!resources::iconFile(iconResId))
        return false;
    GetImpl().iconSmId = iconResId;
    if (GetImpl().iconId != 0)
        return SetIcon(GetImpl().iconId);
    return true;
}

bool TPopupMenu::TrackPopupMenu(uint flags, const TPoint& point, TWindow& owner) {
    (void)flags; // either button picks an item on this desktop
    wxWindow* ev = owner.GetImpl().events;
    if (!ev)
        return false;
    wxMenu menu;
    for (const TItem& item : items_) {
        if (item.flags & MF_SEPARATOR) {
            menu.AppendSeparator();
            continue;
        }
        menu.Append(item.id, toWx(item.text));
        const bool enabled = !(item.flags & MF_GRAYED) && isCommandEnabled(owner, item.id);
        menu.Enable(item.id, enabled);
    }
    const wxPoint at = ev->ScreenToClient(wxPoint(point.x, point.y));
    const int chosen = ev->GetPopupMenuSelectionFromUser(menu, at);
    if (chosen == wxID_NONE)
        return false;
    TMsg msg = TMsg::MakeCommand(chosen);
    routeUp(owner, msg);
    return true;
}

bool ShowStartupError(const char* text, const char* caption) {
    if (!ensureWx())
        return false;
    wxMessageDialog box(nullptr, toWx(text), toWx(caption), wxOK | wxICON_ERROR);
    box.ShowModal();
    return true;
}
