// The toolkit's classes, in memory.

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "toolkit/headless/state.h"

#include "support/filename.h"

using headless::detail::ControlState;
using headless::detail::desktop;

// --- TWindow ---------------------------------------------------------------------------------

TWindow::TWindow(TWindow* parent, const char* title)
    : parent_(parent), title_(title ? title : ""), impl_(std::make_unique<Impl>()) {
    if (parent_ != nullptr)
        parent_->impl_->children.push_back(this);
}

TWindow::~TWindow() {
    if (parent_ != nullptr)
        std::erase(parent_->impl_->children, this);
    for (TWindow* child : impl_->children)
        child->parent_ = nullptr;
    headless::detail::removeTimers(this);
    if (desktop().focus == this)
        desktop().focus = nullptr;
    if (desktop().capture == this)
        desktop().capture = nullptr;
}

bool TWindow::Create() {
    if (IsWindow())
        return true;
    impl_->created = true;
    impl_->destroyed = false;
    impl_->visible = (Attr.Style & WS_VISIBLE) != 0;
    impl_->surface = TRgbImage(std::max(Attr.W, 0), std::max(Attr.H, 0), impl_->background);
    // A new window is painted whole, as on every desktop.
    impl_->pending = GetClientRect();
    impl_->pendingErase = true;
    const std::vector<TWindow*> children = impl_->children;
    for (TWindow* child : children)
        child->Create();
    SetupWindow();
    return true;
}

bool TWindow::IsWindow() const {
    return impl_->created && !impl_->destroyed;
}

void TWindow::Destroy(int) {
    if (!IsWindow())
        return;
    for (TWindow* child : impl_->children)
        child->Destroy();
    impl_->destroyed = true;
    impl_->visible = false;
    headless::detail::removeTimers(this);
    if (desktop().focus == this)
        desktop().focus = nullptr;
    if (desktop().capture == this)
        desktop().capture = nullptr;
}

void TWindow::Show(int cmdShow) {
    impl_->showCmd = cmdShow;
    impl_->visible = cmdShow != SW_HIDE;
}

bool TWindow::IsWindowVisible() const {
    return IsWindow() && impl_->visible;
}

void TWindow::Invalidate(bool erase) {
    InvalidateRect(GetClientRect(), erase);
}

void TWindow::InvalidateRect(const TRect& rect, bool erase) {
    impl_->invalidations.push_back({rect, erase});
    impl_->pending = impl_->pending | rect;
    impl_->pendingErase = impl_->pendingErase || erase;
}

void TWindow::UpdateWindow() {
    headless::paint(*this);
}

void TWindow::SetBkgndColor(const TColor& color) {
    impl_->background = color;
}

TColor TWindow::GetBkgndColor() const {
    return impl_->background;
}

TRect TWindow::GetClientRect() const {
    return TRect(0, 0, Attr.W, Attr.H);
}

void TWindow::ClientToScreen(TPoint& point) const {
    for (const TWindow* w = this; w != nullptr;
         w = w->parent_ != nullptr ? w->parent_ : w->impl_->frame) {
        point.x += w->Attr.X;
        point.y += w->Attr.Y;
    }
}

void TWindow::MoveWindow(const TRect& rect) {
    Attr.X = rect.left;
    Attr.Y = rect.top;
    Attr.W = rect.Width();
    Attr.H = rect.Height();
}

void TWindow::SetFocus() {
    desktop().focus = this;
}

void TWindow::DragAcceptFiles(bool accept) {
    impl_->acceptsFiles = accept;
}

bool TWindow::WatchFolder(const std::string& folder) {
    impl_->watchedFolder = folder;
    return true;
}

void TWindow::SetCapture() {
    desktop().capture = this;
}

void TWindow::ReleaseCapture() {
    desktop().capture = nullptr;
}

bool TWindow::SetCursor(int cursorResId) {
    impl_->cursor = cursorResId;
    return resources::cursorFile(cursorResId) != nullptr;
}

int TWindow::GetCursor() const {
    return impl_->cursor;
}

uint TWindow::SetTimer(uint timerId, uint timeoutMs) {
    auto& d = desktop();
    if (!d.timersAvailable || timerId == 0)
        return 0;
    KillTimer(timerId);
    // A zero timeout is due at once: the next advanceTime, even by 0, ticks it.
    const std::uint64_t interval = std::max(timeoutMs, 1u);
    d.timers.push_back({this, timerId, interval, d.now + timeoutMs, d.timerOrder++});
    return timerId;
}

bool TWindow::KillTimer(uint timerId) {
    return std::erase_if(desktop().timers, [&](const headless::detail::Timer& t) {
               return t.window == this && t.id == timerId;
           }) > 0;
}

int TWindow::MessageBox(const char* text, const char* caption, uint type) {
    auto& d = desktop();
    headless::TMessageBoxRecord record{
        text ? text : "",    caption ? caption : "", type & MB_TYPEMASK, type & MB_ICONMASK, 0,
        type & MB_DEFBUTTON2};
    if (d.messageBoxAnswers.empty() && d.messageBoxAnswerer) {
        d.messageBoxAnswers.push_back(d.messageBoxAnswerer(record));
    }
    if (d.messageBoxAnswers.empty()) {
        d.messageBoxes.push_back(record);
        throw std::logic_error("headless: unscripted message box \"" + record.text + "\"");
    }
    const int answer = d.messageBoxAnswers.front();
    d.messageBoxAnswers.pop_front();
    bool fits = false;
    switch (record.buttons) {
    case MB_OK:
        fits = answer == IDOK;
        break;
    case MB_OKCANCEL:
        fits = answer == IDOK || answer == IDCANCEL;
        break;
    case MB_YESNO:
        fits = answer == IDYES || answer == IDNO;
        break;
    case MB_YESNOCANCEL:
        fits = answer == IDYES || answer == IDNO || answer == IDCANCEL;
        break;
    default:
        break;
    }
    record.answer = answer;
    d.messageBoxes.push_back(record);
    if (!fits)
        throw std::logic_error("headless: the scripted answer does not fit the buttons of \"" +
                               record.text + "\"");
    return answer;
}

// --- TFrameWindow and TApplication -----------------------------------------------------------

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd, bool)
    : TWindow(parent, title), client_(clientWnd) {
    Attr.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    if (client_ != nullptr)
        client_->GetImpl().frame = this;
}

TFrameWindow::~TFrameWindow() {
    delete client_;
}

bool TFrameWindow::Create() {
    TWindow::Create();
    if (client_ != nullptr) {
        // The headless frame has no borders: its client takes its whole size.
        if (client_->Attr.W == 0 && client_->Attr.H == 0) {
            client_->Attr.W = Attr.W;
            client_->Attr.H = Attr.H;
        }
        client_->Attr.Style |= WS_VISIBLE;
        client_->Create();
    }
    return true;
}

bool TFrameWindow::AssignMenu(int menuResId) {
    menuResId_ = menuResId;
    return resources::menu(menuResId) != nullptr;
}

bool TFrameWindow::SetIcon(int iconResId) {
    GetImpl().icon = iconResId;
    return resources::iconFile(iconResId) != nullptr;
}

bool TFrameWindow::SetIconSm(int iconResId) {
    GetImpl().iconSm = iconResId;
    return resources::iconFile(iconResId) != nullptr;
}

TApplication::TApplication(const char* name) : name_(name ? name : "") {}

TApplication::~TApplication() {
    delete mainWindow_;
}

// There is no loop to run: the test drives the windows after this returns.
int TApplication::Run() {
    headless::startApplication(*this);
    return desktop().quitCode.value_or(0);
}

void TApplication::SetMainWindow(TFrameWindow* window) {
    mainWindow_ = window;
}

void PostQuitMessage(int exitCode) {
    desktop().quitCode = exitCode;
}

// --- The list view's screen ------------------------------------------------------------------

int TListWindow::HitTest(const TPoint& point) const {
    if (point.y < headless::kListHeaderHeight || point.x < 0 || (Attr.W > 0 && point.x >= Attr.W))
        return -1;
    const int index = (point.y - headless::kListHeaderHeight) / headless::kListRowHeight;
    return index < GetItemCount() ? index : -1;
}

int TListWindow::GetCountPerPage() const {
    return std::max(1, (Attr.H - headless::kListHeaderHeight) / headless::kListRowHeight);
}

TRect TListWindow::GetItemRect(int index) const {
    if (!items_.Valid(index))
        return TRect();
    const int top = headless::kListHeaderHeight + index * headless::kListRowHeight;
    return TRect(0, top, Attr.W, top + headless::kListRowHeight);
}

bool TListWindow::EnsureVisible(int index, bool) {
    GetImpl().ensured.push_back(index);
    return GetItems().Valid(index);
}

bool TListWindow::RedrawItems(int first, int last) {
    GetImpl().redrawn.emplace_back(first, last);
    return true;
}

void TListWindow::EditLabel(int index) {
    if (GetItems().Valid(index) && (Attr.Style & LVS_EDITLABELS))
        SetEditIndex(index);
}

void TListWindow::Changed(TChange) {}

int TListWindow::GetStringWidth(const std::string& text) const {
    return static_cast<int>(text.size()) * headless::kListCharWidth;
}

// --- Dialogs ---------------------------------------------------------------------------------

namespace {

const char* dialogCaption(int resId) {
    const resources::TDialogResource* res = resources::dialog(resId);
    return res ? res->caption : "";
}

ControlState& controlState(const TWindow& control) {
    TWindow* parent = control.GetParentO();
    if (parent == nullptr)
        throw std::logic_error("headless: a control without its dialog");
    return parent->GetImpl().controls[control.GetId()];
}

} // namespace

TDialog::TDialog(TWindow* parent, int resId)
    : TWindow(parent, dialogCaption(resId)), resId_(resId) {
    if (const resources::TDialogResource* res = resources::dialog(resId)) {
        Attr.W = res->w;
        Attr.H = res->h;
        for (const resources::TDialogControl& c : res->controls) {
            GetImpl().controls.try_emplace(
                c.id, ControlState{c.kind, c.text, false, (c.options & resources::kReadOnly) != 0});
        }
    }
}

TDialog::~TDialog() = default;

int TDialog::Execute() {
    auto& d = desktop();
    Impl& im = GetImpl();
    if (d.dialogScripts.empty()) {
        d.dialogs.push_back({resId_, GetCaption(), IDCANCEL});
        throw std::logic_error("headless: unscripted dialog \"" + GetCaption() + "\"");
    }
    headless::TDialogScript script = std::move(d.dialogScripts.front());
    d.dialogScripts.pop_front();
    im.running = true;
    im.closed = false;
    im.result = IDCANCEL;
    Create();
    script(*this);
    const int result = im.closed ? im.result : IDCANCEL;
    im.running = false;
    Destroy();
    d.dialogs.push_back({resId_, GetCaption(), result});
    return result;
}

void TDialog::CloseWindow(int retValue) {
    Impl& im = GetImpl();
    if (!im.running || im.closed)
        return;
    im.closed = true;
    im.result = retValue;
}

void TStatic::SetText(const char* text) {
    ControlState& state = controlState(*this);
    state.text = text ? text : "";
    TWindow* parent = GetParentO();
    if (state.kind == resources::TControlKind::Edit && parent->IsWindow()) {
        TMsg msg = TMsg::MakeNotify(TMsgKind::EnUpdate, GetId());
        parent->Dispatch(msg);
    }
}

std::string TStatic::GetText() const {
    return controlState(*this).text;
}

void TEdit::SetReadOnly(bool readOnly) {
    controlState(*this).readOnly = readOnly;
}

bool TEdit::IsReadOnly() const {
    return controlState(*this).readOnly;
}

uint TCheckBox::GetCheck() const {
    return controlState(*this).checked ? BF_CHECKED : BF_UNCHECKED;
}

void TCheckBox::SetCheck(uint state) {
    controlState(*this).checked = state == BF_CHECKED;
}

int TChoiceDialog::Execute() {
    auto& d = desktop();
    headless::TChoiceRecord record{caption_, prompt_, lines_, IDCANCEL, -1};
    if (d.choiceAnswers.empty()) {
        d.choices.push_back(record);
        throw std::logic_error("headless: unscripted choice dialog \"" + caption_ + "\"");
    }
    const int line = d.choiceAnswers.front();
    d.choiceAnswers.pop_front();
    if (line >= static_cast<int>(lines_.size()))
        throw std::logic_error("headless: the scripted choice is not one of the lines");
    if (line >= 0) {
        record.result = IDOK;
        record.selection = selection_ = line;
    }
    d.choices.push_back(record);
    return record.result;
}

int TOpenSaveDialog::Execute() {
    auto& d = desktop();
    headless::TFileDialogRecord record{kind_,       data_.InitialDir, data_.FileName, data_.Filter,
                                       data_.Flags, IDCANCEL,         std::string()};
    if (d.fileAnswers.empty() && d.fileDialogAnswerer) {
        d.fileAnswers.push_back(d.fileDialogAnswerer(record));
    }
    if (d.fileAnswers.empty()) {
        d.fileDialogs.push_back(record);
        throw std::logic_error("headless: unscripted file dialog");
    }
    const std::optional<std::string> answer = d.fileAnswers.front();
    d.fileAnswers.pop_front();
    // Several paths chosen at once come one a line.
    std::vector<std::string> chosen;
    if (answer) {
        const bool multiple = kind_ == TKind::Open && (data_.Flags & OFN_ALLOWMULTISELECT);
        std::size_t from = 0;
        for (std::size_t nl; multiple && (nl = answer->find('\n', from)) != std::string::npos;
             from = nl + 1)
            chosen.push_back(answer->substr(from, nl - from));
        chosen.push_back(answer->substr(from));
    }
    for (const std::string& path : chosen) {
        if (kind_ == TKind::Open && (data_.Flags & OFN_FILEMUSTEXIST) &&
            !std::filesystem::exists(fsPath(path))) {
            d.fileDialogs.push_back(record);
            throw std::logic_error("headless: the open dialog would refuse " + path);
        }
    }
    const bool fits = std::all_of(chosen.begin(), chosen.end(), [&](const std::string& p) {
        return static_cast<int>(p.size()) < data_.MaxPath;
    });
    if (answer && fits) {
        data_.FileName = chosen.front();
        data_.FileNames = chosen;
        record.result = IDOK;
        record.chosen = *answer;
    }
    d.fileDialogs.push_back(record);
    return record.result;
}

// --- Pop-up menus ----------------------------------------------------------------------------

bool TPopupMenu::TrackPopupMenu(uint flags, const TPoint& point, TWindow& owner) {
    auto& d = desktop();
    headless::TPopupRecord record{items_, {}, point, flags, 0};
    for (const TItem& item : items_)
        record.enabled.push_back((item.flags & MF_SEPARATOR) == 0 &&
                                 (item.flags & MF_GRAYED) == 0 &&
                                 headless::isCommandEnabled(owner, item.id));
    if (!d.popupChoices.empty()) {
        record.chosen = d.popupChoices.front();
        d.popupChoices.pop_front();
    }
    bool valid = record.chosen == 0;
    for (std::size_t i = 0; i < items_.size(); ++i)
        valid = valid || (items_[i].id == record.chosen && record.enabled[i]);
    d.popups.push_back(record);
    if (!valid)
        throw std::logic_error("headless: the scripted pop-up choice is not an enabled item");
    if (record.chosen == 0)
        return false;
    TMsg msg = TMsg::MakeCommand(record.chosen);
    headless::detail::routeCommand(owner, msg);
    return true;
}

// --- Drawing ---------------------------------------------------------------------------------

TDC::TDC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TDC::~TDC() = default;

bool TDC::BitBlt(const TRect& dest, const TDib& dib, const TPoint& src) {
    const TRect area = dest & impl_->clip;
    if (!area.IsEmpty()) {
        const TPoint from(src.x + area.left - dest.left, src.y + area.top - dest.top);
        impl_->target->Draw(area, dib.GetPixels(), from);
    }
    return true;
}

bool TDC::TextOut(int x, int y, const std::string& text, const TColor&) {
    if (impl_->clip.Contains(TPoint(x, y)))
        desktop().texts.push_back({TPoint(x, y), text});
    return true;
}

TRect TDC::GetClipBox() const {
    return impl_->clip;
}

// --- Services --------------------------------------------------------------------------------

TClipboard::TClipboard(TWindow& /*owner*/) : open_(true) {}

TClipboard::~TClipboard() = default;

bool TClipboard::EmptyClipboard() {
    if (!open_)
        return false;
    desktop().clipboard.reset();
    return true;
}

bool TClipboard::IsClipboardFormatAvailable(uint format) const {
    return open_ && format == CF_TEXT && desktop().clipboard.has_value();
}

bool TClipboard::SetText(std::string_view bytes) {
    if (!open_)
        return false;
    desktop().clipboard = std::string(bytes);
    return true;
}

std::string TClipboard::GetText() const {
    return open_ ? desktop().clipboard.value_or("") : "";
}

TWaveSound::TWaveSound(const char* elementName)
    : name_(elementName ? elementName : ""), impl_(std::make_unique<Impl>()) {}

TWaveSound::~TWaveSound() = default;

bool TWaveSound::Play() {
    if (!desktop().soundsAvailable)
        return false;
    desktop().sounds.push_back(name_);
    return true;
}

TMailProgram OpenMail(const char* messageFile, const TMailDraft& draft) {
    headless::detail::Desktop& d = desktop();
    const TMailProgram took = d.messageProgram ? TMailProgram::Message
                              : d.linkProgram  ? TMailProgram::Link
                                               : TMailProgram::None;
    d.mails.push_back({messageFile ? messageFile : "", draft, took});
    return took;
}

bool ClaimSingleInstance(const std::string& key) {
    return desktop().claimedInstances.insert(key).second;
}

bool HandToRunningInstance(const std::string& key, const std::string& file) {
    auto& d = desktop();
    if (!d.claimedInstances.contains(key) || d.startRequests == nullptr) {
        return false;
    }
    TStartRequest request{file};
    TMsg msg;
    msg.kind = TMsgKind::StartRequest;
    msg.startRequest = &request;
    d.startRequests->Dispatch(msg);
    return true;
}

void TWindow::AcceptStartRequests(bool accept) {
    auto& d = desktop();
    if (accept) {
        d.startRequests = this;
    } else if (d.startRequests == this) {
        d.startRequests = nullptr;
    }
}

bool ShowStartupError(const char* text, const char* caption) {
    desktop().messageBoxes.push_back(
        {text ? text : "", caption ? caption : "", MB_OK, MB_ICONSTOP, IDOK, 0});
    return true;
}

std::uint64_t GetTickCount64() {
    return desktop().now;
}

bool LaunchDocument(const char* path) {
    if (!desktop().launchAvailable)
        return false;
    desktop().launched.emplace_back(path ? path : "");
    return true;
}

bool MoveToTrash(const char* path) {
    std::error_code ec;
    if (!desktop().trashAvailable || !path || !std::filesystem::remove(fsPath(path), ec))
        return false;
    desktop().trashed.emplace_back(path);
    return true;
}
