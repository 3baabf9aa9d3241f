#include "settings/programfolder.h"

#include "support/strutil.h"
#include "support/trace.h"

#include <cstring>

namespace {
char programFolder[kPathCapacity] = "";
}

const char* getDrovakPath() {
    trace("getDrovakPath", "");
    return programFolder;
}

void setDrovakPath(const char* folder) {
    trace("setDrovakPath", "");
    std::size_t n = folder ? std::strlen(folder) : 0;
    if (n >= kPathCapacity) {
        n = kPathCapacity - 1;
    }
    std::memcpy(programFolder, folder ? folder : "", n);
    programFolder[n] = '\0';
}
