// The mouse at pixel points of the main window: clicks into fields and palettes, drags,
// hover frames, the blink timer, and the repaint requests each makes.

#include "editor_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

TPoint middle(const TScreenRect& r) {
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class Mouse : public ScreenFixture {
  protected:
    // A point inside a field's cell at a display position.
    TPoint cell(int field, int position) const {
        const TScreenRect r = screen->fieldRect(field);
        return TPoint(r.left + 18 * position + 9, r.top + 20);
    }
    TPoint extendedCell(int row, int column) const {
        const TScreenRect& r = screen->extendedCharRect();
        return TPoint(r.left + 20 * column + 10, r.top + 32 * row + 16);
    }
    TPoint colorCell(int k) const {
        const TScreenRect& r = screen->colorRect();
        return TPoint(r.left + 33 * k + 16, r.top + 16);
    }
    // Enters a field by a click at its first cell, button released.
    void clickIn(int field, std::string_view text) {
        fields.set(field, text);
        screen->editPlayer(cell(field, 0));
        screen->endDrag();
    }
};

// Which rectangle a point falls in; edges follow left <= x < right, top <= y < bottom. Each
// click starts with the callsign being edited.
TEST_F(Mouse, ClickTargets) {
    const TScreenRect call = screen->fieldRect(kFieldCallsign);
    const TScreenRect ext = screen->extendedCharRect();
    const TScreenRect colors = screen->colorRect();
    struct Case {
        const char* name;
        TPoint point;
        int field; // current afterwards
        bool overField;
        bool paletteClick;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"CallsignTopLeft", TPoint(call.left, call.top), kFieldCallsign, true, false},
        {"CallsignBottomRight", TPoint(call.right - 1, call.bottom - 1), kFieldCallsign, true, false},
        {"PastCallsignRight", TPoint(call.right, call.top), kNoField, false, false},
        {"AboveCallsign", TPoint(call.left, call.top - 1), kNoField, false, false},
        {"SquadronName", middle(screen->fieldRect(kFieldSquadronName)), kFieldSquadronName, true, false},
        {"Password", middle(screen->fieldRect(kFieldSquadronPassword)), kFieldSquadronPassword, true, false},
        {"Side", middle(screen->fieldRect(kFieldSide)), kFieldSide, true, false},
        {"IpAddress", middle(screen->fieldRect(kFieldIpAddress)), kFieldIpAddress, true, false},
        {"ServerName", middle(screen->fieldRect(kFieldServerName)), kFieldServerName, true, false},
        {"BetweenPasswordAndSide", TPoint(kEditorOrigin.x + 260, kEditorOrigin.y + 320), kNoField, false, false},
        {"CharacterPalette", middle(ext), kFieldCallsign, false, true},
        {"CharacterPaletteLastCorner", TPoint(ext.right - 1, ext.bottom - 1), kFieldCallsign, false, true},
        {"PastCharacterPalette", TPoint(ext.right, ext.top), kNoField, false, false},
        {"ColourPalette", middle(colors), kFieldCallsign, false, true},
        {"ListCorner", TPoint(0, 0), kNoField, false, false},
        {"OutsideTheWindow", TPoint(-5, 9000), kNoField, false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        clickIn(kFieldCallsign, "AB");
        EXPECT_EQ(screen->checkWindows(c.point), c.overField);
        EXPECT_EQ(screen->editPlayer(c.point), c.field != kNoField);
        EXPECT_EQ(screen->getCurrentField(), c.field);
        EXPECT_EQ(screen->isExtChar(), c.paletteClick);
        expectSound();
    }
}

TEST_F(Mouse, ClickPlacesTheCursor) {
    struct Case {
        const char* name;
        int field;
        bool showCodes;
        std::string text;
        bool alreadyCurrent;
        int x; // pixels from the field's left
        int cursor;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"EnterAtCodeStart", kFieldCallsign, true, "~3ACE", false, 3, 2},
        {"EnterPastText", kFieldCallsign, false, "ABC", false, 300, 3},
        {"CurrentPastText", kFieldCallsign, true, "A~3BC", true, 400, 5},
        {"CurrentShownCodes", kFieldCallsign, true, "A~3BC", true, 2 * 18 + 17, 2},
        {"CurrentHiddenCodes", kFieldCallsign, false, "A~3BC", true, 2 * 18, 4},
        {"CellEdgeRoundsDown", kFieldCallsign, true, "ABCDEF", true, 3 * 18 - 1, 2},
        {"IpKeepsItsTildes", kFieldIpAddress, false, "1~2.3", false, 3 * 18, 3},
        {"EnterHiddenMiddle", kFieldSquadronPassword, false, "A~3BC", false, 2 * 18, 4},
        {"EnterEmpty", kFieldSquadronPassword, false, "", false, 4 * 18, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The field left holds a long text with a selection at its end, which must not leak
        // into the field entered.
        screen->endEdit();
        clickIn(kFieldServerName, "ABCDEFGHIJKLMNOPQRST");
        place(20, 15);
        const int field = c.field;
        fields.set(field, c.text);
        screen->setShowColorChars(c.showCodes);
        if (c.alreadyCurrent) {
            screen->editPlayer(cell(field, 0));
            screen->endDrag();
        }
        const TScreenRect r = screen->fieldRect(field);
        EXPECT_TRUE(screen->editPlayer(TPoint(r.left + c.x, r.top + 5)));
        EXPECT_EQ(screen->getCursor(), c.cursor);
        EXPECT_EQ(screen->getAnchor(), c.cursor);
        EXPECT_FALSE(screen->isHilight());
        EXPECT_TRUE(screen->isDragging());
        expectSound();
        // Editing right away stays inside the new text.
        press(kKeyDelete);
        type("x");
        expectSound();
    }
}

// A press and a drag in the current field select the cells the pointer passed over, as the
// field is drawn: with its codes hidden, a cell is a visible character.
TEST_F(Mouse, DragSelectsTheCellsShown) {
    struct Case {
        const char* name;
        bool showCodes;
        int from; // display positions of the press and of the drag's end
        int to;
        int anchor;
        int cursor;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"HiddenCodes", false, 1, 3, 3, 7},   // B and C, and the code before D
        {"HiddenLeftwards", false, 3, 0, 7, 0},
        {"ShownCodes", true, 1, 3, 1, 3},     // the code ~3
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        clickIn(kFieldCallsign, "A~3BC~4D");
        screen->setShowColorChars(c.showCodes);
        screen->editPlayer(cell(kFieldCallsign, c.from));
        screen->checkDrag(cell(kFieldCallsign, c.to));
        screen->endDrag();
        EXPECT_EQ(screen->getAnchor(), c.anchor);
        EXPECT_EQ(screen->getCursor(), c.cursor);
        EXPECT_TRUE(screen->isHilight());
    }
}

TEST_F(Mouse, PalettePicks) {
    struct Case {
        const char* name;
        int field;
        int row;
        int column;
        std::string expected; // the field's text after the click on "AB"
    };
    // clang-format off
    const std::vector<Case> cases{
        {"FirstCharacter", kFieldCallsign, 0, 0, "AB\xC0"},
        {"BlankInRowFour", kFieldCallsign, 4, 12, "AB "},
        {"LastCharacter", kFieldServerName, 6, 16, "AB\xBF"},
        {"Password", kFieldSquadronPassword, 3, 1, "AB\x83"},
        {"IpTakesNothing", kFieldIpAddress, 0, 0, "AB"},
        {"SideTakesNothing", kFieldSide, 0, 0, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        fields.field(kFieldSide)[0] = 0;
        if (c.field != kFieldSide) {
            fields.set(c.field, "AB");
        }
        screen->editPlayer(c.field == kFieldSide ? middle(screen->fieldRect(kFieldSide))
                                                 : cell(c.field, 5));
        screen->endDrag();
        const int side = fields.field(kFieldSide)[0];
        EXPECT_TRUE(screen->editPlayer(extendedCell(c.row, c.column)));
        EXPECT_TRUE(screen->isExtChar());
        EXPECT_EQ(screen->getCurrentField(), c.field);
        // A palette click never steps the side.
        EXPECT_EQ(fields.field(kFieldSide)[0], side);
        if (c.field != kFieldSide) {
            EXPECT_EQ(fields.text(c.field), c.expected);
        }
        expectSound();
    }
}

TEST_F(Mouse, ColourSwatchesRunOneToNineThenZero) {
    struct Case {
        int cell;
        std::string expected; // in an empty callsign, whose own colour is 5
    };
    for (const Case& c :
         {Case{0, "~1"}, Case{3, "~4"}, Case{4, ""}, Case{8, "~9"}, Case{9, "~0"}}) {
        screen->endEdit();
        clickIn(kFieldCallsign, "");
        screen->editPlayer(colorCell(c.cell));
        EXPECT_EQ(fields.text(kFieldCallsign), c.expected) << "cell " << c.cell;
    }
    // The right edge of the last swatch is still colour 0.
    screen->endEdit();
    clickIn(kFieldCallsign, "");
    const TScreenRect& r = screen->colorRect();
    screen->editPlayer(TPoint(r.right - 1, r.bottom - 1));
    EXPECT_EQ(fields.text(kFieldCallsign), "~0");
}

} // namespace
