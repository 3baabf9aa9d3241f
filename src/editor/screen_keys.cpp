#include "editor/colortext.h"
#include "editor/screen.h"
#include "support/trace.h"

#include <algorithm>

int TDrovakScreen::getASCII(int key, bool shift) const {
    return charTable.getASCII(key, shift, capsLock, currentField);
}

void TDrovakScreen::setKeyDown(int key) {
    trace("setKeyDown", "");
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

void TDrovakScreen::setKeyUp(int key) {
    trace("setKeyUp", "");
    if (currentField == kNoField) {
        if (key == kKeyControl) {
            controlDown = false;
        }
        return;
    }
    processKeyUp(key);
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
    capsLock = false;
    controlDown = false;
}

void TDrovakScreen::followModifiers(bool control, bool shift, bool capsOn) {
    controlDown = control;
    shiftDown = shift;
    capsLock = capsOn;
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
        capsLock = !capsLock;
        break;
    case kKeyShift:
        if (!selection) {
            selection = true;
            anchorIndex = cursorIndex;
        }
        shiftDown = true;
        break;
    case kKeySpace:
        if (!controlDown) {
            processSpace(text);
        }
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
        } else if (!controlDown) {
            // A chord with Control is a command (the accelerators'), never a character.
            processNewChar(text, key);
        }
        break;
    }
    clearDuplicateColors(text);
    if (!text.empty()) {
        anchorIndex = std::clamp(anchorIndex, 0, textLength(text));
    }
}
