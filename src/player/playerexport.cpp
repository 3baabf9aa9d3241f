// Taking a record out of the program: into the game folder, or into an e-mail message.
#include "player/gamebackups.h"
#include "player/player.h"

#include "player/savformat.h"
#include "settings/programfolder.h"
#include "support/base64.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>

namespace {

constexpr const char* kBoundaryLine = "------=_NextPart_000_0006_01C1BC2B.043FF300";
// The longest line MIME allows a base64 body (RFC 2045).
constexpr std::size_t kBase64LineLength = 76;

// Whether bytes are UTF-8 as a strict decoder takes them, so a mail reader shows the name.
bool isUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i++]);
        if (lead < 0x80) {
            continue;
        }
        // The first continuation byte's range rules out overlong forms, surrogates and values
        // past U+10FFFF.
        std::size_t extra = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return false;
        }
        if (bytes.size() - i < extra) {
            return false;
        }
        for (std::size_t k = 0; k < extra; ++k, low = 0x80, high = 0xBF) {
            auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < low || next > high) {
                return false;
            }
        }
        i += extra;
    }
    return true;
}

// A name that can stand in quotes as it is: printable ASCII without quote or backslash.
bool isPlainName(const std::string& name) {
    for (char c : name) {
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') {
            return false;
        }
    }
    return true;
}

// One MIME header parameter naming the attached file. Any other name is percent-encoded with
// its character set (RFC 2231), so no byte of it can end the header or start another one.
std::string nameParameter(const char* attribute, const std::string& name) {
    if (isPlainName(name)) {
        return std::string(attribute) + "=\"" + name + "\"";
    }
    // Names that are not UTF-8 come from the game's own 8-bit codes.
    std::string text =
        std::string(attribute) + "*=" + (isUtf8(name) ? "utf-8" : "windows-1252") + "''";
    constexpr const char* kHex = "0123456789ABCDEF";
    for (char c : name) {
        auto b = static_cast<unsigned char>(c);
        bool keep = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                    (c != '\0' && std::strchr("!#$&+-.^_`|~", c) != nullptr);
        if (keep) {
            text += c;
        } else {
            text += '%';
            text += kHex[b >> 4];
            text += kHex[b & 0x0F];
        }
    }
    return text;
}

} // namespace

int TPlayer::loadFile() {
    trace("loadFile", "");
    // Into the game's own file, whatever case it has: a second spelling would go unread.
    std::string path =
        joinPath(xfer.raptorPath.data(), raptorSavName(xfer.raptorPath.data()).c_str());
    if (!backupGamePilot(xfer.raptorPath.data(), std::time(nullptr))) {
        return kSaveBackupFailed;
    }
    return saveAsFile(path.c_str(), false);
}

std::string emailAttachmentPath(const std::string& fileName) {
    std::string name = fileName;
#ifdef _WIN32
    // A name made elsewhere may hold characters Windows keeps out of file names.
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
#endif
    return mailFile("attachment") + kPathSeparator + name;
}

int TPlayer::emailFile() {
    std::string header;
    if (!readWholeFile(sharedFile("send"), header)) {
        return targetFailed(sharedFile("send"), errno);
    }
    std::string templateBytes;
    if (!readTemplate(templateBytes)) {
        return kSaveTemplateFailed;
    }
    std::string name = fileName.data();
    std::string message = relineText(header, "\r\n");
    message += "\r\n";
    message += std::string(kBoundaryLine) + "\r\n";
    message += "Content-Type: application/octet-stream;\r\n";
    message += '\t';
    message += nameParameter("name", name) + "\r\n";
    message += "Content-Transfer-Encoding: base64\r\n";
    message += "Content-Disposition: attachment;\r\n";
    message += '\t';
    message += nameParameter("filename", name) + "\r\n";
    message += "\r\n";
    // Raw, the record's NULs and line ends would be changed on the way by any mail program.
    auto record = composeSav(*this, templateBytes);
    message += base64Encode({record.data(), record.size()}, kBase64LineLength);
    message += std::string(kBoundaryLine) + "--\r\n";

    std::string target = mailFile("send.eml");
    if (target.empty() || !replaceFileContents(target, {message.data(), message.size()})) {
        return targetFailed(target.empty() ? "send.eml" : target, target.empty() ? ENOENT : errno);
    }
    const std::string attached = emailAttachmentPath(name);
    std::error_code ec;
    std::filesystem::create_directories(fsPath(mailFile("attachment")), ec);
    if (!replaceFileContents(attached, {record.data(), record.size()})) {
        return targetFailed(attached, errno);
    }
    return kSaveOk;
}
