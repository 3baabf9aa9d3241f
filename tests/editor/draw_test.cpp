// What the editor paints, read back from the headless toolkit's pixel buffer: the cels of a
// known record at their places, compared pixel for pixel with the program's pictures; and
// repaint requests that always cover everything a change alters on screen.

#include "editor_fixture.h"

#include "toolkit/errors.h"
#include "toolkit/headless/headless.h"

#include <filesystem>
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

// The picture at (x, y) of the canvas is the cel, pixel for pixel, except inside skip.
::testing::AssertionResult celAt(const TRgbImage& canvas, const TCelArray& cels, int index, int x,
                                 int y, const std::vector<TRect>& skip = {}) {
    const TRect source = cels.CelRect(index);
    const TRgbImage& pixels = cels.GetDib().GetPixels();
    for (int dy = 0; dy < source.Height(); ++dy) {
        for (int dx = 0; dx < source.Width(); ++dx) {
            bool skipped = false;
            for (const TRect& s : skip) {
                skipped = skipped || s.Contains(TPoint(x + dx, y + dy));
            }
            if (skipped) {
                continue;
            }
            if (canvas.GetPixel(x + dx, y + dy) !=
                pixels.GetPixel(source.left + dx, source.top + dy)) {
                return ::testing::AssertionFailure()
                       << "cel " << index << " at (" << x << ", " << y << ") differs at (" << x + dx
                       << ", " << y + dy << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
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

    void paintAll() {
        canvas = TRgbImage(kClientWidth, kClientHeight, kBackground);
        paint(canvas);
    }

    TPoint cellPlace(int field, int position) const {
        const TScreenRect r = screen->fieldRect(field);
        return TPoint(r.left + 5 + 18 * position, r.top);
    }

    // Character code drawn from a strip at a display position of a field.
    ::testing::AssertionResult glyph(int field, int position, int strip, unsigned char code,
                                     const std::vector<TRect>& skip = {}) {
        const TPoint at = cellPlace(field, position);
        return celAt(canvas, sharedArt().strips[static_cast<std::size_t>(strip)], celOfCode(code),
                     at.x, at.y, skip);
    }

    // Nothing drawn at a display position: the "details" picture shows through.
    ::testing::AssertionResult background(int field, int position) {
        const TPoint at = cellPlace(field, position);
        const TRgbImage& details = sharedArt().details.GetPixels();
        const int right = screen->fieldRect(field).right;
        for (int dy = 0; dy < 40; ++dy) {
            for (int dx = 0; dx < 18 && at.x + dx < right; ++dx) {
                const int x = at.x + dx;
                const int y = at.y + dy;
                if (canvas.GetPixel(x, y) !=
                    details.GetPixel(x - kEditorOrigin.x, y - kEditorOrigin.y)) {
                    return ::testing::AssertionFailure()
                           << "field " << field << " position " << position << " is drawn at (" << x
                           << ", " << y << ")";
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult cursorAt(int field, int position, int phase) {
        const TPoint at = cellPlace(field, position);
        return celAt(canvas, sharedArt().cursor, phase, at.x, at.y + 31);
    }

    TRgbImage canvas{kClientWidth, kClientHeight, kBackground};
};

struct Glyph {
    int position;
    int strip;
    unsigned char code;
};

// Glyphs of a text from a start position on, all in one strip.
void addRun(std::vector<Glyph>& glyphs, int position, int strip, std::string_view text) {
    for (char c : text) {
        glyphs.push_back({position++, strip, static_cast<unsigned char>(c)});
    }
}

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

    struct FieldCase {
        int field;
        std::vector<Glyph> glyphs;
        int firstUndrawn; // display positions from here on show the background
    };
    std::vector<FieldCase> cases(6);
    cases[0].field = kFieldCallsign; // shown codes in the palette colour, the selection inverted
    addRun(cases[0].glyphs, 0, 10, "~1");
    addRun(cases[0].glyphs, 2, 11, "RED");
    addRun(cases[0].glyphs, 5, 10, "~3");
    addRun(cases[0].glyphs, 7, 3, std::string("LEADER") + std::string(9, '\0'));
    cases[0].firstUndrawn = 22;
    cases[1].field = kFieldSquadronName; // codes hidden: they take no room
    addRun(cases[1].glyphs, 0, 4, "DROVAK ");
    addRun(cases[1].glyphs, 7, 7, std::string("WING") + std::string(9, '\0'));
    cases[1].firstUndrawn = 20;
    cases[2].field = kFieldSquadronPassword;
    addRun(cases[2].glyphs, 0, 2, std::string("SECRET") + std::string(6, '\0'));
    cases[2].firstUndrawn = 12;
    cases[3].field = kFieldSide;
    addRun(cases[3].glyphs, 0, 10, std::string("SIDE 1") + std::string(1, '\0'));
    cases[3].firstUndrawn = 7;
    cases[4].field = kFieldIpAddress; // every byte shown, the tilde too
    addRun(cases[4].glyphs, 0, 10, std::string("10.0.~1.2") + std::string(13, '\0'));
    cases[4].firstUndrawn = 22;
    cases[5].field = kFieldServerName;
    addRun(cases[5].glyphs, 0, 4, "\xC5RHUS ");
    addRun(cases[5].glyphs, 6, 0, "\xA7 ");
    addRun(cases[5].glyphs, 8, 6, std::string("ARENA") + std::string(3, '\0'));
    cases[5].firstUndrawn = 16;

    for (const FieldCase& c : cases) {
        for (const Glyph& g : c.glyphs) {
            EXPECT_TRUE(glyph(c.field, g.position, g.strip, g.code, underCursor))
                << "field " << c.field << " position " << g.position;
        }
        // The fields leave their rectangles' right ends to the background.
        for (int p = c.firstUndrawn; cellPlace(c.field, p).x < screen->fieldRect(c.field).right;
             ++p) {
            EXPECT_TRUE(background(c.field, p));
        }
    }
    EXPECT_TRUE(cursorAt(kFieldCallsign, 5, 0));
    // The extended characters, each in its palette cell in the palette colour; a glyph is
    // taller than its cell, and the next row's glyph covers its foot.
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
        }
    }
    // Between and below the glyphs the palette's own picture shows.
    const TRgbImage& palette = sharedArt().extChar.GetPixels();
    const int glyphsEnd = 73 + kPaletteCellHeight * (kPaletteRows - 1) + 40;
    int differing = 0;
    for (int y = 73; y < palette.Height(); ++y) {
        for (int x = 0; x < palette.Width(); ++x) {
            const bool glyph = y < glyphsEnd && x >= 5 && (x - 5) % kPaletteCellWidth < 18 &&
                               (x - 5) / kPaletteCellWidth < kPaletteColumns;
            differing += !glyph && canvas.GetPixel(kPaletteOrigin.x + x, kPaletteOrigin.y + y) !=
                                       palette.GetPixel(x, y);
        }
    }
    EXPECT_EQ(0, differing);

    const std::filesystem::path png = std::filesystem::current_path() / "editor.png";
    ASSERT_TRUE(canvas.WritePng(png.string()));
    std::cout << "The editor as painted: " << png.string() << "\n";
}

TEST_F(Painting, CursorSitsAtItsDisplayPosition) {
    struct Case {
        const char* name;
        int field;
        const char* text;
        bool showCodes;
        int index; // cursor index, placed with codes shown
        int ticks; // blink timer ticks
        int position;
    };
    // clang-format off
    const Case cases[] = {
        {"ShownCodes", kFieldCallsign, "~1RED~3LEADER", true, 7, 0, 7},
        {"HiddenCodes", kFieldCallsign, "~1RED~3LEADER", false, 7, 0, 3},
        {"HiddenAtEnd", kFieldServerName, "~4AB~6CD", false, 8, 1, 4},
        {"IpShowsTilde", kFieldIpAddress, "1~2.3", false, 3, 2, 3},
        {"BlinkWraps", kFieldSquadronPassword, "AB", true, 1, 5, 1},
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
        screen->setShowColorChars(c.showCodes);
        const int phase = (screen->getBlinkPhase() + c.ticks) % 4;
        for (int t = 0; t < c.ticks; ++t) {
            screen->changeCursor();
        }
        paintAll();
        EXPECT_TRUE(cursorAt(c.field, c.position, phase));
    }
}

// The owner may replace the record under the cursor (Undo reopens the file): the cursor is
// drawn at the end of the shorter text, not past it.
TEST_F(Painting, CursorStaysInsideAReplacedText) {
    enter(kFieldSquadronPassword, "ABCDEFGHIJK");
    press(kKeyEnd);
    fields.set(kFieldSquadronPassword, "AB");
    paintAll();
    EXPECT_TRUE(cursorAt(kFieldSquadronPassword, 2, screen->getBlinkPhase()));
}

// A change asks for repaints of the rectangles it alters; repainting just those (erased
// first, as the main window does) must give the picture a full paint gives. Random clicks,
// moves, drags, keys and blink ticks.
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
    static const std::vector<int> kKeys{kKeyBackspace, kKeyDelete, kKeySpace, kKeyLeft,   kKeyRight,
                                        kKeyHome,      kKeyEnd,    kKeyShift, kKeyTilde,  'A',
                                        '3',           kKeyX,      kKeyV,     kKeyControl};
    owner.clipboard = "~2PASTED";
    for (int event = 0; event < 80; ++event) {
        owner.repaints.clear();
        std::string what;
        const int kind = pick(0, 9);
        if (kind < 3) {
            const TPoint p = randomPoint();
            what = "click";
            screen->editPlayer(p);
        } else if (kind < 6) {
            const TPoint p = randomPoint();
            what = "move";
            screen->checkButtons(p);
            screen->checkColors(p);
            screen->checkDrag(p);
        } else if (kind < 7) {
            what = "release";
            screen->endDrag();
        } else if (kind < 9) {
            const int key =
                kKeys[static_cast<std::size_t>(pick(0, static_cast<int>(kKeys.size()) - 1))];
            what = "key " + std::to_string(key);
            if (pick(0, 2) == 0) {
                screen->setKeyUp(key);
            } else {
                screen->setKeyDown(key);
            }
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

TEST(ScreenPictures, MissingPictureStopsTheScreen) {
    // Each case leaves out one picture; the rest are links to the real ones (copies on Windows).
    for (const char* missing : {"details", "0alpha", "colorHiSide"}) {
        TempDir dir;
        for (const auto& entry : std::filesystem::directory_iterator(DROVAK_ASSETS_DIR)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name != missing) {
#ifdef _WIN32 // Wine makes no symbolic links: copies then
                std::filesystem::copy_file(entry.path(), dir.path() / name);
#else
                std::filesystem::create_symlink(entry.path(), dir.path() / name);
#endif
            }
        }
        ScopedWorkingDir cwd(dir.path());
        TRecordingOwner owner;
        try {
            TDrovakScreen screen(owner);
            ADD_FAILURE() << "built without " << missing;
        } catch (const TXBitmap& e) {
            EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
        }
    }
}

} // namespace
