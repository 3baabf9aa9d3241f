#pragma once

#include <string>

// A rectangle of the owner's client area in pixels; right and bottom lie outside it.
struct TScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    bool operator==(const TScreenRect&) const = default;
};

// What the editor screen asks of the window that owns it. The screen never draws on its own
// and never touches the platform: it asks for repaints, reports the first change of a file,
// passes Control+Z on, and reaches the clipboard through here.
class TScreenOwner {
  public:
    virtual ~TScreenOwner() = default;

    // Erase and repaint this part of the client area at the next paint.
    virtual void repaintRect(const TScreenRect& rect) = 0;
    // The open file has its first unsaved change.
    virtual void setDirtyFile() = 0;
    virtual void CmdUndo() = 0;

    // Plain 8-bit text, as the game's character codes.
    virtual bool clipboardHasText() = 0;
    virtual std::string getClipboardText() = 0;
    virtual void setClipboardText(std::string bytes) = 0;
};
