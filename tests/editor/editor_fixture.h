#pragma once

#include "common/tempdir.h"
#include "editor/screen.h"
#include "editor/screenowner.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Stands in for the main window: records what the screen asks of it.
class TRecordingOwner : public TScreenOwner {
  public:
    void repaintRect(const TScreenRect& rect) override { repaints.push_back(rect); }
    void setDirtyFile() override { ++dirtyFileCalls; }
    void CmdUndo() override {
        ++undoCalls;
        if (onUndo) {
            onUndo();
        }
    }
    bool clipboardHasText() override { return clipboard.has_value(); }
    std::string getClipboardText() override { return clipboard.value_or(std::string{}); }
    void setClipboardText(std::string bytes) override { clipboard = std::move(bytes); }

    std::vector<TScreenRect> repaints;
    int dirtyFileCalls = 0;
    int undoCalls = 0;
    std::optional<std::string> clipboard;
    std::function<void()> onUndo;
};

// The six field buffers laid out in one block with guard bytes between and around them, so a
// write past any buffer shows up in the guards (and under AddressSanitizer at the block's ends).
class TGuardedFields {
  public:
    static constexpr std::size_t kGuard = 8;
    static constexpr char kGuardByte = static_cast<char>(0xA5);

    TGuardedFields();
    TFieldBuffers buffers();
    std::span<char> field(int f);
    // Replaces a field's whole buffer: text, then zeros.
    void set(int f, std::string_view text);
    // The text up to its terminator.
    std::string text(int f) const;
    bool guardsIntact() const;
    bool terminated(int f) const;

  private:
    static constexpr std::array<std::size_t, kFieldCount + 1> kSizes{0, 22, 22, 12, 2, 22, 22};
    std::array<std::size_t, kFieldCount + 1> offsets{};
    std::array<char, kGuard * 7 + 22 * 4 + 12 + 2> block{};
};

// A small US-layout key table (punctuation keys as Windows' VK_OEM codes) with one extended
// character, enough to type every character the text-model tests need.
inline constexpr const char* kTestKeyTable = "[character table]\n"
                                             "192 `\n189 -\n187 =\n219 [\n221 ]\n186 ;\n"
                                             "190 .\n191 /\n223 \xE9\n"
                                             "0\n"
                                             "\n"
                                             "[shift table]\n"
                                             "192 ~\n49 !\n50 @\n51 #\n52 $\n53 %\n"
                                             "189 _\n187 +\n186 :\n191 ?\n"
                                             "0\n";

inline constexpr int kKeyTilde = 192; // with Shift
inline constexpr int kKeyMinus = 189;
inline constexpr int kKeyUnmapped = 112; // F1: in neither table

// The program's pictures, read once from the assets folder for every test of the run.
const TScreenArt& sharedArt();
// Plain pictures of no content, for tests that never look at the screen (reading the real
// ones takes seconds under the sanitizers).
const TScreenArt& blankArt();

// Where the main window puts the field area and the palettes.
inline constexpr TPoint kEditorOrigin{352, 2};
inline constexpr TPoint kPaletteOrigin{0, 168};

// A screen over guarded buffers and a recording owner, with the test key table loaded.
class ScreenFixture : public ::testing::Test {
  protected:
    ScreenFixture();
    // A new screen over the same buffers and owner, drawing with these pictures.
    void makeScreen(const TScreenArt& art);

    // Puts text into a field and enters it by a click at display position 0.
    void enter(int field, std::string_view text);
    // Places the cursor (and, with a selection, the anchor) by keys, as a user would:
    // Home, Right to the anchor, then Shift held while moving to the cursor.
    void place(int cursor, std::optional<int> anchor = std::nullopt);
    void press(int key);
    void shifted(int key);
    void controlled(int key);
    // Types printable ASCII through the key table: letters, digits, blank, "~" and a few
    // punctuation marks.
    void type(std::string_view chars);

    std::string text() const { return fields.text(screen->getCurrentField()); }
    // Every field terminated, guards untouched, cursor and anchor inside the current text.
    void expectSound() const;

    TempDir dir;
    TRecordingOwner owner;
    TGuardedFields fields;
    std::unique_ptr<TDrovakScreen> screen;
};
