#include "player/player.h"

#include "player/savformat.h"
#include "support/diskname.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <cstring>

namespace {

template <std::size_t N> void setText(std::array<char, N>& field, const char* text) {
    field.fill('\0');
    std::strncpy(field.data(), text, N - 1);
}

} // namespace

TPlayer::TPlayer(const TDrovakSettingsXfer& settings, const char* name) {
    trace("TPlayer", "");
    setFileName(name);
    setXferBuffer(settings);
}

TPlayer::TPlayer(const TPlayer& other) {
    trace("TPlayer2", "");
    assignPlayer(other);
}

TPlayer::~TPlayer() {
    trace("~TPlayer", "");
}

void TPlayer::assignPlayer(const TPlayer& other) {
    trace("assignPlayer", "");
    callsign = other.callsign;
    squadronName = other.squadronName;
    squadronPassword = other.squadronPassword;
    ipAddress = other.ipAddress;
    serverName = other.serverName;
    side = other.side;
    fileName = other.fileName;
    savNames = other.savNames;
    setXferBuffer(other.xfer);
}

void TPlayer::setFileName(const char* name) {
    trace("setFileName", "");
    setText(fileName, name ? name : "");
}

void TPlayer::setXferBuffer(const TDrovakSettingsXfer& settings) {
    trace("setXferBuffer", "");
    xfer.savPath = settings.savPath;
    xfer.raptorPath = settings.raptorPath;
    xfer.templatePath = settings.templatePath;
}

int TPlayer::openTemplate() {
    trace("openTemplate", "");
    std::string bytes;
    if (readTemplate(bytes)) {
        readSavFields(bytes, *this);
        return 0;
    }
    setText(callsign, "BULLDOG");
    setText(squadronName, "DROVAK");
    setText(squadronPassword, "");
    setText(ipAddress, "");
    setText(serverName, "RAPTOR");
    side.fill('\0');
    return -1;
}

std::string TPlayer::savFolderPath(const std::string& name) const {
    if (!isPlainFileName(name)) {
        return "";
    }
    const char* folder = xfer.savPath.data();
    std::string onDisk = savNames != nullptr && savNames->folderPath() == folder
                             ? savNames->diskNameOr(name)
                             : diskNameOr(folder, name);
    return joinPath(folder, onDisk.c_str());
}

int TPlayer::openFile() {
    trace("openFile", "");
    std::string path = savFolderPath(fileName.data());
    std::string bytes;
    int error = ENOENT;
    if (!path.empty()) {
        if (readFilePrefix(path, kSavSize, bytes)) {
            readSavFields(bytes, *this);
            return 0;
        }
        error = errno;
    }
    callsign.fill('\0');
    squadronName.fill('\0');
    squadronPassword.fill('\0');
    ipAddress.fill('\0');
    serverName.fill('\0');
    side.fill('\0');
    errno = error;
    return -1;
}

int TPlayer::saveFile() {
    trace("saveFile", "");
    std::string path = savFolderPath(fileName.data());
    if (path.empty()) {
        return targetFailed(joinPath(xfer.savPath.data(), fileName.data()), EINVAL);
    }
    return saveAsFile(path.c_str(), false);
}

int TPlayer::saveAsFile(const char* targetPath, bool append) {
    trace("saveAsFile", "");
    // The template is read whole before the target is touched, so saving over the template
    // itself needs no temporary copy of it.
    std::string templateBytes;
    if (!readTemplate(templateBytes)) {
        return kSaveTemplateFailed;
    }
    if (targetPath == nullptr || targetPath[0] == '\0') {
        return targetFailed("", ENOENT);
    }
    auto record = composeSav(*this, templateBytes);
    bool written =
        append ? appendFileContents(targetPath, record) : replaceFileContents(targetPath, record);
    return written ? kSaveOk : targetFailed(targetPath, errno);
}

bool TPlayer::readTemplate(std::string& bytes) const {
    // A short template would leave the game's bytes of every record made from it unknown.
    if (!readFilePrefix(xfer.templatePath.data(), kSavSize, bytes)) {
        return false;
    }
    errno = 0;
    return bytes.size() == kSavSize;
}

int TPlayer::targetFailed(const std::string& path, int error) {
    failedPath = path;
    failedError = error;
    return kSaveTargetFailed;
}
