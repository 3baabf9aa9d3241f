#include "toolkit/listwindow.h"
#include "toolkit/services.h"

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

std::shared_ptr<const TDib> TListWindow::GetCellPicture(int index, int subItem) const {
    TWindow* parent = GetParentO();
    if (!items_.Valid(index) || subItem == 0 || parent == nullptr)
        return nullptr;
    TLwDispInfoNotify info;
    info.idFrom = GetId();
    info.item.SetIndex(index);
    info.item.SetSubItem(subItem);
    info.item.AskPicture();
    TMsg msg = TMsg::MakeNotify(TMsgKind::LvnGetDispInfo, GetId());
    msg.dispInfo = &info;
    parent->Dispatch(msg);
    return info.item.GetPicture();
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
        anchor_ = caret_ = hit;
    } else if ((modKeys & MK_SHIFT) && !selected.empty()) {
        const int from = std::min(selected.front(), hit);
        const int to = std::max(selected.front(), hit);
        for (int i = 0; i < items_.Count(); ++i)
            items_.At(i).selected = i >= from && i <= to;
        caret_ = hit;
    } else {
        selectOnly(items_, hit);
        anchor_ = caret_ = hit;
    }
    Changed(TChange::Selection);
}

void TListWindow::EvRButtonDown(uint, const TPoint& point) {
    const int hit = HitTest(point);
    if (hit < 0 || !items_.At(hit).selected) {
        selectOnly(items_, hit);
        anchor_ = caret_ = hit;
        Changed(TChange::Selection);
    }
}

namespace {

// The character a key types into the type-ahead search, 0 for none.
char typedChar(uint key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return static_cast<char>(key);
    switch (key) {
    case VK_SPACE:
        return ' ';
    case VK_OEM_MINUS:
        return '-';
    case VK_OEM_PERIOD:
        return '.';
    default:
        return 0;
    }
}

bool startsWithNoCase(std::string_view label, std::string_view prefix) {
    return label.size() >= prefix.size() &&
           TListItems::EqualNoCase(label.substr(0, prefix.size()), prefix);
}

// Letters typed further apart than this start a new search.
constexpr std::uint64_t kTypeAheadMs = 1000;

} // namespace

void TListWindow::EvKeyDown(uint key, uint, uint flags) {
    const int count = items_.Count();
    if (count == 0)
        return;
    const bool multiple = (Attr.Style & LVS_SINGLESEL) == 0;
    const bool control = (flags & kKeyFlagControl) != 0;
    const bool extend = multiple && (flags & kKeyFlagShift) != 0;
    const std::vector<int> selected = items_.Selected();
    // The keys go on from the item they moved to last while it is still selected; the
    // program may have moved the selection since.
    if (caret_ < 0 || !items_.Valid(caret_) || !items_.At(caret_).selected) {
        caret_ = selected.empty() ? -1 : selected.front();
        anchor_ = caret_;
    }
    const int current = caret_;
    const int page = std::max(GetCountPerPage(), 1);
    int target;
    switch (key) {
    case VK_UP:
        target = current < 0 ? 0 : std::max(current - 1, 0);
        break;
    case VK_DOWN:
        target = current < 0 ? 0 : std::min(current + 1, count - 1);
        break;
    case VK_PRIOR:
        target = current < 0 ? 0 : std::max(current - page, 0);
        break;
    case VK_NEXT:
        target = current < 0 ? 0 : std::min(current + page, count - 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    default: {
        if (control && key == 'A') {
            if (multiple) {
                for (int i = 0; i < count; ++i)
                    items_.At(i).selected = true;
                Changed(TChange::Selection);
            }
            return;
        }
        const char c = control ? 0 : typedChar(key);
        if (c == 0)
            return;
        const std::uint64_t now = GetTickCount64();
        if (typed_.empty() || now - typedAt_ > kTypeAheadMs)
            typed_.clear();
        typedAt_ = now;
        typed_ += c;
        // One letter again and again steps through the labels that start with it.
        const bool repeated =
            typed_.size() > 1 && typed_.find_first_not_of(typed_[0]) == std::string::npos;
        const std::string_view prefix =
            repeated ? std::string_view(typed_).substr(0, 1) : std::string_view(typed_);
        const int from = current < 0 ? 0 : current + (typed_.size() == 1 || repeated ? 1 : 0);
        target = -1;
        for (int n = 0; n < count && target < 0; ++n) {
            const int i = (from + n) % count;
            if (startsWithNoCase(items_.At(i).label, prefix))
                target = i;
        }
        if (target < 0)
            return;
        selectOnly(items_, target);
        anchor_ = caret_ = target;
        EnsureVisible(target, false);
        Changed(TChange::Selection);
        return;
    }
    }
    if (extend && anchor_ >= 0) {
        const int from = std::min(anchor_, target);
        const int to = std::max(anchor_, target);
        for (int i = 0; i < count; ++i)
            items_.At(i).selected = i >= from && i <= to;
    } else {
        selectOnly(items_, target);
        anchor_ = target;
    }
    caret_ = target;
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
