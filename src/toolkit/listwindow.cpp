#include "toolkit/listwindow.h"

#include <algorithm>
#include <cstring>

TListWindItem::TListWindItem(const char* text, int subItem) : subItem_(subItem) {
    SetText(text);
}

void TListWindItem::SetText(const char* text) {
    hasText_ = text != nullptr;
    text_ = text ? text : "";
}

namespace {

unsigned char fold(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

} // namespace

int TListItems::Compare(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (fold(a[i]) != fold(b[i]))
            return fold(a[i]) < fold(b[i]) ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

bool TListItems::EqualNoCase(std::string_view a, std::string_view b) {
    return Compare(a, b) == 0;
}

int TListItems::Insert(std::string_view label, int image, bool sorted, int index) {
    std::size_t at;
    if (sorted) {
        auto it = std::upper_bound(
            items_.begin(), items_.end(), label,
            [](std::string_view l, const TItem& item) { return Compare(l, item.label) < 0; });
        at = static_cast<std::size_t>(it - items_.begin());
    } else {
        at = static_cast<std::size_t>(std::clamp(index, 0, Count()));
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at),
                  TItem{std::string(label), image, false});
    return static_cast<int>(at);
}

bool TListItems::Delete(int index) {
    if (!Valid(index))
        return false;
    items_.erase(items_.begin() + index);
    return true;
}

int TListItems::FindExact(std::string_view text, int startIndex) const {
    for (int i = std::max(startIndex + 1, 0); i < Count(); ++i) {
        if (EqualNoCase(At(i).label, text))
            return i;
    }
    return -1;
}

std::vector<int> TListItems::Selected() const {
    std::vector<int> selected;
    for (int i = 0; i < Count(); ++i) {
        if (At(i).selected)
            selected.push_back(i);
    }
    return selected;
}

TListWindow::TListWindow(TWindow* parent, int id, int x, int y, int w, int h) : TWindow(parent) {
    Attr.Id = id;
    Attr.X = x;
    Attr.Y = y;
    Attr.W = w;
    Attr.H = h;
    Attr.Style = WS_CHILD | WS_VISIBLE | LVS_REPORT;
}

TListWindow::~TListWindow() = default;

int TListWindow::InsertColumn(int colNum, const TListWindColumn& column) {
    const int at = std::clamp(colNum, 0, static_cast<int>(columns_.size()));
    columns_.insert(columns_.begin() + at, column);
    Changed(TChange::Columns);
    return at;
}

bool TListWindow::SetColumnWidth(int colNum, int width) {
    if (colNum < 0 || colNum >= static_cast<int>(columns_.size()))
        return false;
    columns_[static_cast<std::size_t>(colNum)].SetWidth(width);
    Changed(TChange::Columns);
    return true;
}

int TListWindow::GetColumnWidth(int colNum) const {
    if (colNum < 0 || colNum >= static_cast<int>(columns_.size()))
        return 0;
    return columns_[static_cast<std::size_t>(colNum)].GetWidth();
}

bool TListWindow::SetTextColor(const TColor& color) {
    textColor_ = color;
    Changed(TChange::Looks);
    return true;
}

bool TListWindow::SetTextBkColor(const TColor& color) {
    textBkColor_ = color;
    Changed(TChange::Looks);
    return true;
}

bool TListWindow::SetBkColor(const TColor& color) {
    bkColor_ = color;
    Changed(TChange::Looks);
    return true;
}

bool TListWindow::SetImageList(TImageList& images, TImageListType type) {
    if (type != Small)
        return false;
    images_ = &images;
    Changed(TChange::Looks);
    return true;
}

int TListWindow::InsertItem(TListWindItem& item) {
    const char* text = item.GetText();
    const int at = items_.Insert(text ? text : "", item.GetImageIndex(),
                                 (Attr.Style & LVS_SORTASCENDING) != 0, item.GetIndex());
    if (editIndex_ >= at)
        ++editIndex_;
    Changed(TChange::Items);
    return at;
}

bool TListWindow::DeleteAnItem(int index) {
    if (!items_.Delete(index))
        return false;
    if (editIndex_ == index)
        editIndex_ = -1;
    else if (editIndex_ > index)
        --editIndex_;
    Changed(TChange::Items);
    return true;
}

bool TListWindow::DeleteAllItems() {
    items_.Clear();
    editIndex_ = -1;
    Changed(TChange::Items);
    return true;
}

int TListWindow::FindItem(int startIndex, const TLwFindInfo& findInfo) const {
    return items_.FindExact(findInfo.GetString(), startIndex);
}

bool TListWindow::SetItemImage(int index, int image) {
    if (!items_.Valid(index))
        return false;
    if (items_.At(index).image != image) {
        items_.At(index).image = image;
        RedrawItems(index, index);
    }
    return true;
}

int TListWindow::GetItemText(int index, int subItem, char* text, int size) const {
    if (text == nullptr || size <= 0)
        return 0;
    std::string cell;
    if (items_.Valid(index))
        cell = subItem == 0 ? items_.At(index).label : GetCellText(index, subItem);
    const std::size_t n = std::min(cell.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(text, cell.data(), n);
    text[n] = '\0';
    return static_cast<int>(n);
}

std::string TListWindow::GetCellText(int index, int subItem) const {
    if (!items_.Valid(index))
        return {};
    if (subItem == 0)
        return items_.At(index).label;
    TWindow* parent = GetParentO();
    if (parent == nullptr)
        return {};
    TLwDispInfoNotify info;
    info.idFrom = GetId();
    info.item.SetIndex(index);
    info.item.SetSubItem(subItem);
    TMsg msg = TMsg::MakeNotify(TMsgKind::LvnGetDispInfo, GetId());
    msg.dispInfo = &info;
    parent->Dispatch(msg);
    const char* text = info.item.GetText();
    return text ? text : "";
}

void TListWindow::EndLabelEdit(const char* newText) {
    const int index = editIndex_;
    editIndex_ = -1;
    TWindow* parent = GetParentO();
    if (parent == nullptr)
        return;
    TLwDispInfoNotify info;
    info.idFrom = GetId();
    info.item.SetIndex(index);
    info.item.SetText(newText);
    TMsg msg = TMsg::MakeNotify(TMsgKind::LvnEndLabelEdit, GetId());
    msg.dispInfo = &info;
    parent->Dispatch(msg);
}

int TListWindow::GetSelCount() const {
    return static_cast<int>(items_.Selected().size());
}

int TListWindow::GetSelIndexes(int* indexes, int maxCount) const {
    if (indexes == nullptr || maxCount <= 0)
        return 0;
    const std::vector<int> selected = items_.Selected();
    const int n = std::min(maxCount, static_cast<int>(selected.size()));
    std::copy_n(selected.begin(), n, indexes);
    return n;
}

bool TListWindow::SetSel(int index, bool select) {
    if (!items_.Valid(index))
        return false;
    items_.At(index).selected = select;
    Changed(TChange::Selection);
    return true;
}

bool TListWindow::SetSelIndexes(const int* indexes, int count, bool select) {
    if (indexes == nullptr && count > 0)
        return false;
    bool all = true;
    for (int i = 0; i < count; ++i) {
        if (items_.Valid(indexes[i]))
            items_.At(indexes[i]).selected = select;
        else
            all = false;
    }
    Changed(TChange::Selection);
    return all;
}

namespace {

void selectOnly(TListItems& items, int index) {
    for (int i = 0; i < items.Count(); ++i)
        items.At(i).selected = i == index;
}

} // namespace

void TListWindow::EvLButtonDown(uint modKeys, const TPoint& point) {
    const int hit = HitTest(point);
    const std::vector<int> selected = items_.Selected();
    if (hit < 0) {
        if ((modKeys & (MK_CONTROL | MK_SHIFT)) == 0)
            selectOnly(items_, -1);
    } else if (modKeys & MK_CONTROL) {
        items_.At(hit).selected = !items_.At(hit).selected;
    } else if ((modKeys & MK_SHIFT) && !selected.empty()) {
        const int from = std::min(selected.front(), hit);
        const int to = std::max(selected.front(), hit);
        for (int i = 0; i < items_.Count(); ++i)
            items_.At(i).selected = i >= from && i <= to;
    } else {
        selectOnly(items_, hit);
    }
    Changed(TChange::Selection);
}

void TListWindow::EvRButtonDown(uint, const TPoint& point) {
    const int hit = HitTest(point);
    if (hit < 0 || !items_.At(hit).selected) {
        selectOnly(items_, hit);
        Changed(TChange::Selection);
    }
}

void TListWindow::EvKeyDown(uint key, uint, uint) {
    const int count = items_.Count();
    if (count == 0)
        return;
    const std::vector<int> selected = items_.Selected();
    const int current = selected.empty() ? -1 : selected.front();
    int target;
    switch (key) {
    case VK_UP:
        target = current < 0 ? 0 : std::max(current - 1, 0);
        break;
    case VK_DOWN:
        target = current < 0 ? 0 : std::min(current + 1, count - 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    default:
        return;
    }
    selectOnly(items_, target);
    EnsureVisible(target, false);
    Changed(TChange::Selection);
}

void TListWindow::EvKeyUp(uint, uint, uint) {}

// clang-format off
DEFINE_RESPONSE_TABLE1(TListWindow, TWindow)
    EV_WM_LBUTTONDOWN,
    EV_WM_RBUTTONDOWN,
    EV_WM_KEYDOWN,
    EV_WM_KEYUP,
END_RESPONSE_TABLE;
// clang-format on
