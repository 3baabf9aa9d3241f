// The side field, leaving a field, Undo routed to the owner, and the screen on a record.

#include "editor_fixture.h"

#include "player/player.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST_F(ScreenFixture, SideCyclesMarksDirtyOnceAndIgnoresKeys) {
    const std::vector<int> expected{1, 2, 0, 1};
    for (int code : expected) {
        EXPECT_TRUE(screen->clickField(kFieldSide, 0));
        EXPECT_EQ(fields.field(kFieldSide)[0], code);
    }
    EXPECT_TRUE(screen->isDirty());
    EXPECT_EQ(owner.dirtyFileCalls, 1);
    fields.field(kFieldSide)[0] = 7; // only a file can hold this
    screen->clickField(kFieldSide, 0);
    EXPECT_EQ(fields.field(kFieldSide)[0], 0);
    expectSound();
    // Keys and pastes leave the side alone.
    press(kKeyA);
    press(kKeyBackspace);
    controlled(kKeyV);
    EXPECT_EQ(fields.field(kFieldSide)[0], 0);
    EXPECT_EQ(fields.field(kFieldSide)[1], 0);
}

// Leaving a field by ending the edit, by Tab or by a click elsewhere repaints it: its cursor
// and selection go. A field entered whose text from the file fills its buffer gives its last
// byte to the terminator.
TEST_F(ScreenFixture, LeavingAFieldRepaintsIt) {
    const std::vector<std::pair<int, std::function<void()>>> ways{
        {kNoField, [this] { screen->endEdit(); }},
        {kFieldServerName, [this] { screen->enterField(kFieldServerName); }},
        {kFieldCallsign, [this] { screen->clickField(kFieldCallsign, 0); }},
    };
    for (const auto& [current, leave] : ways) {
        enter(kFieldIpAddress, "AB");
        place(2, 0);
        fields.set(current, "ABCDEFGHIJKLMNOPQRSTUV");
        owner.repaints.clear();
        leave();
        expectSound();
        EXPECT_EQ(screen->getCurrentField(), current);
        EXPECT_FALSE(screen->isHilight());
        EXPECT_NE(std::find(owner.repaints.begin(), owner.repaints.end(),
                            screen->fieldRect(kFieldIpAddress)),
                  owner.repaints.end())
            << "to field " << current;
    }
}

// Control+Z asks the owner for Undo, in a field or not, and types nothing; Z alone after
// Control was let go is no chord. An Undo that ends the edit leaves the fields alone, a
// colour code at the cursor too.
TEST_F(ScreenFixture, ControlZAsksForUndoAndTypesNothing) {
    controlled(kKeyZ, kKeyZ); // Control held over both
    EXPECT_EQ(owner.undoCalls, 2);
    EXPECT_TRUE(owner.repaints.empty()) << "no field, nothing to repaint";
    enter(kFieldCallsign, "AB~3");
    place(4);
    controlled(kKeyZ);
    EXPECT_EQ(text(), "AB~3");
    EXPECT_FALSE(screen->isDirty());
    press(kKeyZ);
    EXPECT_EQ(owner.undoCalls, 3);
    EXPECT_EQ(text(), "AB~3z");
    type("~4");
    owner.onUndo = [this] { screen->endEdit(); };
    controlled(kKeyZ);
    EXPECT_FALSE(screen->isEditing());
    EXPECT_EQ(fields.text(kFieldCallsign), "AB~3z~4");
}

} // namespace

// The screen edits the record's own buffers, each field number reaching its own buffer.
TEST(ScreenOnRecord, EditsThePlayerFieldsInPlace) {
    TRecordingOwner owner;
    TDrovakScreen screen(owner, blankArt());
    TDrovakSettingsXfer settings;
    TPlayer player(settings, "pilot.sav");
    screen.setPlayer(&player);
    const std::array<std::pair<int, const char*>, 5> typed{{{kFieldCallsign, "a"},
                                                            {kFieldSquadronName, "bb"},
                                                            {kFieldSquadronPassword, "ccc"},
                                                            {kFieldIpAddress, "dddd"},
                                                            {kFieldServerName, "eeeee"}}};
    for (const auto& [field, letters] : typed) {
        screen.clickField(field, 0);
        for (const char* c = letters; *c != '\0'; ++c) {
            screen.setKeyDown(*c - 'a' + kKeyA, {});
            screen.setChar(static_cast<char32_t>(*c), {});
        }
    }
    screen.clickField(kFieldSide, 0);
    EXPECT_STREQ(player.callsign.data(), "a");
    EXPECT_STREQ(player.squadronName.data(), "bb");
    EXPECT_STREQ(player.squadronPassword.data(), "CCC");
    EXPECT_STREQ(player.ipAddress.data(), "dddd");
    EXPECT_STREQ(player.serverName.data(), "eeeee");
    EXPECT_EQ(player.side[0], 1);
}
