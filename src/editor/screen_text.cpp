#include "editor/colortext.h"
#include "editor/screen.h"
#include "support/trace.h"

#include <algorithm>
#include <string>

namespace {

// Fields whose texts interpret colour codes and whose codes the palette inserts and changes;
// the squadron password interprets codes but only has them stripped from a selection.
bool insertsColorCodes(int field) {
    return field == kFieldCallsign || field == kFieldSquadronName || field == kFieldServerName;
}

int capacityOf(std::span<const char> text) {
    return static_cast<int>(text.size());
}

} // namespace

bool TDrovakScreen::cursorSplitsCode(std::span<const char> text, int len) const {
    return cursorIndex > 0 && colorCodeAt(text, len, cursorIndex - 1);
}

char TDrovakScreen::colorBefore(std::span<const char> text, int len, int index) const {
    char color = defaultColor(currentField);
    scanColorCodes(text, std::min(len, index), [&](int i, TByteKind kind) {
        if (kind == TByteKind::CodeDigit) {
            color = text[static_cast<std::size_t>(i)];
        }
        return true;
    });
    return color;
}

void TDrovakScreen::processNewChar(std::span<char> text, unsigned char c) {
    trace("processNewChar", "");
    // Room is judged on the text as the key found it: in a full field, typing over a
    // selection only removes the selection.
    const bool room = textLength(text) + 1 < capacityOf(text);
    if (selection) {
        processDelete(text);
    }
    int len = textLength(text);
    if (c != 0 && room) {
        setDirty();
        if (insertText(text, len, cursorIndex, std::string(1, static_cast<char>(c)))) {
            ++cursorIndex;
        }
    }
}

void TDrovakScreen::processSpace(std::span<char> text) {
    trace("processSpace", "");
    int len = textLength(text);
    // As for typing, a full field takes no blank, even over a selection.
    const bool room = len + 1 < capacityOf(text);
    if (selection) {
        processDelete(text);
        len = textLength(text);
    } else if (cursorSplitsCode(text, len)) {
        // The blank goes before the code, not between its tilde and digit.
        --cursorIndex;
    }
    if (room) {
        setDirty();
        if (insertText(text, len, cursorIndex, " ")) {
            ++cursorIndex;
        }
    }
}

void TDrovakScreen::processBackSpace(std::span<char> text) {
    trace("processBackSpace", "");
    if (selection) {
        processDelete(text);
        return;
    }
    int len = textLength(text);
    if (len < 3 && colorCodeAt(text, len, 0)) {
        setDirty();
        removeText(text, len, 0, 2);
        cursorIndex = 0;
        return;
    }
    if (len > 0 && cursorIndex > 0) {
        setDirty();
        int n = 1;
        if (cursorIndex > 1 && len > 2 && colorCodeAt(text, len, cursorIndex - 2)) {
            n = 2;
        } else if (len > 1 && cursorSplitsCode(text, len)) {
            n = 2;
            ++cursorIndex;
        }
        removeText(text, len, cursorIndex - n, n);
        cursorIndex -= n;
    }
}

void TDrovakScreen::processDelete(std::span<char> text) {
    trace("processDelete", "");
    int len = textLength(text);
    if (selection) {
        const int hi = std::min(std::max(cursorIndex, anchorIndex), len);
        const int lo = std::clamp(std::min(cursorIndex, anchorIndex), 0, hi);
        // Shift pressed without a move selects nothing: nothing to delete, nothing changed.
        if (hi > lo) {
            setDirty();
            removeText(text, len, lo, hi - lo, true);
        }
        cursorIndex = lo;
        anchorIndex = lo;
        selection = false;
        return;
    }
    if (len < 3 && colorCodeAt(text, len, 0)) {
        setDirty();
        removeText(text, len, 0, 2);
        cursorIndex = 0;
        return;
    }
    if (len > 0 && cursorIndex < len) {
        setDirty();
        int n = 1;
        if (len > 1 && cursorSplitsCode(text, len)) {
            n = 2;
            --cursorIndex;
        } else if (len > 2 && colorCodeAt(text, len, cursorIndex)) {
            n = 2;
        }
        removeText(text, len, cursorIndex, n);
    }
}

void TDrovakScreen::processExtendedChar(std::span<char> text, char c) {
    trace("processExtendedChar", "");
    int len = textLength(text);
    if (c != 0 && len + 1 < capacityOf(text)) {
        setDirty();
        if (insertText(text, len, cursorIndex, std::string(1, c))) {
            ++cursorIndex;
        }
    }
    clearDuplicateColors(text);
}

void TDrovakScreen::processColor(std::span<char> text, char digit) {
    trace("processColor", "");
    int len = textLength(text);
    char prev = getPrevColor(text);
    bool same = digit == prev;
    setDirty();
    // An empty selection (Shift pressed without a move) takes the same steps as any other.
    if (selection) {
        const int lo = std::clamp(std::min(cursorIndex, anchorIndex), 0, len);
        int hi = std::clamp(std::max(cursorIndex, anchorIndex), lo, len);
        // An end between a tilde and its digit takes that code in: the code put back after
        // the selection would otherwise land inside it and break it.
        if (colorCodeAt(text, len, hi - 1)) {
            ++hi;
        }
        // The colour the text after the selection has now, whichever end the cursor is at.
        prev = colorBefore(text, len, hi);
        for (int i = lo; i <= hi - 2;) {
            if (colorCodeAt(text, len, i)) {
                removeText(text, len, i, 2);
                hi -= 2;
            } else {
                ++i;
            }
        }
        same = digit == prev;
        // A code right after the selection sets the colour there anyway; a lone tilde sets
        // none, so the text behind it still needs its colour put back.
        if (!same && insertsColorCodes(currentField) && hi < len && hi + 4 < capacityOf(text) &&
            !colorCodeAt(text, len, hi)) {
            insertText(text, len, hi, std::string{kColorTilde, prev});
        }
        selection = false;
        cursorIndex = lo;
        anchorIndex = lo;
        prev = getPrevColor(text);
        same = digit == prev;
        len = textLength(text);
    }
    if (insertsColorCodes(currentField)) {
        int j = 0;
        if (getAdjacentColorIndex(j, text)) {
            if (same) {
                cursorIndex = j + 1;
                processBackSpace(text);
            } else {
                text[static_cast<std::size_t>(j)] = digit;
            }
        } else if (!same && insertText(text, len, cursorIndex, std::string{kColorTilde, digit})) {
            cursorIndex += 2;
        }
    }
    clearDuplicateColors(text);
}

void TDrovakScreen::processCut(std::span<char> text) {
    trace("processCut", "");
    if (!selection) {
        return;
    }
    // Cut is a change of the file whatever it takes away, an empty selection included.
    setDirty();
    processCopy(text);
    processDelete(text);
}

void TDrovakScreen::processCopy(std::span<char> text) {
    trace("processCopy", "");
    if (!selection) {
        return;
    }
    const int len = textLength(text);
    const int hi = std::min(std::max(cursorIndex, anchorIndex), len);
    const int lo = std::clamp(std::min(cursorIndex, anchorIndex), 0, hi);
    // The clipboard takes the selection as it is: an empty one replaces what it held with an
    // empty text.
    owner.setClipboardText(std::string(text.data() + lo, static_cast<std::size_t>(hi - lo)));
}

void TDrovakScreen::processPaste(std::span<char> text) {
    trace("processPaste", "");
    if (!owner.clipboardHasText()) {
        return;
    }
    std::string pasted = owner.getClipboardText();
    // Clipboard text is a C string to the game: it ends at its first zero byte.
    pasted.resize(std::min(pasted.size(), pasted.find('\0')));
    if (pasted.empty()) {
        return;
    }
    if (selection) {
        processDelete(text);
    }
    int len = textLength(text);
    setDirty();
    const int room = std::max(0, capacityOf(text) - 1 - len);
    pasted.resize(std::min(pasted.size(), static_cast<std::size_t>(room)));
    if (insertText(text, len, cursorIndex, pasted)) {
        cursorIndex += static_cast<int>(pasted.size());
    }
}

void TDrovakScreen::clearDuplicateColors(std::span<char> text) {
    trace("clearDuplicateColors", "");
    if (!insertsColorCodes(currentField)) {
        return;
    }
    char inEffect = defaultColor(currentField);
    int len = textLength(text);
    // Each index shifts like the text under it; one that split the removed code goes to
    // where the code began.
    auto follow = [](int& index, int codeStart) {
        if (index >= codeStart + 2) {
            index -= 2;
        } else if (index == codeStart + 1) {
            index = codeStart;
        }
    };
    bool afterTilde = false;
    int i = 0;
    while (i < len) {
        const char c = text[static_cast<std::size_t>(i)];
        if (afterTilde && isColorDigit(c)) {
            afterTilde = false;
            if (c == inEffect) {
                const int codeStart = i - 1;
                removeText(text, len, codeStart, 2, true);
                follow(cursorIndex, codeStart);
                follow(anchorIndex, codeStart);
                // Go on with the byte that moved into the code's place, in the scan state
                // the byte before the code left.
                i = codeStart;
                afterTilde = i > 0 && text[static_cast<std::size_t>(i) - 1] == kColorTilde;
                continue;
            }
            inEffect = c;
        } else {
            afterTilde = c == kColorTilde;
        }
        ++i;
    }
}

int TDrovakScreen::getCursorIndex(std::span<const char> text, int index) const {
    trace("getCursorIndex", "");
    const int len = textLength(text);
    int visible = 0;
    scanColorCodes(text, std::min(len, std::max(index, 0)), [&](int, TByteKind kind) {
        visible += kind == TByteKind::Visible ? 1 : 0;
        return true;
    });
    if (len < index && index > 0) {
        return visible + (index - len) + 1;
    }
    return visible;
}

int TDrovakScreen::getStrIndex(int displayPosition) const {
    trace("getStrIndex", "");
    std::span<const char> text = fieldText(currentField);
    const int len = text.empty() ? 0 : textLength(text);
    if (currentField == kFieldIpAddress) {
        // The IP address is drawn byte for byte: it hides no codes.
        return std::clamp(displayPosition, 0, len);
    }
    int passed = 0;
    int reached = 0;
    if (displayPosition > 0) {
        reached = len;
        scanColorCodes(text, len, [&](int i, TByteKind kind) {
            if (kind == TByteKind::Visible && ++passed == displayPosition) {
                reached = i + 1;
                return false;
            }
            return true;
        });
    }
    // A click just before a character that follows a hidden code lands after the code.
    return colorCodeAt(text, len, reached) ? reached + 2 : reached;
}

int TDrovakScreen::getColorStrIndex(int displayPosition) const {
    trace("getColorStrIndex", "");
    std::span<const char> text = fieldText(currentField);
    const int len = text.empty() ? 0 : textLength(text);
    return std::clamp(displayPosition, 0, len);
}

char TDrovakScreen::getPrevColor(std::span<const char> text) const {
    trace("getPrevColor", "");
    return colorBefore(text, textLength(text), cursorIndex - 1);
}

bool TDrovakScreen::getAdjacentColorIndex(int& digitIndex, std::span<const char> text) const {
    trace("getAdjacentColorIndex", "");
    const int len = textLength(text);
    const int c = cursorIndex;
    if (c >= 2 && len >= 3 && colorCodeAt(text, len, c - 2)) {
        digitIndex = c - 1;
        return true;
    }
    if (c >= 1 && len >= 2 && colorCodeAt(text, len, c - 1)) {
        digitIndex = c;
        return true;
    }
    if (len >= 2 && colorCodeAt(text, len, c)) {
        digitIndex = c + 1;
        return true;
    }
    return false;
}
