// What the list shows beyond its labels, the rename that follows an in-place edit, the
// column help, the list's pop-up menu, and what a mouse press means for the editor.
#include "app/drovakwindow.h"

#include "resources/resources.h"
#include "support/diskname.h"
#include "support/filename.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;
using namespace resources;

namespace {

// "Mar 5, 1999": the local date of a file's last change.
std::string dateText(const fs::file_time_type& when) {
    auto system = std::chrono::file_clock::to_sys(when);
    std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char text[32];
    std::snprintf(text, sizeof text, "%s %01d, %04d", getMonth(local.tm_mon + 1), local.tm_mday,
                  local.tm_year + 1900);
    return text;
}

// A label that would leave the SAV folder, name no file of its own, or hide its pilot from
// the list (a leading '.').
bool unsafeLabel(const std::string& label) {
    return !isPlainFileName(label);
}

} // namespace

void TDrovakWindow::LvnGetDispInfo(TLwDispInfoNotify& info) {
    trace("LvnGetDispInfo", "");
    int index = info.item.GetIndex();
    if (!listWindow->GetItems().Valid(index)) {
        return;
    }
    const std::string& label = listWindow->GetItems().At(index).label;
    bool dirty = listWindow->doesDirtyFileExist(label.c_str(), false);
    // The open file's callsign is the one being typed, whatever its working copy holds yet.
    bool open = player->getFileName()[0] != '\0' && sameNameIgnoringCase(label, currentLabel());
    std::string name = label + (dirty ? ".dvw" : ".sav");
    std::string path = std::string(listPlayer->getSavPath()) + name;
    std::error_code ec;
    if (path.size() >= kPathCapacity || name.size() >= kFileNameCapacity ||
        !fs::is_regular_file(fsPath(path), ec)) {
        return;
    }
    switch (info.item.GetSubItem()) {
    case 1: {
        const TPlayer* record = player.get();
        if (!open) {
            listPlayer->callsign[0] = '\0';
            listPlayer->setFileName(name.c_str());
            listPlayer->openFile();
            record = listPlayer.get();
        }
        char callsign[kFileNameCapacity];
        parseCallsign(callsign, record->callsign.data(), sizeof callsign);
        info.item.SetText(callsign);
        // The row is being drawn: its mark says whether Save would change the file.
        if (!dirty) {
            listWindow->SetItemImage(index, isOddSavFile(path) ? TSavListWindow::kOddImage
                                                               : TSavListWindow::kPlainImage);
        }
        if (info.item.WantsPicture()) {
            const auto& codes = record->callsign;
            info.item.SetPicture(
                callsignPicture(std::string(codes.data(), strnlen(codes.data(), codes.size()))));
        }
        break;
    }
    case 2:
        if (dirty) {
            info.item.SetText("EDITING");
        } else {
            auto when = fs::last_write_time(fsPath(path), ec);
            if (!ec) {
                info.item.SetText(dateText(when).c_str());
            }
        }
        break;
    default:
        break;
    }
}

void TDrovakWindow::LvnEndLabelEdit(TLwDispInfoNotify& info) {
    trace("LvnEndLabelEdit", "");
    std::string oldName = player->getFileName();
    endFieldEdit();
    syncWorkingCopy();
    const char* text = info.item.GetText();
    if (text == nullptr || info.item.GetIndex() < 0) {
        return;
    }
    std::string newLabel = text;
    if (listWindow->itemExists(newLabel.c_str())) {
        MessageBox("File Already exists!", newLabel.c_str(), kWarn);
        return;
    }
    if (newLabel.empty()) {
        MessageBox("File must have a name!", "Error", kWarn);
        return;
    }
    // Nothing is written for a name that would leave the SAV folder or not fit.
    if (unsafeLabel(newLabel) || newLabel.size() + 4 >= kFileNameCapacity) {
        reportSaveFailure(joinPath(settings->savPath.data(), (newLabel + ".sav").c_str()),
                          unsafeLabel(newLabel) ? "a pilot's name must be a plain, visible name"
                                                : std::strerror(ENAMETOOLONG));
        return;
    }
    // The record goes under the new name and the old file goes: one rewritten elsewhere since
    // it was read is only dropped when the user says so.
    if (working->changedElsewhere()) {
        const int answer = askAboutOutsideChange(currentLabel(), MB_YESNOCANCEL);
        if (answer == IDCANCEL) {
            return;
        }
        if (answer == IDNO) {
            loadOutsideChange(currentLabel());
            oldName = player->getFileName();
        }
    }
    char oldLabel[kFileNameCapacity] = "";
    strAppend(oldLabel, oldName.c_str(), static_cast<int>(kFileNameCapacity));
    truncFileName(oldLabel);

    // The old files' names are found before anything is written, while the list still
    // knows the folder as it is.
    std::string oldWorkingCopy = savFilePath(oldLabel, ".dvw");
    std::string oldSav = savFilePath(oldLabel, ".sav");
    int status = working->writeAs(TWorkingCopy::savName(newLabel));
    listWindow->updateLabel(newLabel);
    if (status != kSaveOk) {
        reportSaveStatus(status);
        return;
    }
    std::error_code ec;
    bool edited = hasWorkingCopy(oldLabel);
    player->setFileName(TWorkingCopy::savName(newLabel).c_str());
    working->noteRead();
    if (edited) {
        working->writeWorkingCopy();
        player->setFileName(TWorkingCopy::workingName(newLabel).c_str());
        fs::remove(fsPath(oldWorkingCopy), ec);
    }
    fs::remove(fsPath(oldSav), ec);
    listWindow->updateLabel(oldLabel);
    listWindow->updateLabel(newLabel);
    listWindow->selectFile(player->getFileName());
}

void TDrovakWindow::ListColumnClick(TLwNotify& notify) {
    trace("ListColumnClick", "");
    static const char* const help[] = {
        "These files are the files you will make.  They contain\na callsign, squadron name, "
        "squadron password, ip address,\nraw side and server name.  To edit a file, just click "
        "in\nthe edit boxes to the right",
        "This is the callsign for the respective SAV file.",
        "This is the last time this file has been modified.",
    };
    if (notify.iSubItem >= 0 && notify.iSubItem < 3) {
        MessageBox(help[notify.iSubItem], "SAV files", MB_OKCANCEL);
    }
}

void TDrovakWindow::listPopupMenu(const TPoint& point) {
    trace("listPopupMenu", "");
    TPopupMenu menu;
    menu.AppendMenu(MF_STRING, CM_LOAD, "&Load into F-22 Raptor");
    menu.AppendMenu(MF_STRING, CM_EMAIL, "Send by &Email");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, CM_DUPLICATE, "Dupli&cate");
    menu.AppendMenu(MF_STRING, CM_RENAME, "&Rename");
    menu.AppendMenu(MF_STRING, CM_DELETE, "&Delete");
    TPoint screenPoint = point;
    listWindow->ClientToScreen(screenPoint);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, screenPoint, *this);
}

void TDrovakWindow::processListKeyDown(uint key, uint flags) {
    trace("processListKeyDown", "");
    if (key == VK_DELETE) {
        CmdDelete();
    } else if (key == VK_F2) {
        if (player->getFileName()[0] != '\0') {
            CmdRename();
        }
    } else if (key == VK_APPS || (key == VK_F10 && (flags & kKeyFlagShift) != 0)) {
        // The menu opens on the selected row, as a right click there would.
        const TRect row = listWindow->GetItemRect(listWindow->getSelected());
        listPopupMenu(row.IsEmpty() ? TPoint(8, 8)
                                    : TPoint(row.left + 8, row.top + row.Height() / 2));
    } else {
        EvKeyDown(key, 1, flags);
    }
}

bool TDrovakWindow::leftClick(const TPoint& point, uint fromList) {
    trace("leftClick", "");
    if (fromList == 1 && !screen->isExtChar()) {
        screen->endEdit();
    } else if (player->getFileName()[0] != '\0') {
        // With no file open (an empty list, an unreadable file) there is nothing to edit.
        screen->editPlayer(point);
    }
    scheduleWorkingCopy();
    // Keys go back to the list as soon as no field is edited, changed record or not.
    if (!screen->isEditing()) {
        listWindow->flagEvents(false);
    } else {
        listWindow->flagEvents(true);
        SetFocus();
        if (settings->soundOn && screen->isExtChar()) {
            clickSound->Play();
        }
    }
    return true;
}

void TDrovakWindow::endDrag() {
    screen->endDrag();
}

std::shared_ptr<const TDib> TDrovakWindow::callsignPicture(const std::string& callsign) {
    // Each paint asks for the rows in view: a folder of thousands costs only the callsigns
    // seen, each drawn once.
    auto found = callsignPictures.find(callsign);
    if (found != callsignPictures.end()) {
        return found->second;
    }
    constexpr std::size_t kMaxPictures = 1024;
    if (callsignPictures.size() >= kMaxPictures) {
        callsignPictures.clear();
    }
    auto picture = std::make_shared<const TDib>(screen->callsignPicture(callsign));
    callsignPictures.emplace(callsign, picture);
    return picture;
}
