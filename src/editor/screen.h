#pragma once

#include "editor/chartable.h"
#include "editor/fields.h"
#include "editor/screenart.h"
#include "editor/screenowner.h"
#include "toolkit/graphics.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class TPlayer;

// The pixel advance of one character cell in a field.
inline constexpr int kCharAdvance = 18;
// Glyphs sit this far right of a field's left edge; the cursor this far below its top.
inline constexpr int kTextInset = 5;
inline constexpr int kCursorDrop = 31;
// The blink timer repaints a strip this size on the bottom edge of the field.
inline constexpr int kBlinkStripWidth = 60;
inline constexpr int kBlinkStripHeight = 10;

// The extended-character palette's cells.
inline constexpr int kPaletteCellWidth = 20;
inline constexpr int kPaletteCellHeight = 32;
// The colour palette: one row of swatches, digits 1 to 9 and then 0.
inline constexpr int kColorCells = 10;
inline constexpr int kColorCellWidth = 33;
inline constexpr int kColorCellHeight = 32;

// The modifiers held when a key was pressed, as its own event tells them.
struct TKeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// The six field buffers the screen edits in place, in field-number order. Each span covers
// the whole buffer, terminator included, and must have the field's capacity.
struct TFieldBuffers {
    std::span<char> callsign;
    std::span<char> squadronName;
    std::span<char> squadronPassword;
    std::span<char> side;
    std::span<char> ipAddress;
    std::span<char> serverName;
};

// The field editor: the current field, cursor, selection and modifier keys, and every edit of
// the player's fields. It borrows the player record's buffers and talks back to its owner
// only through TScreenOwner. The key half lives in screen_keys.cpp, the text model in
// screen_text.cpp, clicks and drags in screen_fields.cpp, painting in screen_draw.cpp and
// the owner's mouse points in screen_mouse.cpp.
class TDrovakScreen {
  public:
    // Reads the pictures and "chrtable.dv" from the working directory; a missing or
    // unreadable picture throws TXBitmap.
    explicit TDrovakScreen(TScreenOwner& owner);
    // The same with pictures already read (they are shared, not copied).
    TDrovakScreen(TScreenOwner& owner, const TScreenArt& art);
    TDrovakScreen(const TDrovakScreen&) = delete;
    TDrovakScreen& operator=(const TDrovakScreen&) = delete;

    // The record whose fields are edited; it stays the screen's for its whole life.
    void setPlayer(TPlayer* player);
    // The same with bare buffers. Throws when a buffer has the wrong size.
    void attachFields(const TFieldBuffers& buffers);
    // Reads the key tables; the constructor reads "chrtable.dv" in the working folder.
    void initKeyTable(const std::string& path = TCharTable::kFileName);
    const TCharTable& keyTable() const { return charTable; }

    // The fields' rules (fields.h), kept at hand here.
    static int fieldCapacity(int field) { return ::fieldCapacity(field); }
    static char defaultColor(int field) { return fieldDefaultColor(field); }
    static bool isTextField(int field) { return ::isTextField(field); }

    // Layout: the rectangles of the six fields and the two palettes from the editor and
    // palette origins.
    void setInfoRect(int editorX, int editorY, int paletteX, int paletteY);
    TScreenRect fieldRect(int field) const;
    TScreenRect getEditRect() const { return fieldRect(currentField); }
    const TScreenRect& extendedCharRect() const { return rects[kFieldCount]; }
    const TScreenRect& colorRect() const { return rects[kFieldCount + 1]; }

    // Painting, in this order, from the owner's Paint. The origins are those of the field
    // area and of the palettes in the owner's client area; each stores its origin and lays
    // out the rectangles again.
    void showEditor(TDC& dc, int editorX, int editorY);
    void showExtendedChars(TDC& dc, int paletteX, int paletteY);
    void showCursor(TDC& dc);
    void hilightExtendedChars(TDC& dc);
    void hilightColors(TDC& dc);
    // A picture of a callsign as the game shows it, for a list's row.
    TDib callsignPicture(std::string_view callsign) const;
    // The record's contents were replaced: repaints the six fields.
    void clearEditor();
    // The blink timer: the next cursor cel, and a repaint of the strip under the cursor.
    void changeCursor();
    int getBlinkPhase() const { return blinkPhase; }
    static const char* sideText(int code) { return ::sideText(code); }
    static char extendedChar(int row, int column) { return ::extendedChar(row, column); }

    // The mouse, at points of the owner's client area. editPlayer is a left-button press:
    // true when a field is current afterwards.
    bool editPlayer(const TPoint& point);
    // The point lies in one of the six fields.
    bool checkWindows(const TPoint& point) const;
    // Mouse moves: the hover frames of both palettes, then the drag of a selection.
    void checkButtons(const TPoint& point);
    void checkColors(const TPoint& point);
    void checkDrag(const TPoint& point);

    // Key events from the owner, each with the modifiers held when it was typed. A key down
    // edits and moves; the characters a keyboard layout types come as setChar after it.
    void setKeyDown(int key, TKeyModifiers held);
    void setKeyUp(int key, TKeyModifiers held);
    void setChar(char32_t c, TKeyModifiers held);
    void processKeyUp(int key);
    void resetShiftKey();
    const TFontRules& fontRules() const { return font; }

    // Clicks and drags, after the owner's point has been turned into a field and a display
    // position (cell) within it.
    bool clickField(int field, int displayPosition);
    void dragTo(int displayPosition);
    // The keyboard's way into a field: edited as after a click, the caret after its text; the
    // side stays as it is.
    void enterField(int field);
    void endDrag();
    void endEdit();
    // The edit of a text field as it stands, to take up again after a command that had to end
    // it (a Save typed on the keyboard): the field, cursor, anchor and selection.
    struct TFieldEdit {
        int field = kNoField;
        int cursor = 0;
        int anchor = 0;
        bool selection = false;
    };
    std::optional<TFieldEdit> fieldEdit() const;
    void resumeEdit(const TFieldEdit& edit);
    // Palette picks: an extended character, and a colour digit '0' to '9'.
    void pickExtendedChar(char c);
    void pickColor(char digit);

    // Text queries on the current field.
    int getCursorIndex(std::span<const char> text, int index) const;
    int getStrIndex(int displayPosition) const;
    int getColorStrIndex(int displayPosition) const;
    char getPrevColor(std::span<const char> text) const;
    bool getAdjacentColorIndex(int& digitIndex, std::span<const char> text) const;

    void setDirty();
    void resetDirty() { dirty = false; }
    bool isDirty() const { return dirty; }
    bool isHilight() const { return selection; }
    bool clipboardFull();
    bool isEditing() const { return currentField != kNoField; }
    bool isExtChar() const { return paletteClick; }

    void setShowColorChars(bool show) { showColorCodes = show; }
    bool showColorChars() const { return showColorCodes; }

    int getCurrentField() const { return currentField; }
    int getCursor() const { return cursorIndex; }
    int getAnchor() const { return anchorIndex; }
    bool isDragging() const { return dragging; }
    bool isShiftDown() const { return shiftDown; }
    bool isControlDown() const { return controlDown; }
    std::span<char> fieldText(int field) const;

  private:
    // Painting (screen_draw.cpp).
    void setInfo(TDC& dc, std::span<const char> text, int field, int color, int count,
                 bool interpret);
    void setCharacter(TDC& dc, char c, int index, int field, int x, int color);
    // Where the cursor is drawn, in character cells from the field's left.
    int cursorDisplayPosition() const;

    // Palette clicks (screen_mouse.cpp).
    void addExtendedChar(const TPoint& point);
    void addColorChar(const TPoint& point);
    // A palette's hover frame: the cell under the point, its four bars repainted.
    struct TFrame {
        const TScreenRect& rect;
        int cellWidth;
        int cellHeight;
        std::optional<TPoint>& framed;
        const std::array<TScreenRect, 4>& bars;
    };
    void trackFrame(const TPoint& point, const TFrame& frame);

    // Keys (screen_keys.cpp).
    void holdModifiers(TKeyModifiers held);
    void processKeyDown(int key, std::span<char> text);

    // The text model (screen_text.cpp); text is the current field's buffer.
    // A typed byte; 0 for a key the field cannot take, which still replaces a selection.
    void processNewChar(std::span<char> text, unsigned char c);
    void processSpace(std::span<char> text);
    void processBackSpace(std::span<char> text);
    void processDelete(std::span<char> text);
    void processExtendedChar(std::span<char> text, char c);
    void processColor(std::span<char> text, char digit);
    void processCut(std::span<char> text);
    void processCopy(std::span<char> text);
    void processPaste(std::span<char> text);
    void clearDuplicateColors(std::span<char> text);
    bool cursorSplitsCode(std::span<const char> text, int len) const;
    char colorBefore(std::span<const char> text, int len, int index) const;

    // Brings the cursor and anchor back into the current field's text (which the owner may
    // have replaced) and gives the buffer its terminator.
    void fitIndexesToText();
    int displayToIndex(int displayPosition) const;
    void repaintField(int field);

    bool showColorCodes = true;
    TScreenOwner& owner;
    int editorX = 0;
    int editorY = 0;
    int paletteX = 0;
    int paletteY = 0;
    bool dirty = false;
    bool shiftDown = false;
    bool controlDown = false;
    bool paletteClick = false;
    bool dragging = false;
    bool selection = false;
    TPlayer* player = nullptr;
    TScreenArt art;
    // The palette's background with every glyph on it, drawn on first use: one copy a paint.
    std::optional<TDib> palettePicture;
    TCharTable charTable;
    TFontRules font{charTable};
    std::array<std::span<char>, kFieldCount + 1> fields{}; // by field number; 0 unused
    int currentField = kNoField;
    int anchorIndex = 0;
    int cursorIndex = 0;
    int blinkPhase = 0;
    // The last mouse point, and the cell corner of each palette's frame while one is shown.
    TPoint lastMouse;
    std::optional<TPoint> extendedFrame;
    std::optional<TPoint> colorFrame;
    std::array<TScreenRect, kFieldCount + 2> rects{}; // fields 1 to 6, then both palettes
};
