#pragma once

#include "common/tempdir.h"
#include "editor/screen.h"
#include "editor/screenowner.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <numeric>
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
        onUndo();
    }
    bool clipboardHasText() override { return clipboard.has_value(); }
    std::string getClipboardText() override { return clipboard.value_or(std::string{}); }
    void setClipboardText(std::string bytes) override { clipboard = std::move(bytes); }

    std::vector<TScreenRect> repaints;
    int dirtyFileCalls = 0, undoCalls = 0;
    std::optional<std::string> clipboard;
    std::function<void()> onUndo = [] {};
};

// The six field buffers laid out in one block with guard bytes between and around them, so a
// write past any buffer shows up in the guards (and under AddressSanitizer at the block's ends).
class TGuardedFields {
  public:
    TGuardedFields() {
        block.fill(kGuardByte);
        for (int f = 1; f <= kFieldCount; ++f) {
            set(f, "");
        }
    }
    TFieldBuffers buffers() { return {field(1), field(2), field(3), field(4), field(5), field(6)}; }
    std::span<char> field(int f) { return {block.data() + offset(f), size(f)}; }
    // Replaces a field's whole buffer: text, then zeros.
    void set(int f, std::string_view text) {
        std::span<char> buffer = field(f);
        std::fill(buffer.begin(), buffer.end(), '\0');
        std::copy_n(text.begin(), std::min(text.size(), buffer.size()), buffer.begin());
    }
    // The text up to its terminator.
    std::string text(int f) const {
        const char* start = &block[offset(f)];
        return std::string(start, std::find(start, start + size(f), '\0'));
    }
    // The guard before each buffer, and the one after the last.
    bool guardsIntact() const {
        bool intact = true;
        for (int f = 1; f <= kFieldCount + 1; ++f) {
            const char* end = block.data() + offset(f);
            intact =
                intact && std::all_of(end - kGuard, end, [](char c) { return c == kGuardByte; });
        }
        return intact;
    }

  private:
    static constexpr std::size_t kGuard = 8;
    static constexpr char kGuardByte = static_cast<char>(0xA5);
    static constexpr std::array<std::size_t, kFieldCount + 1> kSizes{0, 22, 22, 12, 2, 22, 22};

    static std::size_t size(int f) { return kSizes[static_cast<std::size_t>(f)]; }
    // Where a buffer starts; past the last one, the end of the block.
    static std::size_t offset(int f) {
        return std::accumulate(kSizes.begin() + 1, kSizes.begin() + f,
                               kGuard * static_cast<std::size_t>(f));
    }

    std::array<char, kGuard * 7 + 22 * 4 + 12 + 2> block{};
};

// A small US-layout key table (punctuation keys as Windows' VK_OEM codes) with one extended
// character, enough to type every character the text-model tests need; with Shift the digit
// keys' ends give ")" and "(", and its entry for A must never be consulted.
inline constexpr const char* kTestKeyTable = "[character table]\n"
                                             "192 `\n189 -\n187 =\n219 [\n221 ]\n186 ;\n"
                                             "190 .\n191 /\n223 \xE9\n"
                                             "0\n"
                                             "\n"
                                             "[shift table]\n"
                                             "192 ~\n49 !\n50 @\n51 #\n52 $\n53 %\n"
                                             "189 _\n187 +\n186 :\n191 ?\n48 )\n57 (\n65 Q\n"
                                             "0\n";

inline constexpr int kKeyMinus = 189;
inline constexpr int kKeyUnmapped = 112; // F1: in neither table

// The program's pictures, read once from the assets folder for every test of the run.
inline const TScreenArt& sharedArt() {
    static const TScreenArt art(DROVAK_ASSETS_DIR);
    return art;
}
// Plain pictures of no content, for tests that never look at the screen (reading the real
// ones takes seconds under the sanitizers).
inline const TScreenArt& blankArt() {
    static const TScreenArt art([](const char*) { return TDib(TRgbImage(kGlyphCels, 1)); });
    return art;
}

// Where the main window puts the field area and the palettes.
inline constexpr TPoint kEditorOrigin{352, 2};
inline constexpr TPoint kPaletteOrigin{0, 168};

// A screen over guarded buffers and a recording owner, with the test key table loaded.
struct ScreenRig {
    ScreenRig() {
        dir.write("chrtable.dv", kTestKeyTable);
        makeScreen(blankArt());
    }
    // A new screen over the same buffers and owner, drawing with these pictures.
    void makeScreen(const TScreenArt& art) {
        {
            // The screen reads its table from the working folder, as the program does.
            ScopedWorkingDir cwd(dir.path());
            screen = std::make_unique<TDrovakScreen>(owner, art);
        }
        screen->attachFields(fields.buffers());
        screen->setInfoRect(kEditorOrigin.x, kEditorOrigin.y, kPaletteOrigin.x, kPaletteOrigin.y);
    }

    TempDir dir;
    TRecordingOwner owner;
    TGuardedFields fields;
    std::unique_ptr<TDrovakScreen> screen;
};
class ScreenFixture : public ::testing::Test, public ScreenRig {};
