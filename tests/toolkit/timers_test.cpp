#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TTicking : public TWindow {
  public:
    TTicking() : TWindow(nullptr) {}
    std::vector<std::string> ticks;
    void EvTimer(uint id) {
        ticks.push_back(std::to_string(id) + "@" + std::to_string(headless::now()));
    }
    DECLARE_RESPONSE_TABLE(TTicking);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TTicking, TWindow)
    EV_WM_TIMER,
END_RESPONSE_TABLE;
// clang-format on

class Timers : public ::testing::Test {
  protected:
    void SetUp() override { headless::reset(); }
};

TEST_F(Timers, TicksComeWhenTheTestAdvancesTime) {
    const std::uint64_t t0 = headless::now();
    auto at = [&](unsigned id, std::uint64_t ms) {
        return std::to_string(id) + "@" + std::to_string(t0 + ms);
    };
    TTicking w;
    // Started before the window exists, as the main window's cursor timer is.
    EXPECT_EQ(w.SetTimer(1, 100), 1u);
    EXPECT_EQ(w.SetTimer(2, 250), 2u);
    headless::advanceTime(99);
    EXPECT_TRUE(w.ticks.empty());
    headless::advanceTime(1);
    EXPECT_EQ(w.ticks, std::vector<std::string>{at(1, 100)});
    headless::advanceTime(400); // every tick that falls due, in time order
    EXPECT_EQ(w.ticks, (std::vector<std::string>{at(1, 100), at(1, 200), at(2, 250), at(1, 300),
                                                 at(1, 400), at(1, 500), at(2, 500)}));
    EXPECT_TRUE(w.KillTimer(1));
    EXPECT_FALSE(w.KillTimer(1));
    w.ticks.clear();
    headless::advanceTime(500);
    EXPECT_EQ(w.ticks, (std::vector<std::string>{at(2, 750), at(2, 1000)}));
    // Setting a timer again restarts it.
    w.SetTimer(2, 100);
    w.ticks.clear();
    headless::advanceTime(100);
    EXPECT_EQ(w.ticks, std::vector<std::string>{at(2, 1100)});
    // A timeout of 0 is due at once, then every millisecond.
    w.KillTimer(2);
    w.SetTimer(3, 0);
    w.ticks.clear();
    headless::advanceTime(0);
    EXPECT_EQ(w.ticks, std::vector<std::string>{at(3, 1100)});
    headless::advanceTime(2);
    EXPECT_EQ(w.ticks, (std::vector<std::string>{at(3, 1100), at(3, 1101), at(3, 1102)}));
}

TEST_F(Timers, DestroyingOrDeletingAWindowStopsItsTimers) {
    TTicking w;
    w.Create();
    w.SetTimer(1, 10);
    w.Destroy();
    headless::advanceTime(100);
    EXPECT_TRUE(w.ticks.empty());
    {
        TTicking gone;
        gone.SetTimer(1, 10);
    }
    headless::advanceTime(100); // a deleted window's timer must not tick into freed memory
}

} // namespace
