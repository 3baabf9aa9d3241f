// Windows on the Windows API: frames, plain child windows, painting, input, timers, menus.

#include <algorithm>

#include "resources/resources.h"
#include "toolkit/win32/win32backend.h"

#include <shellapi.h>
#include <windowsx.h>

namespace toolkit_win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"DrovakWindow";

TWindow* layerWindowOf(HWND hwnd) {
    return reinterpret_cast<TWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Windows' MK_* bits are the layer's.
// The modifiers as the message being handled found them: GetKeyState follows the message queue,
// so a key typed ahead of a busy program keeps the Shift it was typed with.
uint heldKeyFlags() {
    auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    return (held(VK_SHIFT) ? kKeyFlagShift : 0u) | (held(VK_CONTROL) ? kKeyFlagControl : 0u) |
           (held(VK_MENU) ? kKeyFlagAlt : 0u);
}

uint modKeys(WPARAM wParam) {
    return static_cast<uint>(wParam) & (MK_LBUTTON | MK_RBUTTON | MK_SHIFT | MK_CONTROL);
}

// The menu bar of a menu resource: each item with its accelerator after a tab.
HMENU buildMenu(const resources::TMenuResource& res) {
    HMENU bar = CreateMenu();
    for (const resources::TMenuPopup& popup : res.popups) {
        HMENU sub = CreatePopupMenu();
        for (const resources::TMenuItem& item : popup.items) {
            if (item.id == 0) {
                AppendMenuW(sub, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            std::string text = item.text;
            // Text after a tab is only shown here: the list's own keys may be named too.
            const char* hint = *item.accelHint ? item.accelHint : item.listKeyHint;
            if (*hint)
                text = text + "\t" + hint;
            AppendMenuW(sub, MF_STRING, static_cast<UINT_PTR>(item.id), widen(text).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), widen(popup.text).c_str());
    }
    return bar;
}

HACCEL buildAccelerators(int id) {
    std::vector<ACCEL> table;
    for (const resources::TAccelerator& a : resources::accelerators(id)) {
        BYTE flags = FVIRTKEY;
        if (a.modifiers & resources::kAccelControl)
            flags |= FCONTROL;
        if (a.modifiers & resources::kAccelAlt)
            flags |= FALT;
        if (a.modifiers & resources::kAccelShift)
            flags |= FSHIFT;
        table.push_back({flags, static_cast<WORD>(a.key), static_cast<WORD>(a.command)});
    }
    return table.empty() ? nullptr
                         : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

// Paints through the layer's Paint with the DC clipped to the invalid area, over the
// window's background. On a screen of another scale the window is drawn whole in design
// units and scaled up: by whole factors pixel for pixel, between them smoothly.
void paint(TWindow& window, HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    TColor c = window.GetBkgndColor();
    HBRUSH brush = CreateSolidBrush(RGB(c.r, c.g, c.b));
    const int dpi = dpiOf(hwnd);
    auto impl = std::make_unique<TDC::Impl>();
    if (dpi == 96) {
        TRect clip(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
        FillRect(hdc, &ps.rcPaint, brush);
        impl->hdc = hdc;
        impl->clip = clip;
        TDC dc(std::move(impl));
        window.Paint(dc, ps.fErase != FALSE, clip);
    } else {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        const int w = toDesign(client.right, dpi) + 1, h = toDesign(client.bottom, dpi) + 1;
        HDC memory = CreateCompatibleDC(hdc);
        HBITMAP canvas = CreateCompatibleBitmap(hdc, w, h);
        HGDIOBJ old = SelectObject(memory, canvas);
        RECT all{0, 0, w, h};
        FillRect(memory, &all, brush);
        TRect clip(0, 0, w, h);
        impl->hdc = memory;
        impl->clip = clip;
        {
            TDC dc(std::move(impl));
            window.Paint(dc, true, clip);
        }
        SetStretchBltMode(hdc, dpi % 96 == 0 ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(hdc, 0, 0, nullptr);
        StretchBlt(hdc, 0, 0, toScreen(w, dpi), toScreen(h, dpi), memory, 0, 0, w, h, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(canvas);
        DeleteDC(memory);
    }
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
}

LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        if (auto* w = static_cast<TWindow*>(cs->lpCreateParams))
            w->GetImpl().hwnd = hwnd;
    }
    TWindow* window = layerWindowOf(hwnd);
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* frame = dynamic_cast<TFrameWindow*>(window);
    switch (message) {
    case WM_PAINT:
        paint(*window, hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted with the window in WM_PAINT, without flicker
    case WM_DPICHANGED: {
        // Moved to a screen of another scale: the size Windows suggests keeps the window's
        // look there, and the client lays its children out again.
        const auto* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (TWindow* client = frame ? frame->GetClientWindow() : nullptr) {
            relayoutChildren(*client);
            ::InvalidateRect(client->GetImpl().hwnd, nullptr, FALSE);
        }
        return 0;
    }
    case WM_SIZE:
        if (frame && frame->GetClientWindow() && frame->GetClientWindow()->GetImpl().hwnd)
            MoveWindow(frame->GetClientWindow()->GetImpl().hwnd, 0, 0, LOWORD(lParam),
                       HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        // A frame hands the keyboard to its client.
        if (frame && frame->GetClientWindow() && frame->GetClientWindow()->GetImpl().hwnd)
            ::SetFocus(frame->GetClientWindow()->GetImpl().hwnd);
        return 0;
    case WM_COMMAND: {
        if (lParam != 0 && HIWORD(wParam) != BN_CLICKED)
            break;
        TWindow& start = frame && frame->GetClientWindow() ? *frame->GetClientWindow() : *window;
        if (isCommandEnabled(start, LOWORD(wParam))) {
            TMsg msg = TMsg::MakeCommand(LOWORD(wParam));
            msg.fromKeyboard = lParam == 0 && HIWORD(wParam) == 1; // an accelerator's
            routeUp(start, msg);
        }
        return 0;
    }
    case WM_INITMENUPOPUP: {
        HMENU menu = reinterpret_cast<HMENU>(wParam);
        TWindow& start = frame && frame->GetClientWindow() ? *frame->GetClientWindow() : *window;
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            UINT id = GetMenuItemID(menu, i);
            if (id != 0 && id != static_cast<UINT>(-1))
                EnableMenuItem(
                    menu, id,
                    MF_BYCOMMAND |
                        (isCommandEnabled(start, static_cast<int>(id)) ? MF_ENABLED : MF_GRAYED));
        }
        return 0;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (listNotify(*window, *reinterpret_cast<NMHDR*>(lParam), result))
            return result;
        break;
    }
    case WM_TIMER: {
        TMsg msg = TMsg::MakeTimer(static_cast<uint>(wParam));
        window->Dispatch(msg); // may delete the window: nothing touches it after this
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && window->GetCursor() != 0) {
            HCURSOR cursor = cursorOf(window->GetCursor());
            if (!cursor)
                cursor = LoadCursorW(
                    nullptr, window->GetCursor() == resources::kTextCursor ? IDC_IBEAM : IDC_ARROW);
            ::SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        TDropInfo info;
        POINT pt{};
        DragQueryPoint(drop, &pt);
        info.point = {pt.x, pt.y};
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
            info.files.push_back(narrowUtf8(name));
        }
        DragFinish(drop);
        TMsg msg;
        msg.kind = TMsgKind::DropFiles;
        msg.dropInfo = &info;
        window->Dispatch(msg);
        return 0;
    }
    case WM_CLOSE:
        if (frame) {
            if (frame->CanClose())
                DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = accessibleObject(*window, wParam, lParam))
            return object;
        break;
    case WM_DESTROY:
        window->GetImpl().hwnd = nullptr;
        window->GetImpl().destroyed = true;
        if (frame)
            postWindowsQuit(0);
        return 0;
    default:
        if (dispatchInput(*window, message, wParam, lParam))
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Readers hear of what a message changed once it was handled; the pointer's comings and goings
// change nothing they are told of.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = handleMessage(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_GETOBJECT:
        return result;
    default:
        break;
    }
    // The window may be gone by now (a timer's handler can delete it).
    if (TWindow* window = IsWindow(hwnd) ? layerWindowOf(hwnd) : nullptr) {
        announceParts(*window);
        if (auto* frame = dynamic_cast<TFrameWindow*>(window); frame && frame->GetClientWindow())
            announceParts(*frame->GetClientWindow());
    }
    return result;
}

void registerClass() {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's own icon from the executable's resources (drovak.rc), if it has one.
    wc.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(1));
    if (!wc.hIcon)
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
}

void startTimers(TWindow& window) {
    for (const auto& [id, ms] : window.GetImpl().timers)
        ::SetTimer(window.GetImpl().hwnd, id, ms == 0 ? USER_TIMER_MINIMUM : ms, nullptr);
}

} // namespace

bool dispatchInput(TWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
    TMsgKind kind;
    switch (message) {
    case WM_LBUTTONDOWN:
        kind = TMsgKind::LButtonDown;
        break;
    case WM_LBUTTONUP:
        kind = TMsgKind::LButtonUp;
        break;
    case WM_LBUTTONDBLCLK:
        kind = TMsgKind::LButtonDblClk;
        break;
    case WM_RBUTTONDOWN:
        kind = TMsgKind::RButtonDown;
        break;
    case WM_MOUSEMOVE:
        kind = TMsgKind::MouseMove;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP: {
        TMsg msg = TMsg::MakeKey(message == WM_KEYDOWN ? TMsgKind::KeyDown : TMsgKind::KeyUp,
                                 static_cast<uint>(wParam), LOWORD(lParam),
                                 HIWORD(lParam) | heldKeyFlags());
        return window.Dispatch(msg);
    }
    case WM_CHAR: {
        // The layout's characters, dead keys already composed; a character past the first
        // plane comes as two surrogates, and the game's font has none of them.
        if (wParam >= 0xD800 && wParam < 0xE000)
            return true;
        TMsg msg = TMsg::MakeKey(TMsgKind::Char, static_cast<uint>(wParam), LOWORD(lParam),
                                 HIWORD(lParam) | heldKeyFlags());
        return window.Dispatch(msg);
    }
    default:
        return false;
    }
    if (kind == TMsgKind::LButtonDown || kind == TMsgKind::RButtonDown)
        ::SetFocus(window.GetImpl().hwnd);
    const int dpi = dpiOf(window.GetImpl().hwnd);
    TMsg msg =
        TMsg::MakeMouse(kind, modKeys(wParam),
                        {toDesign(GET_X_LPARAM(lParam), dpi), toDesign(GET_Y_LPARAM(lParam), dpi)});
    return window.Dispatch(msg);
}

int dpiOf(HWND hwnd) {
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (hwnd && forWindow)
        if (const UINT dpi = forWindow(hwnd))
            return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void relayoutChildren(TWindow& window) {
    const int dpi = dpiOf(window.GetImpl().hwnd);
    for (TWindow* child : window.GetImpl().children) {
        HWND hwnd = child->GetImpl().hwnd;
        if (!hwnd)
            continue;
        MoveWindow(hwnd, toScreen(child->Attr.X, dpi), toScreen(child->Attr.Y, dpi),
                   toScreen(child->Attr.W, dpi), toScreen(child->Attr.H, dpi), TRUE);
        if (auto* list = dynamic_cast<TListWindow*>(child))
            rescaleListControl(*list);
    }
}

bool routeUp(TWindow& start, TMsg& msg) {
    for (TWindow* w = &start; w != nullptr;) {
        if (w->Dispatch(msg))
            return true;
        TWindow* next = w->GetImpl().frame ? w->GetImpl().frame : w->GetParentO();
        w = next;
    }
    return false;
}

bool isCommandEnabled(TWindow& start, int id) {
    TCommandEnabler enabler(id);
    TMsg msg = TMsg::MakeCommandEnable(enabler);
    routeUp(start, msg);
    return enabler.IsEnabled();
}

HWND hwndOf(const TWindow* window) {
    return window ? window->GetImpl().hwnd : nullptr;
}

HWND ownerOf(const TWindow* window) {
    HWND hwnd = hwndOf(window);
    return hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
}

} // namespace toolkit_win32

using namespace toolkit_win32;

// --- TWindow ----------------------------------------------------------------------------------

TWindow::TWindow(TWindow* parent, const char* title)
    : parent_(parent), title_(title ? title : ""), impl_(std::make_unique<Impl>()) {
    if (parent_ != nullptr)
        parent_->impl_->children.push_back(this);
}

TWindow::~TWindow() {
    if (parent_ != nullptr)
        std::erase(parent_->impl_->children, this);
    for (TWindow* child : impl_->children)
        child->parent_ = nullptr;
    if (impl_->hwnd) {
        SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
        DestroyWindow(impl_->hwnd);
    }
    if (impl_->accel)
        DestroyAcceleratorTable(impl_->accel);
}

bool TWindow::Create() {
    if (IsWindow())
        return true;
    registerClass();
    impl_->destroyed = false;
    const bool popup = parent_ == nullptr && (Attr.Style & WS_POPUP) != 0;
    HWND parent = popup ? nullptr : hwndOf(impl_->frame ? impl_->frame : parent_);
    DWORD style = popup ? (WS_POPUP | WS_BORDER) : (WS_CHILD | WS_CLIPCHILDREN);
    const int dpi = dpiOf(parent);
    int x = toScreen(Attr.X, dpi), y = toScreen(Attr.Y, dpi);
    const int w = toScreen(Attr.W, dpi), h = toScreen(Attr.H, dpi);
    if (popup) {
        // A parentless pop-up (the splash) is centred on the screen.
        x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    }
    if (auto* list = dynamic_cast<TListWindow*>(this)) {
        if (!createListControl(*list, parent))
            return false;
    } else if (!CreateWindowExW(popup ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : Attr.ExStyle,
                                kWindowClass, widen(GetCaption()).c_str(), style, x, y, w, h,
                                parent, nullptr, instance(), this)) {
        return false;
    }
    if (Attr.Style & WS_VISIBLE)
        ShowWindow(impl_->hwnd, SW_SHOWNA);
    startTimers(*this);
    const std::vector<TWindow*> children = impl_->children;
    for (TWindow* child : children)
        child->Create();
    SetupWindow();
    return true;
}

bool TWindow::IsWindow() const {
    return impl_->hwnd != nullptr && !impl_->destroyed;
}

void TWindow::Destroy(int) {
    if (!IsWindow())
        return;
    HWND hwnd = impl_->hwnd;
    impl_->hwnd = nullptr;
    impl_->destroyed = true;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
}

void TWindow::Show(int cmdShow) {
    if (impl_->hwnd) {
        ShowWindow(impl_->hwnd, cmdShow);
        ::UpdateWindow(impl_->hwnd);
    }
}

bool TWindow::IsWindowVisible() const {
    return impl_->hwnd && ::IsWindowVisible(impl_->hwnd);
}

void TWindow::Invalidate(bool erase) {
    if (impl_->hwnd)
        InvalidateRect(GetClientRect(), erase);
}

void TWindow::InvalidateRect(const TRect& rect, bool erase) {
    if (!impl_->hwnd)
        return;
    // Outwards: a smooth scaling reaches into the next pixel.
    const int dpi = dpiOf(impl_->hwnd);
    RECT r{toScreen(rect.left, dpi) - (dpi == 96 ? 0 : 1),
           toScreen(rect.top, dpi) - (dpi == 96 ? 0 : 1),
           toScreen(rect.right, dpi) + (dpi == 96 ? 0 : 2),
           toScreen(rect.bottom, dpi) + (dpi == 96 ? 0 : 2)};
    ::InvalidateRect(impl_->hwnd, &r, erase);
}

void TWindow::UpdateWindow() {
    if (impl_->hwnd)
        ::UpdateWindow(impl_->hwnd);
}

void TWindow::SetBkgndColor(const TColor& color) {
    impl_->bkgnd = color;
}

TColor TWindow::GetBkgndColor() const {
    if (impl_->bkgnd)
        return *impl_->bkgnd;
    DWORD c = GetSysColor(COLOR_WINDOW);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

TRect TWindow::GetClientRect() const {
    if (!impl_->hwnd)
        return {0, 0, Attr.W, Attr.H};
    RECT r{};
    ::GetClientRect(impl_->hwnd, &r);
    const int dpi = dpiOf(impl_->hwnd);
    return {0, 0, toDesign(r.right, dpi), toDesign(r.bottom, dpi)};
}

void TWindow::ClientToScreen(TPoint& point) const {
    const int dpi = dpiOf(impl_->hwnd);
    POINT p{toScreen(point.x, dpi), toScreen(point.y, dpi)};
    if (impl_->hwnd)
        ::ClientToScreen(impl_->hwnd, &p);
    point = {p.x, p.y};
}

void TWindow::MoveWindow(const TRect& rect) {
    Attr.X = rect.left;
    Attr.Y = rect.top;
    Attr.W = rect.Width();
    Attr.H = rect.Height();
    if (impl_->hwnd)
        ::MoveWindow(impl_->hwnd, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void TWindow::SetFocus() {
    if (impl_->hwnd)
        ::SetFocus(impl_->hwnd);
}

void TWindow::DragAcceptFiles(bool accept) {
    impl_->acceptsFiles = accept;
    if (impl_->hwnd)
        ::DragAcceptFiles(impl_->hwnd, accept);
}

void TWindow::SetCapture() {
    if (impl_->hwnd)
        ::SetCapture(impl_->hwnd);
}

void TWindow::ReleaseCapture() {
    if (impl_->hwnd && GetCapture() == impl_->hwnd)
        ::ReleaseCapture();
}

bool TWindow::SetCursor(int cursorResId) {
    impl_->cursorId = cursorResId;
    return cursorResId == 0 || resources::cursorFile(cursorResId) != nullptr;
}

int TWindow::GetCursor() const {
    return impl_->cursorId;
}

uint TWindow::SetTimer(uint timerId, uint timeoutMs) {
    impl_->timers[timerId] = timeoutMs;
    if (!impl_->hwnd)
        return timerId;
    return ::SetTimer(impl_->hwnd, timerId, timeoutMs == 0 ? USER_TIMER_MINIMUM : timeoutMs,
                      nullptr) != 0
               ? timerId
               : 0;
}

bool TWindow::KillTimer(uint timerId) {
    bool had = impl_->timers.erase(timerId) != 0;
    if (impl_->hwnd)
        ::KillTimer(impl_->hwnd, timerId);
    return had;
}

int TWindow::MessageBox(const char* text, const char* caption, uint type) {
    return MessageBoxW(ownerOf(this), widen(text ? text : "").c_str(),
                       widen(caption ? caption : "Drovak").c_str(), type);
}

namespace {

// The frame's icons at the sizes the system shows them (they grow with the screen's DPI).
void showIcons(const TWindow::Impl& impl) {
    if (!impl.hwnd)
        return;
    if (impl.iconId != 0)
        if (HICON big = iconOf(impl.iconId, GetSystemMetrics(SM_CXICON)))
            SendMessageW(impl.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    const int small = impl.iconSmId != 0 ? impl.iconSmId : impl.iconId;
    if (small != 0)
        if (HICON icon = iconOf(small, GetSystemMetrics(SM_CXSMICON)))
            SendMessageW(impl.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

} // namespace

// --- TFrameWindow -----------------------------------------------------------------------------

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd, bool)
    : TWindow(parent, title), client_(clientWnd) {
    Attr.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    if (client_ != nullptr)
        client_->GetImpl().frame = this;
}

TFrameWindow::~TFrameWindow() {
    delete client_;
}

bool TFrameWindow::Create() {
    if (IsWindow())
        return true;
    registerClass();
    Impl& impl = GetImpl();
    impl.destroyed = false;
    if (const resources::TMenuResource* res = resources::menu(GetMenuResId()))
        impl.menu = buildMenu(*res);
    impl.accel = buildAccelerators(resources::kAccelerators);
    // Attr.W and Attr.H are the client's size, as the program lays itself out by it, at the
    // screen's scale.
    const int dpi = dpiOf(nullptr);
    RECT r{0, 0, toScreen(Attr.W > 0 ? Attr.W : 780, dpi),
           toScreen(Attr.H > 0 ? Attr.H : 520, dpi)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, impl.menu != nullptr, 0);
    if (!CreateWindowExW(0, L"DrovakWindow", widen(GetCaption()).c_str(),
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                         r.right - r.left, r.bottom - r.top, nullptr, impl.menu, instance(),
                         static_cast<TWindow*>(this)))
        return false;
    for (const auto& [id, ms] : impl.timers)
        ::SetTimer(impl.hwnd, id, ms == 0 ? USER_TIMER_MINIMUM : ms, nullptr);
    showIcons(impl);
    if (client_ != nullptr) {
        TRect inside = GetClientRect();
        client_->Attr.X = 0;
        client_->Attr.Y = 0;
        client_->Attr.W = inside.Width();
        client_->Attr.H = inside.Height();
        client_->Attr.Style |= WS_VISIBLE;
        client_->Create();
    }
    const std::vector<TWindow*> children = impl.children;
    for (TWindow* child : children)
        child->Create();
    SetupWindow();
    return true;
}

bool TFrameWindow::AssignMenu(int menuResId) {
    menuResId_ = menuResId;
    return resources::menu(menuResId) != nullptr;
}

bool TFrameWindow::SetIcon(int iconResId) {
    if (!resources::iconFile(iconResId))
        return false;
    GetImpl().iconId = iconResId;
    showIcons(GetImpl());
    return true;
}

bool TFrameWindow::SetIconSm(int iconResId) {
    if (!resources::iconFile(iconResId))
        return false;
    GetImpl().iconSmId = iconResId;
    showIcons(GetImpl());
    return true;
}

// --- TDC --------------------------------------------------------------------------------------

TDC::TDC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TDC::~TDC() = default;

bool TDC::BitBlt(const TRect& dest, const TDib& dib, const TPoint& src) {
    TRect part = TRect(src, dest.Size()) & TRect(0, 0, dib.Width(), dib.Height());
    if (part.IsEmpty())
        return false;
    TRgbImage pixels = dib.GetPart(part);
    const int w = pixels.Width(), h = pixels.Height();
    // A top-down 32-bit DIB: blue, green, red, unused.
    std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    const std::uint8_t* rgb = pixels.Data();
    for (std::size_t i = 0, n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h); i < n;
         ++i) {
        bgrx[i * 4] = rgb[i * 3 + 2];
        bgrx[i * 4 + 1] = rgb[i * 3 + 1];
        bgrx[i * 4 + 2] = rgb[i * 3];
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return SetDIBitsToDevice(impl_->hdc, dest.left + (part.left - src.x),
                             dest.top + (part.top - src.y), static_cast<DWORD>(w),
                             static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(h), bgrx.data(),
                             &info, DIB_RGB_COLORS) != 0;
}

bool TDC::TextOut(int x, int y, const std::string& text, const TColor& color) {
    std::wstring wide = widen(text);
    SetBkMode(impl_->hdc, TRANSPARENT);
    SetTextColor(impl_->hdc, RGB(color.r, color.g, color.b));
    HGDIOBJ old = SelectObject(impl_->hdc, GetStockObject(DEFAULT_GUI_FONT));
    bool ok = ::TextOutW(impl_->hdc, x, y, wide.c_str(), static_cast<int>(wide.size())) != 0;
    SelectObject(impl_->hdc, old);
    return ok;
}

TRect TDC::GetClipBox() const {
    return impl_->clip;
}

// --- TPopupMenu -------------------------------------------------------------------------------

bool TPopupMenu::TrackPopupMenu(uint flags, const TPoint& point, TWindow& owner) {
    HMENU menu = CreatePopupMenu();
    for (const TItem& item : GetItems()) {
        if (item.flags & MF_SEPARATOR) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT state = isCommandEnabled(owner, item.id) ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, static_cast<UINT_PTR>(item.id),
                    widen(item.text).c_str());
    }
    HWND hwnd = ownerOf(&owner);
    UINT chosen = static_cast<UINT>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | ((flags & TPM_RIGHTBUTTON) ? TPM_RIGHTBUTTON : 0),
        point.x, point.y, 0, hwnd, nullptr));
    DestroyMenu(menu);
    if (chosen == 0)
        return false;
    TMsg msg = TMsg::MakeCommand(static_cast<int>(chosen));
    routeUp(owner, msg);
    return true;
}
