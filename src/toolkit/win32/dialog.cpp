// Dialogs from the resource tables as in-memory dialog templates, their controls, the
// choice dialog and the common file dialogs.

#include <cstring>

#include "resources/resources.h"
#include "toolkit/errors.h"
#include "toolkit/win32/win32backend.h"

#include <commdlg.h>

namespace toolkit_win32 {
namespace {

// A dialog template built word by word: DLGTEMPLATE, then each DLGITEMTEMPLATE on a
// double-word boundary, strings as UTF-16 with their terminator.
class TTemplate {
  public:
    TTemplate(const std::string& caption, int w, int h, const std::string& font, int points,
              int count) {
        DWORD style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        dword(style);
        dword(0);
        word(static_cast<WORD>(count));
        word(0);
        word(0);
        word(static_cast<WORD>(w));
        word(static_cast<WORD>(h));
        word(0); // no menu
        word(0); // the standard dialog class
        text(caption);
        word(static_cast<WORD>(points));
        text(font);
    }

    void control(DWORD style, WORD cls, const std::string& caption, int id, int x, int y, int w,
                 int h) {
        while (words_.size() % 2 != 0)
            word(0);
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        word(static_cast<WORD>(x));
        word(static_cast<WORD>(y));
        word(static_cast<WORD>(w));
        word(static_cast<WORD>(h));
        word(static_cast<WORD>(id));
        word(0xFFFF);
        word(cls);
        text(caption);
        word(0); // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void word(WORD w) { words_.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    void text(const std::string& s) {
        for (wchar_t c : widen(s))
            word(static_cast<WORD>(c));
        word(0);
    }

    std::vector<WORD> words_;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kListBox = 0x0083;

DWORD styleOf(const resources::TDialogControl& c, WORD& cls) {
    using K = resources::TControlKind;
    const DWORD multi = (c.options & resources::kMultiline) ? BS_MULTILINE : 0;
    switch (c.kind) {
    case K::GroupBox:
        cls = kButton;
        return BS_GROUPBOX;
    case K::Static:
        cls = kStatic;
        return SS_LEFT;
    case K::Edit:
        cls = kEdit;
        return WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL |
               ((c.options & resources::kReadOnly) ? ES_READONLY : 0);
    case K::Button:
        cls = kButton;
        return BS_PUSHBUTTON | WS_TABSTOP;
    case K::DefButton:
        cls = kButton;
        return BS_DEFPUSHBUTTON | WS_TABSTOP;
    case K::AutoCheckBox:
        cls = kButton;
        return BS_AUTOCHECKBOX | WS_TABSTOP | multi;
    case K::Icon:
        cls = kStatic;
        return SS_ICON;
    case K::Bitmap:
        cls = kStatic;
        return SS_BITMAP;
    case K::EtchedFrame:
        cls = kStatic;
        return SS_ETCHEDFRAME;
    }
    cls = kStatic;
    return 0;
}

std::string windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return narrowUtf8(text);
}

TDialog* dialogOf(HWND hwnd) {
    return reinterpret_cast<TDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

// The icon and picture controls get their pictures from the resources' files; a picture
// that cannot be read leaves its place empty.
void showPictures(TDialog& dlg, HWND hwnd) {
    const resources::TDialogResource* res = resources::dialog(dlg.GetResId());
    if (!res)
        return;
    for (const resources::TDialogControl& c : res->controls) {
        HWND control = GetDlgItem(hwnd, c.id);
        if (!control)
            continue;
        if (c.kind == resources::TControlKind::Icon) {
            if (HICON icon = iconOf(c.resId, GetSystemMetrics(SM_CXICON)))
                SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        } else if (c.kind == resources::TControlKind::Bitmap) {
            const char* name = resources::bitmapFile(c.resId);
            try {
                if (HBITMAP bitmap = name ? bitmapOf(TDib(name), dpiOf(hwnd)) : nullptr) {
                    dlg.GetImpl().bitmaps.push_back(bitmap);
                    SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                                 reinterpret_cast<LPARAM>(bitmap));
                }
            } catch (const TXBitmap&) {
            }
        }
    }
}

// While the dialog fills its controls, their notifications are not the user's.
bool g_filling = false;

INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dlg = reinterpret_cast<TDialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        dlg->GetImpl().hwnd = hwnd;
        g_filling = true;
        for (TWindow* child : dlg->GetImpl().children) {
            TWindow::Impl& c = child->GetImpl();
            c.hwnd = GetDlgItem(hwnd, child->GetId());
            c.destroyed = false;
            if (!c.hwnd)
                continue;
            if (auto* st = dynamic_cast<TStatic*>(child); st && st->GetTextLimit() > 1)
                SendMessageW(c.hwnd, EM_LIMITTEXT, st->GetTextLimit() - 1, 0);
            if (c.text)
                SetWindowTextW(c.hwnd, widen(*c.text).c_str());
            if (c.check)
                SendMessageW(c.hwnd, BM_SETCHECK, *c.check == BF_CHECKED ? BST_CHECKED : 0, 0);
            if (c.readOnly)
                SendMessageW(c.hwnd, EM_SETREADONLY, *c.readOnly, 0);
        }
        g_filling = false;
        showPictures(*dlg, hwnd);
        dlg->SetupWindow();
        return TRUE;
    }
    TDialog* dlg = dialogOf(hwnd);
    if (!dlg)
        return FALSE;
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (g_filling)
            return TRUE;
        if (code == EN_UPDATE) {
            TMsg msg = TMsg::MakeNotify(TMsgKind::EnUpdate, id);
            dlg->Dispatch(msg);
        } else if (code == BN_CLICKED) {
            TMsg msg = TMsg::MakeNotify(TMsgKind::BnClicked, id);
            if (!dlg->Dispatch(msg) && id == IDCANCEL)
                dlg->CloseWindow(IDCANCEL);
        }
        return TRUE;
    }
    case WM_CLOSE:
        dlg->CloseWindow(IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        // The controls' last state stays readable after the dialog closed.
        for (TWindow* child : dlg->GetImpl().children) {
            TWindow::Impl& c = child->GetImpl();
            if (!c.hwnd)
                continue;
            c.text = windowText(c.hwnd);
            c.check =
                SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? BF_CHECKED : BF_UNCHECKED;
            c.readOnly = (GetWindowLongW(c.hwnd, GWL_STYLE) & ES_READONLY) != 0;
            c.hwnd = nullptr;
        }
        dlg->GetImpl().hwnd = nullptr;
        for (HBITMAP bitmap : dlg->GetImpl().bitmaps)
            DeleteObject(bitmap);
        dlg->GetImpl().bitmaps.clear();
        return TRUE;
    default:
        return FALSE;
    }
}

const resources::TDialogControl* resourceControl(const TWindow& control) {
    const auto* dlg = dynamic_cast<const TDialog*>(control.GetParentO());
    const resources::TDialogResource* res = dlg ? resources::dialog(dlg->GetResId()) : nullptr;
    return res ? resources::dialogControl(*res, control.GetId()) : nullptr;
}

} // namespace
} // namespace toolkit_win32

using namespace toolkit_win32;

TDialog::TDialog(TWindow* parent, int resId)
    : TWindow(parent, resources::dialog(resId) ? resources::dialog(resId)->caption : nullptr),
      resId_(resId) {}

TDialog::~TDialog() = default;

int TDialog::Execute() {
    const resources::TDialogResource* res = resources::dialog(resId_);
    if (!res)
        return IDCANCEL;
    TTemplate tmpl(res->caption, res->w, res->h, res->fontName, res->fontPoints,
                   static_cast<int>(res->controls.size()));
    for (const resources::TDialogControl& c : res->controls) {
        WORD cls = kStatic;
        DWORD style = styleOf(c, cls);
        tmpl.control(style, cls, c.text ? c.text : "", c.id, c.x, c.y, c.w, c.h);
    }
    GetImpl().modal = true;
    GetImpl().retValue = IDCANCEL;
    INT_PTR result = DialogBoxIndirectParamW(instance(), tmpl.get(), ownerOf(GetParentO()),
                                             dialogProc, reinterpret_cast<LPARAM>(this));
    GetImpl().modal = false;
    return result < 0 ? IDCANCEL : static_cast<int>(result);
}

void TDialog::CloseWindow(int retValue) {
    if (GetImpl().modal && GetImpl().hwnd)
        EndDialog(GetImpl().hwnd, retValue);
}

void TStatic::SetText(const char* text) {
    Impl& c = GetImpl();
    c.text = text ? text : "";
    // On screen an edit's change arrives as EN_UPDATE from the control itself.
    if (c.hwnd)
        SetWindowTextW(c.hwnd, widen(*c.text).c_str());
}

std::string TStatic::GetText() const {
    const Impl& c = GetImpl();
    if (c.hwnd)
        return windowText(c.hwnd);
    if (c.text)
        return *c.text;
    const resources::TDialogControl* res = resourceControl(*this);
    return res && res->text ? res->text : "";
}

void TEdit::SetReadOnly(bool readOnly) {
    GetImpl().readOnly = readOnly;
    if (GetImpl().hwnd)
        SendMessageW(GetImpl().hwnd, EM_SETREADONLY, readOnly, 0);
}

bool TEdit::IsReadOnly() const {
    const Impl& c = GetImpl();
    if (c.hwnd)
        return (GetWindowLongW(c.hwnd, GWL_STYLE) & ES_READONLY) != 0;
    if (c.readOnly)
        return *c.readOnly;
    const resources::TDialogControl* res = resourceControl(*this);
    return res && (res->options & resources::kReadOnly) != 0;
}

uint TCheckBox::GetCheck() const {
    const Impl& c = GetImpl();
    if (c.hwnd)
        return SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? BF_CHECKED : BF_UNCHECKED;
    return c.check.value_or(BF_UNCHECKED);
}

void TCheckBox::SetCheck(uint state) {
    GetImpl().check = state;
    if (GetImpl().hwnd)
        SendMessageW(GetImpl().hwnd, BM_SETCHECK, state == BF_CHECKED ? BST_CHECKED : 0, 0);
}

namespace {

struct TChoiceRun {
    TChoiceDialog* dialog;
    const std::vector<std::string>* lines;
    int selection = -1;
};

constexpr int kChoiceList = 100;

INT_PTR CALLBACK choiceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* run = reinterpret_cast<TChoiceRun*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        run = reinterpret_cast<TChoiceRun*>(lParam);
        HWND list = GetDlgItem(hwnd, kChoiceList);
        for (const std::string& line : *run->lines)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(line).c_str()));
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK ||
            (LOWORD(wParam) == kChoiceList && HIWORD(wParam) == LBN_DBLCLK)) {
            run->selection =
                static_cast<int>(SendMessageW(GetDlgItem(hwnd, kChoiceList), LB_GETCURSEL, 0, 0));
            EndDialog(hwnd, run->selection >= 0 ? IDOK : IDCANCEL);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int TChoiceDialog::Execute() {
    TTemplate tmpl(caption_, 220, 140, "MS Shell Dlg", 8, 4);
    tmpl.control(SS_LEFT, kStatic, prompt_, -1, 7, 7, 206, 18);
    tmpl.control(WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kListBox, "", kChoiceList, 7, 28,
                 206, 84);
    tmpl.control(BS_DEFPUSHBUTTON | WS_TABSTOP, kButton, "OK", IDOK, 109, 118, 50, 14);
    tmpl.control(BS_PUSHBUTTON | WS_TABSTOP, kButton, "Cancel", IDCANCEL, 163, 118, 50, 14);
    TChoiceRun run{this, &lines_};
    INT_PTR result = DialogBoxIndirectParamW(instance(), tmpl.get(), ownerOf(parent_), choiceProc,
                                             reinterpret_cast<LPARAM>(&run));
    if (result != IDOK)
        return IDCANCEL;
    selection_ = run.selection;
    return IDOK;
}

int TOpenSaveDialog::Execute() {
    // "description|pattern|" pairs become the double-NUL-ended list the dialog wants.
    std::wstring filter = widen(data_.Filter);
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.push_back(L'\0');
    const bool multi = kind_ == TKind::Open && (data_.Flags & OFN_ALLOWMULTISELECT);
    std::wstring file(multi ? 32768 : static_cast<std::size_t>(std::max(data_.MaxPath, 260)),
                      L'\0');
    std::wstring proposed = widen(data_.FileName);
    if (proposed.size() < file.size())
        std::copy(proposed.begin(), proposed.end(), file.begin());
    std::wstring initialDir = widen(data_.InitialDir);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ownerOf(parent_);
    ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.Flags = data_.Flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL ok = kind_ == TKind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!ok)
        return IDCANCEL;
    data_.FileNames.clear();
    if (multi && file[wcslen(file.c_str()) + 1] != L'\0') {
        // A folder, then the names chosen in it, each ended by a NUL.
        std::wstring folder = file.c_str();
        for (const wchar_t* name = file.c_str() + folder.size() + 1; *name;
             name += wcslen(name) + 1)
            data_.FileNames.push_back(narrowUtf8(folder + L"\\" + name));
    } else {
        data_.FileNames.push_back(narrowUtf8(file.c_str()));
    }
    if (static_cast<int>(data_.FileNames.front().size()) >= data_.MaxPath)
        return IDCANCEL;
    data_.FileName = data_.FileNames.front();
    return IDOK;
}
