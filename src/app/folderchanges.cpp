// What other programs do in the SAV folder while the window is open: the list follows the
// files added, removed and renamed there, and the open pilot follows its file.
#include "app/drovakwindow.h"

#include "list/savfolder.h"
#include "support/diskname.h"
#include "support/trace.h"

void TDrovakWindow::EvFolderChange(TFolderChange& change) {
    trace("EvFolderChange", "");
    if (change.folder != settings->savPath.data()) {
        return; // news of a folder left behind
    }
    folderChangedWholly = folderChangedWholly || change.names.empty();
    for (const std::string& name : change.names) {
        if (hasExtension(name, ".sav") || hasExtension(name, ".dvw")) {
            changedLabels.insert(name.substr(0, name.size() - 4));
        }
    }
    if (folderChangePending || (!folderChangedWholly && changedLabels.empty())) {
        return;
    }
    folderChangePending = true;
    if (SetTimer(kFolderChangeTimer, kFolderChangeDelayMs) == 0) {
        followFolderChanges();
    }
}

void TDrovakWindow::followFolderChanges() {
    trace("followFolderChanges", "");
    if (askingAboutChange) {
        return; // the timer asks again once the question is answered
    }
    KillTimer(kFolderChangeTimer);
    folderChangePending = false;
    const std::string open = currentLabel();
    bool openChanged = folderChangedWholly;
    if (folderChangedWholly) {
        listWindow->fillListWindow();
    }
    for (const std::string& label : changedLabels) {
        if (!folderChangedWholly) {
            listWindow->updateLabel(label);
        }
        openChanged = openChanged || sameNameIgnoringCase(label, open);
    }
    folderChangedWholly = false;
    changedLabels.clear();
    if (open.empty() || !openChanged) {
        return;
    }
    if (!listWindow->itemExists(open.c_str())) {
        // Its files are gone: nothing of it is written again, and another pilot is shown.
        endFieldEdit();
        screen->resetDirty();
        writePending = false;
        KillTimer(kWorkingCopyTimer);
        player->setFileName("");
        listWindow->selectFile(open.c_str());
        return;
    }
    // The news of this window's own writes comes while the user types: the list stays put.
    const int at = listWindow->getSelected();
    if (at < 0 || !sameNameIgnoringCase(listWindow->GetItems().At(at).label, open)) {
        listWindow->selectFile(open.c_str());
    }
    if (!working->changedElsewhere()) {
        return; // this window's own write, or only the working copy changed
    }
    if (!screen->isDirty() && !writePending && !hasWorkingCopy(open)) {
        openPlayerFile(player->getFileName()); // nothing unsaved: the new bytes, at once
        Invalidate(true);
        return;
    }
    endFieldEdit();
    syncWorkingCopy(); // what was typed so far waits in the working copy during the question
    askingAboutChange = true;
    int answer = askAboutOutsideChange(open, MB_YESNO);
    askingAboutChange = false;
    if (answer == IDNO) {
        loadOutsideChange(open);
    }
}
