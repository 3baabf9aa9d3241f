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
int celOfCode(unsigned char code) {
    return code >= 128 ? code - 128 : code + 128;
}

// The canvas from (x, y) on shows the part of the picture, pixel for pixel, except inside skip.
::testing::AssertionResult shows(const TRgbImage& canvas, int x, int y, const TRgbImage& picture,
                                 const TRect& part, const std::vector<TRect>& skip = {}) {
    for (int dy = 0; dy < part.Height(); ++dy) {
        for (int dx = 0; dx < part.Width(); ++dx) {
            const bool skipped = std::any_of(skip.begin(), skip.end(), [&](const TRect& s) {
                return s.Contains(TPoint(x + dx, y + dy));
            });
            if (!skipped && canvas.GetPixel(x + dx, y + dy) !=
                                picture.GetPixel(part.left + dx, part.top + dy)) {
                return ::testing::AssertionFailure() << "(" << x << ", " << y << ") differs at ("
                                                     << x + dx << ", " << y + dy << ")";
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

    // Nothing drawn at a display position: the "details" picture shows through.
    ::testing::AssertionResult background(int field, int position) {
        const TPoint at = cellPlace(field, position);
        const int width = std::min(18, screen->fieldRect(field).right - at.x);
        return shows(canvas, at.x, at.y, sharedArt().details.GetPixels(),
                     TRect(at.x - kEditorOrigin.x, at.y - kEditorOrigin.y,
                           at.x - kEditorOrigin.x + width, at.y - kEditorOrigin.y + 40))
               << " (field " << field << " position " << position << ")";
    }

    ::testing::AssertionResult cursorAt(int field, int position, int phase) {
        const TPoint at = cellPlace(field, position);
        return celAt(canvas, sharedArt().cursor, phase, at.x, at.y + 31);
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
    ASSERT_TRUE(screen->isHilight());
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
    struct Run {
        int field, position, strip;
        std::string text;
    };
    // clang-format off
    const Run runs[] = {
        // Shown codes in the palette colour, the selection inverted.
        {kFieldCallsign, 0, 10, "~1"}, {kFieldCallsign, 2, 11, "RED"}, {kFieldCallsign, 5, 10, "~3"},
        {kFieldCallsign, 7, 3, std::string("LEADER\0\0\0\0\0\0\0\0\0", 15)},
        // Codes hidden: they take no room.
        {kFieldSquadronName, 0, 4, "DROVAK "},
        {kFieldSquadronName, 7, 7, std::string("WING\0\0\0\0\0\0\0\0\0", 13)},
        {kFieldSquadronPassword, 0, 2, std::string("SECRET\0\0\0\0\0\0", 12)},
        {kFieldSide, 0, 10, std::string("SIDE 1\0", 7)},
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
            for (int p = end; cellPlace(run.field, p).x < screen->fieldRect(run.field).right; ++p) {
                EXPECT_TRUE(background(run.field, p));
            }
        }
    }
    EXPECT_TRUE(cursorAt(kFieldCallsign, 5, 0));
    // The swatch under the pointer is framed, its sides drawn over the top and the foot.
    const TPoint swatch(overSwatch.x - 5, overSwatch.y - 5);
    const TSize bar = sharedArt().colorHiSide.CelSize();
    const std::vector<TRect> bars{
        TRect(swatch.x, swatch.y, swatch.x + bar.cx, swatch.y + bar.cy),
        TRect(swatch.x + 30, swatch.y, swatch.x + 30 + bar.cx, swatch.y + bar.cy)};
    EXPECT_TRUE(celAt(canvas, sharedArt().colorHiTop, 0, swatch.x + 1, swatch.y, bars));
    EXPECT_TRUE(celAt(canvas, sharedArt().colorHiTop, 1, swatch.x, swatch.y + 28, bars));
    EXPECT_TRUE(celAt(canvas, sharedArt().colorHiSide, 0, swatch.x, swatch.y));
    EXPECT_TRUE(celAt(canvas, sharedArt().colorHiSide, 1, swatch.x + 30, swatch.y));
    // The extended characters, each in its palette cell in the palette colour; a glyph is
    // taller than its cell, and the next row's glyph covers its foot. Between and below the
    // glyphs the palette's own picture shows.
    std::vector<TRect> glyphs;
    for (int r = 0; r < kPaletteRows; ++r) {
        for (int j = 0; j < kPaletteColumns; ++j) {
            const TPoint at(kPaletteOrigin.x + 5 + kPaletteCellWidth * j,
                            kPaletteOrigin.y + 73 + kPaletteCellHeight * r);
            const std::vector<TRect> nextRow{TRect(at.x, at.y + kPaletteCellHeight, at.x + 18,
                                                   r + 1 < kPaletteRows ? at.y + 40 : at.y)};
            const auto code = static_cast<unsigned char>(TDrovakScreen::extendedChar(r, j));
            EXPECT_TRUE(celAt(canvas, sharedArt().strips[kPaletteStrip], celOfCode(code), at.x,
                              at.y, nextRow))
                << "palette row " << r << " column " << j;
            glyphs.emplace_back(at.x, at.y, at.x + 18, at.y + 40);
        }
    }
    const TRgbImage& palette = sharedArt().extChar.GetPixels();
    EXPECT_TRUE(shows(canvas, kPaletteOrigin.x, kPaletteOrigin.y + 73, palette,
                      TRect(0, 73, palette.Width(), palette.Height()), glyphs));
    // The pointer on a character cell: its frame, the sides drawn over the top and the foot.
    const TScreenRect& ext = screen->extendedCharRect();
    screen->checkButtons(TPoint(ext.left + 45, ext.top + 40));
    paintAll();
    const TPoint cell(ext.left + 2 * kPaletteCellWidth, ext.top + kPaletteCellHeight);
    const TSize side = sharedArt().hiSide.CelSize();
    const std::vector<TRect> sides{TRect(cell.x, cell.y, cell.x + side.cx, cell.y + side.cy),
                                   TRect(cell.x + kPaletteCellWidth, cell.y + 2,
                                         cell.x + kPaletteCellWidth + side.cx,
                                         cell.y + 2 + side.cy)};
    EXPECT_TRUE(celAt(canvas, sharedArt().hiTop, 0, cell.x, cell.y, sides));
    EXPECT_TRUE(celAt(canvas, sharedArt().hiTop, 1, cell.x, cell.y + kPaletteCellHeight, sides));
    EXPECT_TRUE(celAt(canvas, sharedArt().hiSide, 0, sides[0].left, sides[0].top));
    EXPECT_TRUE(celAt(canvas, sharedArt().hiSide, 1, sides[1].left, sides[1].top));
}

TEST_F(Painting, CursorSitsAtItsDisplayPosition) {
    struct Case {
        const char* name;
        int field;
        const char* text;
        bool showCodes;
        int index, ticks, position;     // cursor index (placed with codes shown), blink ticks
        const char* replaced = nullptr; // the owner's new text under the cursor
    };
    // clang-format off
    const Case cases[] = {
        {"ShownCodes", kFieldCallsign, "~1RED~3LEADER", true, 7, 0, 7},
        {"HiddenCodes", kFieldCallsign, "~1RED~3LEADER", false, 7, 0, 3},
        {"HiddenAtEnd", kFieldServerName, "~4AB~6CD", false, 8, 1, 4},
        {"IpShowsTilde", kFieldIpAddress, "1~2.3", false, 3, 2, 3},
        {"BlinkWraps", kFieldSquadronPassword, "AB", true, 1, 5, 1},
        // Undo reopens the file: the cursor is drawn at the end of the shorter text.
        {"InsideAReplacedText", kFieldSquadronPassword, "ABCDEFGHIJK", true, 11, 0, 2, "AB"},
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
        ASSERT_EQ(screen->getCursor(), c.index);
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
        const TDib picture = screen->callsignPicture(callsign);
        const TRgbImage& half = picture.GetPixels();
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
        const int target = pick(0, 9);
        if (target < 8) {
            TScreenRect r = target < 6    ? screen->fieldRect(target + 1)
                            : target == 6 ? screen->extendedCharRect()
                                          : screen->colorRect();
            return TPoint(pick(r.left - 20, r.right + 20), pick(r.top - 4, r.bottom + 4));
        }
        return TPoint(pick(0, kClientWidth - 1), pick(0, kClientHeight - 1));
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
    for (int event = 0; event < 80 + static_cast<int>(moves.size()); ++event) {
        owner.repaints.clear();
        std::string what;
        const bool scripted = event < static_cast<int>(moves.size());
        const int kind = scripted ? 3 : pick(0, 8);
        if (kind < 3) {
            const TPoint p = randomPoint();
            what = "click";
            screen->editPlayer(p);
        } else if (kind < 6) {
            const TPoint p = scripted ? moves[static_cast<std::size_t>(event)] : randomPoint();
            what = "move";
            screen->checkButtons(p);
            screen->checkColors(p);
            screen->checkDrag(p);
        } else if (kind < 7) {
            what = "release";
            screen->endDrag();
        } else if (kind < 8) {
            what = "tab";
            screen->enterField(pick(0, kFieldCount + 1));
        } else {
            what = "tick";
            screen->changeCursor();
        }
        for (const TScreenRect& r : owner.repaints) {
            const TRect rect(r.left, r.top, r.right, r.bottom);
            shown.Fill(rect, kBackground);
            paint(shown, rect);
        }
        paintAll();
        ASSERT_TRUE(shown == canvas) << "event " << event << " (" << what << ") left a stale pixel";
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RepaintCovers, ::testing::Values(11u, 12u));

} // namespace
