#include "settings/settingsxfer.h"

#include "support/diskname.h"
#include "support/pathsep.h"

#include <cstring>

TDrovakSettingsXfer& TDrovakSettingsXfer::operator=(const TDrovakSettingsXfer& other) {
    if (this == &other) {
        return *this;
    }
    raptorPath = other.raptorPath;
    templatePath = other.templatePath;
    savPath = other.savPath;
    listSortMethod.fill('\0');
    listSortMethod[0] = other.listSortMethod[0];
    showColorChars = other.showColorChars;
    savPathEqRaptorPath = other.savPathEqRaptorPath;
    showSplashScreen = other.showSplashScreen;
    soundOn = other.soundOn;
    templateFileEqRaptorSav = other.templateFileEqRaptorSav;
    firstRun = other.firstRun;
    debug = other.debug;
    contactAddress = other.contactAddress;
    return *this;
}

std::string raptorSavName(const char* folder) {
    std::size_t length = std::strlen(folder);
    if (length > 0 && folder[length - 1] != kPathSeparator) {
        return kRaptorSavName;
    }
    return diskNameOr(folder, kRaptorSavName);
}
