#include "splash/drovaksplash.h"

#include "support/trace.h"

TDrovakSplash::TDrovakSplash(const TDib& dib, int width, int height, int style, uint timeOut,
                             const char* title)
    : TSplashWindow(dib, width, height, style, timeOut, title),
      startUpSound(std::make_unique<TWaveSound>(kStartUpSoundName)), timeOut(timeOut) {
    trace("TDrovakSplash", "");
}

TDrovakSplash::~TDrovakSplash() {
    trace("~TDrovakSplash", "");
    if (IsWindow()) {
        KillTimer(kTimerId);
        ReleaseCapture();
        Destroy();
    }
}

// endSplash only once the window has really closed: a tick that does not end the time-out
// must not delete a splash that is still showing.
void TDrovakSplash::EvTimer(uint timerId) {
    trace("EvTimer", "");
    TSplashWindow::EvTimer(timerId);
    if (!IsWindow() && parentWindow != nullptr) {
        parentWindow->endSplash(); // may delete this
    }
}

void TDrovakSplash::EvLButtonDown(uint modKeys, const TPoint& point) {
    trace("EvLButtonDown", "");
    if (timeOut != 0) {
        return;
    }
    TSplashWindow::EvLButtonDown(modKeys, point);
    if (!IsWindow() && parentWindow != nullptr) {
        parentWindow->endSplash(); // may delete this
    }
}

DEFINE_RESPONSE_TABLE1(TDrovakSplash, TSplashWindow)
EV_WM_LBUTTONDOWN, EV_WM_TIMER, END_RESPONSE_TABLE;

namespace {

std::unique_ptr<TDrovakSplash> openSplash(TSplashOwner& owner, const char* picture, int width,
                                          int height, uint timeOut) {
    std::unique_ptr<TDrovakSplash> splash;
    try {
        splash = std::make_unique<TDrovakSplash>(
            TDib(picture), width, height, TSplashWindow::CaptureMouse, timeOut, kSplashTitle);
    } catch (const TXBitmap&) {
        return nullptr; // a missing picture only costs the picture
    }
    splash->setParentWindow(&owner);
    splash->Create();
    splash->Invalidate(false); // the picture covers the whole window
    splash->UpdateWindow();
    return splash;
}

} // namespace

std::unique_ptr<TDrovakSplash> makeStartUpSplash(TSplashOwner& owner, bool soundOn) {
    trace("makeStartUpSplash", "");
    auto splash = openSplash(owner, kSplashPicture, kSplashWidth, kSplashHeight, kSplashTimeOut);
    if (splash && soundOn) {
        splash->getStartUpSound().Play();
    }
    return splash;
}

std::unique_ptr<TDrovakSplash> makeAboutBox(TSplashOwner& owner) {
    trace("makeAboutBox", "");
    return openSplash(owner, kAboutPicture, kAboutWidth, kAboutHeight, 0);
}
