// New, Save, Save As, Duplicate, Rename, Delete and Undo, and the working-copy rules: a label
// has unsaved changes exactly when label + ".dvw" exists in the SAV folder.
#include "app/drovakwindow.h"

#include "player/savformat.h"
#include "support/diskname.h"
#include "support/filename.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kTemplateMessage = "Error opening template file!\nClick File->Settings and "
                                         "make sure\nTemplate File is a valid sav file";

void removeFile(const std::string& path) {
    if (!path.empty()) {
        std::error_code ec;
        fs::remove(fsPath(path), ec);
    }
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec1;
    std::error_code ec2;
    return fs::weakly_canonical(a, ec1) == fs::weakly_canonical(b, ec2) && !ec1 && !ec2;
}

std::string recordBytes(const TPlayer& p) {
    std::string bytes;
    auto add = [&bytes](const auto& field) { bytes.append(field.data(), field.size()); };
    add(p.callsign);
    add(p.squadronName);
    add(p.squadronPassword);
    add(p.ipAddress);
    add(p.side);
    add(p.serverName);
    return bytes;
}

} // namespace

void TDrovakWindow::reportSaveStatus(int status, const TPlayer* from) {
    const TPlayer& saved = from != nullptr ? *from : *player;
    if (status == kSaveTemplateFailed) {
        MessageBox(kTemplateMessage, "Error", kWarn);
    } else if (status != kSaveOk) {
        reportSaveFailure(saved.failedPath,
                          writeFailureReason(saved.failedPath, saved.failedError));
    }
}

void TDrovakWindow::reportSaveFailure(const std::string& path, const std::string& reason) {
    MessageBox(("Error saving file!\n" + path + ": " + reason).c_str(), "Error", kWarn);
}

void TDrovakWindow::CmdNew() {
    trace("CmdNew", "");
    endFieldEdit();
    syncWorkingCopy();
    if (!newFileOpen) {
        newFileOpen = true;
        makeNewFile();
        return;
    }
    switch (MessageBox("Save changes to current file?", "Save", MB_YESNOCANCEL | MB_ICONSTOP)) {
    case IDYES:
        CmdSaveAs();
        newFileOpen = true;
        makeNewFile();
        break;
    case IDNO:
        newFileOpen = true;
        makeNewFile();
        break;
    default:
        break;
    }
}

void TDrovakWindow::makeNewFile() {
    trace("makeNewFile", "");
    std::string workingName = std::string(kNewFileLabel) + ".dvw";
    fileData.FileName = workingName;
    removeFile(savFilePath(kNewFileLabel, ".dvw"));
    listWindow->updateLabel(kNewFileLabel);

    player->setXferBuffer(*settings);
    player->openTemplate();
    player->setFileName(workingName.c_str());
    int status = working->writeWorkingCopy();
    working->noteRead();
    listWindow->updateLabel(kNewFileLabel);
    if (status != kSaveOk) {
        if (status == kSaveTemplateFailed) {
            MessageBox(kTemplateMessage, "Error", kWarn);
        } else {
            MessageBox(("Error making new file!\n" + player->failedPath + ": " +
                        writeFailureReason(player->failedPath, player->failedError))
                           .c_str(),
                       "Error", kWarn);
        }
        newFileOpen = false;
        player->setFileName("");
        screen->clearEditor();
        return;
    }
    // A new file replacing the one open under the same label is opened afresh all the same.
    listWindow->reportSelectionAgain();
    listWindow->selectFile(kNewFileLabel);
}

TDrovakWindow::TKeepFieldEdit::TKeepFieldEdit(TDrovakWindow& owner)
    : window(owner), kept(IsKeyboardCommand() ? owner.screen->fieldEdit() : std::nullopt) {}

TDrovakWindow::TKeepFieldEdit::~TKeepFieldEdit() {
    if (!kept || window.player->getFileName()[0] == '\0' || window.screen->isEditing()) {
        return;
    }
    window.screen->resumeEdit(*kept);
    window.listWindow->flagEvents(true);
    window.SetFocus();
}

void TDrovakWindow::CmdSave() {
    trace("CmdSave", "");
    TKeepFieldEdit keep(*this);
    std::string label = currentLabel();
    endFieldEdit();
    syncWorkingCopy();
    if (label.empty()) {
        return;
    }
    if (sameNameIgnoringCase(label, kNewFileLabel)) { // in any case another program spelt it
        CmdSaveAs();
        return;
    }
    screen->resetDirty();
    int status = working->save(false);
    if (status == kSaveChangedElsewhere) {
        switch (askAboutOutsideChange(label, MB_YESNOCANCEL)) {
        case IDYES:
            status = working->save(true);
            break;
        case IDNO:
            loadOutsideChange(label);
            return;
        default:
            return; // the changes stay in the working copy, which keeps its mark
        }
    }
    if (status == kSaveOk) {
        player->setFileName(TWorkingCopy::savName(label).c_str());
        rememberWrittenRecord();
    }
    // On failure the changes are still only in the working copy, which keeps its mark.
    listWindow->updateLabel(label);
    reportSaveStatus(status);
    listWindow->selectFile(player->getFileName());
}

int TDrovakWindow::askAboutOutsideChange(const std::string& label, unsigned buttons) {
    std::string question = TWorkingCopy::savName(label) +
                           " was changed by another program. Keep your changes, or load the "
                           "file's?\n\nYes keeps your changes; No loads the file.";
    int answer = MessageBox(question.c_str(), "Changed elsewhere", buttons | MB_ICONEXCLAMATION);
    if (answer == IDYES) {
        working->noteRead(); // the user saw the file's new bytes and chose to write over them
    }
    return answer;
}

void TDrovakWindow::loadOutsideChange(const std::string& label) {
    screen->resetDirty();
    working->discard();
    listWindow->updateLabel(label);
    openPlayerFile(TWorkingCopy::savName(label));
    listWindow->selectFile(player->getFileName());
    Invalidate(true);
}

void TDrovakWindow::CmdSaveAs() {
    trace("CmdSaveAs", "");
    TKeepFieldEdit keep(*this);
    syncWorkingCopy();
    TPlayer temporary(*settings, "");
    temporary.assignPlayer(*player);
    std::string name = currentLabel();
    endFieldEdit();

    if (newFileOpen && sameNameIgnoringCase(name, kNewFileLabel)) {
        fileData.FileName = ".sav";
    } else if (!hasWorkingCopy(name)) {
        fileData.FileName = player->getFileName();
    } else {
        // The working copy stays whatever the dialog's answer, and so does its mark.
        fileData.FileName = name + ".sav";
    }
    fileData.InitialDir = settings->savPath.data();
    TFileSaveDialog dialog(this, fileData);
    if (dialog.Execute() != IDOK) {
        return;
    }

    std::string path = fileData.FileName;
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".sav") != 0) {
        path += ".sav";
    }
    if (path.size() >= kPathCapacity) {
        reportSaveFailure(path, std::strerror(ENAMETOOLONG));
        return;
    }
    char newName[kFileNameCapacity] = "";
    parseFileName(newName, path.c_str());
    if (newName[0] == '.' && std::strcmp(newName, ".sav") != 0) {
        // A hidden pilot would never show in the list.
        reportSaveFailure(path, "a name that starts with a dot is hidden from the list");
        return;
    }
    bool savedIntoSavFolder =
        sameFolder(fsPath(path).parent_path(), fsPath(settings->savPath.data()));
    {
        // A name that differs from an existing file only in case is that file.
        char folder[kPathCapacity] = "";
        parseFilePath(folder, path.c_str());
        std::string onDisk =
            savedIntoSavFolder ? listWindow->diskNameOr(newName) : diskNameOr(folder, newName);
        path = std::string(folder) + onDisk;
        newName[0] = '\0';
        strAppend(newName, onDisk.c_str(), static_cast<int>(kFileNameCapacity));
    }
    std::error_code ec;
    // Whatever folder was chosen, an existing file there is only replaced when the user says so.
    if (fs::exists(fsPath(path), ec) && MessageBox("File already exists!  Overwrite?", "Error",
                                                   MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    if (newName[0] == '\0' || std::strcmp(newName, ".sav") == 0) {
        MessageBox("File must have a name!", "Error", kWarn);
        return;
    }

    screen->resetDirty();
    std::string oldName = temporary.getFileName();
    char oldLabel[kFileNameCapacity] = "";
    strAppend(oldLabel, oldName.c_str(), static_cast<int>(kFileNameCapacity));
    truncFileName(oldLabel);
    char newLabel[kFileNameCapacity] = "";
    strAppend(newLabel, newName, static_cast<int>(kFileNameCapacity));
    truncFileName(newLabel);
    std::string oldWorkingCopy = savFilePath(oldLabel, ".dvw");
    if (const int status = temporary.saveAsFile(path.c_str(), false); status != kSaveOk) {
        reportSaveStatus(status, &temporary);
        return;
    }
    // A copy outside the SAV folder leaves the new file the new file, working copy and all.
    bool savedNewFile =
        savedIntoSavFolder && newFileOpen && sameNameIgnoringCase(oldLabel, kNewFileLabel);
    // Saved as its own file: that is Save, and the working copy has nothing left.
    bool savedOwnFile =
        savedIntoSavFolder && sameNameIgnoringCase(newLabel, oldLabel) && oldName.ends_with(".dvw");
    if (savedNewFile || savedOwnFile) {
        removeFile(oldWorkingCopy);
        listWindow->updateLabel(oldLabel);
    }
    if (savedNewFile) {
        newFileOpen = false;
    }
    // The open record becomes the saved file when it went into the SAV folder; a copy saved
    // elsewhere leaves the open file as it was, so a later Save cannot write to a wrong path.
    if (savedIntoSavFolder) {
        listWindow->updateLabel(newLabel);
        player->setFileName(newName);
        working->noteRead();
        rememberWrittenRecord();
    }
    listWindow->selectFile(savedIntoSavFolder ? newName : player->getFileName());
}

void TDrovakWindow::CmdDuplicate() {
    trace("CmdDuplicate", "");
    syncWorkingCopy();
    std::string name = currentLabel();
    endFieldEdit();
    if (name.empty()) {
        return;
    }
    char digit = '1';
    std::size_t n = name.size();
    if (n > 4 && name[n - 3] == '(' && name[n - 2] >= '1' && name[n - 2] <= '9' &&
        name[n - 1] == ')') {
        digit = name[n - 2];
    } else {
        name += "(1)";
    }
    while (listWindow->itemExists(name.c_str()) && digit < '9') {
        ++digit;
        name[name.size() - 2] = digit;
    }
    if (listWindow->itemExists(name.c_str())) {
        MessageBox("Too many copies already!", name.c_str(), kWarn);
        return;
    }
    std::string fileName = name + ".sav";
    if (fileName.size() >= kFileNameCapacity) {
        reportSaveFailure(savFilePath(name, ".sav"), std::strerror(ENAMETOOLONG));
        return;
    }
    // The copy takes the record as it stands; the original keeps its working copy.
    int status = working->writeAs(fileName);
    listWindow->updateLabel(name);
    reportSaveStatus(status);
    if (status == kSaveOk) {
        player->setFileName(fileName.c_str());
        working->noteRead();
    }
    listWindow->selectFile(player->getFileName());
}

void TDrovakWindow::CmdRename() {
    trace("CmdRename", "");
    int index = listWindow->getSelected();
    endFieldEdit();
    if (index >= 0) {
        listWindow->EditLabel(index);
    }
}

void TDrovakWindow::CmdDelete() {
    trace("CmdDelete", "");
    endFieldEdit();
    syncWorkingCopy();
    std::vector<int> indexes(static_cast<std::size_t>(listWindow->GetSelCount()));
    if (indexes.empty()) {
        return;
    }
    listWindow->GetSelIndexes(indexes.data(), static_cast<int>(indexes.size()));
    if (MessageBox("Are you sure you wish to delete this file(s)?", "Deleting",
                   MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    // Every file of each label goes, in any spelling, whatever the list knew of it: one read
    // of the folder finds them all.
    std::vector<std::string> names;
    bool deletesNewFile = false;
    for (int index : indexes) {
        const std::string& label = listWindow->GetItems().At(index).label;
        if (sameNameIgnoringCase(label, kNewFileLabel)) { // spelt as on disk, in any case
            deletesNewFile = true;
        }
        names.push_back(label + ".dvw");
        names.push_back(label + ".sav");
    }
    // Into the desktop's trash, where the user can fetch them back; where there is none, a
    // file goes for good only when the user says so again.
    std::string folder = settings->savPath.data();
    std::vector<std::string> untrashed;
    for (const std::string& name : findNamesOnDisk(folder, names)) {
        if (!MoveToTrash((folder + name).c_str())) {
            untrashed.push_back(name);
        }
    }
    if (!untrashed.empty()) {
        std::string question = untrashed.front();
        if (untrashed.size() > 1) {
            question += " and " + std::to_string(untrashed.size() - 1) + " more file(s)";
        }
        question += " cannot be moved to the trash. Delete permanently?";
        if (MessageBox(question.c_str(), "Deleting",
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES) {
            for (const std::string& name : untrashed) {
                removeFile(folder + name);
            }
        }
    }
    if (deletesNewFile) {
        followNewFile(); // kept when deleting it for good was refused
    }
    // The open record may have been one of them: forget what was written for it.
    screen->resetDirty();
    writtenRecord.clear();
    listWindow->deleteCurrentItem();
}

void TDrovakWindow::CmdUndo() {
    trace("CmdUndo", "");
    syncWorkingCopy();
    std::string label = currentLabel();
    if (newFileOpen || label.empty() || !hasWorkingCopy(label)) {
        return;
    }
    if (MessageBox("Are you sure you wish to undo all changes?", "Undo Motifications",
                   MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    // Nothing of the record thrown away is written again.
    screen->resetDirty();
    working->discard();
    listWindow->updateLabel(label);
    resetPlayerInfo(TWorkingCopy::savName(label).c_str());
}

void TDrovakWindow::setDirtyFile() {
    trace("setDirtyFile", "");
    if (player->getFileName()[0] == '\0') {
        return; // no file is open: there is nothing to keep a copy of
    }
    writeWorkingCopy();
}

bool TDrovakWindow::writeWorkingCopy() {
    std::string label = currentLabel();
    std::string name = label + ".dvw";
    if (label.empty() || name.size() >= kFileNameCapacity) {
        return false;
    }
    int status = working->writeWorkingCopy();
    // The mark follows the working copy on disk; the row's cells show the record.
    listWindow->updateLabel(label);
    if (status == kSaveOk || hasWorkingCopy(label)) {
        player->setFileName(name.c_str()); // the record is its working copy from now on
    }
    if (status != kSaveOk) {
        if (!workingCopyFailureShown) {
            workingCopyFailureShown = true;
            reportSaveStatus(status);
        }
        return false;
    }
    workingCopyFailureShown = false;
    rememberWrittenRecord();
    return true;
}

void TDrovakWindow::scheduleWorkingCopy() {
    if (writePending || !screen->isDirty() || player->getFileName()[0] == '\0' ||
        !recordDiffersFromWritten()) {
        return;
    }
    if (!hasWorkingCopy(currentLabel()) || SetTimer(kWorkingCopyTimer, kWorkingCopyDelayMs) == 0) {
        setDirtyFile();
        return;
    }
    writePending = true;
}

void TDrovakWindow::syncWorkingCopy() {
    if (writePending) {
        writePending = false;
        KillTimer(kWorkingCopyTimer);
    }
    if (screen->isDirty() && player->getFileName()[0] != '\0' && recordDiffersFromWritten()) {
        setDirtyFile();
    }
}

void TDrovakWindow::rememberWrittenRecord() {
    writtenRecord = recordBytes(*player);
}

bool TDrovakWindow::recordDiffersFromWritten() const {
    return recordBytes(*player) != writtenRecord;
}

void TDrovakWindow::resetPlayerInfo(const char* fileName) {
    trace("resetPlayerInfo", "");
    // Another pilot replaces the record: what was typed into it goes to its working copy first.
    syncWorkingCopy();
    openPlayerFile(fileName ? fileName : "");
}

bool TDrovakWindow::openPlayerFile(const std::string& fileName) {
    endFieldEdit();
    screen->resetDirty();
    player->setFileName(fileName.c_str());
    bool opened = player->openFile() == 0;
    int error = errno;
    if (!opened && error != ENOENT) {
        // A file that is there but cannot be read is not shown as blank fields: the first key
        // would write those over the pilot. Nothing is open, so nothing is written for it.
        player->setFileName("");
        std::string message = "Could not read " + fileName + ": " + std::strerror(error) +
                              "\nNothing is written to it. Check that you may read the file.";
        MessageBox(message.c_str(), "Error", kWarn);
    }
    rememberWrittenRecord();
    working->noteRead();
    workingCopyFailureShown = false;
    screen->clearEditor();
    if (opened && fileName.size() > 4 && !fileName.ends_with(".dvw")) {
        warnOddFile(fileName);
    }
    return opened || error == ENOENT;
}

bool TDrovakWindow::isOddSavFile(const std::string& path) const {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(fsPath(path), ec);
    std::string bytes;
    if (ec || (size == kSavSize && !readFilePrefix(path, kSavSize, bytes))) {
        return false;
    }
    return size != kSavSize || !savOddities("", size, bytes).empty();
}

void TDrovakWindow::warnOddFile(const std::string& fileName) {
    const std::string path = savFilePath(fileName.substr(0, fileName.size() - 4), ".sav");
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(fsPath(path), ec);
    std::string bytes;
    if (path.empty() || ec || oddFilesWarned.contains(path) ||
        !readFilePrefix(path, kSavSize, bytes)) {
        return;
    }
    const std::vector<std::string> oddities = savOddities(fileName, size, bytes);
    if (oddities.empty()) {
        return;
    }
    oddFilesWarned.insert(path);
    std::string message;
    for (const std::string& line : oddities) {
        message += line + ".\n";
    }
    message += "The fields show what the program read.";
    MessageBox(message.c_str(), fileName.c_str(), kWarn);
    // The list shows the mark from now on, whether or not the row was drawn yet.
    const int index = listWindow->GetItems().FindExact(fileName.substr(0, fileName.size() - 4), -1);
    if (index >= 0 && listWindow->GetItems().At(index).image == TSavListWindow::kPlainImage) {
        listWindow->SetItemImage(index, TSavListWindow::kOddImage);
    }
}

void TDrovakWindow::settingsCallback(const TDrovakSettingsXfer& newSettings) {
    trace("settingsCallback", "");
    syncWorkingCopy();
    wizardCallback(newSettings);
    listWindow->fillListWindow();
    listWindow->selectFile(player->getFileName());
    std::string current = player->getFileName();
    resetPlayerInfo(current.c_str());
}

void TDrovakWindow::wizardCallback(const TDrovakSettingsXfer& newSettings) {
    trace("wizardCallback", "");
    *settings = newSettings;
    player->setXferBuffer(*settings);
    listPlayer->setXferBuffer(*settings);
    listWindow->setSavPath(settings->savPath.data());
    if (!firstPaint) {
        WatchFolder(settings->savPath.data()); // the start watches once the window is up
    }
    fileData.InitialDir = settings->savPath.data();
    screen->setShowColorChars(settings->showColorChars != 0);
    followNewFile();
}

void TDrovakWindow::followNewFile() {
    // The new file's working copy survives a restart, and it is the new file still: Save As
    // under a name removes it, Undo has no saved file to go back to.
    std::string workingCopy = savFilePath(kNewFileLabel, ".dvw");
    std::error_code ec;
    newFileOpen = !workingCopy.empty() && fs::is_regular_file(fsPath(workingCopy), ec);
}
