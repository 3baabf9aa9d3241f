// Taking a record out of the program: into the game folder, or into an e-mail message.
#include "player/player.h"

#include "player/savformat.h"
#include "settings/programfolder.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

namespace {

constexpr const char* kBoundaryLine = "------=_NextPart_000_0006_01C1BC2B.043FF300";

} // namespace

int TPlayer::loadFile() {
    trace("loadFile", "");
    std::string path = joinPath(xfer.raptorPath.data(), "raptor.sav");
    return saveAsFile(path.c_str(), false);
}

int TPlayer::emailFile() {
    std::string folder = getDrovakPath();
    std::string header;
    if (!readWholeFile(joinPath(folder.c_str(), "send"), header)) {
        return kSaveTargetFailed;
    }
    std::string templateBytes;
    if (!readFilePrefix(xfer.templatePath.data(), kSavSize, templateBytes)) {
        return kSaveTemplateFailed;
    }
    std::string name = fileName.data();
    std::string message = relineText(header, "\r\n");
    message += "\r\n";
    message += std::string(kBoundaryLine) + "\r\n";
    message += "Content-Type: text/plain;\r\n";
    message += "\tname=\"" + name + "\"\r\n";
    message += "Content-Transfer-Encoding: 7bit\r\n";
    message += "Content-Disposition: attachment;\r\n";
    message += "\tfilename=\"" + name + "\"\r\n";
    message += "\r\n";
    auto record = composeSav(*this, templateBytes);
    message.append(record.data(), record.size());
    message += "\r\n";

    std::string target = joinPath(folder.c_str(), "send.eml");
    if (target.empty()) {
        return kSaveTargetFailed;
    }
    return replaceFileContents(target, {message.data(), message.size()}) ? kSaveOk
                                                                         : kSaveTargetFailed;
}
