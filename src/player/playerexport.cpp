// Taking a record out of the program: into the game folder, or into an e-mail message.
#include "player/player.h"

#include "player/savformat.h"
#include "settings/programfolder.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cstdio>

namespace {

constexpr const char* kBoundaryLine = "------=_NextPart_000_0006_01C1BC2B.043FF300";

std::string joinPath(const char* folder, const char* name) {
    char path[kPathCapacity] = "";
    strAppend(path, folder, static_cast<int>(kPathCapacity));
    strAppend(path, name, static_cast<int>(kPathCapacity));
    return path;
}

bool readWhole(const std::string& path, std::string& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        out.append(chunk, got);
    }
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// Every line of the header part, each ended with CR LF whatever it ended with before.
std::string headerLines(const std::string& text) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        out += line + "\r\n";
        pos = nl == std::string::npos ? text.size() : nl + 1;
    }
    return out;
}

} // namespace

int TPlayer::loadFile() {
    trace("loadFile", "");
    std::string path = joinPath(xfer.raptorPath.data(), "raptor.sav");
    return saveAsFile(path.c_str(), false);
}

int TPlayer::emailFile() {
    std::string folder = getDrovakPath();
    std::string header;
    if (!readWhole(joinPath(folder.c_str(), "send"), header)) {
        return kSaveTargetFailed;
    }
    std::string templateBytes;
    if (!readFilePrefix(xfer.templatePath.data(), kSavSize, templateBytes)) {
        return kSaveTemplateFailed;
    }
    std::string name = fileName.data();
    std::string message = headerLines(header);
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
