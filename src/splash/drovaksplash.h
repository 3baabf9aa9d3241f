#pragma once

#include "toolkit/toolkit.h"

#include <memory>

// The main window as the splash sees it: told when the splash or About window has closed,
// so that it can delete the object. The call may delete the splash; the splash touches
// nothing of itself afterwards.
class TSplashOwner {
  public:
    virtual void endSplash() = 0;

  protected:
    ~TSplashOwner() = default;
};

// The two roles of the splash window.
inline constexpr const char* kSplashTitle = "F-22 Raptor Drovak";
inline constexpr const char* kSplashPicture = "splash";
inline constexpr int kSplashWidth = 400;
inline constexpr int kSplashHeight = 346;
inline constexpr uint kSplashTimeOut = 3000; // milliseconds, clicks or not
inline constexpr const char* kAboutPicture = "about";
inline constexpr int kAboutWidth = 360;
inline constexpr int kAboutHeight = 420;
inline constexpr const char* kStartUpSoundName = "startUp";

// A pop-up picture: the start-up splash (closes itself after its time-out, clicks do
// nothing) or the About box (time-out 0: closes on a click). Either way it calls its
// parent's endSplash once it has closed.
class TDrovakSplash : public TSplashWindow {
  public:
    TDrovakSplash(const TDib& dib, int width, int height, int style, uint timeOut,
                  const char* title);
    // Takes an open window off the screen, its timer and mouse capture with it, so that the
    // main window may delete a splash at any time (About while one is open).
    ~TDrovakSplash() override;

    void setParentWindow(TSplashOwner* parent) { parentWindow = parent; }
    TWaveSound& getStartUpSound() const { return *startUpSound; }

    void EvTimer(uint timerId);
    void EvLButtonDown(uint modKeys, const TPoint& point);

    DECLARE_RESPONSE_TABLE(TDrovakSplash);

  private:
    std::unique_ptr<TWaveSound> startUpSound;
    TSplashOwner* parentWindow = nullptr;
    uint timeOut;
};

// The start-up splash for owner, created and painted, its sound started when soundOn.
// Null when the picture cannot be read: the program starts without a splash.
std::unique_ptr<TDrovakSplash> makeStartUpSplash(TSplashOwner& owner, bool soundOn);

// The About box for owner, created and painted; it stays until clicked. Null when the
// picture cannot be read. The caller deletes any splash or About box still open first.
std::unique_ptr<TDrovakSplash> makeAboutBox(TSplashOwner& owner);
