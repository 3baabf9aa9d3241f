// The tests' side of the headless backend.

#include <algorithm>
#include <stdexcept>

#include "toolkit/headless/state.h"

namespace headless {
namespace detail {

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

void removeTimers(const TWindow* window) {
    std::erase_if(desktop().timers, [&](const Timer& t) { return t.window == window; });
}

bool routeCommand(TWindow& window, TMsg& msg) {
    if (auto* frame = dynamic_cast<TFrameWindow*>(&window)) {
        if (TWindow* client = frame->GetClientWindow(); client && client->Dispatch(msg))
            return true;
    }
    return window.Dispatch(msg);
}

} // namespace detail

using detail::desktop;

void reset() {
    detail::Desktop& d = desktop();
    detail::Desktop fresh;
    fresh.now = d.now;
    fresh.timerOrder = d.timerOrder;
    fresh.timers = std::move(d.timers);
    fresh.focus = d.focus;
    fresh.capture = d.capture;
    d = std::move(fresh);
}

// --- Message boxes and file dialogs ----------------------------------------------------------

void scriptMessageBox(int answer) {
    desktop().messageBoxAnswers.push_back(answer);
}

void answerMessageBoxesWith(std::function<int(const TMessageBoxRecord&)> answerer) {
    desktop().messageBoxAnswerer = std::move(answerer);
}

void answerFileDialogsWith(
    std::function<std::optional<std::string>(const TFileDialogRecord&)> answerer) {
    desktop().fileDialogAnswerer = std::move(answerer);
}

const std::vector<TMessageBoxRecord>& messageBoxes() {
    return desktop().messageBoxes;
}

std::size_t pendingMessageBoxAnswers() {
    return desktop().messageBoxAnswers.size();
}

void scriptFileDialog(const std::string& path) {
    desktop().fileAnswers.emplace_back(path);
}

void scriptFileDialog(const std::vector<std::string>& paths) {
    std::string lines;
    for (const std::string& path : paths)
        lines += (lines.empty() ? "" : "\n") + path;
    desktop().fileAnswers.emplace_back(lines);
}

void scriptFileDialogCancel() {
    desktop().fileAnswers.emplace_back(std::nullopt);
}

const std::vector<TFileDialogRecord>& fileDialogs() {
    return desktop().fileDialogs;
}

void scriptChoice(int line) {
    desktop().choiceAnswers.push_back(line);
}

const std::vector<TChoiceRecord>& choiceDialogs() {
    return desktop().choices;
}

void setLaunchAvailable(bool available) {
    desktop().launchAvailable = available;
}

const std::vector<std::string>& trashedFiles() {
    return desktop().trashed;
}

void setTrashAvailable(bool available) {
    desktop().trashAvailable = available;
}

const std::vector<TDrawnText>& drawnTexts() {
    return desktop().texts;
}

void clearDrawnTexts() {
    desktop().texts.clear();
}

// --- Dialogs ---------------------------------------------------------------------------------

void scriptDialog(TDialogScript script) {
    desktop().dialogScripts.push_back(std::move(script));
}

const std::vector<TDialogRecord>& dialogs() {
    return desktop().dialogs;
}

namespace {

detail::ControlState* openControl(const TDialog& dlg, int controlId) {
    if (!isOpen(dlg))
        return nullptr;
    auto& controls = dlg.GetImpl().controls;
    auto it = controls.find(controlId);
    return it == controls.end() ? nullptr : &it->second;
}

detail::ControlState* anyControl(const TDialog& dlg, int controlId) {
    auto& controls = dlg.GetImpl().controls;
    auto it = controls.find(controlId);
    return it == controls.end() ? nullptr : &it->second;
}

// Typing stops one short of an edit's limit (its capacity with the terminator).
std::size_t typingRoom(const TDialog& dlg, int controlId) {
    for (TWindow* child : dlg.GetImpl().children) {
        if (child->GetId() != controlId)
            continue;
        if (auto* edit = dynamic_cast<const TStatic*>(child); edit && edit->GetTextLimit() > 0)
            return edit->GetTextLimit() - 1;
    }
    return std::string::npos;
}

bool editable(const detail::ControlState* state) {
    return state != nullptr && state->kind == resources::TControlKind::Edit && !state->readOnly;
}

void notifyUpdate(TDialog& dlg, int controlId) {
    TMsg msg = TMsg::MakeNotify(TMsgKind::EnUpdate, controlId);
    dlg.Dispatch(msg);
}

} // namespace

bool typeText(TDialog& dlg, int controlId, const std::string& text) {
    const std::size_t room = typingRoom(dlg, controlId);
    for (char c : text) {
        detail::ControlState* state = openControl(dlg, controlId);
        if (!editable(state) || state->text.size() >= room)
            return false;
        state->text += c;
        notifyUpdate(dlg, controlId);
    }
    return true;
}

bool replaceText(TDialog& dlg, int controlId, const std::string& text) {
    detail::ControlState* state = openControl(dlg, controlId);
    if (!editable(state))
        return false;
    state->text = text.substr(0, typingRoom(dlg, controlId));
    notifyUpdate(dlg, controlId);
    return true;
}

bool clickButton(TDialog& dlg, int controlId) {
    detail::ControlState* state = openControl(dlg, controlId);
    if (state == nullptr)
        return false;
    using K = resources::TControlKind;
    if (state->kind == K::AutoCheckBox)
        state->checked = !state->checked;
    else if (state->kind != K::Button && state->kind != K::DefButton)
        return false;
    TMsg msg = TMsg::MakeNotify(TMsgKind::BnClicked, controlId);
    dlg.Dispatch(msg);
    return true;
}

std::string controlText(const TDialog& dlg, int controlId) {
    const detail::ControlState* state = anyControl(dlg, controlId);
    return state ? state->text : std::string();
}

bool isChecked(const TDialog& dlg, int controlId) {
    const detail::ControlState* state = anyControl(dlg, controlId);
    return state != nullptr && state->checked;
}

bool isReadOnly(const TDialog& dlg, int controlId) {
    const detail::ControlState* state = anyControl(dlg, controlId);
    return state != nullptr && state->readOnly;
}

bool isOpen(const TDialog& dlg) {
    return dlg.GetImpl().running && !dlg.GetImpl().closed;
}

// --- Application, windows and messages -------------------------------------------------------

void startApplication(TApplication& app) {
    app.InitMainWindow();
    TFrameWindow* frame = app.GetMainWindow();
    if (frame == nullptr)
        return;
    frame->Create();
    frame->Show(app.nCmdShow);
    if (TWindow* client = frame->GetClientWindow()) {
        client->Show(app.nCmdShow);
        paintAll(*client);
    }
    // The loop's first turn: timers set to tick at once.
    advanceTime(0);
}

bool closeWindow(TFrameWindow& frame) {
    if (!frame.CanClose())
        return false;
    frame.Destroy();
    return true;
}

std::optional<int> quitCode() {
    return desktop().quitCode;
}

int shownState(const TWindow& window) {
    return window.GetImpl().showCmd;
}

bool isCommandEnabled(TWindow& window, int id) {
    TCommandEnabler enabler(id);
    TMsg msg = TMsg::MakeCommandEnable(enabler);
    detail::routeCommand(window, msg);
    return enabler.IsEnabled();
}

bool chooseMenuItem(TFrameWindow& frame, int id) {
    if (!isCommandEnabled(frame, id))
        return false;
    TMsg msg = TMsg::MakeCommand(id);
    return detail::routeCommand(frame, msg);
}

bool sendCommand(TWindow& window, int id) {
    TMsg msg = TMsg::MakeCommand(id);
    return detail::routeCommand(window, msg);
}

bool sendMouse(TWindow& window, TMsgKind kind, const TPoint& point, uint modKeys) {
    TMsg msg = TMsg::MakeMouse(kind, modKeys, point);
    return window.Dispatch(msg);
}

char32_t usLayout(uint key, bool shift, bool capsLock, bool altGr) {
    // The punctuation keys from VK_OEM_1 on: unshifted and shifted.
    static constexpr std::pair<uint, std::pair<char, char>> kPunctuation[] = {
        {VK_OEM_1, {';', ':'}},     {VK_OEM_PLUS, {'=', '+'}},   {VK_OEM_COMMA, {',', '<'}},
        {VK_OEM_MINUS, {'-', '_'}}, {VK_OEM_PERIOD, {'.', '>'}}, {VK_OEM_2, {'/', '?'}},
        {VK_OEM_3, {'`', '~'}},     {VK_OEM_4, {'[', '{'}},      {VK_OEM_5, {'\\', '|'}},
        {VK_OEM_6, {']', '}'}},     {VK_OEM_7, {'\'', '"'}},     {VK_OEM_102, {'\\', '|'}}};
    if (altGr)
        return 0;
    if (key >= 'A' && key <= 'Z')
        return shift != capsLock ? key : key - 'A' + 'a';
    if (key >= '0' && key <= '9')
        return shift ? U")!@#$%^&*("[key - '0'] : key;
    if (key == VK_SPACE)
        return U' ';
    if (key >= VK_NUMPAD0 && key < VK_NUMPAD0 + 10)
        return U'0' + (key - VK_NUMPAD0);
    if (key >= VK_MULTIPLY && key <= VK_DIVIDE)
        return U"*+\0-./"[key - VK_MULTIPLY];
    for (const auto& [vk, chars] : kPunctuation)
        if (vk == key)
            return static_cast<unsigned char>(shift ? chars.second : chars.first);
    return 0;
}

void setKeyboardLayout(KeyboardLayout layout) {
    desktop().layout = std::move(layout);
}

uint heldKeyFlags() {
    const detail::Desktop& d = desktop();
    return (d.keysDown.contains(VK_SHIFT) ? kKeyFlagShift : 0) |
           (d.keysDown.contains(VK_CONTROL) ? kKeyFlagControl : 0) |
           (d.keysDown.contains(VK_MENU) ? kKeyFlagAlt : 0);
}

namespace {

// The Char a key down brings, as TranslateMessage posts it on Windows: AltGr is Control with
// Alt; Control alone types nothing.
void sendChar(TWindow& window, uint key) {
    const detail::Desktop& d = desktop();
    const uint flags = heldKeyFlags();
    const bool control = (flags & kKeyFlagControl) != 0;
    const bool altGr = control && (flags & kKeyFlagAlt) != 0;
    if (control && !altGr)
        return;
    const bool shift = (flags & kKeyFlagShift) != 0;
    const char32_t c = d.layout ? d.layout(key, shift, d.capsLockOn, altGr)
                                : usLayout(key, shift, d.capsLockOn, altGr);
    if (c == 0)
        return;
    TMsg msg = TMsg::MakeKey(TMsgKind::Char, static_cast<uint>(c), 1, flags);
    window.Dispatch(msg);
}

} // namespace

bool sendKey(TWindow& window, TMsgKind kind, uint key) {
    setKeyboard(key, kind == TMsgKind::KeyDown);
    TMsg msg = TMsg::MakeKey(kind, key, 1, heldKeyFlags());
    const bool taken = window.Dispatch(msg);
    if (kind == TMsgKind::KeyDown)
        sendChar(window, key);
    return taken;
}

void setKeyboard(uint key, bool down) {
    detail::Desktop& d = desktop();
    if (!down) {
        d.keysDown.erase(key);
    } else if (d.keysDown.insert(key).second && key == VK_CAPITAL) {
        d.capsLockOn = !d.capsLockOn;
    }
}

void pressKey(TWindow& window, uint key) {
    sendKey(window, TMsgKind::KeyDown, key);
    sendKey(window, TMsgKind::KeyUp, key);
}

void typeKey(uint key, uint modifiers) {
    detail::Desktop& d = desktop();
    const std::pair<uint, uint> held[] = {{kCtrl, VK_CONTROL}, {kAlt, VK_MENU}, {kShift, VK_SHIFT}};
    auto toFocus = [&](TMsgKind kind, uint k) {
        if (d.focus != nullptr) {
            sendKey(*d.focus, kind, k);
        } else {
            setKeyboard(k, kind == TMsgKind::KeyDown);
        }
    };
    for (auto [bit, vk] : held)
        if (modifiers & bit)
            toFocus(TMsgKind::KeyDown, vk);
    TFrameWindow* frame = nullptr;
    for (TWindow* w = d.focus; w != nullptr && frame == nullptr;
         w = w->GetImpl().frame != nullptr ? w->GetImpl().frame : w->GetParentO())
        frame = dynamic_cast<TFrameWindow*>(w);
    const int command =
        frame ? resources::acceleratorCommand(frame->GetMenuResId(), key, modifiers) : 0;
    if (command != 0) {
        setKeyboard(key, true);
        if (isCommandEnabled(*frame, command)) {
            TMsg msg = TMsg::MakeCommand(command);
            msg.fromKeyboard = true;
            detail::routeCommand(*frame, msg);
        }
        setKeyboard(key, false);
    } else {
        toFocus(TMsgKind::KeyDown, key);
        toFocus(TMsgKind::KeyUp, key);
    }
    for (auto [bit, vk] : held)
        if (modifiers & bit)
            toFocus(TMsgKind::KeyUp, vk);
}

bool sendTimer(TWindow& window, uint timerId) {
    TMsg msg = TMsg::MakeTimer(timerId);
    return window.Dispatch(msg);
}

// --- Time ------------------------------------------------------------------------------------

void advanceTime(std::uint64_t ms) {
    detail::Desktop& d = desktop();
    const std::uint64_t until = d.now + ms;
    for (;;) {
        auto next = std::min_element(d.timers.begin(), d.timers.end(),
                                     [](const detail::Timer& a, const detail::Timer& b) {
                                         return a.due != b.due ? a.due < b.due : a.order < b.order;
                                     });
        if (next == d.timers.end() || next->due > until)
            break;
        d.now = next->due;
        next->due += next->interval;
        TWindow* window = next->window;
        const uint id = next->id;
        // The handler may kill timers or delete windows: nothing above is used after it.
        sendTimer(*window, id);
    }
    d.now = until;
}

std::uint64_t now() {
    return desktop().now;
}

bool hasTimer(const TWindow& window, uint timerId) {
    return std::any_of(
        desktop().timers.begin(), desktop().timers.end(),
        [&](const detail::Timer& t) { return t.window == &window && t.id == timerId; });
}

void setTimersAvailable(bool available) {
    desktop().timersAvailable = available;
}

// --- Painting --------------------------------------------------------------------------------

const std::vector<TInvalidation>& invalidations(const TWindow& window) {
    return window.GetImpl().invalidations;
}

void clearInvalidations(TWindow& window) {
    window.GetImpl().invalidations.clear();
}

void paint(TWindow& window) {
    TWindow::Impl& im = window.GetImpl();
    if (!window.IsWindow() || im.pending.IsEmpty())
        return;
    if (im.surface.Width() != window.Attr.W || im.surface.Height() != window.Attr.H)
        im.surface = TRgbImage(window.Attr.W, window.Attr.H, im.background);
    const TRect clip = im.pending & window.GetClientRect();
    const bool erase = im.pendingErase;
    im.pending = TRect();
    im.pendingErase = false;
    if (clip.IsEmpty())
        return;
    if (erase)
        im.surface.Fill(clip, im.background);
    TDC dc(std::make_unique<TDC::Impl>(TDC::Impl{&im.surface, clip}));
    TRect rect = clip;
    window.Paint(dc, erase, rect);
}

void paintAll(TWindow& window) {
    window.Invalidate(true);
    paint(window);
}

const TRgbImage& surface(const TWindow& window) {
    return window.GetImpl().surface;
}

std::unique_ptr<TDC> makeDC(TRgbImage& target, const TRect& clip) {
    const TRect whole(0, 0, target.Width(), target.Height());
    return std::make_unique<TDC>(
        std::make_unique<TDC::Impl>(TDC::Impl{&target, clip.IsEmpty() ? whole : clip & whole}));
}

// --- The list view ---------------------------------------------------------------------------

TPoint listItemPoint(int index) {
    return TPoint(8, kListHeaderHeight + index * kListRowHeight + kListRowHeight / 2);
}

std::vector<std::string> listLabels(const TListWindow& list) {
    std::vector<std::string> labels;
    for (int i = 0; i < list.GetItemCount(); ++i)
        labels.push_back(list.GetItems().At(i).label);
    return labels;
}

std::vector<int> listImages(const TListWindow& list) {
    std::vector<int> images;
    for (int i = 0; i < list.GetItemCount(); ++i)
        images.push_back(list.GetItems().At(i).image);
    return images;
}

std::vector<int> listSelection(const TListWindow& list) {
    return list.GetItems().Selected();
}

std::string cellText(const TListWindow& list, int index, int column) {
    return list.GetCellText(index, column);
}

std::shared_ptr<const TDib> cellPicture(const TListWindow& list, int index, int column) {
    const auto& columns = list.GetColumns();
    const bool pictures = std::any_of(columns.begin(), columns.end(), [&](const auto& c) {
        return c.GetSubItem() == column && c.HasPictures();
    });
    return pictures ? list.GetCellPicture(index, column) : nullptr;
}

std::string watchedFolder(const TWindow& window) {
    return window.GetImpl().watchedFolder;
}

bool changeFolder(TWindow& window, const std::vector<std::string>& names) {
    if (window.GetImpl().watchedFolder.empty()) {
        return false;
    }
    TFolderChange change{window.GetImpl().watchedFolder, names};
    TMsg msg;
    msg.kind = TMsgKind::FolderChange;
    msg.folderChange = &change;
    return window.Dispatch(msg);
}

bool dropFiles(TWindow& window, const std::vector<std::string>& paths, const TPoint& point) {
    if (!window.IsWindow() || !window.GetImpl().acceptsFiles)
        return false;
    TDropInfo drop{paths, point};
    TMsg msg;
    msg.kind = TMsgKind::DropFiles;
    msg.dropInfo = &drop;
    return window.Dispatch(msg);
}

bool clickListItem(TListWindow& list, int index, uint modKeys) {
    const TPoint point = listItemPoint(index);
    const bool taken = sendMouse(list, TMsgKind::LButtonDown, point, modKeys | MK_LBUTTON);
    sendMouse(list, TMsgKind::LButtonUp, point, modKeys);
    return taken;
}

bool rightClickListItem(TListWindow& list, int index, uint modKeys) {
    return sendMouse(list, TMsgKind::RButtonDown, listItemPoint(index), modKeys | MK_RBUTTON);
}

void clickListHeader(TListWindow& list, int column) {
    TWindow* parent = list.GetParentO();
    if (parent == nullptr)
        return;
    TLwNotify notify{list.GetId(), -1, column};
    TMsg msg = TMsg::MakeNotify(TMsgKind::LvnColumnClick, list.GetId());
    msg.lwNotify = &notify;
    parent->Dispatch(msg);
}

void endLabelEdit(TListWindow& list, const std::optional<std::string>& text) {
    list.EndLabelEdit(text ? text->c_str() : nullptr);
}

const std::vector<int>& ensuredVisible(const TListWindow& list) {
    return list.GetImpl().ensured;
}

const std::vector<std::pair<int, int>>& redrawnItems(const TListWindow& list) {
    return list.GetImpl().redrawn;
}

// --- Pop-up menus and services ---------------------------------------------------------------

void scriptPopupChoice(int commandId) {
    desktop().popupChoices.push_back(commandId);
}

const std::vector<TPopupRecord>& popupMenus() {
    return desktop().popups;
}

const std::vector<std::string>& launchedDocuments() {
    return desktop().launched;
}

const std::vector<std::string>& playedSounds() {
    return desktop().sounds;
}

std::optional<std::string> clipboard() {
    return desktop().clipboard;
}

void setClipboard(const std::optional<std::string>& bytes) {
    desktop().clipboard = bytes;
}

void setMailPrograms(bool message, bool link) {
    desktop().messageProgram = message;
    desktop().linkProgram = link;
}

const std::vector<TMailRecord>& mails() {
    return desktop().mails;
}

void setSoundsAvailable(bool available) {
    desktop().soundsAvailable = available;
}

TWindow* focusWindow() {
    return desktop().focus;
}

TWindow* captureWindow() {
    return desktop().capture;
}

} // namespace headless
