// What the editor paints, read back from the headless toolkit's pixel buffer and compared with
// the program's pictures; and repaints that cover everything a change alters on screen.

#include "editor_fixture.h"

#include "toolkit/headless/headless.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr TColor kBackground{34, 34, 34};
constexpr int kClientWidth = 780;
constexpr int kClientHeight = 520;

// The glyph cel of a character code: codes 128 to 255 come first in a strip, code 0 is 128.
constexpr auto celOfCode = [](unsigned char code) { return code >= 128 ? code - 128 : code + 128; };

// The canvas from (x, y) on shows the part of the picture, pixel for pixel, except inside skip.
::testing::AssertionResult shows(const TRgbImage& canvas, int x, int y, const TRgbImage& picture,
                                 const TRect& part, const std::vector<TRect>& skip = {}) {
    for (int dy = 0; dy < part.Height(); ++dy) {
        for (int dx = 0; dx < part.Width(); ++dx) {
            const TPoint p(x + dx, y + dy);
            if (std::none_of(skip.begin(), skip.end(),
                             [&](const TRect& s) { return s.Contains(p); }) &&
                canvas.GetPixel(p.x, p.y) != picture.GetPixel(part.left + dx, part.top + dy)) {
                return ::testing::AssertionFailure()
                       << "(" << x << ", " << y << ") differs at (" << p.x << ", " << p.y << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The cel at (x, y) of the canvas, except inside skip.
::testing::AssertionResult celAt(const TRgbImage& canvas, const TCelArray& cels, int index, int x,
                                 int y, const std::vector<TRect>& skip = {}) {
    return shows(canvas, x, y, cels.GetDib().GetPixels(), cels.CelRect(index), skip)
           << " (cel " << index << ")";
}

class Painting : public ScreenFixture {
  protected:
    Painting() { makeScreen(sharedArt()); }

    // The record of the tests: shown codes, hidden codes, extended characters, an IP address
    // with a tilde in it, and side 1.
    void loadRecord() {
        fields.set(kFieldCallsign, "~1RED~3LEADER");
        fields.set(kFieldSquadronName, "DROVAK ~7WING");
        fields.set(kFieldSquadronPassword, "SECRET");
        fields.set(kFieldIpAddress, "10.0.~1.2");
        fields.set(kFieldServerName, "~4\xC5RHUS ~0\xA7 ~6"
                                     "ARENA");
        fields.field(kFieldSide)[0] = 1;
    }

    // The main window's paint: erase where asked, then everything in order, clipped.
    void paint(TRgbImage& target, const TRect& clip = TRect()) {
        std::unique_ptr<TDC> dc = headless::makeDC(target, clip);
        screen->showEditor(*dc, kEditorOrigin.x, kEditorOrigin.y);
        screen->showExtendedChars(*dc, kPaletteOrigin.x, kPaletteOrigin.y);
        screen->showCursor(*dc);
        screen->hilightExtendedChars(*dc);
        screen->hilightColors(*dc);
    }

    void paintAll() { paint(canvas = TRgbImage(kClientWidth, kClientHeight, kBackground)); }

    TPoint cellPlace(int field, int position) const {
        const TScreenRect r = screen->fieldRect(field);
        return TPoint(r.left + 5 + 18 * position, r.top);
    }

    ::testing::AssertionResult cursorAt(int field, int position, int phase) {
        const TPoint at = cellPlace(field, position);
        return celAt(canvas, sharedArt().cursor, phase, at.x, at.y + 31);
    }

    // A hover frame: top and foot cels, then the sides drawn over them at `at` and `right`.
    void expectFrame(const TCelArray& top, const TCelArray& side, TPoint at, TPoint topAt,
                     TPoint footAt, TPoint right) {
        const TSize s = side.CelSize();
        const std::vector<TRect> sides{TRect(at.x, at.y, at.x + s.cx, at.y + s.cy),
                                       TRect(right.x, right.y, right.x + s.cx, right.y + s.cy)};
        EXPECT_TRUE(celAt(canvas, top, 0, topAt.x, topAt.y, sides));
        EXPECT_TRUE(celAt(canvas, top, 1, footAt.x, footAt.y, sides));
        EXPECT_TRUE(celAt(canvas, side, 0, at.x, at.y));
        EXPECT_TRUE(celAt(canvas, side, 1, right.x, right.y));
    }

    TRgbImage canvas{kClientWidth, kClientHeight, kBackground};
};

TEST_F(Painting, KnownRecordShowsEveryCelInItsPlace) {
    loadRecord();
    // The callsign is being edited with its codes shown; "RED" (indexes 2 to 4) selected.
    screen->setShowColorChars(true);
    screen->clickField(kFieldCallsign, 0);
    screen->endDrag();
    screen->clickField(kFieldCallsign, 2);
    screen->dragTo(5);
    screen->endDrag();
    // The pointer rests on the eighth swatch.
    const TPoint overSwatch(screen->colorRect().left + 7 * 33 + 5, screen->colorRect().top + 5);
    screen->checkButtons(overSwatch);
    screen->checkColors(overSwatch);
    paintAll();

    // The cursor cel covers rows 31 to 33 of the glyph at its position.
    const TPoint cursor = cellPlace(kFieldCallsign, 5);
    const std::vector<TRect> underCursor{
        TRect(cursor.x, cursor.y + 31, cursor.x + 18, cursor.y + 34)};

    // Runs of glyphs from one strip, field by field; after a field's last run its rectangle
    // shows the background to its right end.
    // clang-format off
    struct Run { int field, position, strip; std::string text; };
    const Run runs[] = {
        // Shown codes in the palette colour, the selection inverted.
        {kFieldCallsign, 0, 10, "~1"}, {kFieldCallsign, 2, 11, "RED"}, {kFieldCallsign, 5, 10, "~3"},
        {kFieldCallsign, 7, 3, std::string("LEADER\0\0\0\0\0\0\0\0\0", 15)},
        // Codes hidden: they take no room.
        {kFieldSquadronName, 0, 4, "DROVAK "}, {kFieldSquadronName, 7, 7, std::string("WING\0\0\0\0\0\0\0\0\0", 13)},
        {kFieldSquadronPassword, 0, 2, std::string("SECRET\0\0\0\0\0\0", 12)}, {kFieldSide, 0, 10, std::string("SIDE 1\0", 7)},
        // Every byte shown, the tilde too.
        {kFieldIpAddress, 0, 10, std::string("10.0.~1.2") + std::string(13, '\0')},
        {kFieldServerName, 0, 4, "\xC5RHUS "}, {kFieldServerName, 6, 0, "\xA7 "},
        {kFieldServerName, 8, 6, std::string("ARENA\0\0\0", 8)},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(runs); ++i) {
        const Run& run = runs[i];
        for (std::size_t k = 0; k < run.text.size(); ++k) {
            const int p = run.position + static_cast<int>(k);
            const TPoint at = cellPlace(run.field, p);
            const TCelArray& strip = sharedArt().strips[static_cast<std::size_t>(run.strip)];
            EXPECT_TRUE(celAt(canvas, strip, celOfCode(static_cast<unsigned char>(run.text[k])),
                              at.x, at.y, underCursor))
                << "field " << run.field << " position " << p;
        }
        if (i + 1 == std::size(runs) || runs[i + 1].field != run.field) {
            const int end = run.position + static_cast<int>(run.text.size());
            const int right = screen->fieldRect(run.field).right;
            for (TPoint at = cellPlace(run.field, end); at.x < right; at.x += 18) {
                const TPoint d(at.x - kEditorOrigin.x, at.y - kEditorOrigin.y); // in the picture
                EXPECT_TRUE(shows(canvas, at.x, at.y, sharedArt().details.GetPixels(),
                                  TRect(d.x, d.y, d.x + std::min(18, right - at.x), d.y + 40)))
                    << "field " << run.field;
            }
        }
    }
    // The swatch under the pointer is framed.
    const TPoint sw(overSwatch.x - 5, overSwatch.y - 5);
    expectFrame(sharedArt().colorHiTop, sharedArt().colorHiSide, sw, TPoint(sw.x + 1, sw.y),
                TPoint(sw.x, sw.y + 28), TPoint(sw.x + 30, sw.y));
    // The extended characters, each in its palette cell in the palette colour; a glyph is
    // taller than its cell, and the next row's glyph covers its foot. Between and below the
    // glyphs the palette's own picture shows.
    std::vector<TRect> glyphs;
    for (int n = 0; n < kPaletteRows * kPaletteColumns; ++n) {
        const int r = n / kPaletteColumns, j = n % kPaletteColumns;
        const TPoint at(kPaletteOrigin.x + 5 + kPaletteCellWidth * j,
                        kPaletteOrigin.y + 73 + kPaletteCellHeight * r);
        const std::vector<TRect> nextRow{TRect(at.x, at.y + kPaletteCellHeight, at.x + 18,
                                               r + 1 < kPaletteRows ? at.y + 40 : at.y)};
        const auto code = static_cast<unsigned char>(TDrovakScreen::extendedChar(r, j));
        EXPECT_TRUE(
            celAt(canvas, sharedArt().strips[kPaletteStrip], celOfCode(code), at.x, at.y, nextRow))
            << "palette row " << r << " column " << j;
        glyphs.emplace_back(at.x, at.y, at.x + 18, at.y + 40);
    }
    const TRgbImage& palette = sharedArt().extChar.GetPixels();
    EXPECT_TRUE(shows(canvas, kPaletteOrigin.x, kPaletteOrigin.y + 73, palette,
                      TRect(0, 73, palette.Width(), palette.Height()), glyphs));
    // The pointer on a character cell: its frame, the sides drawn over the top and the foot.
    const TScreenRect& ext = screen->extendedCharRect();
    screen->checkButtons(TPoint(ext.left + 45, ext.top + 40));
    paintAll();
    const TPoint cell(ext.left + 2 * kPaletteCellWidth, ext.top + kPaletteCellHeight);
    expectFrame(sharedArt().hiTop, sharedArt().hiSide, cell, cell,
                TPoint(cell.x, cell.y + kPaletteCellHeight),
                TPoint(cell.x + kPaletteCellWidth, cell.y + 2));
}

TEST_F(Painting, CursorSitsAtItsDisplayPosition) {
    // The cursor index (placed with codes shown), blink ticks, and the owner's new text.
    struct Case {
        const char *name, *text;
        int field, index, ticks, position;
        bool showCodes;
        const char* replaced = nullptr;
    };
    // clang-format off
    const Case cases[] = {
        {"ShownCodes", "~1RED~3LEADER", kFieldCallsign, 7, 0, 7, true},
        {"HiddenCodes", "~1RED~3LEADER", kFieldCallsign, 7, 0, 3, false},
        {"HiddenAtEnd", "~4AB~6CD", kFieldServerName, 8, 1, 4, false},
        {"IpShowsTilde", "1~2.3", kFieldIpAddress, 3, 2, 3, false},
        {"BlinkWraps", "AB", kFieldSquadronPassword, 1, 5, 1, true},
        // Undo reopens the file: the cursor is drawn at the end of the shorter text.
        {"InsideAReplacedText", "ABCDEFGHIJK", kFieldSquadronPassword, 11, 0, 2, true, "AB"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->endEdit();
        fields.set(c.field, c.text);
        screen->setShowColorChars(true);
        screen->clickField(c.field, 0);
        screen->clickField(c.field, c.index);
        screen->endDrag();
        if (c.replaced != nullptr) {
            fields.set(c.field, c.replaced);
        }
        screen->setShowColorChars(c.showCodes);
        const int phase = (screen->getBlinkPhase() + c.ticks) % 4;
        for (int t = 0; t < c.ticks; ++t) {
            screen->changeCursor();
        }
        paintAll();
        EXPECT_TRUE(cursorAt(c.field, c.position, phase));
    }
}

// A list row's callsign: the glyphs its field shows unedited, colours applied and codes hidden,
// each pixel the mean of four; an empty callsign is one blank cell.
TEST_F(Painting, CallsignPictureIsTheFieldAtHalfSize) {
    const TSize cel = sharedArt().strips[0].CelSize();
    for (const auto& [callsign, glyphs] :
         {std::pair<std::string, std::vector<std::pair<int, char>>>{"", {{5, '\0'}}},
          {"A~3B~~4C", {{5, 'A'}, {3, 'B'}, {4, 'C'}}}}) {
        const TRgbImage half = screen->callsignPicture(callsign).GetPixels();
        ASSERT_EQ(half.Width(), cel.cx * static_cast<int>(glyphs.size()) / 2) << callsign;
        ASSERT_EQ(half.Height(), cel.cy / 2);
        for (int x = 0; x < half.Width(); ++x) {
            const auto [strip, c] = glyphs[static_cast<std::size_t>(2 * x / cel.cx)];
            const TCelArray& cels = sharedArt().strips[static_cast<std::size_t>(strip)];
            const TPoint at = cels.CelRect(celOfCode(static_cast<unsigned char>(c))).TopLeft();
            const TRgbImage& full = cels.GetDib().GetPixels();
            for (int y = 0; y < half.Height(); ++y) {
                int r = 0;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
                    r += full.GetPixel(at.x + (2 * x) % cel.cx + dx, at.y + 2 * y + dy).r;
                }
                ASSERT_EQ(half.GetPixel(x, y).r, r / 4) << callsign << " at " << x << ", " << y;
            }
        }
    }
}

// A change asks for repaints of the rectangles it alters; repainting just those (erased
// first, as the main window does) must give the picture a full paint gives. Random clicks,
// moves, drags, fields entered and blink ticks (keys repaint their field: the model's check).
class RepaintCovers : public Painting, public ::testing::WithParamInterface<unsigned> {
  protected:
    std::mt19937 random{GetParam()};
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

    // Mostly points in or near the fields and palettes.
    TPoint randomPoint() {
        const int target = std::min(pick(0, 9), 8); // 8: anywhere in the window
        const TScreenRect others[] = {screen->extendedCharRect(), screen->colorRect(),
                                      TScreenRect{20, 4, kClientWidth - 21, kClientHeight - 5}};
        const TScreenRect r = target < 6 ? screen->fieldRect(target + 1) : others[target - 6];
        return TPoint(pick(r.left - 20, r.right + 20), pick(r.top - 4, r.bottom + 4));
    }
};

TEST_P(RepaintCovers, RepaintedRectanglesMatchAFullPaint) {
    loadRecord();
    paintAll();
    TRgbImage shown = canvas;
    // First the pointer leaves a palette cell and comes back to it: its frame is drawn again.
    const TScreenRect& ext = screen->extendedCharRect();
    const TPoint cell(ext.left + 30, ext.top + 40);
    const std::vector<TPoint> moves{cell, TPoint(0, 0), cell};
    static const char* const kWhat[] = {"click", "move", "release", "tab", "tick"};
    for (int event = 0; event < 80 + static_cast<int>(moves.size()); ++event) {
        owner.repaints.clear();
        const bool scripted = event < static_cast<int>(moves.size());
        const int kind = scripted ? 3 : pick(0, 8); // clicks and moves three times as often
        const int what = kind < 6 ? kind / 3 : kind - 4;
        const TPoint p = scripted   ? moves[static_cast<std::size_t>(event)]
                         : what < 2 ? randomPoint()
                                    : TPoint();
        if (what == 0) {
            screen->editPlayer(p);
        } else if (what == 1) {
            screen->checkButtons(p);
            screen->checkColors(p);
            screen->checkDrag(p);
        } else if (what == 2) {
            screen->endDrag();
        } else {
            what == 3 ? screen->enterField(pick(0, kFieldCount + 1)) : screen->changeCursor();
        }
        for (const TScreenRect& r : owner.repaints) {
            const TRect rect(r.left, r.top, r.right, r.bottom);
            shown.Fill(rect, kBackground);
            paint(shown, rect);
        }
        paintAll();
        ASSERT_TRUE(shown == canvas)
            << "event " << event << " (" << kWhat[what] << ") left a stale pixel";
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RepaintCovers, ::testing::Values(11u, 12u));

} // namespace
