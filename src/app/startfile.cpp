// Pilot files from elsewhere: the file named on the command line, files imported from the
// File menu and files dropped on the window, each copied into the SAV folder.
#include "app/drovakwindow.h"

#include "support/diskname.h"
#include "support/filename.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool isSavName(const std::string& name) {
    return name.size() > 4 && sameNameIgnoringCase(name.substr(name.size() - 4), ".sav");
}

} // namespace

TDrovakWindow::TAdopted TDrovakWindow::adoptPilotFile(const std::string& path, const char* caption,
                                                      std::string& label) {
    trace("adoptPilotFile", "");
    fs::path file = fsPath(path);
    std::string name = fsName(file.filename());
    // The list shows label + ".sav" in lower case; "Ace.SAV" comes in as "Ace.sav".
    label = name.substr(0, name.size() - 4);
    if (settings->savPath[0] == '\0') {
        MessageBox("There is no SAV folder to open the file in: choose one in File > Settings.",
                   "Error", kWarn);
        label.clear();
        return TAdopted::Failed;
    }
    std::string target = savFilePath(label, ".sav");
    if (label.empty() || target.empty() || name.size() > TSavListWindow::kMaxNameLength) {
        MessageBox(("The name of " + path + " is too long for the SAV folder.").c_str(), "Error",
                   kWarn);
        label.clear();
        return TAdopted::Failed;
    }
    std::error_code ec;
    if (fs::equivalent(file, fsPath(target), ec)) {
        return TAdopted::AlreadyThere;
    }
    // A label is one pilot whatever the case of its files' names, saved or being edited.
    const std::string workingCopy = savFilePath(label, ".dvw");
    const bool edited = fs::exists(fsPath(workingCopy), ec);
    if (fs::exists(fsPath(target), ec) || edited) {
        std::string question = "The SAV folder already has a pilot named " + label +
                               ".\nReplace it with " + path + "?";
        if (MessageBox(question.c_str(), caption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            return TAdopted::Declined;
        }
    }
    std::string bytes;
    if (!readWholeFile(path, bytes) || !replaceFileContents(target, {bytes.data(), bytes.size()})) {
        MessageBox(("Could not copy " + path + " into the SAV folder.").c_str(), "Error", kWarn);
        label.clear();
        return TAdopted::Failed;
    }
    // The replaced pilot's unsaved changes would hide the one brought in.
    if (edited) {
        fs::remove(fsPath(workingCopy), ec);
    }
    return TAdopted::Copied;
}

void TDrovakWindow::adoptStartFile(const std::string& path) {
    trace("adoptStartFile", "");
    std::string label;
    // Declined: the pilot already there is the one shown.
    if (adoptPilotFile(path, "Open", label) != TAdopted::Failed) {
        startSelection = label + ".sav";
    }
}

void TDrovakWindow::importFiles(const std::vector<std::string>& paths) {
    trace("importFiles", "");
    endFieldEdit();
    syncWorkingCopy();
    std::string refused;
    for (const std::string& path : paths) {
        if (!isSavName(fsName(fsPath(path).filename()))) {
            refused += "\n" + path;
        }
    }
    if (!refused.empty()) {
        MessageBox(
            ("Only pilot files (.sav) can be brought in; these were left out:" + refused).c_str(),
            "Import", kWarn);
    }
    std::string first;
    for (const std::string& path : paths) {
        std::string label;
        if (!isSavName(fsName(fsPath(path).filename()))) {
            continue;
        }
        const TAdopted adopted = adoptPilotFile(path, "Import", label);
        if (adopted == TAdopted::Copied || adopted == TAdopted::AlreadyThere) {
            listWindow->updateLabel(label);
            if (first.empty()) {
                first = label;
            }
        }
    }
    if (!first.empty()) {
        // The first pilot is opened afresh even when its label was the one open.
        listWindow->reportSelectionAgain();
        listWindow->selectFile((first + ".sav").c_str());
    }
}

void TDrovakWindow::EvStartRequest(TStartRequest& request) {
    trace("EvStartRequest", "");
    if (request.file.empty()) {
        return; // brought to the front: that was all it asked
    }
    if (!listFilled) {
        adoptStartFile(request.file); // the fill to come selects it
        return;
    }
    importFiles({request.file});
}

void TDrovakWindow::CmdImport() {
    trace("CmdImport", "");
    TOpenSaveDialog::TData data(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);
    data.SetFilter("F-22 Raptor SAV file (*.sav) |*.sav|");
    data.InitialDir = fileData.InitialDir;
    if (TFileOpenDialog(this, data).Execute() == IDOK) {
        importFiles(data.FileNames);
    }
}

void TDrovakWindow::EvDropFiles(TDropInfo& drop) {
    trace("EvDropFiles", "");
    importFiles(drop.files);
}
