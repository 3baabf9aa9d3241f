#include "editor/screen.h"
#include "support/trace.h"

#include <algorithm>
#include <array>

namespace {

// The repaint bars around a palette cell, from its corner: the frame's cels lie inside them.
constexpr std::array<TScreenRect, 4> kExtendedBars{{
    {0, 0, 22, 2},
    {0, 0, 2, 34},
    {20, 0, 22, 34},
    {0, 32, 22, 34},
}};
constexpr std::array<TScreenRect, 4> kColorBars{{
    {0, 0, 32, 5},
    {0, 0, 4, 32},
    {28, 0, 32, 32},
    {0, 27, 32, 32},
}};

// Fields in the order a click tests them.
constexpr std::array<int, kFieldCount> kClickOrder{kFieldCallsign,         kFieldSquadronName,
                                                   kFieldSquadronPassword, kFieldIpAddress,
                                                   kFieldServerName,       kFieldSide};

// The top-left corner of the grid cell under a point inside rect.
TPoint cellCorner(const TPoint& p, const TScreenRect& rect, int width, int height) {
    return TPoint(p.x - (p.x - rect.left) % width, p.y - (p.y - rect.top) % height);
}

// The character cell under x in a field; left of the field counts toward zero, as a drag
// that leaves the field on the left does.
int cellOf(int x, const TScreenRect& field) {
    return (x - field.left) / kCharAdvance;
}

} // namespace

bool TDrovakScreen::editPlayer(const TPoint& point) {
    trace("editPlayer", "");
    for (int f : kClickOrder) {
        const TScreenRect r = fieldRect(f);
        if (r.contains(point.x, point.y)) {
            return clickField(f, cellOf(point.x, r));
        }
    }
    if (extendedCharRect().contains(point.x, point.y)) {
        addExtendedChar(point);
    } else if (colorRect().contains(point.x, point.y)) {
        addColorChar(point);
    } else {
        endEdit();
    }
    return isEditing();
}

void TDrovakScreen::addExtendedChar(const TPoint& point) {
    trace("addExtendedChar", "");
    const TScreenRect& r = extendedCharRect();
    const int column = std::clamp((point.x - r.left) / kPaletteCellWidth, 0, kPaletteColumns - 1);
    const int row = std::clamp((point.y - r.top) / kPaletteCellHeight, 0, kPaletteRows - 1);
    pickExtendedChar(extendedChar(row, column));
}

void TDrovakScreen::addColorChar(const TPoint& point) {
    trace("addColorChar", "");
    const int cell = std::clamp((point.x - colorRect().left) / kColorCellWidth, 0, kColorCells - 1);
    // The swatches run 1 to 9, then 0.
    pickColor(static_cast<char>('0' + (cell + 1) % kColorCells));
}

bool TDrovakScreen::checkWindows(const TPoint& point) const {
    trace("checkWindows", "");
    for (int f = 1; f <= kFieldCount; ++f) {
        if (fieldRect(f).contains(point.x, point.y)) {
            return true;
        }
    }
    return false;
}

void TDrovakScreen::trackFrame(const TPoint& point, const TFrame& frame) {
    const bool inside = frame.rect.contains(point.x, point.y);
    const TPoint cell = cellCorner(point, frame.rect, frame.cellWidth, frame.cellHeight);
    if (inside && frame.framed && *frame.framed == cell) {
        return;
    }
    auto repaintBars = [&](const TPoint& corner) {
        for (const TScreenRect& bar : frame.bars) {
            owner.repaintRect(TScreenRect{corner.x + bar.left, corner.y + bar.top,
                                          corner.x + bar.right, corner.y + bar.bottom});
        }
    };
    if (frame.framed) {
        repaintBars(*frame.framed);
        frame.framed.reset();
    }
    if (inside) {
        repaintBars(cell);
        frame.framed = cell;
    }
}

void TDrovakScreen::checkButtons(const TPoint& point) {
    trace("checkButtons", "");
    lastMouse = point;
    trackFrame(point, TFrame{extendedCharRect(), kPaletteCellWidth, kPaletteCellHeight,
                             extendedFrame, kExtendedBars});
}

void TDrovakScreen::checkColors(const TPoint& point) {
    trace("checkColors", "");
    lastMouse = point;
    trackFrame(point,
               TFrame{colorRect(), kColorCellWidth, kColorCellHeight, colorFrame, kColorBars});
}

void TDrovakScreen::checkDrag(const TPoint& point) {
    trace("checkDrag", "");
    if (dragging && isTextField(currentField)) {
        dragTo(cellOf(point.x, fieldRect(currentField)));
    }
}
