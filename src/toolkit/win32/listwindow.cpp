// The list view: a report-style, owner-data list view over the layer's own items.

#include <algorithm>

#include "toolkit/win32/win32backend.h"

#include <commctrl.h>
#include <uxtheme.h>
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
        case WM_CHAR:
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

// The program plans its columns around a scroll bar 16 pixels wide; where the system's is
// wider, the last column gives up the difference rather than bring a horizontal scroll bar.
void fitLastColumn(TListWindow& list, HWND hwnd) {
    const std::vector<TListWindColumn>& columns = list.GetColumns();
    if (columns.empty())
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    const int dpi = dpiOf(hwnd);
    int total = 0;
    for (const TListWindColumn& c : columns)
        total += toScreen(c.GetWidth(), dpi);
    const int excess =
        std::clamp(total - static_cast<int>(client.right), 0, GetSystemMetrics(SM_CXVSCROLL));
    const int last = static_cast<int>(columns.size()) - 1;
    const int width = toScreen(columns.back().GetWidth(), dpi) - excess;
    if (ListView_GetColumnWidth(hwnd, last) != width)
        ListView_SetColumnWidth(hwnd, last, width);
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
        col.cx = toScreen(c.GetWidth(), dpiOf(hwnd));
        col.pszText = text.data();
        col.iSubItem = c.GetSubItem();
        ListView_InsertColumn(hwnd, i++, &col);
    }
    fitLastColumn(list, hwnd);
}

COLORREF ref(const TColor& c) {
    return RGB(c.r, c.g, c.b);
}

// The layer's image list as the control's small images, made again when it changed.
void showImages(TListWindow& list, HWND hwnd) {
    TWindow::Impl& impl = list.GetImpl();
    const TImageList* images = list.GetImageList();
    const int count = images ? images->GetImageCount() : 0;
    if (images == impl.images && count == impl.imageCount)
        return;
    impl.images = images;
    impl.imageCount = count;
    HIMAGELIST made = nullptr;
    if (images) {
        const int dpi = dpiOf(hwnd);
        const TSize size = images->GetImageSize();
        made = ImageList_Create(toScreen(size.cx, dpi), toScreen(size.cy, dpi),
                                ILC_COLOR32 | ILC_MASK, count, 1);
        for (int i = 0; i < count; ++i) {
            HICON icon = iconOf(images->GetIconResId(i), toScreen(size.cx, dpi));
            // A missing picture keeps its place, so the indexes stay the program's.
            if (!icon || ImageList_AddIcon(made, icon) < 0)
                ImageList_AddIcon(made, LoadIconW(nullptr, IDI_APPLICATION));
        }
    }
    // The control owns its image list: the one it had is ours to free.
    if (HIMAGELIST old = ListView_SetImageList(hwnd, made, LVSIL_SMALL))
        ImageList_Destroy(old);
}

void showLooks(TListWindow& list, HWND hwnd) {
    ListView_SetTextColor(hwnd, ref(list.GetTextColor()));
    ListView_SetTextBkColor(hwnd, ref(list.GetTextBkColor()));
    ListView_SetBkColor(hwnd, ref(list.GetBkColor()));
    showImages(list, hwnd);
}

const TListWindColumn* columnOf(const TListWindow& list, int subItem) {
    for (const TListWindColumn& c : list.GetColumns())
        if (c.GetSubItem() == subItem)
            return &c;
    return nullptr;
}

// A cell of a column of pictures: the row's background, then the picture over it with its own
// background left out; a cell without a picture keeps its text.
bool drawPictureCell(TListWindow& list, NMLVCUSTOMDRAW& cd) {
    const int index = static_cast<int>(cd.nmcd.dwItemSpec);
    std::shared_ptr<const TDib> picture = list.GetCellPicture(index, cd.iSubItem);
    if (!picture)
        return false;
    HWND hwnd = cd.nmcd.hdr.hwndFrom;
    RECT cell{};
    if (!ListView_GetSubItemRect(hwnd, index, cd.iSubItem, LVIR_BOUNDS, &cell))
        return false;
    HBRUSH brush = CreateSolidBrush(cd.clrTextBk);
    FillRect(cd.nmcd.hdc, &cell, brush);
    DeleteObject(brush);
    const int saved = SaveDC(cd.nmcd.hdc);
    IntersectClipRect(cd.nmcd.hdc, cell.left, cell.top, cell.right, cell.bottom);
    const int dpi = dpiOf(hwnd);
    drawKeyed(cd.nmcd.hdc, cell.left + toScreen(2, dpi),
              cell.top + (cell.bottom - cell.top - toScreen(picture->Height(), dpi)) / 2, *picture,
              dpi);
    RestoreDC(cd.nmcd.hdc, saved);
    return true;
}

// The row's colours: the list's, or the highlight on a selected row, which stays when the
// list loses the keyboard (the control would grey it), as on Linux.
void setRowColours(const TListWindow& list, NMLVCUSTOMDRAW& cd) {
    const int index = static_cast<int>(cd.nmcd.dwItemSpec);
    if (list.GetItems().Valid(index) && list.GetItems().At(index).selected) {
        cd.nmcd.uItemState &= ~CDIS_SELECTED;
        cd.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        cd.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    } else {
        cd.clrText = ref(list.GetTextColor());
        cd.clrTextBk = ref(list.GetTextBkColor());
    }
}

LRESULT customDraw(TListWindow& list, NMLVCUSTOMDRAW& cd) {
    switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        setRowColours(list, cd);
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NEWFONT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        setRowColours(list, cd);
        const TListWindColumn* column = columnOf(list, cd.iSubItem);
        if (column && column->HasPictures() && drawPictureCell(list, cd))
            return CDRF_SKIPDEFAULT;
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

} // namespace

void rescaleListControl(TListWindow& list) {
    HWND hwnd = list.GetImpl().hwnd;
    showColumns(list, hwnd);
    list.GetImpl().images = nullptr; // made again at the new size
    showImages(list, hwnd);
}

HWND createListControl(TListWindow& list, HWND parent) {
    DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                  (list.Attr.Style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER));
    const int dpi = dpiOf(parent);
    HWND hwnd = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, toScreen(list.Attr.X, dpi),
        toScreen(list.Attr.Y, dpi), toScreen(list.Attr.W, dpi), toScreen(list.Attr.H, dpi), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(list.GetId())), instance(), nullptr);
    if (!hwnd)
        return nullptr;
    SetPropW(hwnd, kListProp, &list);
    SetWindowSubclass(hwnd, listProc, 1, 0);
    // The list draws in the program's colours: a visual theme (Wine's own, on in a new
    // prefix) would paint the room below the rows in the theme's white.
    SetWindowTheme(hwnd, L"", L"");
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
    case NM_CUSTOMDRAW:
        result = customDraw(*list, reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        return true;
    case LVN_BEGINLABELEDITW:
        // Only the program starts an edit (EditLabel), never the native control.
        result = reinterpret_cast<NMLVDISPINFOW&>(header).item.iItem != list->GetEditIndex();
        return true;
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
        fitLastColumn(*this, hwnd);
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
    const int dpi = dpiOf(GetImpl().hwnd);
    info.pt = {toScreen(point.x, dpi), toScreen(point.y, dpi)};
    return ListView_HitTest(GetImpl().hwnd, &info);
}

int TListWindow::GetCountPerPage() const {
    return GetImpl().hwnd ? ListView_GetCountPerPage(GetImpl().hwnd) : 0;
}

TRect TListWindow::GetItemRect(int index) const {
    RECT r{};
    if (!GetImpl().hwnd || !ListView_GetItemRect(GetImpl().hwnd, index, &r, LVIR_BOUNDS))
        return {};
    const int dpi = dpiOf(GetImpl().hwnd);
    return {toDesign(r.left, dpi), toDesign(r.top, dpi), toDesign(r.right, dpi),
            toDesign(r.bottom, dpi)};
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
    return GetImpl().hwnd ? toDesign(ListView_GetStringWidth(GetImpl().hwnd, wide.c_str()),
                                     dpiOf(GetImpl().hwnd))
                          : static_cast<int>(wide.size()) * 7;
}
