#include "editor_fixture.h"

#include "editor/colortext.h"

#include <algorithm>
#include <cstring>

TGuardedFields::TGuardedFields() {
    block.fill(kGuardByte);
    std::size_t at = kGuard;
    for (int f = 1; f <= kFieldCount; ++f) {
        offsets[static_cast<std::size_t>(f)] = at;
        std::memset(block.data() + at, 0, kSizes[static_cast<std::size_t>(f)]);
        at += kSizes[static_cast<std::size_t>(f)] + kGuard;
    }
}

std::span<char> TGuardedFields::field(int f) {
    return {block.data() + offsets[static_cast<std::size_t>(f)],
            kSizes[static_cast<std::size_t>(f)]};
}

TFieldBuffers TGuardedFields::buffers() {
    return TFieldBuffers{field(1), field(2), field(3), field(4), field(5), field(6)};
}

void TGuardedFields::set(int f, std::string_view text) {
    std::span<char> buffer = field(f);
    std::fill(buffer.begin(), buffer.end(), '\0');
    std::copy_n(text.begin(), std::min(text.size(), buffer.size()), buffer.begin());
}

std::string TGuardedFields::text(int f) const {
    if (f < 1 || f > kFieldCount) {
        return {};
    }
    const char* start = block.data() + offsets[static_cast<std::size_t>(f)];
    return std::string(start, strnlen(start, kSizes[static_cast<std::size_t>(f)]));
}

bool TGuardedFields::terminated(int f) const {
    const char* start = block.data() + offsets[static_cast<std::size_t>(f)];
    return std::memchr(start, 0, kSizes[static_cast<std::size_t>(f)]) != nullptr;
}

bool TGuardedFields::guardsIntact() const {
    std::size_t at = 0;
    for (int f = 1; f <= kFieldCount + 1; ++f) {
        for (std::size_t i = 0; i < kGuard; ++i) {
            if (block[at + i] != kGuardByte) {
                return false;
            }
        }
        if (f <= kFieldCount) {
            at = offsets[static_cast<std::size_t>(f)] + kSizes[static_cast<std::size_t>(f)];
        }
    }
    return true;
}

const TScreenArt& sharedArt() {
    static const TScreenArt art(DROVAK_ASSETS_DIR);
    return art;
}

const TScreenArt& blankArt() {
    static const TScreenArt art([](const char*) { return TDib(TRgbImage(kGlyphCels, 1)); });
    return art;
}

ScreenFixture::ScreenFixture() {
    dir.write("chrtable.dv", kTestKeyTable);
    makeScreen(blankArt());
}

void ScreenFixture::makeScreen(const TScreenArt& art) {
    {
        // The screen reads its table from the working folder, as the program does.
        ScopedWorkingDir cwd(dir.path());
        screen = std::make_unique<TDrovakScreen>(owner, art);
    }
    screen->attachFields(fields.buffers());
    screen->setInfoRect(kEditorOrigin.x, kEditorOrigin.y, kPaletteOrigin.x, kPaletteOrigin.y);
}

void ScreenFixture::enter(int field, std::string_view text) {
    fields.set(field, text);
    screen->clickField(field, 0);
    screen->endDrag();
}

void ScreenFixture::press(int key) {
    screen->setKeyDown(key);
    screen->setKeyUp(key);
}

void ScreenFixture::shifted(int key) {
    screen->setKeyDown(kKeyShift);
    press(key);
    screen->setKeyUp(kKeyShift);
}

void ScreenFixture::controlled(int key) {
    screen->setKeyDown(kKeyControl);
    press(key);
    screen->setKeyUp(kKeyControl);
}

void ScreenFixture::place(int cursor, std::optional<int> anchor) {
    press(kKeyHome);
    const int start = anchor.value_or(cursor);
    for (int i = 0; i < start; ++i) {
        press(kKeyRight);
    }
    if (!anchor) {
        return;
    }
    screen->setKeyDown(kKeyShift);
    for (int i = start; i < cursor; ++i) {
        press(kKeyRight);
    }
    for (int i = start; i > cursor; --i) {
        press(kKeyLeft);
    }
    screen->setKeyUp(kKeyShift);
}

void ScreenFixture::type(std::string_view chars) {
    for (char c : chars) {
        if (c >= 'a' && c <= 'z') {
            press(c - 'a' + kKeyA);
        } else if (c >= 'A' && c <= 'Z') {
            shifted(c);
        } else if (c >= '0' && c <= '9') {
            press(c);
        } else if (c == ' ') {
            press(kKeySpace);
        } else if (c == '~') {
            shifted(kKeyTilde);
        } else if (c == '-') {
            press(kKeyMinus);
        } else if (c == '!') {
            shifted('1');
        } else {
            ADD_FAILURE() << "cannot type " << c;
        }
    }
}

void ScreenFixture::expectSound() const {
    EXPECT_TRUE(fields.guardsIntact());
    for (int f = 1; f <= kFieldCount; ++f) {
        EXPECT_TRUE(fields.terminated(f)) << "field " << f;
    }
    if (TDrovakScreen::isTextField(screen->getCurrentField())) {
        const int len = static_cast<int>(text().size());
        EXPECT_GE(screen->getCursor(), 0);
        EXPECT_LE(screen->getCursor(), len);
        EXPECT_GE(screen->getAnchor(), 0);
        EXPECT_LE(screen->getAnchor(), len);
    }
}
