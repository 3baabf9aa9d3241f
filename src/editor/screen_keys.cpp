#include "editor/colortext.h"
#include "editor/screen.h"
#include "support/trace.h"
#include "toolkit/constants.h"

#include <algorithm>

void TDrovakScreen::holdModifiers(TKeyModifiers held) {
    shiftDown = held.shift;
    // Windows types AltGr's characters with Control and Alt both held: that is no chord.
    controlDown = held.control && !held.alt;
}

void TDrovakScreen::setKeyDown(int key, TKeyModifiers held) {
    trace("setKeyDown", "");
    holdModifiers(held);
    if (isTextField(currentField)) {
        fitIndexesToText();
        processKeyDown(key, fieldText(currentField));
    } else if (currentField == kNoField) {
        if (key == kKeyControl) {
            controlDown = true;
        } else if (key == kKeyZ && controlDown) {
            owner.CmdUndo();
        }
    }
    if (currentField != kNoField) {
        repaintField(currentField);
    }
}

void TDrovakScreen::setKeyUp(int key, TKeyModifiers held) {
    trace("setKeyUp", "");
    holdModifiers(held);
    processKeyUp(key);
    if (currentField != kNoField) {
        repaintField(currentField);
    }
}

void TDrovakScreen::setChar(char32_t c, TKeyModifiers held) {
    trace("setChar", "");
    holdModifiers(held);
    // A chord with Control is a command (the accelerators'), never a character; nor are the
    // control characters some keys bring (Backspace, Tab, Return).
    if (!isTextField(currentField) || controlDown || c < U' ' || c == 0x7F) {
        return;
    }
    fitIndexesToText();
    std::span<char> text = fieldText(currentField);
    paletteClick = false;
    if (c == U' ') {
        processSpace(text);
    } else {
        processNewChar(text, typedByte(c, currentField, font));
    }
    clearDuplicateColors(text);
    anchorIndex = std::clamp(anchorIndex, 0, textLength(text));
    repaintField(currentField);
}

void TDrovakScreen::processKeyUp(int key) {
    trace("processKeyUp", "");
    if (key == kKeyShift) {
        shiftDown = false;
    } else if (key == kKeyControl) {
        controlDown = false;
    }
}

void TDrovakScreen::resetShiftKey() {
    trace("resetShiftKey", "");
    shiftDown = false;
    controlDown = false;
}

void TDrovakScreen::processKeyDown(int key, std::span<char> text) {
    trace("processKeyDown", "");
    paletteClick = false;
    const int len = textLength(text);
    const bool moveKey = key == kKeyLeft || key == kKeyRight || key == kKeyHome || key == kKeyEnd;
    if (moveKey && !shiftDown) {
        selection = false;
    }
    switch (key) {
    case kKeyBackspace:
        processBackSpace(text);
        break;
    case kKeyDelete:
        processDelete(text);
        break;
    case kKeyControl:
        controlDown = true;
        break;
    case kKeyCapsLock:
        break; // the layout applies the lock to the characters it types
    case kKeyShift:
        if (!selection) {
            selection = true;
            anchorIndex = cursorIndex;
        }
        shiftDown = true;
        break;
    case kKeyLeft:
        if (cursorIndex > 0) {
            --cursorIndex;
        }
        break;
    case kKeyRight:
        if (cursorIndex < len) {
            ++cursorIndex;
        }
        break;
    case kKeyHome:
        cursorIndex = 0;
        break;
    case kKeyEnd:
        cursorIndex = len;
        break;
    default:
        if (controlDown && key == kKeyZ) {
            owner.CmdUndo();
            // Undo may have replaced the record or ended the edit.
            fitIndexesToText();
            text = fieldText(currentField);
        } else if (controlDown && key == kKeyX) {
            processCut(text);
        } else if (controlDown && key == kKeyC) {
            processCopy(text);
        } else if (controlDown && key == kKeyV) {
            processPaste(text);
        } else if (!controlDown && !IsCharacterKey(static_cast<unsigned>(key))) {
            // A key that types nothing on any keyboard takes a selection away, as a key the
            // font cannot show does; the character keys type through setChar.
            processNewChar(text, 0);
        }
        break;
    }
    clearDuplicateColors(text);
    if (!text.empty()) {
        anchorIndex = std::clamp(anchorIndex, 0, textLength(text));
    }
}
