// The mouse at pixel points of the main window: clicks into fields and palettes, drags,
// hover frames, the blink timer, and the repaint requests each makes.

#include "editor_fixture.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using Mouse = ScreenFixture;

// What a click at a point does: which rectangle it falls in (left <= x < right, top <= y <
// bottom) and what it adds to the field entered with "AB", the cursor at its end. A palette
// click keeps that field current and never steps the side.
TEST_F(Mouse, Clicks) {
    const TScreenRect call = screen->fieldRect(kFieldCallsign);
    const TScreenRect ext = screen->extendedCharRect();
    const TScreenRect colors = screen->colorRect();
    auto extendedCell = [&](int row, int column) {
        return TPoint(ext.left + 20 * column + 10, ext.top + 32 * row + 16);
    };
    // The field current afterwards, and the callsign's text. What a palette pick does in each
    // field is the model's (editmodel_test).
    // clang-format off
    struct Case { const char* name; TPoint point; int field; bool overField, paletteClick;
                  std::string text; };
    std::vector<Case> cases{
        {"CallsignTopLeft", TPoint(call.left, call.top), kFieldCallsign, true, false, "AB"},
        {"CallsignBottomRight", TPoint(call.right - 1, call.bottom - 1), kFieldCallsign, true, false, "AB"},
        {"PastCallsignRight", TPoint(call.right, call.top), kNoField, false, false, "AB"},
        {"AboveCallsign", TPoint(call.left, call.top - 1), kNoField, false, false, "AB"},
        {"BetweenPasswordAndSide", TPoint(kEditorOrigin.x + 260, kEditorOrigin.y + 320), kNoField, false, false, "AB"},
        {"PastCharacterPalette", TPoint(ext.right, ext.top), kNoField, false, false, "AB"},
        {"ListCorner", TPoint(0, 0), kNoField, false, false, "AB"},
        {"OutsideTheWindow", TPoint(-5, 9000), kNoField, false, false, "AB"},
        {"BlankInRowFour", extendedCell(4, 12), kFieldCallsign, false, true, "AB "},
        {"CharacterPaletteLastCorner", TPoint(ext.right - 1, ext.bottom - 1), kFieldCallsign, false, true, "AB\xBF"},
        {"CharacterInRowThree", extendedCell(3, 1), kFieldCallsign, false, true, "AB\x83"},
        // The colour swatches run 1 to 9, then 0 (each button's middle: the accessibility test).
        {"LastSwatchCorner", TPoint(colors.right - 1, colors.bottom - 1), kFieldCallsign, false, true, "AB~0"},
    };
    // clang-format on
    for (int f = kFieldSquadronName; f <= kFieldServerName; ++f) {
        const TScreenRect r = screen->fieldRect(f);
        cases.push_back({"FieldMiddle", TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), f,
                         true, false, "AB"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        fields.set(kFieldCallsign, "AB");
        // Entered by a click inside its sixth cell.
        screen->editPlayer(TPoint(call.left + 99, call.top + 20));
        screen->endDrag();
        // Braces: the calls run in this order.
        EXPECT_EQ((std::tuple{screen->checkWindows(c.point), screen->editPlayer(c.point),
                              screen->getCurrentField(), screen->isExtChar(),
                              fields.text(kFieldCallsign)}),
                  std::tuple(c.overField, c.field != kNoField, c.field, c.paletteClick, c.text));
    }
}

} // namespace
