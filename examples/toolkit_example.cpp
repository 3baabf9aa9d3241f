// The toolkit layer's example: a list of 10,000 rows whose cells are asked for on demand, a
// custom-drawn area of glyph cels, a pop-up menu, message boxes, dialogs, a timer, a splash,
// sounds and the clipboard, all through toolkit/toolkit.h.
//
//   drovak_toolkit_example [--assets DIR] [--e2e-log FILE] [--splash TIMEOUT_MS]
//
// With --e2e-log every message the example receives is written to FILE, one a line, as the
// end-to-end tests read it: "click X Y", "key-down VK", "command ID", "label INDEX TEXT", ...

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "toolkit/toolkit.h"

namespace {

using namespace resources;

constexpr int kListId = 1000;
constexpr int kAreaId = 1001;
constexpr int kRows = 10000;
constexpr uint kTickTimer = 1;
constexpr uint kTickMs = 200;
constexpr int kClientW = 780;
constexpr int kClientH = 470;
constexpr TColor kDark(34, 34, 34);
constexpr TColor kAmber(255, 173, 0);

// The event log of the end-to-end tests; nothing is written without --e2e-log.
class TEventLog {
  public:
    void Open(const char* path) { file_ = path ? std::fopen(path, "w") : nullptr; }
    ~TEventLog() {
        if (file_)
            std::fclose(file_);
    }
    // printf-style, so the compiler checks each line's arguments against its format.
    __attribute__((format(printf, 2, 3))) void Write(const char* format, ...) {
        if (!file_)
            return;
        va_list args;
        va_start(args, format);
        std::vfprintf(file_, format, args);
        va_end(args);
        std::fputc('\n', file_);
        std::fflush(file_);
    }

  private:
    std::FILE* file_ = nullptr;
};

TEventLog g_log;

// The glyph strips hold one cel per byte; byte 0 is cel 128.
int celOfByte(unsigned char byte) {
    return (byte + 128) & 0xFF;
}

// The custom-drawn area: a line of glyph cels, a mark where it was last clicked, the timer's
// count. Clicks and keys are logged; a right click opens the pop-up menu.
class TGlyphArea : public TWindow {
  public:
    TGlyphArea(TWindow* parent, int x, int y, int w, int h)
        : TWindow(parent), glyphs_(TDib("0alpha"), 256), marks_(TDib("8alpha"), 256) {
        Attr.Id = kAreaId;
        Attr.X = x;
        Attr.Y = y;
        Attr.W = w;
        Attr.H = h;
        Attr.ExStyle = WS_EX_CLIENTEDGE;
    }

    void SetTicks(int ticks) {
        ticks_ = ticks;
        InvalidateRect(TRect(0, 100, GetClientRect().right, 140), false);
    }

    void Paint(TDC& dc, bool, TRect&) override {
        const TSize cel = glyphs_.CelSize();
        const char* title = "DROVAK";
        for (int i = 0; title[i]; ++i)
            glyphs_.BitBlt(celOfByte(static_cast<unsigned char>(title[i])), dc, 8 + i * cel.cx, 8);
        for (int i = 0; i < 10; ++i)
            marks_.BitBlt(celOfByte(static_cast<unsigned char>('0' + i)), dc, 8 + i * cel.cx, 50);
        const std::string count = std::to_string(ticks_ % 1000);
        for (std::size_t i = 0; i < count.size(); ++i)
            glyphs_.BitBlt(celOfByte(static_cast<unsigned char>(count[i])), dc,
                           8 + static_cast<int>(i) * cel.cx, 100);
        if (clicked_)
            marks_.BitBlt(celOfByte('+'), dc, click_.x - cel.cx / 2, click_.y - cel.cy / 2);
    }

    void EvLButtonDown(uint, const TPoint& point) {
        g_log.Write("click %d %d", point.x, point.y);
        SetFocus();
        clicked_ = true;
        click_ = point;
        Invalidate();
        TWaveSound("button").Play();
    }

    void EvRButtonDown(uint, const TPoint& point) {
        g_log.Write("rclick %d %d", point.x, point.y);
        TPopupMenu menu;
        menu.AppendMenu(MF_STRING, CM_COPY, "&Copy");
        menu.AppendMenu(MF_STRING, CM_PASTE, "&Paste");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, CM_DELETE, "&Delete");
        menu.AppendMenu(MF_STRING, CM_SAVE, "&Save");
        TPoint screen = point;
        ClientToScreen(screen);
        g_log.Write("popup %d %d", screen.x, screen.y);
        const bool chosen = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen, *this);
        g_log.Write("popup-closed %d", chosen ? 1 : 0);
    }

    void EvKeyDown(uint key, uint, uint) { g_log.Write("key-down %u", key); }
    void EvKeyUp(uint key, uint, uint) { g_log.Write("key-up %u", key); }

    DECLARE_RESPONSE_TABLE(TGlyphArea);

  private:
    TCelArray glyphs_;
    TCelArray marks_;
    int ticks_ = 0;
    bool clicked_ = false;
    TPoint click_;
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TGlyphArea, TWindow)
    EV_WM_LBUTTONDOWN,
    EV_WM_RBUTTONDOWN,
    EV_WM_KEYDOWN,
    EV_WM_KEYUP,
END_RESPONSE_TABLE;
// clang-format on

// The list: F2 or a double click edits the selected label; other keys move the selection.
class TPilotList : public TListWindow {
  public:
    TPilotList(TWindow* parent, int x, int y, int w, int h)
        : TListWindow(parent, kListId, x, y, w, h) {
        Attr.Style |= LVS_SORTASCENDING | LVS_EDITLABELS | LVS_SHOWSELALWAYS;
        Attr.ExStyle |= WS_EX_CLIENTEDGE;
    }

    void EditSelected() {
        int index = -1;
        if (GetSelIndexes(&index, 1) == 1)
            EditLabel(index);
    }

    void EvKeyDown(uint key, uint repeat, uint flags) {
        g_log.Write("list-key %u", key);
        if (key == VK_F1 + 1)
            EditSelected();
        else
            TListWindow::EvKeyDown(key, repeat, flags);
    }

    void EvLButtonDown(uint modKeys, const TPoint& point) {
        TListWindow::EvLButtonDown(modKeys, point);
        std::array<int, 4> sel{};
        const int n = GetSelIndexes(sel.data(), static_cast<int>(sel.size()));
        g_log.Write("select %d %d", n, n > 0 ? sel[0] : -1);
    }

    void EvLButtonDblClk(uint, const TPoint& point) {
        const int hit = HitTest(point);
        if (hit >= 0)
            EditLabel(hit);
    }

    DECLARE_RESPONSE_TABLE(TPilotList);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TPilotList, TListWindow)
    EV_WM_KEYDOWN,
    EV_WM_LBUTTONDOWN,
    EV_WM_LBUTTONDBLCLK,
END_RESPONSE_TABLE;
// clang-format on

// The settings dialog of the resources: its edit and check box report what the user does.
class TSettingsDialog : public TDialog {
  public:
    explicit TSettingsDialog(TWindow* parent)
        : TDialog(parent, kSettingsDialog), path_(this, settings::kRaptorPathEdit, kPathCapacity),
          template_(this, settings::kTemplatePathEdit, kPathCapacity),
          sound_(this, settings::kSoundOnBox), ok_(this, kOkButton) {}

    void SetupWindow() override {
        TDialog::SetupWindow();
        path_.SetText("C:\\Program Files\\Novalogic\\F-22 Raptor\\");
        template_.SetText("raptor.sav");
        template_.SetReadOnly(true);
        sound_.Check();
        SetTimer(1, 300); // the controls' places are known once the dialog is on screen
    }

    void EvTimer(uint timerId) {
        KillTimer(timerId);
        LogPlace("path", path_);
        LogPlace("template", template_);
        LogPlace("sound", sound_);
        LogPlace("ok", ok_);
        g_log.Write("dialog-open");
    }

    void EnPath() { g_log.Write("en-update %d", settings::kRaptorPathEdit); }
    void EnTemplate() { g_log.Write("en-update %d", settings::kTemplatePathEdit); }
    void BnSound() { g_log.Write("bn-clicked %d %u", settings::kSoundOnBox, sound_.GetCheck()); }

    std::string Path() const { return path_.GetText(); }
    std::string Template() const { return template_.GetText(); }
    uint Sound() const { return sound_.GetCheck(); }

    DECLARE_RESPONSE_TABLE(TSettingsDialog);

  private:
    static void LogPlace(const char* name, TWindow& control) {
        TPoint p(0, 0);
        control.ClientToScreen(p);
        const TRect r = control.GetClientRect();
        g_log.Write("%s %d %d %d %d", name, p.x, p.y, r.Width(), r.Height());
    }

    TEdit path_;
    TEdit template_;
    TCheckBox sound_;
    TButton ok_;
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TSettingsDialog, TDialog)
    EV_WM_TIMER,
    EV_EN_UPDATE(settings::kRaptorPathEdit, EnPath),
    EV_EN_UPDATE(settings::kTemplatePathEdit, EnTemplate),
    EV_BN_CLICKED(settings::kSoundOnBox, BnSound),
END_RESPONSE_TABLE;
// clang-format on

// The splash, telling the log about a click it captured.
class TExampleSplash : public TSplashWindow {
  public:
    TExampleSplash(uint timeOut)
        : TSplashWindow(TDib("splash"), 400, 346, CaptureMouse, timeOut, "Drovak") {}

    void EvLButtonDown(uint modKeys, const TPoint& point) {
        g_log.Write("splash-click %d %d", point.x, point.y);
        TSplashWindow::EvLButtonDown(modKeys, point);
    }

    void Paint(TDC& dc, bool erase, TRect& rect) override {
        TSplashWindow::Paint(dc, erase, rect);
        if (!painted_)
            g_log.Write("splash-painted");
        painted_ = true;
    }

  private:
    bool painted_ = false;

  public:
    DECLARE_RESPONSE_TABLE(TExampleSplash);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TExampleSplash, TSplashWindow)
    EV_WM_LBUTTONDOWN,
END_RESPONSE_TABLE;
// clang-format on

// The main window's client: the list, the area, the timer and the commands.
class TExampleWindow : public TWindow {
  public:
    explicit TExampleWindow(uint splashMs)
        : TWindow(nullptr), showSplash_(splashMs > 0), splashMs_(splashMs) {
        Attr.W = kClientW;
        Attr.H = kClientH;
        list_ = new TPilotList(this, 8, 8, 460, kClientH - 16);
        area_ = new TGlyphArea(this, 476, 8, kClientW - 484, 200);
        images_ = std::make_unique<TImageList>(TSize(32, 32), ILC_COLOR24, 2, 1);
    }

    ~TExampleWindow() override {
        delete splash_;
        delete list_;
        delete area_;
    }

    void SetupWindow() override {
        TWindow::SetupWindow();
        SetBkgndColor(kDark);
        images_->Add(TIcon(kFileIcon));
        images_->Add(TIcon(kEditedFileIcon));
        list_->SetImageList(*images_);
        list_->SetTextColor(kAmber);
        list_->SetTextBkColor(kDark);
        list_->SetBkColor(kDark);
        list_->InsertColumn(0, TListWindColumn("Pilot", 180));
        list_->InsertColumn(1, TListWindColumn("Callsign", 130, TListWindColumn::Left, 1));
        list_->InsertColumn(2, TListWindColumn("Date", 120, TListWindColumn::Left, 2));
        for (int i = 0; i < kRows; ++i) {
            std::array<char, 32> label{};
            std::snprintf(label.data(), label.size(), "Pilot %05d", i);
            TListWindItem item(label.data());
            item.SetImageIndex(i % 2);
            list_->InsertItem(item);
        }
        area_->SetBkgndColor(kDark);
        g_log.Write("cursor %d", area_->SetCursor(kTextCursor) ? 1 : 0);
        if (SetTimer(kTickTimer, kTickMs) == 0)
            g_log.Write("no-timer");
        if (showSplash_) {
            splash_ = new TExampleSplash(splashMs_);
            splash_->Create();
            g_log.Write("splash-open");
        }
        TWaveSound("startUp").Play();
    }

    void EvTimer(uint timerId) {
        if (timerId != kTickTimer)
            return;
        ++ticks_;
        area_->SetTicks(ticks_);
        if (splash_ && !splash_->IsWindow()) {
            delete splash_;
            splash_ = nullptr;
            g_log.Write("splash-closed");
        }
        // Ready once the list has shown its rows (a tick after the window came up).
        if (!ready_ && !splash_ && ticks_ >= 2) {
            ready_ = true;
            TPoint area(0, 0);
            area_->ClientToScreen(area);
            const TRect ar = area_->GetClientRect();
            g_log.Write("area %d %d %d %d", area.x, area.y, ar.Width(), ar.Height());
            TPoint list(0, 0);
            list_->ClientToScreen(list);
            const TRect lr = list_->GetClientRect();
            g_log.Write("list %d %d %d %d", list.x, list.y, lr.Width(), lr.Height());
            g_log.Write("ready");
        }
    }

    void LvnGetDispInfo(TLwDispInfoNotify& info) {
        const int index = info.item.GetIndex();
        const std::string& label = list_->GetItems().At(index).label;
        const int number = std::atoi(label.c_str() + std::strcspn(label.c_str(), "0123456789"));
        std::array<char, 32> text{};
        if (info.item.GetSubItem() == 1)
            std::snprintf(text.data(), text.size(), "VIPER-%04d", number % 10000);
        else
            std::snprintf(text.data(), text.size(), "1998-%02d-%02d", 1 + number % 12,
                          1 + number % 28);
        info.item.SetText(text.data());
    }

    void LvnEndLabelEdit(TLwDispInfoNotify& info) {
        const char* text = info.item.GetText();
        const int index = info.item.GetIndex();
        if (!text) {
            g_log.Write("label-cancel %d", index);
            return;
        }
        g_log.Write("label %d %s", index, text);
        const int image = list_->GetItems().At(index).image;
        list_->DeleteAnItem(index);
        TListWindItem item(text);
        item.SetImageIndex(image);
        const int at = list_->InsertItem(item);
        list_->SetSel(at, true);
        list_->EnsureVisible(at, false);
        dirty_ = true;
    }

    void ListColumnClick(TLwNotify& notify) { g_log.Write("column %d", notify.iSubItem); }

    // Command enablers: the menu bar and the pop-up menu ask the same ones.
    void CeHasSelection(TCommandEnabler& ce) {
        ce.Enable(list_->GetSelCount() > 0);
        g_log.Write("enable %d %d", ce.GetId(), ce.IsEnabled() ? 1 : 0);
    }
    void CeIsDirty(TCommandEnabler& ce) { ce.Enable(dirty_); }
    void CeCanPaste(TCommandEnabler& ce) {
        TClipboard clipboard(*this);
        ce.Enable(clipboard.IsClipboardFormatAvailable(CF_TEXT));
    }

    void CmdSave() {
        g_log.Write("command %d", CM_SAVE);
        dirty_ = false;
    }
    void CmdDelete() {
        g_log.Write("command %d", CM_DELETE);
        std::array<int, 1> sel{};
        if (list_->GetSelIndexes(sel.data(), 1) == 1)
            list_->DeleteAnItem(sel[0]);
    }
    void CmdRename() {
        g_log.Write("command %d", CM_RENAME);
        list_->EditSelected();
    }
    void CmdCopy() {
        g_log.Write("command %d", CM_COPY);
        std::array<int, 1> sel{};
        if (list_->GetSelIndexes(sel.data(), 1) != 1)
            return;
        TClipboard clipboard(*this);
        clipboard.EmptyClipboard();
        clipboard.SetText(list_->GetItems().At(sel[0]).label);
    }
    void CmdPaste() {
        TClipboard clipboard(*this);
        g_log.Write("command %d %s", CM_PASTE, clipboard.GetText().c_str());
    }
    void CmdNew() { g_log.Write("command %d", CM_NEW); }
    void CmdSettings() {
        g_log.Write("command %d", CM_SETTINGS);
        TSettingsDialog dialog(this);
        const int result = dialog.Execute();
        g_log.Write("dialog %d %u %s|%s", result, dialog.Sound(), dialog.Path().c_str(),
                    dialog.Template().c_str());
    }
    void CmdLoad() {
        g_log.Write("command %d", CM_LOAD);
        TOpenSaveDialog::TData data(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                                    "SAV Files (*.sav)|*.sav|All Files (*.*)|*.*|");
        if (TFileOpenDialog(this, data).Execute() == IDOK)
            g_log.Write("open %s", data.FileName.c_str());
    }
    void CmdWebsite() {
        g_log.Write("command %d", CM_WEBSITE);
        LaunchDocument("website.htm");
    }
    void CmdAbout() {
        g_log.Write("command %d", CM_ABOUT);
        MessageBox("The toolkit layer's example.", "About", MB_OK | MB_ICONEXCLAMATION);
    }
    void CmdExit() {
        g_log.Write("command %d", CM_EXIT);
        PostQuitMessage(0);
    }

    bool CanClose() override {
        g_log.Write("can-close");
        return true;
    }

    DECLARE_RESPONSE_TABLE(TExampleWindow);

  private:
    bool showSplash_;
    uint splashMs_;
    TPilotList* list_;
    TGlyphArea* area_;
    std::unique_ptr<TImageList> images_;
    TSplashWindow* splash_ = nullptr;
    int ticks_ = 0;
    bool ready_ = false;
    bool dirty_ = false;
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TExampleWindow, TWindow)
    EV_WM_TIMER,
    EV_LVN_GETDISPINFO(kListId, LvnGetDispInfo),
    EV_LVN_ENDLABELEDIT(kListId, LvnEndLabelEdit),
    EV_LVN_COLUMNCLICK(kListId, ListColumnClick),
    EV_COMMAND_ENABLE(CM_DELETE, CeHasSelection),
    EV_COMMAND_ENABLE(CM_RENAME, CeHasSelection),
    EV_COMMAND_ENABLE(CM_COPY, CeHasSelection),
    EV_COMMAND_ENABLE(CM_CUT, CeHasSelection),
    EV_COMMAND_ENABLE(CM_SAVE, CeIsDirty),
    EV_COMMAND_ENABLE(CM_PASTE, CeCanPaste),
    EV_COMMAND(CM_NEW, CmdNew),
    EV_COMMAND(CM_SAVE, CmdSave),
    EV_COMMAND(CM_DELETE, CmdDelete),
    EV_COMMAND(CM_RENAME, CmdRename),
    EV_COMMAND(CM_COPY, CmdCopy),
    EV_COMMAND(CM_PASTE, CmdPaste),
    EV_COMMAND(CM_SETTINGS, CmdSettings),
    EV_COMMAND(CM_LOAD, CmdLoad),
    EV_COMMAND(CM_WEBSITE, CmdWebsite),
    EV_COMMAND(CM_ABOUT, CmdAbout),
    EV_COMMAND(CM_EXIT, CmdExit),
END_RESPONSE_TABLE;
// clang-format on

class TExampleApp : public TApplication {
  public:
    explicit TExampleApp(uint splashMs)
        : TApplication("Drovak toolkit example"), splashMs_(splashMs) {}

    void InitMainWindow() override {
        auto* frame =
            new TFrameWindow(nullptr, "Drovak toolkit example", new TExampleWindow(splashMs_));
        frame->AssignMenu(kMainMenu);
        frame->SetIcon(kProgramIcon);
        SetMainWindow(frame);
    }

  private:
    uint splashMs_;
};

} // namespace

int main(int argc, char** argv) {
    std::string assets = DROVAK_ASSETS_DIR;
    const char* logPath = nullptr;
    uint splashMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--assets" && i + 1 < argc)
            assets = argv[++i];
        else if (arg == "--e2e-log" && i + 1 < argc)
            logPath = argv[++i];
        else if (arg == "--splash" && i + 1 < argc)
            splashMs = static_cast<uint>(std::strtoul(argv[++i], nullptr, 10));
    }
    g_log.Open(logPath); // before the asset folder becomes the working directory
    std::error_code error;
    std::filesystem::current_path(assets, error);
    if (error) {
        std::fprintf(stderr, "cannot use the asset folder %s\n", assets.c_str());
        return 2;
    }
    try {
        TExampleApp app(splashMs);
        const int code = app.Run();
        g_log.Write("exit %d", code);
        return code;
    } catch (const TXToolkit& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
