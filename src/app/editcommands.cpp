// The Edit menu, the greying of commands, the client area's mouse and keys, and the
// commands that hand the record to the game, to e-mail, or open the help documents.
#include "app/drovakwindow.h"

#include "resources/resources.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/pathsep.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cstring>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace resources;

namespace {} // namespace

void TDrovakWindow::CmdCut() {
    trace("CmdCut", "");
    screen->setKeyDown(VK_CONTROL);
    screen->setKeyDown('X');
    screen->setKeyUp(VK_CONTROL);
    scheduleWorkingCopy();
}

void TDrovakWindow::CmdCopy() {
    trace("CmdCopy", "");
    screen->setKeyDown(VK_CONTROL);
    screen->setKeyDown('C');
    screen->setKeyUp(VK_CONTROL);
}

void TDrovakWindow::CmdPaste() {
    trace("CmdPaste", "");
    screen->setKeyDown(VK_CONTROL);
    screen->setKeyDown('V');
    screen->setKeyUp(VK_CONTROL);
    scheduleWorkingCopy();
}

void TDrovakWindow::CeEmail(TCommandEnabler& ce) {
    std::string label = currentLabel();
    ce.Enable(mailer != nullptr && listWindow->getSelected() != -1 && !label.empty() &&
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

bool TDrovakWindow::moveKeyboard(uint key) {
    if (key != VK_TAB && !(key == VK_RETURN && screen->isEditing())) {
        return false;
    }
    if (player->getFileName()[0] == '\0') {
        return true; // no file, no fields to go to
    }
    const bool back = key == VK_TAB && IsKeyDown(VK_SHIFT);
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

void TDrovakWindow::EvKeyDown(uint key, uint, uint) {
    trace("EvKeyDown", "");
    if (moveKeyboard(key)) {
        return;
    }
    // Control or Shift may have been let go, or Caps Lock switched, while a message box or menu
    // had the keyboard. The Caps Lock key itself switches the editor's lock as it always did.
    bool capsOn = key == VK_CAPITAL ? screen->isCapsLock() : IsKeyDown(VK_CAPITAL);
    screen->followModifiers(IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT), capsOn);
    screen->setKeyDown(static_cast<int>(key));
    scheduleWorkingCopy();
    if (screen->isEditing() && settings->soundOn) {
        clickSound->Play();
    }
}

void TDrovakWindow::EvKeyUp(uint key, uint, uint) {
    trace("EvKeyUp", "");
    screen->setKeyUp(static_cast<int>(key));
}

void TDrovakWindow::CmdLoad() {
    trace("CmdLoad", "");
    endFieldEdit();
    syncWorkingCopy();
    settings->lastLoadedFile.fill('\0');
    strAppend(settings->lastLoadedFile.data(), player->getFileName(),
              static_cast<int>(settings->lastLoadedFile.size()));
    saveINI(*settings);
    int status = player->loadFile();
    if (std::strcmp(settings->raptorPath.data(), settings->savPath.data()) == 0) {
        listWindow->updateLabel("raptor"); // the game's file is one of the list's
    }
    // The user must know when the game did not get the pilot.
    if (status != kSaveOk) {
        reportSaveStatus(status);
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
        launch(mailFile("send.eml"));
    } else {
        MessageBox("Could not open file send.eml", "Error", kWarn);
    }
}

void TDrovakWindow::CmdHelp() {
    launch(sharedFile("help") + kPathSeparator + "help.htm");
}

void TDrovakWindow::CmdWebsite() {
    launch(sharedFile("website.htm"));
}

bool writeContactMessage() {
    std::string contact;
    std::string ini;
    if (!readWholeFile(sharedFile("contact"), contact)) {
        return false;
    }
    std::string message = relineText(contact, "\n");
    if (readWholeFile(joinPath(getDrovakPath(), kSettingsFileName), ini)) {
        message += relineText(ini, "\n") + "\n";
    }
    return replaceFileContents(mailFile("info.eml"), {message.data(), message.size()});
}

void TDrovakWindow::CmdContact() {
    // Without the composed message, the prepared one.
    launch(writeContactMessage() ? mailFile("info.eml") : sharedFile("contact.eml"));
}

void TDrovakWindow::CmdExit() {
    trace("CmdExit", "");
    endFieldEdit();
    if (onClose()) {
        PostQuitMessage(0);
    }
}

void TDrovakWindow::launch(const std::string& document) {
    if (document.size() < kPathCapacity) {
        LaunchDocument(document.c_str());
    }
}
