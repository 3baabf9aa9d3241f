// The main window's start-up, painting, timer and shutdown.
#include "app/drovakwindow.h"

#include "resources/resources.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/diskname.h"
#include "support/filename.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using namespace resources;

namespace {

constexpr uint kCursorTimer = 1;
constexpr uint kCursorTimerMs = 100;
// Ticks once, when the first paint is on screen.
constexpr uint kAfterFirstPaintTimer = 3;
const TColor kBackground{34, 34, 34};
const TColor kListText{255, 173, 0};
// Room beside a date in its column: the cell's margins.
constexpr int kDatePadding = 14;

void catchException() {
    trace("catchException", "");
    std::abort();
}

// The start-up benchmark's mark, only when asked for: wall-clock milliseconds, so the
// launcher can subtract its own start time.
void reportFirstPaint() {
    if (std::getenv("DROVAK_REPORT_FIRST_PAINT") != nullptr) {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
        std::fprintf(stderr, "first paint %lld\n", ms);
    }
}

// The pilot the list is going to select (the file named at start, else the one last loaded), read
// for the first paint to show: the list itself is filled after that paint. A file that cannot be
// read is said when the list selects it.
void openLastPilot(TPlayer& player, const TDrovakSettingsXfer& settings, const char* fileName) {
    char label[kFileNameCapacity] = "";
    parseFileName(label, fileName, sizeof label);
    truncFileName(label);
    std::error_code ec;
    for (const char* extension : {".dvw", ".sav"}) {
        const std::string name = label + std::string(extension);
        // A new file's saved name is a leftover that start-up removes.
        const bool leftover = name == std::string(kNewFileLabel) + ".sav";
        if (label[0] != '\0' && !leftover &&
            fs::is_regular_file(fsPath(settings.savPath.data() + name), ec)) {
            player.setFileName(name.c_str());
            if (player.openFile() != 0) {
                player.setFileName("");
            }
            return;
        }
    }
}

} // namespace

// clang-format off
DEFINE_RESPONSE_TABLE1(TDrovakWindow, TWindow)
    EV_WM_TIMER,
    EV_COMMAND(CM_NEW, CmdNew),
    EV_COMMAND(CM_SAVE, CmdSave),
    EV_COMMAND(CM_SAVEAS, CmdSaveAs),
    EV_COMMAND(CM_LOAD, CmdLoad),
    EV_COMMAND(CM_EMAIL, CmdEmail),
    EV_COMMAND(CM_DUPLICATE, CmdDuplicate),
    EV_COMMAND(CM_RENAME, CmdRename),
    EV_COMMAND(CM_DELETE, CmdDelete),
    EV_COMMAND(CM_RESTORE, CmdRestore),
    EV_COMMAND(CM_EXIT, CmdExit),
    EV_COMMAND(CM_UNDO, CmdUndo),
    EV_COMMAND(CM_CUT, CmdCut),
    EV_COMMAND(CM_COPY, CmdCopy),
    EV_COMMAND(CM_PASTE, CmdPaste),
    EV_COMMAND(CM_SETTINGS, CmdSettings),
    EV_COMMAND(CM_IMPORT, CmdImport),
    EV_COMMAND(CM_ABOUT, CmdAbout),
    EV_COMMAND(CM_HELP, CmdHelp),
    EV_COMMAND(CM_CONTACT, CmdContact),
    EV_COMMAND(CM_WEBSITE, CmdWebsite),
    EV_COMMAND_ENABLE(CM_EMAIL, CeEmail),
    EV_COMMAND_ENABLE(CM_SAVEAS, CeHasFile),
    EV_COMMAND_ENABLE(CM_LOAD, CeHasFile),
    EV_COMMAND_ENABLE(CM_RESTORE, CeRestore),
    EV_COMMAND_ENABLE(CM_DUPLICATE, CeHasFile),
    EV_COMMAND_ENABLE(CM_RENAME, CeHasFile),
    EV_COMMAND_ENABLE(CM_DELETE, CeHasFile),
    EV_COMMAND_ENABLE(CM_SAVE, CeIsDirty),
    EV_COMMAND_ENABLE(CM_UNDO, CeCanUndo),
    EV_COMMAND_ENABLE(CM_CUT, CeCutCopy),
    EV_COMMAND_ENABLE(CM_COPY, CeCutCopy),
    EV_COMMAND_ENABLE(CM_PASTE, CePaste),
    EV_LVN_COLUMNCLICK(kListId, ListColumnClick),
    EV_LVN_GETDISPINFO(kListId, LvnGetDispInfo),
    EV_LVN_ENDLABELEDIT(kListId, LvnEndLabelEdit),
    EV_WM_LBUTTONDOWN,
    EV_WM_LBUTTONUP,
    EV_WM_LBUTTONDBLCLK,
    EV_WM_RBUTTONDOWN,
    EV_WM_MOUSEMOVE,
    EV_WM_KEYDOWN,
    EV_WM_KEYUP,
    EV_WM_CHAR,
    EV_WM_NCMOUSEMOVE,
    EV_WM_DROPFILES,
    EV_WM_FOLDERCHANGE,
    EV_WM_STARTREQUEST,
END_RESPONSE_TABLE;
// clang-format on

TDrovakWindow::TDrovakWindow(TWindow* parent, const std::string& startFile)
    : TWindow(parent), fileData(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST) {
    trace("TDrovakWindow", "");
    std::set_terminate(catchException);

    settings = std::make_unique<TDrovakSettingsXfer>();
    openINI(*settings);
    debugStart();

    if (settings->showSplashScreen) {
        startSplashWindow();
    }
    screen = std::make_unique<TDrovakScreen>(*this);
    screen->setShowColorChars(settings->showColorChars != 0);
    SetBkgndColor(kBackground);

    listWindow = std::make_unique<TSavListWindow>(
        this, *this, kListId, kListRect.left, kListRect.top, kListRect.Width(), kListRect.Height());
    imageList = std::make_unique<TImageList>(TSize{32, 32}, ILC_COLOR16, 15, 5);
    imageList->Add(TIcon(kFileIcon));
    imageList->Add(TIcon(kEditedFileIcon));
    imageList->Add(TIcon(kOddFileIcon));

    player = std::make_unique<TPlayer>(*settings, "");
    screen->setPlayer(player.get());
    working = std::make_unique<TWorkingCopy>(*player);
    listPlayer = std::make_unique<TPlayer>(*settings, "");
    player->setSavNames(listWindow.get());
    listPlayer->setSavNames(listWindow.get());

    fileData.FileName.clear();
    listWindow->setSavPath(settings->savPath.data());
    newFileOpen = false;

    savTopBitmap = std::make_unique<TDib>("savTop");
    fileData.SetFilter("F-22 Raptor SAV file (*.sav) |*.sav|");
    fileData.InitialDir = settings->savPath.data();
    clickSound = std::make_unique<TWaveSound>("button");

    timerId = SetTimer(kCursorTimer, kCursorTimerMs);
    if (timerId == 0) {
        MessageBox("Error starting timer", "Timer", MB_OK | MB_ICONEXCLAMATION);
    }

    if (settings->firstRun) {
        runSetupWizard();
    }
    if (!startFile.empty()) {
        adoptStartFile(startFile);
    }
    firstPaint = true;
}

TDrovakWindow::~TDrovakWindow() {
    trace("~TDrovakWindow", "");
    if (timerId != 0) {
        KillTimer(timerId);
    }
    if (writePending) {
        KillTimer(kWorkingCopyTimer);
    }
    if (folderChangePending) {
        KillTimer(kFolderChangeTimer);
    }
    WatchFolder("");
    AcceptStartRequests(false);
    splash.reset();
}

void TDrovakWindow::SetupWindow() {
    TWindow::SetupWindow();
    DragAcceptFiles(true);
    AcceptStartRequests(true);
}

void TDrovakWindow::Paint(TDC& dc, bool, TRect&) {
    trace("Paint", "");
    try {
        dc.BitBlt(0, 2, *savTopBitmap);
        const bool first = firstPaint;
        if (firstPaint) {
            listWindow->InsertColumn(0, TListWindColumn("SAV File", 120));
            TListWindColumn callsigns("Callsign", 133, TListWindColumn::Left, 1);
            callsigns.SetPictures(true);
            listWindow->InsertColumn(1, callsigns);
            // The date as the list's font draws it, whatever font the desktop gives the list.
            int dateWidth = listWindow->GetStringWidth("EDITING");
            for (int month = 1; month <= 12; ++month) {
                dateWidth = std::max(dateWidth, listWindow->GetStringWidth(
                                                    std::string(getMonth(month)) + " 30, 2026"));
            }
            listWindow->InsertColumn(
                2, TListWindColumn("Modified", dateWidth + kDatePadding, TListWindColumn::Left, 2));
            listWindow->SetColumnWidth(
                1, listWindow->GetColumnWidth(1) -
                       std::max(0, dateWidth + kDatePadding - TSavListWindow::kDateWidth));
            listWindow->SetTextColor(kListText);
            listWindow->SetTextBkColor(kBackground);
            listWindow->SetBkColor(kBackground);
            firstPaint = false;
            columnWidths[0] = listWindow->GetColumnWidth(0);
            columnWidths[1] = listWindow->GetColumnWidth(1);
            openLastPilot(*player, *settings, startFileName());
        }
        layOut();
        paintEditor(dc);
        if (!statusText.empty()) {
            const TRect strip = statusStrip();
            dc.TextOut(strip.left + 8, strip.top + 6, statusText, kListText);
        }
        if (first) {
            reportFirstPaint();
            // A large folder or a slow mail check never holds up the window.
            if (SetTimer(kAfterFirstPaintTimer, 0) == 0) {
                EvTimer(kAfterFirstPaintTimer);
            }
        }
    } catch (const char* what) {
        std::string report = formatExceptionReport(what, contactOrHowTo(*settings).c_str());
        MessageBox(report.c_str(), "ERROR", MB_OK | MB_ICONEXCLAMATION);
    }
}

void TDrovakWindow::EvTimer(uint id) {
    if (id == kWorkingCopyTimer) {
        syncWorkingCopy();
        return;
    }
    if (id == kFolderChangeTimer) {
        followFolderChanges();
        return;
    }
    if (id == kStatusTimer) {
        KillTimer(kStatusTimer);
        statusText.clear();
        InvalidateRect(statusStrip(), true);
        return;
    }
    if (id != kAfterFirstPaintTimer) {
        screen->changeCursor();
        return;
    }
    KillTimer(kAfterFirstPaintTimer);
    if (afterFirstPaint) {
        afterFirstPaint();
    }
    // The list is empty until the fill below, so its icons are not needed before.
    listWindow->SetImageList(*imageList, TListWindow::Small);
    // Everything that reads the whole SAV folder waits for the first paint. A new file never
    // survives a restart under its saved name; its working copy does. Nor do the temporaries of
    // a write that was cut short.
    std::error_code ec;
    std::string leftover = savFilePath(kNewFileLabel, ".sav");
    if (!leftover.empty()) {
        fs::remove(fsPath(leftover), ec);
    }
    followNewFile();
    const char* writtenFolders[] = {settings->savPath.data(), settings->raptorPath.data(),
                                    getDrovakPath(), programFolders().mail.c_str()};
    for (const char* folder : writtenFolders) {
        removeLeftoverTemporaries(folder);
    }
    WatchFolder(settings->savPath.data());
    listWindow->fillListWindow();
    listFilled = true;
    listWindow->selectFile(startFileName());
    // The keyboard starts in the list, so the program can be used without a mouse; while the
    // splash is up it waits (taking it would bring the main window over the splash).
    if (!splash) {
        listWindow->SetFocus();
    }
}

bool TDrovakWindow::CanClose() {
    trace("CanClose", "");
    endFieldEdit();
    return onClose();
}

bool TDrovakWindow::onClose() {
    trace("onClose", "");
    syncWorkingCopy();
    std::vector<std::string> copies;
    std::error_code ec;
    for (auto it = fs::directory_iterator(fsPath(settings->savPath.data()), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = fsName(it->path().filename());
        // The files the list shows: a longer name could not be saved under its own label.
        if (it->is_regular_file(ec) && name.size() > 4 && name.ends_with(".dvw") &&
            name[0] != '.' && name.size() <= TSavListWindow::kMaxNameLength) {
            copies.push_back(name);
        }
    }
    std::sort(copies.begin(), copies.end());

    if (!copies.empty()) {
        // The marks follow the working copies as they are now on disk.
        listWindow->fillListWindow();
    }
    bool result = true;
    for (const std::string& found : copies) {
        if (!openPlayerFile(found)) {
            continue; // said already; the working copy stays for a later run
        }
        // The list shows the pilot asked about, so that after Cancel the selection and the
        // open record are the same file.
        listWindow->selectFile(found.c_str());
        if (found != player->getFileName() && !openPlayerFile(found)) {
            continue;
        }
        std::string label = found.substr(0, found.size() - 4);
        std::string question = "Save changes to " + label + "?";
        switch (MessageBox(question.c_str(), "Save", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES:
            CmdSave();
            break;
        case IDNO:
            working->discard();
            listWindow->updateLabel(label);
            break;
        default:
            result = false;
            break;
        }
        if (!result) {
            break;
        }
    }
    if (result) {
        saveINI(*settings);
    } else if (!copies.empty()) {
        // The program goes on: the list shows what the answers before Cancel left on disk.
        followNewFile();
        std::string open = player->getFileName();
        listWindow->fillListWindow();
        listWindow->selectFile(open.c_str());
    }
    return result;
}

void TDrovakWindow::endSplash() {
    trace("endSplash", "");
    splash.reset();
    if (listWindow->IsWindow()) {
        listWindow->SetFocus();
    }
}

void TDrovakWindow::endFieldEdit() {
    if (screen->isEditing()) {
        screen->endEdit();
    }
}

std::string TDrovakWindow::savFilePath(const std::string& label, const char* extension) const {
    // A label stands for its files whatever the case of their names on disk.
    std::string folder = settings->savPath.data();
    std::string name = label + extension;
    std::string path = folder + (listWindow->folderPath() == folder ? listWindow->diskNameOr(name)
                                                                    : diskNameOr(folder, name));
    return path.size() < kPathCapacity ? path : std::string();
}

std::string TDrovakWindow::currentLabel() const {
    char label[kFileNameCapacity] = "";
    strAppend(label, player->getFileName(), static_cast<int>(kFileNameCapacity));
    truncFileName(label);
    return label;
}

bool TDrovakWindow::hasWorkingCopy(const std::string& label) const {
    // The list names a label as its files are spelt now; another program may have changed
    // their case since this window read the pilot.
    const int index = listWindow->GetItems().FindExact(label, -1);
    const std::string shown = index >= 0 ? listWindow->GetItems().At(index).label : label;
    return listWindow->doesDirtyFileExist(shown.c_str(), false);
}

void TDrovakWindow::repaintRect(const TScreenRect& rect) {
    InvalidateRect(TRect(rect.left, rect.top, rect.right, rect.bottom), true);
}

bool TDrovakWindow::clipboardHasText() {
    TClipboard clipboard(*this);
    return clipboard.IsOpen() && clipboard.IsClipboardFormatAvailable(CF_TEXT);
}

std::string TDrovakWindow::getClipboardText() {
    TClipboard clipboard(*this);
    return clipboard.IsOpen() ? clipboard.GetText() : std::string();
}

void TDrovakWindow::setClipboardText(std::string bytes) {
    TClipboard clipboard(*this);
    if (clipboard.IsOpen()) {
        clipboard.EmptyClipboard();
        clipboard.SetText(bytes);
    }
}

void TDrovakWindow::layOut() {
    const TRect client = GetClientRect();
    const TPoint now(std::max(0, client.Width() - kFrameWidth),
                     std::max(0, client.Height() - kFrameHeight));
    if (now == grown) {
        return;
    }
    grown = now;
    listWindow->MoveWindow(TRect(kListRect.left, kListRect.top, kListRect.right + grown.x,
                                 kListRect.bottom + grown.y));
    // The file and callsign columns share the width gained; the date needs none.
    if (columnWidths[0] > 0) {
        listWindow->SetColumnWidth(0, columnWidths[0] + grown.x / 2);
        listWindow->SetColumnWidth(1, columnWidths[1] + grown.x - grown.x / 2);
    }
    Invalidate(true);
}

TRect TDrovakWindow::statusStrip() const {
    return TRect(kStatusStrip.left, kStatusStrip.top + grown.y, kStatusStrip.right + grown.x,
                 kStatusStrip.bottom + grown.y);
}

void TDrovakWindow::paintEditor(TDC& dc) {
    screen->showEditor(dc, 352 + grown.x, 2);
    screen->showExtendedChars(dc, 0, 168 + grown.y);
    screen->showCursor(dc);
    screen->hilightExtendedChars(dc);
    screen->hilightColors(dc);
}
