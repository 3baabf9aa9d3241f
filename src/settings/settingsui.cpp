#include "settings/settingsui.h"

#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/safefile.h"
#include "support/strutil.h"

#include <cerrno>
#include <cstring>
#include <string>

void raptorSavPath(char* dest, std::size_t capacity, const char* folder) {
    strClear(dest, static_cast<int>(capacity));
    strAppend(dest, folder, static_cast<int>(capacity));
    strAppend(dest, raptorSavName(folder).c_str(), static_cast<int>(capacity));
}

bool refuseLineBreaks(TWindow& owner, std::initializer_list<const char*> paths) {
    for (const char* path : paths) {
        if (std::strpbrk(path, "\r\n") != nullptr) {
            owner.MessageBox(kLineBreakInPathText, "Error", MB_OK | MB_ICONEXCLAMATION);
            return true;
        }
    }
    return false;
}

bool saveSettings(TWindow& owner, const TDrovakSettingsXfer& settings) {
    if (saveINI(settings) == 0) {
        return true;
    }
    const int error = errno;
    const std::string path = joinPath(getDrovakPath(), kSettingsFileName);
    owner.MessageBox(
        (std::string(kSettingsNotSavedText) + "\n" + path + ": " + writeFailureReason(path, error))
            .c_str(),
        "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void sendParentCommand(TWindow* parent, int commandId) {
    if (parent == nullptr) {
        return;
    }
    TMsg msg = TMsg::MakeCommand(commandId);
    parent->Dispatch(msg);
}
