#include "editor/colortext.h"
#include "editor/screen.h"
#include "support/trace.h"

#include <algorithm>

namespace {

constexpr int kSideCodes = 3; // either side, side 1, side 2

// Fields whose texts take characters and colours from the palettes.
bool acceptsPalette(int field) {
    return field == kFieldCallsign || field == kFieldSquadronName ||
           field == kFieldSquadronPassword || field == kFieldServerName;
}

} // namespace

int TDrovakScreen::displayToIndex(int displayPosition) const {
    // The current field shows its codes only while the flag is set; otherwise a cell is a
    // visible character, as for a field just entered.
    return showColorCodes ? getColorStrIndex(displayPosition) : getStrIndex(displayPosition);
}

bool TDrovakScreen::clickField(int field, int displayPosition) {
    trace("editPlayer", "");
    if (field < 1 || field > kFieldCount) {
        endEdit();
        return false;
    }
    const int previous = currentField;
    currentField = field;
    fitIndexesToText();
    if (field == kFieldSide) {
        selection = false;
        setDirty();
        std::span<char> side = fieldText(kFieldSide);
        const int code = static_cast<unsigned char>(side[0]);
        side[0] = static_cast<char>(code + 1 < kSideCodes ? code + 1 : 0);
        repaintField(kFieldSide);
    }
    if (field != previous) {
        resetShiftKey();
        selection = false;
        repaintField(previous);
        if (field == kFieldSide) {
            dragging = false;
            cursorIndex = 0;
            anchorIndex = 0;
        } else {
            // The field was drawn with its codes hidden, whatever the flag says.
            cursorIndex = getStrIndex(displayPosition);
            anchorIndex = cursorIndex;
            dragging = true;
        }
        repaintField(field);
    } else if (field != kFieldSide) {
        selection = false;
        dragging = true;
        cursorIndex = displayToIndex(displayPosition);
        anchorIndex = cursorIndex;
        repaintField(field);
    }
    return true;
}

void TDrovakScreen::enterField(int field) {
    trace("enterField", "");
    if (field < 1 || field > kFieldCount) {
        endEdit();
        return;
    }
    const int previous = currentField;
    currentField = field;
    fitIndexesToText();
    resetShiftKey();
    selection = false;
    dragging = false;
    paletteClick = false;
    cursorIndex = isTextField(field) ? textLength(fieldText(field)) : 0;
    anchorIndex = cursorIndex;
    repaintField(previous);
    repaintField(field);
}

void TDrovakScreen::dragTo(int displayPosition) {
    trace("checkDrag", "");
    if (!dragging || !isTextField(currentField)) {
        return;
    }
    fitIndexesToText();
    cursorIndex = displayToIndex(displayPosition);
    repaintField(currentField);
}

void TDrovakScreen::endDrag() {
    trace("endDrag", "");
    if (!dragging) {
        return;
    }
    dragging = false;
    selection = cursorIndex != anchorIndex;
    repaintField(currentField);
}

void TDrovakScreen::endEdit() {
    trace("endEdit", "");
    dragging = false;
    selection = false;
    paletteClick = false;
    const int previous = currentField;
    currentField = kNoField;
    repaintField(previous);
}

std::optional<TDrovakScreen::TFieldEdit> TDrovakScreen::fieldEdit() const {
    if (!isTextField(currentField)) {
        return std::nullopt;
    }
    return TFieldEdit{currentField, cursorIndex, anchorIndex, selection};
}

void TDrovakScreen::resumeEdit(const TFieldEdit& edit) {
    trace("resumeEdit", "");
    if (!isTextField(edit.field)) {
        return;
    }
    const int previous = currentField;
    currentField = edit.field;
    cursorIndex = edit.cursor;
    anchorIndex = edit.anchor;
    // The record may have changed under the edit: the indexes come back inside its text.
    fitIndexesToText();
    selection = edit.selection && cursorIndex != anchorIndex;
    dragging = false;
    paletteClick = false;
    repaintField(previous);
    repaintField(currentField);
}

void TDrovakScreen::pickExtendedChar(char c) {
    trace("addExtendedChar", "");
    if (acceptsPalette(currentField)) {
        fitIndexesToText();
        std::span<char> text = fieldText(currentField);
        processExtendedChar(text, c);
        anchorIndex = std::clamp(anchorIndex, 0, textLength(text));
    }
    paletteClick = true;
    repaintField(currentField);
}

void TDrovakScreen::pickColor(char digit) {
    trace("addColorChar", "");
    if (acceptsPalette(currentField) && isColorDigit(digit)) {
        fitIndexesToText();
        std::span<char> text = fieldText(currentField);
        processColor(text, digit);
        anchorIndex = std::clamp(anchorIndex, 0, textLength(text));
    }
    paletteClick = true;
    repaintField(currentField);
}
