#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/window.h"

// The report-style list view: items with a label (column 0) and an image, sorted by label
// with LVS_SORTASCENDING, several selectable at once; the other columns' text is asked of
// the parent on demand (LvnGetDispInfo). Items, columns, colours and the selection are kept
// by the layer itself (TListItems), the same in both backends; a backend only shows them.

class TListWindItem {
  public:
    TListWindItem() = default;
    explicit TListWindItem(const char* text, int subItem = 0);

    // The text; GetText is nullptr when there is none (a cancelled label edit).
    void SetText(const char* text);
    const char* GetText() const { return hasText_ ? text_.c_str() : nullptr; }
    void SetIndex(int index) { index_ = index; }
    int GetIndex() const { return index_; }
    void SetSubItem(int subItem) { subItem_ = subItem; }
    int GetSubItem() const { return subItem_; }
    void SetImageIndex(int image) { image_ = image; }
    int GetImageIndex() const { return image_; }
    // A cell's picture: asked for (WantsPicture) only when a column of pictures is drawn.
    void AskPicture() { wantsPicture_ = true; }
    bool WantsPicture() const { return wantsPicture_; }
    void SetPicture(std::shared_ptr<const TDib> picture) { picture_ = std::move(picture); }
    const std::shared_ptr<const TDib>& GetPicture() const { return picture_; }

  private:
    std::string text_;
    bool hasText_ = false;
    int index_ = 0;
    int subItem_ = 0;
    int image_ = 0;
    bool wantsPicture_ = false;
    std::shared_ptr<const TDib> picture_;
};

class TListWindColumn {
  public:
    enum TFormat { Left, Right, Center };
    TListWindColumn(const char* text, int width, TFormat how = Left, int subItem = 0)
        : text_(text ? text : ""), width_(width), how_(how), subItem_(subItem) {}

    const std::string& GetText() const { return text_; }
    int GetWidth() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    TFormat GetFormat() const { return how_; }
    int GetSubItem() const { return subItem_; }
    // The column's cells show the pictures the parent answers with (TListWindItem's
    // SetPicture) in place of their text.
    void SetPictures(bool pictures) { pictures_ = pictures; }
    bool HasPictures() const { return pictures_; }

  private:
    std::string text_;
    int width_;
    TFormat how_;
    int subItem_;
    bool pictures_ = false;
};

// A list notification: iItem is the item (-1 for none), iSubItem the column.
struct TLwNotify {
    int idFrom = 0;
    int iItem = -1;
    int iSubItem = 0;
};

// A list notification about one cell: for LvnGetDispInfo the handler answers with
// item.SetText (the layer copies the text at once); for LvnEndLabelEdit item holds the index
// and the new label, or no text when the edit was cancelled.
struct TLwDispInfoNotify {
    int idFrom = 0;
    TListWindItem item;
};

class TLwFindInfo {
  public:
    void SetString(const char* text) { text_ = text ? text : ""; }
    const std::string& GetString() const { return text_; }

  private:
    std::string text_;
};

// The items of a list: labels with an image index and a selected flag.
class TListItems {
  public:
    struct TItem {
        std::string label;
        int image = 0;
        bool selected = false;
    };

    // The list view's label order: case-insensitive (ASCII letters), then byte order.
    static int Compare(std::string_view a, std::string_view b);
    static bool EqualNoCase(std::string_view a, std::string_view b);

    // Inserts sorted (after the labels that compare equal), or at index when not sorted;
    // returns the new item's index.
    int Insert(std::string_view label, int image, bool sorted, int index);
    bool Delete(int index);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const TItem& At(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TItem& At(int index) { return items_.at(static_cast<std::size_t>(index)); }

    // The first item after startIndex (-1: from the start) whose label equals text, ignoring
    // case; -1 when there is none.
    int FindExact(std::string_view text, int startIndex) const;
    std::vector<int> Selected() const;

  private:
    std::vector<TItem> items_;
};

class TListWindow : public TWindow {
  public:
    enum TImageListType { Normal, Small };

    TListWindow(TWindow* parent, int id, int x, int y, int w, int h);
    ~TListWindow() override;

    // Columns and looks.
    int InsertColumn(int colNum, const TListWindColumn& column);
    bool SetColumnWidth(int colNum, int width);
    int GetColumnWidth(int colNum) const; // 0 for a column that does not exist
    bool SetTextColor(const TColor& color);
    bool SetTextBkColor(const TColor& color);
    bool SetBkColor(const TColor& color);
    bool SetImageList(TImageList& images, TImageListType type = Small); // not owned

    // Items.
    int InsertItem(TListWindItem& item); // label, image and (unsorted) index; returns index
    bool DeleteAnItem(int index);
    bool DeleteAllItems();
    int GetItemCount() const { return items_.Count(); }
    int FindItem(int startIndex, const TLwFindInfo& findInfo) const;
    // Writes up to size-1 characters of a cell and its terminator; column 0 is the label, the
    // others are asked of the parent (LvnGetDispInfo). Returns the length written.
    int GetItemText(int index, int subItem, char* text, int size) const;
    // Changes an item's image; false for an index out of range.
    bool SetItemImage(int index, int image);
    // How wide a text is in the list's font, in pixels (defined by each backend).
    int GetStringWidth(const std::string& text) const;

    // Selection.
    int GetSelCount() const;
    int GetSelIndexes(int* indexes, int maxCount) const; // ascending; returns the count
    bool SetSel(int index, bool select);
    bool SetSelIndexes(const int* indexes, int count, bool select);

    // On screen.
    bool EnsureVisible(int index, bool partialOk);
    bool RedrawItems(int first, int last);
    void EditLabel(int index); // starts in-place editing; the end arrives as LvnEndLabelEdit

    // The item under a point of the client area, -1 for none; the rows that fit in the view;
    // an item's row in the client area, empty for none (defined by each backend).
    int HitTest(const TPoint& point) const;
    int GetCountPerPage() const;
    TRect GetItemRect(int index) const;

    // The control's own handling of these messages: a click selects the item under it (with
    // MK_CONTROL toggles it, with MK_SHIFT extends to it), a right click on an unselected item
    // selects it alone, the arrow, Home, End, Page Up and Page Down keys move the selection
    // (with Shift they extend it unless LVS_SINGLESEL), Ctrl+A selects every item unless
    // LVS_SINGLESEL, and letters and digits typed in quick succession select the next label
    // that starts with them. A derived list's
    // handler calls them where the framework's default processing ran; the backend never lets
    // the native control handle these messages on its own.
    void EvLButtonDown(uint modKeys, const TPoint& point);
    void EvRButtonDown(uint modKeys, const TPoint& point);
    void EvKeyDown(uint key, uint repeatCount, uint flags);
    void EvKeyUp(uint key, uint repeatCount, uint flags);

    DECLARE_RESPONSE_TABLE(TListWindow);

    // What a backend reads to show the list, and tests to check it.
    const TListItems& GetItems() const { return items_; }
    const std::vector<TListWindColumn>& GetColumns() const { return columns_; }
    TColor GetTextColor() const { return textColor_; }
    TColor GetTextBkColor() const { return textBkColor_; }
    TColor GetBkColor() const { return bkColor_; }
    const TImageList* GetImageList() const { return images_; }
    // The item whose label is being edited in place, -1 when none.
    int GetEditIndex() const { return editIndex_; }
    void SetEditIndex(int index) { editIndex_ = index; }
    // Asks the parent for the text of a cell (LvnGetDispInfo); empty when unanswered.
    std::string GetCellText(int index, int subItem) const;
    // Asks the parent for the picture of a cell in a column of pictures; null for none.
    std::shared_ptr<const TDib> GetCellPicture(int index, int subItem) const;
    // Hands the end of an in-place edit to the parent (LvnEndLabelEdit): the new text, or
    // nullptr when the edit was cancelled.
    void EndLabelEdit(const char* newText);

    enum class TChange { Items, Selection, Columns, Looks };

  private:
    // Tells the backend what changed so that it shows it (defined by each backend).
    void Changed(TChange what);

    TListItems items_;
    std::vector<TListWindColumn> columns_;
    TColor textColor_{0, 0, 0};
    TColor textBkColor_{255, 255, 255};
    TColor bkColor_{255, 255, 255};
    TImageList* images_ = nullptr;
    int editIndex_ = -1;
    // Where a Shift selection grows from, and the item the keys moved to last.
    int anchor_ = -1;
    int caret_ = -1;
    // The letters typed so far and when the last one came.
    std::string typed_;
    std::uint64_t typedAt_ = 0;
};
