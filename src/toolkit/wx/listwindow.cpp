// The list view: a virtual report list over the layer's own items. Cells are asked for when
// they are drawn; clicks and keys go to the list's table, never to the native control.

#include <algorithm>
#include <map>
#include <memory>

#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include "toolkit/wx/convert.h"
#include "toolkit/wx/wxbackend.h"

using namespace toolkit_wx;

namespace {

class TListControl : public wxListCtrl, public TDetachable {
  public:
    TListControl(wxWindow* parent, TListWindow* owner, const wxPoint& pos, const wxSize& size,
                 long style)
        : wxListCtrl(parent, owner->GetId() > 0 ? owner->GetId() : wxID_ANY, pos, size, style),
          owner_(owner) {
        Bind(wxEVT_LIST_COL_CLICK, &TListControl::OnColumnClick, this);
        Bind(wxEVT_LIST_END_LABEL_EDIT, &TListControl::OnEndLabelEdit, this);
        Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &TListControl::OnBeginLabelEdit, this);
        main_ = findMainWindow();
        main_->Bind(wxEVT_LEFT_DOWN, &TListControl::OnMouse, this);
        main_->Bind(wxEVT_LEFT_UP, &TListControl::OnMouse, this);
        main_->Bind(wxEVT_LEFT_DCLICK, &TListControl::OnMouse, this);
        main_->Bind(wxEVT_RIGHT_DOWN, &TListControl::OnMouse, this);
        main_->Bind(wxEVT_RIGHT_UP, &TListControl::OnMouse, this);
        main_->Bind(wxEVT_MOTION, &TListControl::OnMouse, this);
        main_->Bind(wxEVT_KEY_DOWN, &TListControl::OnKey, this);
        main_->Bind(wxEVT_KEY_UP, &TListControl::OnKey, this);
        main_->Bind(wxEVT_CHAR, &TListControl::OnChar, this);
        main_->Bind(wxEVT_PAINT, &TListControl::OnRowsPaint, this);
    }

    void Detach() override { owner_ = nullptr; }
    wxWindow* MainWindow() const { return main_; }

    // Points of the list's client area (the header included) and of the rows' window.
    wxPoint ToMain(const wxPoint& p) const { return main_->ScreenToClient(ClientToScreen(p)); }
    wxPoint FromMain(const wxPoint& p) const { return ScreenToClient(main_->ClientToScreen(p)); }

    void ApplyLooks() {
        if (!owner_)
            return;
        const TColor text = owner_->GetTextColor();
        const TColor back = owner_->GetBkColor();
        const TColor textBack = owner_->GetTextBkColor();
        SetForegroundColour(wxColour(text.r, text.g, text.b));
        SetBackgroundColour(wxColour(back.r, back.g, back.b));
        attr_.SetTextColour(wxColour(text.r, text.g, text.b));
        attr_.SetBackgroundColour(wxColour(textBack.r, textBack.g, textBack.b));
        const TImageList* images = owner_->GetImageList();
        if (images != images_ || (images && images->GetImageCount() != imageCount_)) {
            images_ = images;
            imageCount_ = images ? images->GetImageCount() : 0;
            if (images) {
                const TSize size = images->GetImageSize();
                auto* list = new wxImageList(size.cx, size.cy, true, imageCount_);
                for (int i = 0; i < imageCount_; ++i) {
                    wxBitmap bitmap = loadIconBitmap(images->GetIconResId(i), size.cx);
                    if (!bitmap.IsOk())
                        bitmap = wxBitmap(size.cx, size.cy);
                    list->Add(bitmap);
                }
                AssignImageList(list, wxIMAGE_LIST_SMALL);
            } else {
                AssignImageList(nullptr, wxIMAGE_LIST_SMALL);
            }
        }
        Refresh();
    }

    void ApplyColumns() {
        if (!owner_)
            return;
        DeleteAllColumns();
        int n = 0;
        for (const TListWindColumn& column : owner_->GetColumns()) {
            wxListColumnFormat format = wxLIST_FORMAT_LEFT;
            if (column.GetFormat() == TListWindColumn::Right)
                format = wxLIST_FORMAT_RIGHT;
            else if (column.GetFormat() == TListWindColumn::Center)
                format = wxLIST_FORMAT_CENTRE;
            InsertColumn(n++, toWx(column.GetText()), format, column.GetWidth());
        }
    }

    void ApplyItems() {
        if (!owner_)
            return;
        SetItemCount(owner_->GetItemCount());
        Refresh();
    }

    // Items and selection are shown once the handler that changed them has returned: a
    // program filling the list item by item would otherwise resynchronise it each time.
    void Later() {
        if (pending_)
            return;
        pending_ = true;
        wxWeakRef<wxWindow> self(this);
        CallAfter([self] {
            if (auto* ctrl = dynamic_cast<TListControl*>(self.get()))
                ctrl->Flush();
        });
    }

    // Shows what changed now, before the control is asked about its rows.
    void Flush() {
        if (!pending_)
            return;
        pending_ = false;
        ApplyItems();
        ApplySelection();
    }

    void ApplySelection() {
        if (!owner_)
            return;
        const TListItems& items = owner_->GetItems();
        const long count = GetItemCount();
        // Only the rows whose state differs are touched: a list may hold many thousands.
        for (long i = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;) {
            const long next = GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
            if (!items.Valid(static_cast<int>(i)) || !items.At(static_cast<int>(i)).selected)
                SetItemState(i, 0, wxLIST_STATE_SELECTED);
            i = next;
        }
        for (int i : items.Selected())
            if (i < count && !(GetItemState(i, wxLIST_STATE_SELECTED) & wxLIST_STATE_SELECTED))
                SetItemState(i, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }

  private:
    wxWindow* findMainWindow() {
        // The generic list control draws its rows in a child window below the header.
        for (wxWindow* child : GetChildren())
            if (child->GetClassInfo()->GetClassName() == wxString("wxListMainWindow"))
                return child;
        wxWindow* best = this;
        for (wxWindow* child : GetChildren())
            if (best == this || child->GetSize().y > best->GetSize().y)
                best = child;
        return best;
    }

    bool HasPictures(long column) const {
        const auto& columns = owner_->GetColumns();
        return column >= 0 && column < static_cast<long>(columns.size()) &&
               columns[static_cast<std::size_t>(column)].HasPictures();
    }

    // The control paints its rows, then the pictures go into the cells of their columns.
    void OnRowsPaint(wxPaintEvent& event) {
        event.Skip();
        if (!owner_ || painting_)
            return;
        const auto& columns = owner_->GetColumns();
        if (std::none_of(columns.begin(), columns.end(),
                         [](const TListWindColumn& c) { return c.HasPictures(); }))
            return;
        painting_ = true;
        main_->GetEventHandler()->ProcessEvent(event);
        painting_ = false;
        event.Skip(false);
        wxPaintDC dc(main_);
        const long count = GetItemCount();
        const long last = std::min(count, GetTopItem() + GetCountPerPage() + 1);
        for (long column = 0; column < static_cast<long>(columns.size()); ++column) {
            if (!HasPictures(column))
                continue;
            for (long i = std::max(0L, GetTopItem()); i < last; ++i) {
                wxRect cell;
                if (!GetSubItemRect(i, column, cell))
                    continue;
                cell.SetPosition(ToMain(cell.GetPosition()));
                wxDCClipper clip(dc, cell);
                const int index = static_cast<int>(i);
                const int sub = columns[static_cast<std::size_t>(column)].GetSubItem();
                std::shared_ptr<const TDib> picture = owner_->GetCellPicture(index, sub);
                if (picture) {
                    dc.DrawBitmap(maskedBitmap(picture), cell.x + 2,
                                  cell.y + (cell.height - picture->Height()) / 2, true);
                } else {
                    const wxString text = toWx(owner_->GetCellText(index, sub));
                    dc.SetTextForeground(attr_.GetTextColour());
                    dc.DrawText(text, cell.x + 4, cell.y + (cell.height - dc.GetCharHeight()) / 2);
                }
            }
        }
    }

    // A picture's background (its corner's colour) lets the row's own show through, so a
    // selected row stays marked; made once per picture.
    const wxBitmap& maskedBitmap(const std::shared_ptr<const TDib>& picture) {
        auto found = masked_.find(picture.get());
        if (found != masked_.end() && found->second.first.lock() == picture)
            return found->second.second;
        if (masked_.size() > 512)
            masked_.clear();
        wxBitmap bitmap = bitmapOf(*picture);
        bitmap = bitmap.GetSubBitmap(wxRect(0, 0, bitmap.GetWidth(), bitmap.GetHeight()));
        const TRgbImage& pixels = picture->GetPixels();
        if (pixels.Width() > 0 && pixels.Height() > 0) {
            const unsigned char* corner = pixels.Data();
            bitmap.SetMask(new wxMask(bitmap, wxColour(corner[0], corner[1], corner[2])));
        }
        auto& slot = masked_[picture.get()];
        slot = {picture, bitmap};
        return slot.second;
    }

    wxString OnGetItemText(long item, long column) const override {
        if (!owner_ || !owner_->GetItems().Valid(static_cast<int>(item)))
            return wxString();
        if (HasPictures(column))
            return wxString();
        if (column == 0)
            return toWx(owner_->GetItems().At(static_cast<int>(item)).label);
        return toWx(owner_->GetCellText(static_cast<int>(item), static_cast<int>(column)));
    }

    int OnGetItemImage(long item) const override {
        if (!owner_ || !owner_->GetImageList() || !owner_->GetItems().Valid(static_cast<int>(item)))
            return -1;
        return owner_->GetItems().At(static_cast<int>(item)).image;
    }

    wxItemAttr* OnGetItemAttr(long) const override { return &attr_; }

    void OnMouse(wxMouseEvent& event) {
        if (!owner_)
            return;
        const std::optional<TMsgKind> found = mouseKindOf(event.GetEventType());
        if (!found)
            return; // the right button's release: nothing listens
        const TMsgKind kind = *found;
        if (kind == TMsgKind::LButtonDown || kind == TMsgKind::RButtonDown)
            main_->SetFocus();
        const wxPoint p = FromMain(event.GetPosition());
        TMsg msg = TMsg::MakeMouse(kind, modKeysOf(event), TPoint(p.x, p.y));
        owner_->Dispatch(msg);
    }

    // Tab goes to the program too: it moves the keyboard between the list and the fields.
    void OnKey(wxKeyEvent& event) {
        if (owner_)
            sendKeyEvent(*owner_, event);
        else
            event.Skip();
    }

    // Typing in the list searches nothing natively (the layer's type-ahead does, by key): the
    // characters go to the list's table, which hands them to the editor while it has the keys.
    // Keys with Alt or Control go on to the menus.
    void OnChar(wxKeyEvent& event) {
        if (event.HasModifiers()) {
            event.Skip();
            return;
        }
        if (owner_)
            sendCharEvent(*owner_, event);
        event.Skip(false);
    }

    void OnColumnClick(wxListEvent& event) {
        if (!owner_)
            return;
        TWindow* parent = owner_->GetParentO();
        if (!parent)
            return;
        TLwNotify notify;
        notify.idFrom = owner_->GetId();
        notify.iItem = -1;
        notify.iSubItem = event.GetColumn();
        TMsg msg = TMsg::MakeNotify(TMsgKind::LvnColumnClick, owner_->GetId());
        msg.lwNotify = &notify;
        parent->Dispatch(msg);
    }

    void OnBeginLabelEdit(wxListEvent& event) {
        // Only the program starts an edit (EditLabel), never a click on the native control.
        if (!owner_ || owner_->GetEditIndex() != event.GetIndex())
            event.Veto();
    }

    void OnEndLabelEdit(wxListEvent& event) {
        // The layer's items change only through the program's answer: the native control
        // keeps nothing of the edit.
        event.Veto();
        if (!owner_)
            return;
        if (event.IsEditCancelled()) {
            owner_->EndLabelEdit(nullptr);
        } else {
            const std::string text = fromWx(event.GetLabel());
            owner_->EndLabelEdit(text.c_str());
        }
    }

    TListWindow* owner_;
    bool pending_ = false;
    bool painting_ = false;
    std::map<const TDib*, std::pair<std::weak_ptr<const TDib>, wxBitmap>> masked_;
    wxWindow* main_ = nullptr;
    mutable wxItemAttr attr_;
    const TImageList* images_ = nullptr;
    int imageCount_ = 0;
};

TListControl* controlOf(const TListWindow& list) {
    return dynamic_cast<TListControl*>(list.GetImpl().wx.get());
}

} // namespace

namespace toolkit_wx {

wxWindow* createListControl(TListWindow& list, wxWindow* parent) {
    const TWindowAttr& a = list.Attr;
    long style = wxLC_REPORT | wxLC_VIRTUAL;
    if (a.Style & LVS_SINGLESEL)
        style |= wxLC_SINGLE_SEL;
    if (a.Style & LVS_EDITLABELS)
        style |= wxLC_EDIT_LABELS;
    if (a.Style & LVS_NOSORTHEADER)
        style |= wxLC_NO_SORT_HEADER;
    style |= (a.ExStyle & WS_EX_CLIENTEDGE) ? wxBORDER_SUNKEN : wxBORDER_THEME;
    auto* ctrl = new TListControl(parent, &list, wxPoint(a.X, a.Y),
                                  wxSize(a.W > 0 ? a.W : -1, a.H > 0 ? a.H : -1), style);
    list.GetImpl().wx = ctrl;
    list.GetImpl().events = ctrl->MainWindow();
    ctrl->ApplyColumns();
    ctrl->ApplyLooks();
    ctrl->ApplyItems();
    ctrl->ApplySelection();
    return ctrl;
}

} // namespace toolkit_wx

int TListWindow::HitTest(const TPoint& point) const {
    TListControl* ctrl = controlOf(*this);
    if (!ctrl)
        return -1;
    ctrl->Flush();
    int flags = 0;
    const long index = ctrl->HitTest(ctrl->ToMain(wxPoint(point.x, point.y)), flags);
    if (index < 0 || !(flags & wxLIST_HITTEST_ONITEM))
        return -1;
    return static_cast<int>(index);
}

int TListWindow::GetCountPerPage() const {
    TListControl* ctrl = controlOf(*this);
    return ctrl ? std::max(1, ctrl->GetCountPerPage()) : 1;
}

TRect TListWindow::GetItemRect(int index) const {
    TListControl* ctrl = controlOf(*this);
    if (!ctrl || !items_.Valid(index))
        return TRect();
    ctrl->Flush();
    wxRect rect;
    if (!ctrl->GetItemRect(index, rect))
        return TRect();
    // In the control's client area, the header above the rows included, as the layer's.
    return TRect(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height);
}

bool TListWindow::EnsureVisible(int index, bool partialOk) {
    (void)partialOk;
    if (!items_.Valid(index))
        return false;
    if (TListControl* ctrl = controlOf(*this)) {
        ctrl->Flush();
        ctrl->EnsureVisible(index);
    }
    return true;
}

bool TListWindow::RedrawItems(int first, int last) {
    if (first > last || !items_.Valid(first))
        return false;
    if (last >= items_.Count())
        last = items_.Count() - 1;
    if (TListControl* ctrl = controlOf(*this)) {
        ctrl->Flush();
        ctrl->RefreshItems(first, last);
    }
    return true;
}

void TListWindow::EditLabel(int index) {
    if (!items_.Valid(index))
        return;
    SetEditIndex(index);
    if (TListControl* ctrl = controlOf(*this)) {
        ctrl->Flush();
        ctrl->EnsureVisible(index);
        ctrl->EditLabel(index);
    }
}

int TListWindow::GetStringWidth(const std::string& text) const {
    TListControl* ctrl = controlOf(*this);
    if (!ctrl)
        return 0;
    int width = 0;
    int height = 0;
    ctrl->GetTextExtent(toWx(text), &width, &height);
    return width;
}

void TListWindow::Changed(TChange what) {
    TListControl* ctrl = controlOf(*this);
    if (!ctrl)
        return;
    switch (what) {
    case TChange::Items:
    case TChange::Selection:
        ctrl->Later();
        break;
    case TChange::Columns:
        ctrl->ApplyColumns();
        break;
    case TChange::Looks:
        ctrl->ApplyLooks();
        break;
    }
}
