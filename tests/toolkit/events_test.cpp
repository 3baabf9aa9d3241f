#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A base and a derived window whose tables overlap, recording which handler ran with what.
class TBaseWindow : public TWindow {
  public:
    TBaseWindow() : TWindow(nullptr) {}
    std::vector<std::string> log;

    void CmdShared() { log.push_back("base CmdShared"); }
    void CmdBaseOnly() { log.push_back("base CmdBaseOnly"); }
    void CeShared(TCommandEnabler& ce) { ce.Enable(true); }

    DECLARE_RESPONSE_TABLE(TBaseWindow);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TBaseWindow, TWindow)
    EV_COMMAND(10, CmdShared),
    EV_COMMAND(11, CmdBaseOnly),
    EV_COMMAND_ENABLE(10, CeShared),
END_RESPONSE_TABLE;
// clang-format on

class TDerivedWindow : public TBaseWindow {
  public:
    bool dirty = false;

    void CmdShared() { log.push_back("derived CmdShared"); }
    void CeShared(TCommandEnabler& ce) { ce.Enable(dirty); }

    DECLARE_RESPONSE_TABLE(TDerivedWindow);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TDerivedWindow, TBaseWindow)
    EV_COMMAND(10, CmdShared),
    EV_COMMAND_ENABLE(10, CeShared),
END_RESPONSE_TABLE;
// clang-format on

class EventTable : public ::testing::Test {
  protected:
    void SetUp() override { headless::reset(); }
};

TEST_F(EventTable, DerivedEntriesWinAndBaseEntriesStillAnswer) {
    TDerivedWindow w;
    struct Case {
        int command;
        bool handled;
        std::vector<std::string> log;
    } cases[] = {
        {10, true, {"derived CmdShared"}}, // overridden entry: only the derived handler runs
        {11, true, {"base CmdBaseOnly"}},  // entry only in the base table
        {12, false, {}},                   // nobody answers
    };
    for (const Case& c : cases) {
        w.log.clear();
        EXPECT_EQ(headless::sendCommand(w, c.command), c.handled) << c.command;
        EXPECT_EQ(w.log, c.log) << c.command;
    }
}

TEST_F(EventTable, CommandEnablingAsksTheMostDerivedEnabler) {
    TDerivedWindow w;
    EXPECT_FALSE(headless::isCommandEnabled(w, 10));
    w.dirty = true;
    EXPECT_TRUE(headless::isCommandEnabled(w, 10));
    // A command without an enabler is always enabled.
    EXPECT_TRUE(headless::isCommandEnabled(w, 11));
    EXPECT_TRUE(headless::isCommandEnabled(w, 999));
}

// A frame hands menu commands and enablers to its client first.
class TFrameOwner : public TFrameWindow {
  public:
    TFrameOwner(TWindow* client) : TFrameWindow(nullptr, "F", client) {}
    int exits = 0;
    void CmdExit() { ++exits; }
    DECLARE_RESPONSE_TABLE(TFrameOwner);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TFrameOwner, TFrameWindow)
    EV_COMMAND(10, CmdExit),
    EV_COMMAND(20, CmdExit),
END_RESPONSE_TABLE;
// clang-format on

TEST_F(EventTable, FrameRoutesCommandsToItsClientFirst) {
    auto* client = new TDerivedWindow;
    TFrameOwner frame(client);
    EXPECT_FALSE(headless::chooseMenuItem(frame, 10)); // the client's enabler greys it
    EXPECT_TRUE(client->log.empty());
    client->dirty = true;
    EXPECT_TRUE(headless::chooseMenuItem(frame, 10));
    EXPECT_TRUE(headless::chooseMenuItem(frame, 20)); // only the frame answers 20
    EXPECT_EQ(client->log, std::vector<std::string>{"derived CmdShared"});
    EXPECT_EQ(frame.exits, 1);
}

// A handler that deletes its own window, as the splash's owner does.
class TSelfDeleting : public TWindow {
  public:
    explicit TSelfDeleting(bool* gone) : TWindow(nullptr), gone_(gone) {}
    ~TSelfDeleting() override { *gone_ = true; }
    void EvTimer(uint) { delete this; }
    DECLARE_RESPONSE_TABLE(TSelfDeleting);

  private:
    bool* gone_;
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TSelfDeleting, TWindow)
    EV_WM_TIMER,
END_RESPONSE_TABLE;
// clang-format on

TEST_F(EventTable, AHandlerMayDeleteItsWindow) {
    bool gone = false;
    auto* w = new TSelfDeleting(&gone);
    w->SetTimer(3, 50);
    headless::advanceTime(500); // one tick deletes it, and its timer with it
    EXPECT_TRUE(gone);
}

} // namespace
