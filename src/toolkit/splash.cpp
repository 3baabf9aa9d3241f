#include "toolkit/window.h"

TSplashWindow::TSplashWindow(const TDib& dib, int width, int height, int style, uint timeOut,
                             const char* title)
    : TWindow(nullptr, title), dib_(dib), style_(style), timeOut_(timeOut) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = width;
    Attr.H = height;
}

void TSplashWindow::SetupWindow() {
    TWindow::SetupWindow();
    if (timeOut_ != 0)
        SetTimer(kTimerId, timeOut_);
    if (style_ & CaptureMouse)
        SetCapture();
}

void TSplashWindow::EvTimer(uint timerId) {
    if (timerId != kTimerId || !IsWindow())
        return;
    KillTimer(kTimerId);
    ReleaseCapture();
    Destroy();
}

void TSplashWindow::EvLButtonDown(uint, const TPoint&) {
    if ((style_ & CaptureMouse) == 0 || !IsWindow())
        return;
    KillTimer(kTimerId);
    ReleaseCapture();
    Destroy();
}

void TSplashWindow::Paint(TDC& dc, bool, TRect&) {
    dc.BitBlt(0, 0, dib_);
}

// clang-format off
DEFINE_RESPONSE_TABLE1(TSplashWindow, TWindow)
    EV_WM_TIMER,
    EV_WM_LBUTTONDOWN,
END_RESPONSE_TABLE;
// clang-format on
