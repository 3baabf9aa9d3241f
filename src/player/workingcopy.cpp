#include "player/workingcopy.h"

#include "player/savformat.h"
#include "support/diskname.h"
#include "support/filename.h"
#include "support/safefile.h"
#include "support/strutil.h"

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

std::string TWorkingCopy::label() const {
    std::string name = player.getFileName();
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

std::string TWorkingCopy::pathOf(const std::string& name) const {
    return player.savFolderPath(name);
}

bool TWorkingCopy::exists() const {
    std::string path = pathOf(workingName(label()));
    std::error_code ec;
    return !label().empty() && !path.empty() && fs::is_regular_file(fsPath(path), ec);
}

int TWorkingCopy::writeAs(const std::string& name) const {
    std::string path = pathOf(name);
    return path.empty() ? kSaveTargetFailed : player.saveAsFile(path.c_str(), false);
}

int TWorkingCopy::save(bool overwrite) {
    std::string name = label();
    if (name.empty()) {
        return kSaveTargetFailed;
    }
    if (!overwrite && changedElsewhere()) {
        return kSaveChangedElsewhere;
    }
    int status = writeAs(savName(name));
    if (status == kSaveOk) {
        discard();
        noteRead();
    }
    return status;
}

bool TWorkingCopy::discard() const {
    std::string path = pathOf(workingName(label()));
    std::error_code ec;
    return label().empty() || path.empty() || fs::remove(fsPath(path), ec) || !ec;
}

void TWorkingCopy::noteRead() {
    readLabel = label();
    readBytes = savedBytes();
}

bool TWorkingCopy::changedElsewhere() const {
    std::optional<std::string> now = savedBytes();
    if (!sameNameIgnoringCase(readLabel, label()) || readLabel.empty()) {
        return now.has_value();
    }
    return now != readBytes;
}

std::optional<std::string> TWorkingCopy::savedBytes() const {
    std::string path = pathOf(savName(label()));
    std::string bytes;
    if (label().empty() || path.empty() || !readFilePrefix(path, kSavSize + 1, bytes)) {
        return std::nullopt;
    }
    return bytes;
}
