// A pilot file named on the command line: the window opens on it, in the SAV folder.
#include "app/drovakwindow.h"

#include "support/diskname.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <filesystem>

namespace fs = std::filesystem;

void TDrovakWindow::adoptStartFile(const std::string& path) {
    trace("adoptStartFile", "");
    fs::path file(path);
    std::string name = file.filename().string();
    // The list shows label + ".sav" in lower case; "Ace.SAV" comes in as "Ace.sav".
    std::string label = name.substr(0, name.size() - 4);
    if (settings->savPath[0] == '\0') {
        MessageBox("There is no SAV folder to open the file in: choose one in File > Settings.",
                   "Error", kWarn);
        return;
    }
    std::string target = savFilePath(label, ".sav");
    if (label.empty() || target.empty() || name.size() > TSavListWindow::kMaxNameLength) {
        MessageBox(("The name of " + path + " is too long for the SAV folder.").c_str(), "Error",
                   kWarn);
        return;
    }
    std::error_code ec;
    if (fs::equivalent(file, target, ec)) {
        startSelection = label + ".sav";
        return;
    }
    if (fs::exists(target, ec)) {
        std::string question = "The SAV folder already has a pilot named " + label +
                               ".\nReplace it with " + path + "?";
        if (MessageBox(question.c_str(), "Open", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            // The pilot already there is the one shown.
            startSelection = label + ".sav";
            return;
        }
    }
    std::string bytes;
    if (!readWholeFile(path, bytes) || !replaceFileContents(target, {bytes.data(), bytes.size()})) {
        MessageBox(("Could not copy " + path + " into the SAV folder.").c_str(), "Error", kWarn);
        return;
    }
    startSelection = label + ".sav";
}
