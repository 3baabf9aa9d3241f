// The parts of windows, dialogs and menus that are the same in every backend.

#include <algorithm>
#include <cstring>

#include "toolkit/dialog.h"
#include "toolkit/window.h"

void TWindow::SetupWindow() {}

bool TWindow::CanClose() {
    return true;
}

void TWindow::Paint(TDC&, bool, TRect&) {}

bool TFrameWindow::CanClose() {
    return client_ == nullptr || client_->CanClose();
}

void TApplication::InitMainWindow() {}

bool TPopupMenu::AppendMenu(uint flags, int id, const char* text) {
    items_.push_back(TItem{flags, id, text ? text : ""});
    return true;
}

void TDialog::CmOk() {
    CloseWindow(IDOK);
}

void TDialog::CmCancel() {
    CloseWindow(IDCANCEL);
}

// clang-format off
DEFINE_RESPONSE_TABLE1(TDialog, TWindow)
    EV_COMMAND(IDOK, CmOk),
    EV_COMMAND(IDCANCEL, CmCancel),
END_RESPONSE_TABLE;
// clang-format on

TControl::TControl(TWindow* parent, int resId) : TWindow(parent) {
    Attr.Id = resId;
    Attr.Style = WS_CHILD | WS_VISIBLE;
}

TStatic::TStatic(TWindow* parent, int resId, uint textLimit)
    : TControl(parent, resId), textLimit_(textLimit) {}

int TStatic::GetText(char* text, int maxChars) const {
    if (text == nullptr || maxChars <= 0)
        return 0;
    const std::string value = GetText();
    const std::size_t n = std::min(value.size(), static_cast<std::size_t>(maxChars - 1));
    std::memcpy(text, value.data(), n);
    text[n] = '\0';
    return static_cast<int>(n);
}

int TStatic::GetTextLen() const {
    return static_cast<int>(GetText().size());
}

TEdit::TEdit(TWindow* parent, int resId, uint textLimit) : TStatic(parent, resId, textLimit) {}

TButton::TButton(TWindow* parent, int resId) : TControl(parent, resId) {}

TCheckBox::TCheckBox(TWindow* parent, int resId) : TButton(parent, resId) {}

TOpenSaveDialog::TData::TData(std::uint32_t flags, const char* filter, const char* initialDir,
                              int maxPath)
    : Flags(flags), Filter(filter ? filter : ""), InitialDir(initialDir ? initialDir : ""),
      MaxPath(maxPath) {}

TOpenSaveDialog::TOpenSaveDialog(TWindow* parent, TData& data, TKind kind)
    : parent_(parent), data_(data), kind_(kind) {}
