// The application: the message loop, accelerators and the quit message.

#include "toolkit/errors.h"
#include "toolkit/win32/win32backend.h"

#include <commctrl.h>

namespace toolkit_win32 {

namespace {
std::wstring widenAs(std::string_view text, UINT codePage, DWORD flags) {
    const int size = static_cast<int>(text.size());
    const int n =
        text.empty() ? 0 : MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
    return wide;
}
} // namespace

std::wstring widen(std::string_view text) {
    std::wstring wide = widenAs(text, CP_UTF8, MB_ERR_INVALID_CHARS);
    return wide.empty() ? widen1252(text) : wide;
}

std::wstring widen1252(std::string_view text) {
    return widenAs(text, 1252, 0);
}

namespace {
std::string narrow(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}
} // namespace

std::string narrowUtf8(const std::wstring& text) {
    return narrow(text, CP_UTF8);
}

std::string narrow1252(const std::wstring& text) {
    return narrow(text, 1252);
}

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

} // namespace toolkit_win32

using namespace toolkit_win32;

namespace {
bool g_quitPosted = false;
int g_exitCode = 0;
} // namespace

namespace {

// The program draws its own pixels at their size: Windows must not stretch them blurred.
// Said by a call rather than in the manifest; per-monitor (version 2, Windows 10 1703 on)
// scales the dialogs and the frame's borders with the monitor, older systems are told the
// program is DPI aware.
void declareDpiAware() {
    using TSetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        auto set = reinterpret_cast<TSetContext>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
        if (set && set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
            return;
    }
    SetProcessDPIAware();
}

} // namespace

TApplication::TApplication(const char* name) : name_(name ? name : "") {
    declareDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

TApplication::~TApplication() {
    delete mainWindow_;
    mainWindow_ = nullptr;
}

void TApplication::SetMainWindow(TFrameWindow* window) {
    if (window == mainWindow_)
        return;
    delete mainWindow_;
    mainWindow_ = window;
}

int TApplication::Run() {
    g_quitPosted = false;
    g_exitCode = 0;
    InitMainWindow();
    if (!mainWindow_ || g_quitPosted)
        return g_exitCode;
    if (!mainWindow_->Create())
        return -1;
    mainWindow_->Show(nCmdShow);
    MSG msg;
    while (!g_quitPosted && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The frame's accelerators act in every window of the program but a modal dialog.
        HWND frame = mainWindow_ ? mainWindow_->GetImpl().hwnd : nullptr;
        HACCEL accel = mainWindow_ ? mainWindow_->GetImpl().accel : nullptr;
        if (frame && accel && TranslateAcceleratorW(frame, accel, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return g_exitCode;
}

void PostQuitMessage(int exitCode) {
    g_exitCode = exitCode;
    g_quitPosted = true;
    postWindowsQuit(exitCode);
}
