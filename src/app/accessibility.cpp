// What the main window draws, as a screen reader is told of it: the list's rows, the six
// fields with their caret and selection, the palettes' buttons and the line of news.
#include "app/drovakwindow.h"

#include <cctype>
#include <cstring>

namespace {

using TRole = TAccessiblePart::TRole;

// Field titles in field-number order, as the editor's labels read.
constexpr const char* kFieldTitles[kFieldCount] = {"Callsign", "Squadron name", "Squadron password",
                                                   "Side",     "IP address",    "Server name"};
// The colour swatches' colours, code 0 to 9.
constexpr const char* kColorNames[kColorCells] = {"white",  "red",     "green", "yellow", "blue",
                                                  "orange", "magenta", "cyan",  "violet", "pink"};

bool isColorCode(std::string_view text, std::size_t i) {
    return text[i] == '~' && i + 1 < text.size() &&
           std::isdigit(static_cast<unsigned char>(text[i + 1]));
}

// A field as it is shown: its colour codes only while it is edited with the setting on. Where
// they are hidden, a caret or selection index of the buffer becomes one of the text read.
TAccessiblePart fieldPart(const char* title, std::string_view raw, bool showCodes, int caret,
                          int anchor) {
    TAccessiblePart part{TRole::Field, title};
    auto shown = [&](int index) {
        int at = 0;
        for (std::size_t i = 0; i < raw.size() && static_cast<int>(i) < index; ++i) {
            at += showCodes || (!isColorCode(raw, i) && !(i > 0 && isColorCode(raw, i - 1)));
        }
        return at;
    };
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (!showCodes && isColorCode(raw, i)) {
            ++i;
        } else {
            part.text += raw[i];
        }
    }
    if (caret >= 0) {
        part.caret = shown(caret);
        part.selectionStart = shown(std::min(caret, anchor));
        part.selectionEnd = shown(std::max(caret, anchor));
        part.selected = true;
    }
    return part;
}

TRect rectOf(const TScreenRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

std::vector<TAccessiblePart> TDrovakWindow::AccessibleParts() {
    std::vector<TAccessiblePart> parts;
    const int selected = listWindow->getSelected();
    for (int i = 0; i < listWindow->GetItemCount(); ++i) {
        const std::string& label = listWindow->GetItems().At(i).label;
        TAccessiblePart row{TRole::Row, label, label};
        for (int column : {1, 2}) {
            TLwDispInfoNotify info;
            info.item.SetIndex(i);
            info.item.SetSubItem(column);
            LvnGetDispInfo(info);
            row.text += ", ";
            row.text += info.item.GetText() ? info.item.GetText() : "";
        }
        if (listWindow->doesDirtyFileExist(label.c_str(), false)) {
            row.text += ", edited";
        }
        row.selected = i == selected;
        parts.push_back(row);
    }
    if (player->getFileName()[0] != '\0') {
        for (int field = 1; field <= kFieldCount; ++field) {
            std::span<const char> buffer = screen->fieldText(field);
            std::string_view raw(buffer.data(), strnlen(buffer.data(), buffer.size()));
            const std::string side =
                TDrovakScreen::sideText(raw.empty() ? 0 : static_cast<unsigned char>(raw[0]));
            const bool editing = screen->getCurrentField() == field;
            parts.push_back(fieldPart(kFieldTitles[field - 1], field == kFieldSide ? side : raw,
                                      screen->showColorChars() && editing,
                                      editing ? screen->getCursor() : -1, screen->getAnchor()));
            parts.back().bounds = rectOf(screen->fieldRect(field));
        }
    }
    for (int code = 0; code < kColorCells; ++code) {
        const char digit = static_cast<char>('0' + code);
        std::string name = "Colour ";
        name += digit;
        name += ' ';
        name += kColorNames[code];
        parts.emplace_back(TRole::Button, name, std::string{'~', digit});
        // The swatches run 1 to 9, then 0.
        const TScreenRect& swatches = screen->colorRect();
        const int left = swatches.left + (code + kColorCells - 1) % kColorCells * kColorCellWidth;
        parts.back().bounds = {left, swatches.top, left + kColorCellWidth, swatches.bottom};
    }
    for (int row = 0; row < kPaletteRows; ++row) {
        for (int column = 0; column < kPaletteColumns; ++column) {
            if (const char c = TDrovakScreen::extendedChar(row, column); c != 0) {
                parts.emplace_back(TRole::Button, std::string(1, c), std::string(1, c));
                const TScreenRect& cells = screen->extendedCharRect();
                const int left = cells.left + column * kPaletteCellWidth;
                const int top = cells.top + row * kPaletteCellHeight;
                parts.back().bounds = {left, top, left + kPaletteCellWidth,
                                       top + kPaletteCellHeight};
            }
        }
    }
    if (!statusText.empty()) {
        parts.emplace_back(TRole::Message, "News", statusText);
        parts.back().bounds = kStatusStrip;
    }
    return parts;
}
