// Routing of key events between the screen and its owner.

#include "editor_fixture.h"

namespace {

// Control+Z asks the owner for Undo, in a field or not, and types nothing; Z alone after
// Control was let go is no chord.
TEST_F(ScreenFixture, ControlZAsksForUndoAndTypesNothing) {
    controlled(kKeyZ);
    EXPECT_EQ(owner.undoCalls, 1);
    EXPECT_TRUE(owner.repaints.empty()) << "no field, nothing to repaint";
    enter(kFieldCallsign, "AB");
    place(2);
    controlled(kKeyZ);
    EXPECT_EQ(text(), "AB");
    EXPECT_FALSE(screen->isDirty());
    press(kKeyZ);
    EXPECT_EQ(owner.undoCalls, 2);
    EXPECT_EQ(text(), "ABz");
}

TEST_F(ScreenFixture, UndoThatEndsTheEditLeavesFieldsAlone) {
    enter(kFieldCallsign, "AB~3");
    place(4);
    owner.onUndo = [this] { screen->endEdit(); };
    controlled(kKeyZ);
    EXPECT_FALSE(screen->isEditing());
    EXPECT_EQ(fields.text(kFieldCallsign), "AB~3");
}

TEST_F(ScreenFixture, SideFieldIgnoresKeys) {
    fields.set(kFieldSide, std::string(1, '\1'));
    screen->clickField(kFieldSide, 0);
    screen->clickField(kFieldSide, 0);
    ASSERT_EQ(fields.field(kFieldSide)[0], 0);
    press(kKeyA);
    press(kKeyBackspace);
    controlled(kKeyV);
    EXPECT_EQ(fields.field(kFieldSide)[0], 0);
    EXPECT_EQ(fields.field(kFieldSide)[1], 0);
}

// A deleted selection clears the field past its text: bytes the file carried after the
// terminator do not go back into it with the edit.
TEST_F(ScreenFixture, DeletedSelectionLeavesNoOldBytes) {
    enter(kFieldCallsign, std::string_view("ABC\0OLD", 7));
    place(3, 1);
    press(kKeyDelete);
    EXPECT_EQ(std::string("A") + std::string(21, '\0'),
              std::string(fields.field(kFieldCallsign).data(), 22));
}

// Shift and Caps Lock held or switched in one field do not carry into the next.
TEST_F(ScreenFixture, ModifiersResetOnANewField) {
    enter(kFieldCallsign, "");
    screen->setKeyDown(kKeyShift);
    press(kKeyCapsLock);
    screen->clickField(kFieldServerName, 0);
    type("a");
    EXPECT_EQ(fields.text(kFieldServerName), "a");
}

} // namespace
