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
};

// What a click at a point does: which rectangle it falls in (edges follow left <= x < right,
// top <= y < bottom) and what it adds to the field being edited, entered with "AB" and the
// cursor at its end. A palette click keeps that field current and never steps the side.
TEST_F(Mouse, Clicks) {
    const TScreenRect call = screen->fieldRect(kFieldCallsign);
    const TScreenRect ext = screen->extendedCharRect();
    const TScreenRect colors = screen->colorRect();
    struct Case {
        const char* name;
        TPoint point;
        int field; // current afterwards
        bool overField;
        bool paletteClick;
        std::string text; // of the field entered first, afterwards
        int entered = kFieldCallsign;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"CallsignTopLeft", TPoint(call.left, call.top), kFieldCallsign, true, false, "AB"},
        {"CallsignBottomRight", TPoint(call.right - 1, call.bottom - 1), kFieldCallsign, true, false, "AB"},
        {"PastCallsignRight", TPoint(call.right, call.top), kNoField, false, false, "AB"},
        {"AboveCallsign", TPoint(call.left, call.top - 1), kNoField, false, false, "AB"},
        {"SquadronName", middle(screen->fieldRect(kFieldSquadronName)), kFieldSquadronName, true, false, "AB"},
        {"Password", middle(screen->fieldRect(kFieldSquadronPassword)), kFieldSquadronPassword, true, false, "AB"},
        {"Side", middle(screen->fieldRect(kFieldSide)), kFieldSide, true, false, "AB"},
        {"IpAddress", middle(screen->fieldRect(kFieldIpAddress)), kFieldIpAddress, true, false, "AB"},
        {"ServerName", middle(screen->fieldRect(kFieldServerName)), kFieldServerName, true, false, "AB"},
        {"BetweenPasswordAndSide", TPoint(kEditorOrigin.x + 260, kEditorOrigin.y + 320), kNoField, false, false, "AB"},
        {"PastCharacterPalette", TPoint(ext.right, ext.top), kNoField, false, false, "AB"},
        {"ListCorner", TPoint(0, 0), kNoField, false, false, "AB"},
        {"OutsideTheWindow", TPoint(-5, 9000), kNoField, false, false, "AB"},
        // The character palette, row by row.
        {"FirstCharacter", extendedCell(0, 0), kFieldCallsign, false, true, "AB\xC0"},
        {"BlankInRowFour", extendedCell(4, 12), kFieldCallsign, false, true, "AB "},
        {"CharacterPaletteMiddle", middle(ext), kFieldCallsign, false, true, std::string("AB") + TDrovakScreen::extendedChar(3, 8)},
        {"CharacterPaletteLastCorner", TPoint(ext.right - 1, ext.bottom - 1), kFieldCallsign, false, true, "AB\xBF"},
        {"LastCharacterInServerName", extendedCell(6, 16), kFieldServerName, false, true, "AB\xBF", kFieldServerName},
        {"CharacterInPassword", extendedCell(3, 1), kFieldSquadronPassword, false, true, "AB\x83", kFieldSquadronPassword},
        {"IpTakesNoCharacter", extendedCell(0, 0), kFieldIpAddress, false, true, "AB", kFieldIpAddress},
        {"SideTakesNoCharacter", extendedCell(0, 0), kFieldSide, false, true, "\1", kFieldSide},
        // The colour swatches run 1 to 9, then 0; the callsign's own colour 5 adds no code.
        {"FirstSwatch", colorCell(0), kFieldCallsign, false, true, "AB~1"},
        {"FourthSwatch", colorCell(3), kFieldCallsign, false, true, "AB~4"},
        {"OwnColourSwatch", colorCell(4), kFieldCallsign, false, true, "AB"},
        {"NinthSwatch", colorCell(8), kFieldCallsign, false, true, "AB~9"},
        {"LastSwatch", colorCell(9), kFieldCallsign, false, true, "AB~0"},
        {"LastSwatchCorner", TPoint(colors.right - 1, colors.bottom - 1), kFieldCallsign, false, true, "AB~0"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        fields.set(c.entered, c.entered == kFieldSide ? "" : "AB");
        screen->editPlayer(cell(c.entered, 5));
        screen->endDrag();
        EXPECT_EQ(screen->checkWindows(c.point), c.overField);
        EXPECT_EQ(screen->editPlayer(c.point), c.field != kNoField);
        EXPECT_EQ(screen->getCurrentField(), c.field);
        EXPECT_EQ(screen->isExtChar(), c.paletteClick);
        EXPECT_EQ(fields.text(c.entered), c.text);
        expectSound();
    }
}

// A press places the cursor; a drag on from it in the current field selects the cells the
// pointer passed over, as the field is drawn: with its codes hidden, a cell is a visible
// character.
TEST_F(Mouse, ClickPlacesTheCursorAndDragSelects) {
    struct Case {
        const char* name;
        int field;
        bool showCodes;
        std::string text;
        bool alreadyCurrent;
        int x;     // pixels from the field's left
        int dragX; // where a drag ends, or -1 for none
        int anchor;
        int cursor;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"EnterAtCodeStart", kFieldCallsign, true, "~3ACE", false, 3, -1, 2, 2},
        {"EnterPastText", kFieldCallsign, false, "ABC", false, 300, -1, 3, 3},
        {"CurrentPastText", kFieldCallsign, true, "A~3BC", true, 400, -1, 5, 5},
        {"CurrentShownCodes", kFieldCallsign, true, "A~3BC", true, 2 * 18 + 17, -1, 2, 2},
        {"CurrentHiddenCodes", kFieldCallsign, false, "A~3BC", true, 2 * 18, -1, 4, 4},
        {"CellEdgeRoundsDown", kFieldCallsign, true, "ABCDEF", true, 3 * 18 - 1, -1, 2, 2},
        {"IpKeepsItsTildes", kFieldIpAddress, false, "1~2.3", false, 3 * 18, -1, 3, 3},
        {"EnterHiddenMiddle", kFieldSquadronPassword, false, "A~3BC", false, 2 * 18, -1, 4, 4},
        {"EnterEmpty", kFieldSquadronPassword, false, "", false, 4 * 18, -1, 0, 0},
        {"DragHiddenCodes", kFieldCallsign, false, "A~3BC~4D", true, 18 + 9, 3 * 18 + 9, 3, 7}, // B and C, and the code before D
        {"DragHiddenLeftwards", kFieldCallsign, false, "A~3BC~4D", true, 3 * 18 + 9, 9, 7, 0},
        {"DragShownCodes", kFieldCallsign, true, "A~3BC~4D", true, 18 + 9, 3 * 18 + 9, 1, 3}, // the code ~3
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The field left holds a long text with a selection at its end, which must not leak
        // into the field entered.
        screen->endEdit();
        enter(kFieldServerName, "ABCDEFGHIJKLMNOPQRST");
        place(20, 15);
        fields.set(c.field, c.text);
        screen->setShowColorChars(c.showCodes);
        if (c.alreadyCurrent) {
            screen->editPlayer(cell(c.field, 0));
            screen->endDrag();
        }
        const TScreenRect r = screen->fieldRect(c.field);
        EXPECT_TRUE(screen->editPlayer(TPoint(r.left + c.x, r.top + 5)));
        if (c.dragX >= 0) {
            screen->checkDrag(TPoint(r.left + c.dragX, r.top + 5));
            screen->endDrag();
        }
        EXPECT_EQ(screen->getCursor(), c.cursor);
        EXPECT_EQ(screen->getAnchor(), c.anchor);
        EXPECT_EQ(screen->isHilight(), c.dragX >= 0);
        EXPECT_EQ(screen->isDragging(), c.dragX < 0);
        expectSound();
        // Editing right away stays inside the new text.
        press(kKeyDelete);
        type("x");
        expectSound();
    }
}

} // namespace
