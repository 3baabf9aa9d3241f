// Thousands of random keys, palette picks, clicks and drags (by field and cell, and at pixel
// points of the main window), pastes, and undos that put a shorter text back: no write leaves
// a field's buffer, every field stays terminated, the cursor and anchor stay in the text, and
// no key or palette pick leaves a colour code that repeats the colour in effect.

#include "editor_fixture.h"

#include "editor/colortext.h"

#include <random>
#include <string>
#include <vector>

namespace {

// The colour codes of a text that repeat the colour already in effect.
int repeatedCodes(const std::string& text, char defaultColor) {
    char inEffect = defaultColor;
    int repeats = 0;
    scanColorCodes(std::span<const char>(text.data(), text.size()), static_cast<int>(text.size()),
                   [&](int i, TByteKind kind) {
                       if (kind == TByteKind::CodeDigit) {
                           const char d = text[static_cast<std::size_t>(i)];
                           repeats += d == inEffect ? 1 : 0;
                           inEffect = d;
                       }
                       return true;
                   });
    return repeats;
}

class RandomEdits : public ScreenFixture, public ::testing::WithParamInterface<unsigned> {
  protected:
    std::mt19937 random{GetParam()};

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

    std::string randomBytes(int maxLength) {
        // Mostly colour-code material, so codes meet the cursor often.
        static const std::string kAlphabet = "~~~0123456789AB \xE9\xC0";
        std::string s;
        const int n = pick(0, maxLength);
        for (int i = 0; i < n; ++i) {
            s.push_back(pick(0, 9) == 0 ? static_cast<char>(pick(0, 255))
                                        : kAlphabet[static_cast<std::size_t>(
                                              pick(0, static_cast<int>(kAlphabet.size()) - 1))]);
        }
        return s;
    }

    TPoint randomPoint() { return TPoint(pick(-20, 800), pick(-20, 540)); }

    int randomKey() {
        static const std::vector<int> kKeys{
            kKeyBackspace, kKeyDelete, kKeySpace, kKeyLeft,  kKeyRight, kKeyHome,
            kKeyEnd,       kKeyEnd,    kKeyLeft,  kKeyShift, kKeyShift, kKeyControl,
            kKeyCapsLock,  kKeyTilde,  kKeyTilde, kKeyTilde, kKeyMinus, kKeyUnmapped,
            kKeyX,         kKeyC,      kKeyV,     kKeyZ,     223,       '1',
            '3',           '5',        '2',       '4',       'A',       'Q'};
        return kKeys[static_cast<std::size_t>(pick(0, static_cast<int>(kKeys.size()) - 1))];
    }
};

TEST_P(RandomEdits, FieldsStayWithinTheirBuffers) {
    // The owner's undo puts back a saved text, as reopening the file would.
    owner.onUndo = [this] {
        fields.set(kFieldCallsign, "~3UNDO");
        if (pick(0, 1) == 0) {
            screen->endEdit();
        }
    };
    for (int f = 1; f <= kFieldCount; ++f) {
        if (f != kFieldSide) {
            fields.set(f, randomBytes(TDrovakScreen::fieldCapacity(f) - 1));
        }
    }
    for (int event = 0; event < 20000; ++event) {
        const int kind = pick(0, 99);
        bool cleansCodes = false;
        if (kind < 60) {
            const int key = randomKey();
            if (pick(0, 1) == 0) {
                screen->setKeyDown(key);
                cleansCodes = true;
            } else {
                screen->setKeyUp(key);
            }
        } else if (kind < 66) {
            // A whole Shift+tilde, the way a colour code is usually typed.
            screen->setKeyDown(kKeyShift);
            screen->setKeyDown(kKeyTilde);
            screen->setKeyUp(kKeyTilde);
            screen->setKeyUp(kKeyShift);
            cleansCodes = true;
        } else if (kind < 70) {
            screen->pickColor(static_cast<char>('0' + pick(0, 9)));
            cleansCodes = true;
        } else if (kind < 75) {
            screen->pickExtendedChar(static_cast<char>(pick(0, 255)));
            cleansCodes = true;
        } else if (kind < 80) {
            screen->clickField(pick(0, kFieldCount + 1), pick(-3, 25));
        } else if (kind < 85) {
            // A press anywhere in or around the main window: fields, palettes, the list.
            screen->editPlayer(randomPoint());
        } else if (kind < 88) {
            screen->dragTo(pick(-3, 25));
        } else if (kind < 90) {
            const TPoint p = randomPoint();
            screen->checkButtons(p);
            screen->checkColors(p);
            screen->checkDrag(p);
        } else if (kind < 93) {
            screen->endDrag();
        } else if (kind < 96) {
            owner.clipboard = randomBytes(30);
        } else if (kind < 98) {
            screen->setShowColorChars(pick(0, 1) == 0);
        } else {
            screen->endEdit();
        }
        SCOPED_TRACE("event " + std::to_string(event));
        expectSound();
        const int field = screen->getCurrentField();
        if (cleansCodes &&
            (field == kFieldCallsign || field == kFieldSquadronName || field == kFieldServerName)) {
            EXPECT_EQ(repeatedCodes(fields.text(field), TDrovakScreen::defaultColor(field)), 0)
                << fields.text(field);
        }
        if (HasFailure()) {
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

} // namespace
