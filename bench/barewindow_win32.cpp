// The Windows start-up benchmark's baseline: a bare Win32 window shaped like Drovak's main
// window (a 780 by 520 client area, a menu bar and a report list view) that draws nothing of
// its own. Under DROVAK_REPORT_FIRST_PAINT it says "first paint N" on standard error, N in
// wall-clock milliseconds, as the program does, so bench/startup_win32.sh times both alike.

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

bool painted = false;

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        if (!painted && std::getenv("DROVAK_REPORT_FIRST_PAINT") != nullptr) {
            painted = true;
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::fprintf(stderr, "first paint %lld\n",
                         static_cast<long long>(
                             std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
            std::fflush(stderr);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HMENU menuBar() {
    const wchar_t* const menus[][4] = {{L"&File", L"&New\tCtrl+N", L"&Save\tCtrl+S", L"E&xit"},
                                       {L"&Edit", L"&Undo\tCtrl+Z", L"Cu&t\tCtrl+X", L"&Copy"},
                                       {L"&Help", L"&Help", L"&Settings", L"&About"}};
    HMENU bar = CreateMenu();
    UINT id = 100;
    for (const auto& entries : menus) {
        HMENU menu = CreatePopupMenu();
        for (int i = 1; i < 4; ++i)
            AppendMenuW(menu, MF_STRING, id++, entries[i]);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), entries[0]);
    }
    return bar;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"DrovakBareWindow";
    RegisterClassW(&wc);
    HMENU menu = menuBar();
    RECT r{0, 0, 780, 520};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                                nullptr, menu, instance, nullptr);
    HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 8,
                        40, 340, 160, hwnd, nullptr, instance, nullptr);
    const wchar_t* const titles[] = {L"SAV File", L"Callsign", L"Modified"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 110;
        column.pszText = const_cast<wchar_t*>(titles[i]);
        ListView_InsertColumn(list, i, &column);
    }
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
