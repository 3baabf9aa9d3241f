#include "splash/drovaksplash.h"

#include "common/tempdir.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {

// The main window as the splash sees it: endSplash deletes the splash, as it does there.
struct TOwner : TSplashOwner {
    void endSplash() override {
        ++ends;
        splash.reset();
    }
    std::unique_ptr<TDrovakSplash> splash;
    int ends = 0;
};

// A picture with a distinct colour per quadrant, so a test sees it was drawn unshrunk.
TRgbImage picture(int width, int height) {
    TRgbImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.SetPixel(x, y, TColor(x < width / 2 ? 200 : 20, y < height / 2 ? 150 : 50, 99));
        }
    }
    return image;
}

// The start-up splash: only its own time-out ends it, neither a click nor another timer's tick.
// Then what About does while a splash or About box is open: the main window deletes it and
// opens a new one; the deleted one leaves no capture, no timer, no endSplash behind.
TEST(Splash, StartUpSplashAndAboutBox) {
    headless::reset();
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    // The About picture is larger than its window: it is not shrunk.
    for (const auto& [name, side] : {std::pair{"splash", 0}, std::pair{"about", 500}}) {
        const std::vector<std::uint8_t> bytes =
            encodeBmp(side ? picture(side, side) : picture(kSplashWidth, kSplashHeight));
        dir.write(name, std::string(bytes.begin(), bytes.end()));
    }
    TOwner owner;
    auto click = [&] { return headless::sendMouse(*owner.splash, TMsgKind::LButtonDown, {5, 5}); };
    owner.splash = makeStartUpSplash(owner, true);
    ASSERT_NE(nullptr, owner.splash);
    TDrovakSplash* splash = owner.splash.get();
    EXPECT_EQ(TRect(0, 0, 400, 346), splash->GetClientRect());
    EXPECT_EQ(splash, headless::captureWindow());
    EXPECT_EQ(picture(400, 346), headless::surface(*splash)); // painted at once
    headless::advanceTime(1000);
    click();
    headless::sendTimer(*splash, TSplashWindow::kTimerId + 1);
    headless::advanceTime(1999);
    ASSERT_EQ(0, owner.ends);
    EXPECT_TRUE(owner.splash->IsWindowVisible());
    headless::advanceTime(1);
    EXPECT_EQ(1, owner.ends);
    EXPECT_EQ(nullptr, headless::captureWindow());
    headless::advanceTime(10000); // nothing left to tick
    EXPECT_EQ(1, owner.ends);

    for (bool firstIsStartUp : {true, false}) {
        headless::reset();
        owner.ends = 0;
        owner.splash = firstIsStartUp ? makeStartUpSplash(owner, false) : makeAboutBox(owner);
        ASSERT_NE(nullptr, owner.splash);
        owner.splash.reset();
        EXPECT_EQ(nullptr, headless::captureWindow());
        owner.splash = makeAboutBox(owner);
        ASSERT_NE(nullptr, owner.splash);
        EXPECT_EQ(owner.splash.get(), headless::captureWindow());
        // Larger than the box: drawn unshrunk from its top left, and silent.
        EXPECT_EQ(TRect(0, 0, 360, 420), owner.splash->GetClientRect());
        EXPECT_EQ(TColor(20, 150, 99), headless::surface(*owner.splash).GetPixel(359, 0));
        EXPECT_EQ(TColor(20, 50, 99), headless::surface(*owner.splash).GetPixel(359, 419));
        EXPECT_TRUE(headless::playedSounds().empty());
        headless::advanceTime(60000); // the old time-out, were it still running
        ASSERT_EQ(0, owner.ends);
        EXPECT_TRUE(owner.splash->IsWindowVisible());
        EXPECT_TRUE(click());
        EXPECT_EQ(1, owner.ends);
    }
    // A missing picture costs the picture, not the program.
    std::filesystem::remove(dir.file("splash"));
    std::filesystem::remove(dir.file("about"));
    EXPECT_EQ(nullptr, makeStartUpSplash(owner, true));
    EXPECT_EQ(nullptr, makeAboutBox(owner));
    EXPECT_TRUE(headless::playedSounds().empty());
}

} // namespace
