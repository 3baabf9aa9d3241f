#include "editor/screen.h"

#include "editor/colortext.h"
#include "player/player.h"
#include "support/trace.h"

#include <algorithm>

namespace {

// Field rectangles relative to the editor origin, in field-number order.
constexpr std::array<TScreenRect, kFieldCount> kFieldLayout{{
    {1, 6, 414, 46},
    {1, 66, 414, 106},
    {1, 304, 244, 344},
    {278, 304, 414, 344},
    {1, 364, 414, 404},
    {1, 424, 414, 464},
}};
constexpr TScreenRect kExtendedCharLayout{5, 76, 345, 299};
constexpr TScreenRect kColorLayout{10, 10, 340, 42};

TScreenRect moved(const TScreenRect& r, int x, int y) {
    return TScreenRect{r.left + x, r.top + y, r.right + x, r.bottom + y};
}

} // namespace

TDrovakScreen::TDrovakScreen(TScreenOwner& screenOwner)
    : TDrovakScreen(screenOwner, TScreenArt()) {}

TDrovakScreen::TDrovakScreen(TScreenOwner& screenOwner, const TScreenArt& pictures)
    : owner(screenOwner), art(pictures) {
    trace("TDrovakScreen::TDrovakScreen", "");
    initKeyTable();
}

void TDrovakScreen::setPlayer(TPlayer* record) {
    trace("TDrovakScreen::setPlayer", "");
    player = record;
    attachFields(TFieldBuffers{record->callsign, record->squadronName, record->squadronPassword,
                               record->side, record->ipAddress, record->serverName});
}

void TDrovakScreen::attachFields(const TFieldBuffers& buffers) {
    const std::array<std::span<char>, kFieldCount + 1> given{
        std::span<char>{}, buffers.callsign,  buffers.squadronName, buffers.squadronPassword,
        buffers.side,      buffers.ipAddress, buffers.serverName};
    for (int f = 1; f <= kFieldCount; ++f) {
        if (given[static_cast<std::size_t>(f)].size() !=
            static_cast<std::size_t>(fieldCapacity(f))) {
            throw "attachFields: wrong field size";
        }
    }
    fields = given;
    fitIndexesToText();
}

void TDrovakScreen::initKeyTable(const std::string& path) {
    charTable = TCharTable{};
    charTable.load(path);
    font = TFontRules(charTable);
}

std::span<char> TDrovakScreen::fieldText(int field) const {
    if (field < 1 || field > kFieldCount) {
        return {};
    }
    return fields[static_cast<std::size_t>(field)];
}

void TDrovakScreen::setInfoRect(int editorX, int editorY, int paletteX, int paletteY) {
    trace("setInfoRect", "");
    this->editorX = editorX;
    this->editorY = editorY;
    this->paletteX = paletteX;
    this->paletteY = paletteY;
    for (std::size_t i = 0; i < kFieldLayout.size(); ++i) {
        rects[i] = moved(kFieldLayout[i], editorX, editorY);
    }
    rects[kFieldCount] = moved(kExtendedCharLayout, paletteX, paletteY);
    rects[kFieldCount + 1] = moved(kColorLayout, paletteX, paletteY);
}

TScreenRect TDrovakScreen::fieldRect(int field) const {
    if (field < 1 || field > kFieldCount) {
        return {};
    }
    return rects[static_cast<std::size_t>(field - 1)];
}

void TDrovakScreen::repaintField(int field) {
    if (field >= 1 && field <= kFieldCount) {
        owner.repaintRect(fieldRect(field));
    }
}

void TDrovakScreen::setDirty() {
    trace("setDirty", "");
    if (!dirty) {
        dirty = true;
        owner.setDirtyFile();
    }
}

bool TDrovakScreen::clipboardFull() {
    trace("clipboardFull", "");
    return owner.clipboardHasText();
}

void TDrovakScreen::fitIndexesToText() {
    std::span<char> text = fieldText(currentField);
    if (!isTextField(currentField) || text.empty()) {
        cursorIndex = 0;
        anchorIndex = 0;
        return;
    }
    if (textLength(text) == static_cast<int>(text.size())) {
        text.back() = 0;
    }
    const int len = textLength(text);
    cursorIndex = std::clamp(cursorIndex, 0, len);
    anchorIndex = std::clamp(anchorIndex, 0, len);
}
