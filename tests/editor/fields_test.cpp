// The screen on a player record, and bytes a file carried after a field's text.

#include "editor_fixture.h"

#include "player/player.h"

namespace {

// An edit that shortens a text zeroes what the file carried after it: a deleted selection, and
// the field's own colour code dropped on the next key.
TEST_F(ScreenFixture, ShorteningLeavesNoOldBytes) {
    for (const bool selected : {true, false}) {
        fields.set(kFieldCallsign, std::string(selected ? "ABC\0OLD" : "~5C\0OLD", 7));
        screen->clickField(kFieldCallsign, 0);
        if (selected) {
            screen->dragTo(2);
        }
        screen->endDrag();
        screen->setKeyDown(selected ? kKeyDelete : kKeyEnd, {});
        const std::span<char> buffer = fields.field(kFieldCallsign);
        EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "C" + std::string(21, '\0'));
    }
}

// A colour over a selection puts the colour of the text after it back only when the field
// has room for both codes: otherwise the picked colour runs on to the end. A duplicate colour
// code taken out can bring a tilde and a digit together: that code is looked at again, in the
// state the byte before it left (the callsign's own colour is 5).
TEST_F(ScreenFixture, ColourCodesNearTheirLimits) {
    fields.set(kFieldCallsign, "ABCDEFGHIJKLMNOPQRS");
    screen->clickField(kFieldCallsign, 17);
    screen->dragTo(18);
    screen->endDrag();
    screen->pickColor('3');
    EXPECT_EQ(fields.text(kFieldCallsign), "ABCDEFGHIJKLMNOPQ~3RS");
    fields.set(kFieldCallsign, "X~~55");
    screen->clickField(kFieldCallsign, 20);
    screen->setChar(U'Z', {});
    EXPECT_EQ(fields.text(kFieldCallsign), "XZ");
}

// The screen edits the record's own buffers, each field number reaching its own buffer whole.
TEST_F(ScreenFixture, EditsThePlayerFieldsInPlace) {
    TDrovakSettingsXfer settings;
    TPlayer player(settings, "pilot.sav");
    screen->setPlayer(&player);
    const std::span<char> buffers[] = {player.callsign,         player.squadronName,
                                       player.squadronPassword, player.side,
                                       player.ipAddress,        player.serverName};
    for (int f = 1; f <= kFieldCount; ++f) {
        EXPECT_EQ(screen->fieldText(f).data(), buffers[f - 1].data()) << f;
        EXPECT_EQ(screen->fieldText(f).size(), buffers[f - 1].size()) << f;
    }
}

} // namespace
