// The Edit menu, the greying of commands, the client area's mouse and keys, and the
// commands that hand the record to the game, to e-mail, or open the help documents.
#include "app/drovakwindow.h"

#include "player/gamebackups.h"
#include "resources/resources.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace resources;

namespace {

// The menu's Cut, Copy and Paste are the editor's Control chords.
void controlChord(TDrovakScreen& screen, int key) {
    screen.setKeyDown(VK_CONTROL, {false, true, false});
    screen.setKeyDown(key, {false, true, false});
    screen.setKeyUp(VK_CONTROL, {});
}

} // namespace

void TDrovakWindow::CmdCut() {
    trace("CmdCut", "");
    controlChord(*screen, 'X');
    scheduleWorkingCopy();
}

void TDrovakWindow::CmdCopy() {
    trace("CmdCopy", "");
    controlChord(*screen, 'C');
}

void TDrovakWindow::CmdPaste() {
    trace("CmdPaste", "");
    controlChord(*screen, 'V');
    scheduleWorkingCopy();
}

void TDrovakWindow::CeEmail(TCommandEnabler& ce) {
    std::string label = currentLabel();
    ce.Enable(listWindow->getSelected() != -1 && !label.empty() &&
              !listWindow->doesDirtyFileExist(player->getFileName(), true));
}

void TDrovakWindow::CeHasFile(TCommandEnabler& ce) {
    ce.Enable(player->getFileName()[0] != '\0');
}

void TDrovakWindow::CeIsDirty(TCommandEnabler& ce) {
    std::string label = currentLabel();
    ce.Enable(!label.empty() && hasWorkingCopy(label));
}

void TDrovakWindow::CeCanUndo(TCommandEnabler& ce) {
    std::string label = currentLabel();
    ce.Enable(!label.empty() && hasWorkingCopy(label) && !newFileOpen);
}

void TDrovakWindow::CeCutCopy(TCommandEnabler& ce) {
    ce.Enable(screen->isEditing() && screen->isHilight());
}

void TDrovakWindow::CePaste(TCommandEnabler& ce) {
    ce.Enable(screen->isEditing() && screen->clipboardFull());
}

void TDrovakWindow::EvLButtonDown(uint, const TPoint& point) {
    leftClick(point, 0);
}

void TDrovakWindow::EvLButtonDblClk(uint, const TPoint& point) {
    leftClick(point, 0);
}

void TDrovakWindow::EvLButtonUp(uint, const TPoint&) {
    screen->endDrag();
}

void TDrovakWindow::EvNCMouseMove(uint, const TPoint&) {
    screen->endDrag();
}

void TDrovakWindow::EvRButtonDown(uint, const TPoint& point) {
    trace("EvRButtonDown", "");
    TPopupMenu menu;
    if (!screen->checkWindows(point)) {
        menu.AppendMenu(MF_STRING, CM_LOAD, "&Load into F-22 Raptor");
        menu.AppendMenu(MF_STRING, CM_EMAIL, "Send by &Email");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, CM_SAVE, "&Save");
        menu.AppendMenu(MF_STRING, CM_SAVEAS, "Save &As");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, CM_SETTINGS, "Se&ttings");
    } else {
        menu.AppendMenu(MF_STRING, CM_CUT, "Cu&t");
        menu.AppendMenu(MF_STRING, CM_COPY, "&Copy");
        menu.AppendMenu(MF_STRING, CM_PASTE, "&Paste");
    }
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, CM_UNDO, "&Undo modifications");
    TPoint screenPoint = point;
    ClientToScreen(screenPoint);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, screenPoint, *this);
}

void TDrovakWindow::EvMouseMove(uint, const TPoint& point) {
    SetCursor(screen->checkWindows(point) ? kTextCursor : kArrowCursor);
    screen->checkButtons(point);
    screen->checkColors(point);
    screen->checkDrag(point);
}

namespace {

TKeyModifiers heldWith(uint flags) {
    return {(flags & kKeyFlagShift) != 0, (flags & kKeyFlagControl) != 0,
            (flags & kKeyFlagAlt) != 0};
}

} // namespace

bool TDrovakWindow::moveKeyboard(uint key, uint flags) {
    if (key != VK_TAB && !(key == VK_RETURN && screen->isEditing())) {
        return false;
    }
    if (player->getFileName()[0] == '\0') {
        return true; // no file, no fields to go to
    }
    const bool back = key == VK_TAB && (flags & kKeyFlagShift) != 0;
    const int field = screen->getCurrentField();
    const int next = back ? (field == kNoField ? kFieldCount : field - 1) : field + 1;
    if (next < 1 || next > kFieldCount) {
        screen->endEdit();
        scheduleWorkingCopy();
        listWindow->flagEvents(false);
        listWindow->SetFocus();
    } else {
        screen->enterField(next);
        scheduleWorkingCopy();
        listWindow->flagEvents(true);
        SetFocus();
    }
    return true;
}

// Every key message carries the modifiers held when its key was pressed: Control or Shift let
// go while a message box or menu had the keyboard are up again with the next key.
void TDrovakWindow::EvKeyDown(uint key, uint, uint flags) {
    trace("EvKeyDown", "");
    if (moveKeyboard(key, flags)) {
        return;
    }
    screen->setKeyDown(static_cast<int>(key), heldWith(flags));
    scheduleWorkingCopy();
    if (screen->isEditing() && settings->soundOn) {
        clickSound->Play();
    }
}

void TDrovakWindow::EvChar(uint ch, uint, uint flags) {
    trace("EvChar", "");
    screen->setChar(static_cast<char32_t>(ch), heldWith(flags));
    scheduleWorkingCopy();
}

void TDrovakWindow::EvKeyUp(uint key, uint, uint flags) {
    trace("EvKeyUp", "");
    screen->setKeyUp(static_cast<int>(key), heldWith(flags));
}

void TDrovakWindow::CmdLoad() {
    trace("CmdLoad", "");
    endFieldEdit();
    syncWorkingCopy();
    settings->lastLoadedFile.fill('\0');
    strAppend(settings->lastLoadedFile.data(), player->getFileName(),
              static_cast<int>(settings->lastLoadedFile.size()));
    saveINI(*settings);
    std::error_code ec;
    const std::string raptorFolder = settings->raptorPath.data();
    const bool replaced = fs::is_regular_file(
        fsPath(joinPath(raptorFolder.c_str(), raptorSavName(raptorFolder.c_str()).c_str())), ec);
    int status = player->loadFile();
    const int error = errno;
    if (std::strcmp(settings->raptorPath.data(), settings->savPath.data()) == 0) {
        listWindow->updateLabel("raptor"); // the game's file is one of the list's
    }
    // The user must know when the game did not get the pilot.
    if (status == kSaveBackupFailed) {
        std::string message = "Could not keep a copy of the game's raptor.sav in " +
                              backupFolder() + ": " + std::strerror(error) +
                              "\nThe pilot was not loaded; the game's pilot is as it was.";
        MessageBox(message.c_str(), "Error", kWarn);
    } else if (status != kSaveOk) {
        reportSaveStatus(status);
    } else {
        showStatus(currentLabel() + " is loaded into F-22 Raptor." +
                   (replaced ? " The pilot it replaced is in File > Restore Game Pilot." : ""));
    }
}

void TDrovakWindow::CeRestore(TCommandEnabler& ce) {
    std::error_code ec;
    ce.Enable(settings->raptorPath[0] != '\0' &&
              fs::is_directory(fsPath(settings->raptorPath.data()), ec) && hasGameBackups());
}

void TDrovakWindow::CmdRestore() {
    trace("CmdRestore", "");
    endFieldEdit();
    syncWorkingCopy();
    const std::vector<TGameBackup> backups = listGameBackups();
    if (backups.empty() || settings->raptorPath[0] == '\0') {
        return;
    }
    std::vector<std::string> lines;
    for (const TGameBackup& backup : backups) {
        lines.push_back(backup.time + "    " + backup.callsign);
    }
    TChoiceDialog dialog(this, "Restore Game Pilot",
                         "Which pilot goes back into F-22 Raptor as raptor.sav?\n"
                         "The one there now is kept first.",
                         lines);
    if (dialog.Execute() != IDOK) {
        return;
    }
    const TGameBackup& chosen = backups.at(static_cast<std::size_t>(dialog.GetSelection()));
    const std::string raptorFolder = settings->raptorPath.data();
    std::string failure;
    switch (restoreGamePilot(raptorFolder, chosen, std::time(nullptr))) {
    case TRestoreStatus::Ok:
        break;
    case TRestoreStatus::BackupUnreadable:
        failure = "Could not read " + chosen.path;
        break;
    case TRestoreStatus::CurrentNotKept:
        failure = "Could not keep a copy of the game's raptor.sav in " + backupFolder();
        break;
    case TRestoreStatus::TargetFailed:
        failure = "Could not write " +
                  joinPath(raptorFolder.c_str(), raptorSavName(raptorFolder.c_str()).c_str());
        break;
    }
    if (!failure.empty()) {
        failure += std::string(": ") + std::strerror(errno) + "\nThe game's pilot is as it was.";
        MessageBox(failure.c_str(), "Error", kWarn);
        return;
    }
    if (std::strcmp(settings->raptorPath.data(), settings->savPath.data()) == 0) {
        listWindow->updateLabel("raptor");
        if (sameNameIgnoringCase(currentLabel(), "raptor")) {
            resetPlayerInfo(player->getFileName());
        }
    }
    showStatus(chosen.callsign + " of " + chosen.time + " is back in F-22 Raptor.");
}

void TDrovakWindow::showStatus(const std::string& text) {
    statusText = text;
    InvalidateRect(statusStrip(), true);
    SetTimer(kStatusTimer, kStatusShownMs);
    // Heard as well as seen: nothing to click away.
    if (settings->soundOn) {
        clickSound->Play();
    }
}

void TDrovakWindow::CmdEmail() {
    trace("CmdEmail", "");
    syncWorkingCopy();
    std::string label = currentLabel();
    if (hasWorkingCopy(label)) {
        if (MessageBox("You need to save this file before sending?  Save?", "Error",
                       MB_YESNOCANCEL | MB_ICONEXCLAMATION) != IDYES) {
            return;
        }
        CmdSave();
    }
    if (hasWorkingCopy(label)) {
        return;
    }
    if (player->emailFile() == kSaveOk) {
        sendMail(mailFile("send.eml"), emailAttachmentPath(player->getFileName()));
    } else {
        MessageBox(("Could not open file send.eml\n" + player->failedPath + ": " +
                    writeFailureReason(player->failedPath, player->failedError))
                       .c_str(),
                   "Error", kWarn);
    }
}

void TDrovakWindow::CmdHelp() {
    launch(sharedFile("help") + kPathSeparator + "help.htm");
}

void TDrovakWindow::CmdWebsite() {
    launch(sharedFile("website.htm"));
}

namespace {

// The template with its To: line for address. Without an address the message still opens,
// for the user to address, and its text says how to set one.
std::string addressContactMessage(const std::string& contact, const std::string& address) {
    std::string note = "(No contact address is set: fill in the To: line above, or\n" +
                       contactAddressHowTo() + ".)\n\n";
    std::string message = "To: " + address + "\n";
    bool inHeader = true;
    for (std::size_t pos = 0; pos < contact.size();) {
        std::size_t end = std::min(contact.find('\n', pos), contact.size() - 1) + 1;
        std::string line = contact.substr(pos, end - pos);
        pos = end;
        if (inHeader && line.starts_with("To:")) {
            continue;
        }
        message += line;
        if (inHeader && line == "\n") {
            inHeader = false;
            message += address.empty() ? note : "";
        }
    }
    return message;
}

} // namespace

bool writeContactMessage(const char* address) {
    std::string contact;
    std::string ini;
    if (!readWholeFile(sharedFile("contact"), contact)) {
        return false;
    }
    std::string message = addressContactMessage(relineText(contact, "\n"), address);
    if (readWholeFile(joinPath(getDrovakPath(), kSettingsFileName), ini)) {
        message += relineText(ini, "\n") + "\n";
    }
    return replaceFileContents(mailFile("info.eml"), {message.data(), message.size()});
}

void TDrovakWindow::CmdContact() {
    // Without the composed message, the prepared one.
    sendMail(writeContactMessage(settings->contactAddress.data()) ? mailFile("info.eml")
                                                                  : sharedFile("contact.eml"),
             "");
}

void TDrovakWindow::sendMail(const std::string& message, const std::string& attachment) {
    std::string text;
    TMailDraft draft = mailDraftOf(readWholeFile(message, text) ? text : "");
    draft.attachment = attachment;
    if (OpenMail(message.c_str(), draft) != TMailProgram::None) {
        return;
    }
    // What the user can still send by hand, and the folder that holds it.
    const std::string& file = attachment.empty() ? message : attachment;
    const std::string folder = fsName(fsPath(file).parent_path()) + kPathSeparator;
    const std::string said = "No mail program opened " + fsName(fsPath(message).filename()) +
                             ": this desktop has none set up for mail messages or mailto links.\n" +
                             (attachment.empty() ? "Send this message yourself:\n"
                                                 : "Attach this file to a message yourself:\n") +
                             file + "\n\nOpen the folder holding it?";
    if (MessageBox(said.c_str(), "Mail", MB_YESNO | MB_ICONEXCLAMATION) == IDYES &&
        !LaunchDocument(folder.c_str())) {
        MessageBox(("No file manager opened " + folder).c_str(), "Mail", kWarn);
    }
}

void TDrovakWindow::CmdExit() {
    trace("CmdExit", "");
    endFieldEdit();
    if (onClose()) {
        PostQuitMessage(0);
    }
}

void TDrovakWindow::launch(const std::string& document) {
    if (document.size() >= kPathCapacity || LaunchDocument(document.c_str())) {
        return;
    }
    const bool mail = document.ends_with(".eml");
    std::string message = std::string(mail ? "No mail program" : "No web browser") + " opened " +
                          fsName(fsPath(document).filename()) + ". Open it yourself:\n" + document;
    MessageBox(message.c_str(), mail ? "Mail" : "Help", kWarn);
}
