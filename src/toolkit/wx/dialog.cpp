// Dialogs built from the dialog resources, their controls, and the file dialogs.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choicdlg.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "resources/resources.h"
#include "toolkit/wx/convert.h"
#include "toolkit/wx/wxbackend.h"

using namespace toolkit_wx;

namespace {

using resources::TControlKind;

// The dialog on screen: buttons, check boxes and edits notify the dialog's table; the close
// box and Escape are the Cancel command, as on Windows.
class TDialogWindow : public wxDialog, public TDetachable {
  public:
    TDialogWindow(wxWindow* parent, TDialog* owner, const wxString& caption)
        : wxDialog(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize,
                   wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
          owner_(owner) {
        SetEscapeId(wxID_NONE);
        Bind(wxEVT_BUTTON, &TDialogWindow::OnButton, this);
        Bind(wxEVT_CHECKBOX, &TDialogWindow::OnButton, this);
        Bind(wxEVT_TEXT, &TDialogWindow::OnText, this);
        Bind(wxEVT_CLOSE_WINDOW, &TDialogWindow::OnClose, this);
        Bind(wxEVT_CHAR_HOOK, &TDialogWindow::OnCharHook, this);
    }

    void Detach() override { owner_ = nullptr; }

  private:
    void OnButton(wxCommandEvent& event) {
        if (!owner_)
            return;
        TMsg msg = TMsg::MakeNotify(TMsgKind::BnClicked, event.GetId());
        owner_->Dispatch(msg);
    }

    void OnText(wxCommandEvent& event) {
        if (!owner_ || !filling_.empty())
            return;
        TMsg msg = TMsg::MakeNotify(TMsgKind::EnUpdate, event.GetId());
        owner_->Dispatch(msg);
    }

    void Cancel() {
        if (!owner_)
            return;
        TMsg msg = TMsg::MakeCommand(IDCANCEL);
        if (!owner_->Dispatch(msg))
            owner_->CloseWindow(IDCANCEL);
    }

    void OnClose(wxCloseEvent&) { Cancel(); }

    void OnCharHook(wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            Cancel();
        else
            event.Skip();
    }

    TDialog* owner_;

  public:
    std::string filling_; // not empty while the controls are being made
};

// A control no smaller than the desktop's theme draws it, about the same middle.
void fitToTheme(wxWindow* control) {
    const wxRect rect = control->GetRect();
    const wxSize best = control->GetBestSize();
    if (best.y <= rect.height)
        return;
    control->SetSize(rect.x, rect.y - (best.y - rect.height) / 2, rect.width, best.y);
}

wxWindow* makeControl(wxWindow* dlg, const resources::TDialogControl& c);

// Breaks each line of a text between words so that it fits a width, as a multi-line control
// on Windows wraps its text.
wxString wrapText(const wxWindow* window, const wxString& text, int width) {
    wxString out;
    const wxArrayString lines = wxSplit(text, '\n', '\0');
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (n > 0)
            out += '\n';
        wxString line;
        for (const wxString& word : wxSplit(lines[n], ' ', '\0')) {
            const wxString longer = line.empty() ? word : line + ' ' + word;
            if (!line.empty() && window->GetTextExtent(longer).x > width) {
                out += line + '\n';
                line = word;
            } else {
                line = longer;
            }
        }
        out += line;
    }
    return out;
}

wxWindow* makeFittedControl(wxWindow* dlg, const resources::TDialogControl& c) {
    wxWindow* control = makeControl(dlg, c);
    if (control && (c.kind == TControlKind::Edit || c.kind == TControlKind::AutoCheckBox ||
                    c.kind == TControlKind::Button || c.kind == TControlKind::DefButton))
        fitToTheme(control);
    return control;
}

wxWindow* makeControl(wxWindow* dlg, const resources::TDialogControl& c) {
    const wxPoint pos = dlg->ConvertDialogToPixels(wxPoint(c.x, c.y));
    const wxSize size = dlg->ConvertDialogToPixels(wxSize(c.w, c.h));
    const wxString text = toWx(c.text);
    switch (c.kind) {
    case TControlKind::GroupBox:
    case TControlKind::EtchedFrame:
        return new wxStaticBox(dlg, c.id, text, pos, size);
    case TControlKind::Static: {
        auto* label = new wxStaticText(dlg, c.id, text, pos, size, wxST_NO_AUTORESIZE);
        if (c.options & resources::kMultiline)
            label->SetLabel(wrapText(label, text, size.x));
        return label;
    }
    case TControlKind::Edit: {
        long style = (c.options & resources::kReadOnly) ? wxTE_READONLY : 0;
        return new wxTextCtrl(dlg, c.id, text, pos, size, style);
    }
    case TControlKind::Button:
        return new wxButton(dlg, c.id, text, pos, size);
    case TControlKind::DefButton: {
        auto* button = new wxButton(dlg, c.id, text, pos, size);
        button->SetDefault();
        return button;
    }
    case TControlKind::AutoCheckBox: {
        auto* box = new wxCheckBox(dlg, c.id, text, pos, size);
        if (c.options & resources::kMultiline) {
            // The label's room: the control less its box.
            const int boxWidth = box->GetBestSize().x - box->GetTextExtent(box->GetLabel()).x;
            box->SetLabel(wrapText(box, text, size.x - boxWidth));
            box->SetSize(size);
        }
        return box;
    }
    case TControlKind::Icon: {
        wxBitmap bitmap = loadIconBitmap(c.resId, 32);
        if (!bitmap.IsOk())
            return nullptr;
        return new wxStaticBitmap(dlg, c.id, bitmap, pos);
    }
    case TControlKind::Bitmap: {
        const char* name = resources::bitmapFile(c.resId);
        if (!name)
            return nullptr;
        try {
            TDib dib(name);
            return new wxStaticBitmap(dlg, c.id, bitmapOf(dib), pos);
        } catch (const TXBitmap&) {
            return nullptr; // a missing picture leaves its place empty
        }
    }
    }
    return nullptr;
}

// The wx control a layer control stands for while its dialog runs.
wxWindow* liveControl(const TWindow& control) {
    return control.GetImpl().wx;
}

void applyState(TWindow& control) {
    TWindow::Impl& impl = control.GetImpl();
    wxWindow* wx = impl.wx;
    if (auto* edit = dynamic_cast<wxTextCtrl*>(wx)) {
        if (impl.text)
            edit->ChangeValue(toWx(*impl.text));
        if (impl.readOnly)
            edit->SetEditable(!*impl.readOnly);
        if (auto* st = dynamic_cast<TStatic*>(&control); st && st->GetTextLimit() > 1)
            edit->SetMaxLength(st->GetTextLimit() - 1);
    } else if (auto* box = dynamic_cast<wxCheckBox*>(wx)) {
        if (impl.check)
            box->SetValue(*impl.check == BF_CHECKED);
        if (impl.text)
            box->SetLabel(toWx(*impl.text));
    } else if (wx && impl.text) {
        wx->SetLabel(toWx(*impl.text));
    }
}

// Keeps what the controls showed, for reading after the dialog closed.
void keepState(TWindow& control) {
    TWindow::Impl& impl = control.GetImpl();
    wxWindow* wx = impl.wx;
    if (auto* edit = dynamic_cast<wxTextCtrl*>(wx)) {
        impl.text = fromWx(edit->GetValue());
        impl.readOnly = !edit->IsEditable();
    } else if (auto* box = dynamic_cast<wxCheckBox*>(wx)) {
        impl.check = box->GetValue() ? BF_CHECKED : BF_UNCHECKED;
        impl.text = fromWx(box->GetLabel());
    } else if (wx) {
        impl.text = fromWx(wx->GetLabel());
    }
}

} // namespace

TDialog::TDialog(TWindow* parent, int resId) : TWindow(parent), resId_(resId) {}

TDialog::~TDialog() = default;

int TDialog::Execute() {
    const resources::TDialogResource* res = resources::dialog(resId_);
    if (!res || !ensureWx())
        return IDCANCEL;
    auto* dlg = new TDialogWindow(topLevelOf(GetParentO()), this, toWx(res->caption));
    dlg->filling_ = "yes";
    dlg->SetClientSize(dlg->ConvertDialogToPixels(wxSize(res->w, res->h)));
    for (const resources::TDialogControl& c : res->controls)
        makeFittedControl(dlg, c);
    GetImpl().wx = dlg;
    GetImpl().events = dlg;
    for (TWindow* child : GetImpl().children) {
        if (!dynamic_cast<TControl*>(child))
            continue;
        child->GetImpl().wx = dlg->FindWindow(child->GetId());
        child->GetImpl().events = child->GetImpl().wx;
        applyState(*child);
    }
    dlg->filling_.clear();
    // As the Windows dialog manager does: the focus starts on the first control that takes
    // it (an edit, a button, a check box), in the resource's order.
    for (const resources::TDialogControl& c : res->controls) {
        if (c.kind == TControlKind::Edit || c.kind == TControlKind::Button ||
            c.kind == TControlKind::DefButton || c.kind == TControlKind::AutoCheckBox) {
            if (wxWindow* first = dlg->FindWindow(c.id); first && first->IsEnabled()) {
                first->SetFocus();
                break;
            }
        }
    }
    GetImpl().retValue = IDCANCEL;
    GetImpl().modal = true;
    SetupWindow();
    dlg->CentreOnParent();
    if (GetImpl().modal)
        dlg->ShowModal();
    GetImpl().modal = false;
    for (TWindow* child : GetImpl().children) {
        if (!dynamic_cast<TControl*>(child))
            continue;
        keepState(*child);
        child->GetImpl().wx = nullptr;
        child->GetImpl().events = nullptr;
    }
    GetImpl().wx = nullptr;
    GetImpl().events = nullptr;
    dlg->Detach();
    delete dlg;
    return GetImpl().retValue;
}

void TDialog::CloseWindow(int retValue) {
    GetImpl().retValue = retValue;
    const bool running = GetImpl().modal;
    GetImpl().modal = false; // also when SetupWindow closes it before it shows
    if (!running)
        return;
    if (auto* dlg = dynamic_cast<wxDialog*>(GetImpl().wx.get()); dlg && dlg->IsModal())
        dlg->EndModal(retValue);
}

void TStatic::SetText(const char* text) {
    const std::string value = text ? text : "";
    GetImpl().text = value;
    wxWindow* wx = liveControl(*this);
    if (auto* edit = dynamic_cast<wxTextCtrl*>(wx))
        edit->SetValue(toWx(value)); // notifies EnUpdate, as typing does
    else if (wx)
        wx->SetLabel(toWx(value));
}

std::string TStatic::GetText() const {
    wxWindow* wx = liveControl(*this);
    if (auto* edit = dynamic_cast<wxTextCtrl*>(wx))
        return fromWx(edit->GetValue());
    if (wx)
        return fromWx(wx->GetLabel());
    return GetImpl().text.value_or("");
}

void TEdit::SetReadOnly(bool readOnly) {
    GetImpl().readOnly = readOnly;
    if (auto* edit = dynamic_cast<wxTextCtrl*>(liveControl(*this)))
        edit->SetEditable(!readOnly);
}

bool TEdit::IsReadOnly() const {
    if (auto* edit = dynamic_cast<wxTextCtrl*>(liveControl(*this)))
        return !edit->IsEditable();
    return GetImpl().readOnly.value_or(false);
}

uint TCheckBox::GetCheck() const {
    if (auto* box = dynamic_cast<wxCheckBox*>(liveControl(*this)))
        return box->GetValue() ? BF_CHECKED : BF_UNCHECKED;
    return GetImpl().check.value_or(BF_UNCHECKED);
}

void TCheckBox::SetCheck(uint state) {
    GetImpl().check = state == BF_CHECKED ? BF_CHECKED : BF_UNCHECKED;
    if (auto* box = dynamic_cast<wxCheckBox*>(liveControl(*this)))
        box->SetValue(state == BF_CHECKED);
}

int TChoiceDialog::Execute() {
    if (!ensureWx() || lines_.empty())
        return IDCANCEL;
    wxArrayString choices;
    for (const std::string& line : lines_)
        choices.Add(toWx(line));
    wxSingleChoiceDialog dialog(topLevelOf(parent_), toWx(prompt_), toWx(caption_), choices);
    dialog.SetSelection(0);
    // Room for a dozen lines: a list squeezed to its first lines trips GTK's scroll bar.
    dialog.SetSize(dialog.FromDIP(wxSize(440, 380)));
    dialog.CentreOnParent();
    if (dialog.ShowModal() != wxID_OK || dialog.GetSelection() < 0)
        return IDCANCEL;
    selection_ = dialog.GetSelection();
    return IDOK;
}

int TOpenSaveDialog::Execute() {
    if (!ensureWx())
        return IDCANCEL;
    const bool open = kind_ == TKind::Open;
    long style = open ? wxFD_OPEN : wxFD_SAVE;
    if (open && (data_.Flags & OFN_FILEMUSTEXIST))
        style |= wxFD_FILE_MUST_EXIST;
    if (!open && (data_.Flags & OFN_OVERWRITEPROMPT))
        style |= wxFD_OVERWRITE_PROMPT;
    const bool multiple = open && (data_.Flags & OFN_ALLOWMULTISELECT);
    if (multiple)
        style |= wxFD_MULTIPLE;
    wxString dir = toWx(data_.InitialDir);
    wxString name = toWx(data_.FileName);
    const wxFileName proposed(name);
    if (proposed.HasName() && !proposed.GetPath().empty()) {
        if (dir.empty())
            dir = proposed.GetPath();
        name = proposed.GetFullName();
    }
    wxFileDialog dialog(topLevelOf(parent_), open ? _("Open") : _("Save As"), dir, name,
                        toWx(wxFilterFromWindows(data_.Filter, open)), style);
    if (dialog.ShowModal() != wxID_OK)
        return IDCANCEL;
    wxArrayString paths;
    if (multiple)
        dialog.GetPaths(paths);
    else
        paths.Add(dialog.GetPath());
    std::vector<std::string> chosen;
    for (const wxString& p : paths) {
        std::string path = fromWx(p);
        if (data_.MaxPath <= 0 || path.size() >= static_cast<std::size_t>(data_.MaxPath))
            return IDCANCEL;
        chosen.push_back(std::move(path));
    }
    if (chosen.empty())
        return IDCANCEL;
    data_.FileName = chosen.front();
    data_.FileNames = std::move(chosen);
    return IDOK;
}
