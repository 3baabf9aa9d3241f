// Routing of key events between the screen and its owner.

#include "editor_fixture.h"

namespace {

TEST_F(ScreenFixture, ControlZWithoutFieldAsksForUndo) {
    screen->setKeyDown(kKeyControl);
    screen->setKeyDown(kKeyZ);
    EXPECT_EQ(owner.undoCalls, 1);
    screen->setKeyUp(kKeyZ);
    screen->setKeyUp(kKeyControl);
    screen->setKeyDown(kKeyZ);
    EXPECT_EQ(owner.undoCalls, 1) << "Z after Control was released";
    EXPECT_TRUE(owner.repaints.empty()) << "no field, nothing to repaint";
}

TEST_F(ScreenFixture, ControlZInFieldAsksForUndoAndTypesNothing) {
    enter(kFieldCallsign, "AB");
    place(2);
    controlled(kKeyZ);
    EXPECT_EQ(owner.undoCalls, 1);
    EXPECT_EQ(text(), "AB");
    EXPECT_FALSE(screen->isDirty());
}

// The owner's undo may put a shorter text back into the record while the field stays current.
TEST_F(ScreenFixture, UndoThatShortensTheTextKeepsCursorInside) {
    enter(kFieldCallsign, "ABCDEFGH");
    place(8, 2);
    owner.onUndo = [this] { fields.set(kFieldCallsign, "XY"); };
    controlled(kKeyZ);
    expectSound();
    type("z");
    EXPECT_EQ(text(), "XYz");
    expectSound();
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

TEST_F(ScreenFixture, ModifierStatesFollowKeysAndResetOnNewField) {
    enter(kFieldCallsign, "");
    screen->setKeyDown(kKeyShift);
    screen->setKeyDown(kKeyControl);
    press(kKeyCapsLock);
    EXPECT_TRUE(screen->isShiftDown());
    EXPECT_TRUE(screen->isControlDown());
    EXPECT_TRUE(screen->isCapsLock());
    screen->setKeyUp(kKeyControl);
    EXPECT_FALSE(screen->isControlDown());
    screen->clickField(kFieldServerName, 0);
    EXPECT_FALSE(screen->isShiftDown());
    EXPECT_FALSE(screen->isCapsLock());
    // Back in a field entered afresh, Caps Lock is off again.
    type("a");
    EXPECT_EQ(fields.text(kFieldServerName), "a");
}

TEST_F(ScreenFixture, PaletteFlagClearedByKey) {
    enter(kFieldCallsign, "AB");
    screen->pickExtendedChar(static_cast<char>(0xC0));
    EXPECT_TRUE(screen->isExtChar());
    press(kKeyLeft);
    EXPECT_FALSE(screen->isExtChar());
}

} // namespace
