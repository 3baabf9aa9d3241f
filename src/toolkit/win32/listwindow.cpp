// The list view: a report-style, owner-data list view over the layer's own items.

#include "toolkit/win32/win32backend.h"

#include <commctrl.h>
#include <windowsx.h>

namespace toolkit_win32 {
namespace {

constexpr wchar_t kListProp[] = L"DrovakList";

TListWindow* listOf(HWND hwnd) {
    return static_cast<TListWindow*>(GetPropW(hwnd, kListProp));
}

// Mouse and keys go to the layer's table, whose defaults move the selection; the native
// control never handles them on its own. Everything else is the control's.
LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
    if (TListWindow* list = listOf(hwnd)) {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_KEYUP:
            dispatchInput(*list, message, wParam, lParam);
            return 0;
        default:
            break;
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The control's selection shown as the layer keeps it.
void showSelection(TListWindow& list, HWND hwnd) {
    ListView_SetItemState(hwnd, -1, 0, LVIS_SELECTED);
    for (int index : list.GetItems().Selected())
        ListView_SetItemState(hwnd, index, LVIS_SELECTED, LVIS_SELECTED);
}

void showColumns(TListWindow& list, HWND hwnd) {
    while (ListView_DeleteColumn(hwnd, 0)) {
    }
    int i = 0;
    for (const TListWindColumn& c : list.GetColumns()) {
        std::wstring text = widen(c.GetText());
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.fmt = c.GetFormat() == TListWindColumn::Right    ? LVCFMT_RIGHT
                  : c.GetFormat() == TListWindColumn::Center ? LVCFMT_CENTER
                                                             : LVCFMT_LEFT;
        col.cx = c.GetWidth();
        col.pszText = text.data();
        col.iSubItem = c.GetSubItem();
        ListView_InsertColumn(hwnd, i++, &col);
    }
}

void showLooks(TListWindow& list, HWND hwnd) {
    auto ref = [](const TColor& c) { return RGB(c.r, c.g, c.b); };
    ListView_SetTextColor(hwnd, ref(list.GetTextColor()));
    ListView_SetTextBkColor(hwnd, ref(list.GetTextBkColor()));
    ListView_SetBkColor(hwnd, ref(list.GetBkColor()));
}

} // namespace

HWND createListControl(TListWindow& list, HWND parent) {
    DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                  (list.Attr.Style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER));
    HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, list.Attr.X,
                                list.Attr.Y, list.Attr.W, list.Attr.H, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(list.GetId())),
                                instance(), nullptr);
    if (!hwnd)
        return nullptr;
    SetPropW(hwnd, kListProp, &list);
    SetWindowSubclass(hwnd, listProc, 1, 0);
    ListView_SetExtendedListViewStyle(hwnd, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    list.GetImpl().hwnd = hwnd;
    showColumns(list, hwnd);
    showLooks(list, hwnd);
    ListView_SetItemCountEx(hwnd, list.GetItemCount(), 0);
    showSelection(list, hwnd);
    return hwnd;
}

bool listNotify(TWindow& parent, NMHDR& header, LRESULT& result) {
    TListWindow* list = listOf(header.hwndFrom);
    if (!list)
        return false;
    (void)parent;
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (!list->GetItems().Valid(item.iItem))
            return true;
        if (item.mask & LVIF_TEXT) {
            std::string text = item.iSubItem == 0 ? list->GetItems().At(item.iItem).label
                                                  : list->GetCellText(item.iItem, item.iSubItem);
            std::wstring wide = widen(text);
            lstrcpynW(item.pszText, wide.c_str(), item.cchTextMax);
        }
        if (item.mask & LVIF_IMAGE)
            item.iImage = list->GetItems().At(item.iItem).image;
        if (item.mask & LVIF_STATE)
            item.state = list->GetItems().At(item.iItem).selected ? LVIS_SELECTED : 0;
        return true;
    }
    case LVN_COLUMNCLICK: {
        auto& lv = reinterpret_cast<NMLISTVIEW&>(header);
        TLwNotify notify{list->GetId(), -1, lv.iSubItem};
        TMsg msg = TMsg::MakeNotify(TMsgKind::LvnColumnClick, list->GetId());
        msg.lwNotify = &notify;
        if (list->GetParentO())
            list->GetParentO()->Dispatch(msg);
        return true;
    }
    case LVN_ENDLABELEDITW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if (info.item.pszText) {
            list->EndLabelEdit(narrowUtf8(info.item.pszText).c_str());
        } else {
            list->EndLabelEdit(nullptr);
        }
        result = FALSE; // the list shows the layer's labels, not the control's
        return true;
    }
    default:
        return false;
    }
}

} // namespace toolkit_win32

using namespace toolkit_win32;

void TListWindow::Changed(TChange what) {
    HWND hwnd = GetImpl().hwnd;
    if (!hwnd)
        return;
    switch (what) {
    case TChange::Items:
        ListView_SetItemCountEx(hwnd, GetItemCount(), LVSICF_NOSCROLL);
        showSelection(*this, hwnd);
        InvalidateRect(GetClientRect(), true);
        break;
    case TChange::Selection:
        showSelection(*this, hwnd);
        break;
    case TChange::Columns:
        showColumns(*this, hwnd);
        break;
    case TChange::Looks:
        showLooks(*this, hwnd);
        ::InvalidateRect(hwnd, nullptr, TRUE);
        break;
    }
}

int TListWindow::HitTest(const TPoint& point) const {
    if (!GetImpl().hwnd)
        return -1;
    LVHITTESTINFO info{};
    info.pt = {point.x, point.y};
    return ListView_HitTest(GetImpl().hwnd, &info);
}

int TListWindow::GetCountPerPage() const {
    return GetImpl().hwnd ? ListView_GetCountPerPage(GetImpl().hwnd) : 0;
}

TRect TListWindow::GetItemRect(int index) const {
    RECT r{};
    if (!GetImpl().hwnd || !ListView_GetItemRect(GetImpl().hwnd, index, &r, LVIR_BOUNDS))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

bool TListWindow::EnsureVisible(int index, bool partialOk) {
    return GetImpl().hwnd && ListView_EnsureVisible(GetImpl().hwnd, index, partialOk);
}

bool TListWindow::RedrawItems(int first, int last) {
    return GetImpl().hwnd && ListView_RedrawItems(GetImpl().hwnd, first, last);
}

void TListWindow::EditLabel(int index) {
    SetEditIndex(index);
    if (GetImpl().hwnd) {
        ::SetFocus(GetImpl().hwnd);
        ListView_EditLabel(GetImpl().hwnd, index);
    }
}

int TListWindow::GetStringWidth(const std::string& text) const {
    std::wstring wide = widen(text);
    return GetImpl().hwnd ? ListView_GetStringWidth(GetImpl().hwnd, wide.c_str())
                          : static_cast<int>(wide.size()) * 7;
}
