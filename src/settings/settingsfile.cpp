#include "settings/settingsfile.h"

#include "settings/programfolder.h"
#include "support/safefile.h"
#include "support/strutil.h"
#include "support/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

const std::string* TTokenTable::find(const std::string& key) const {
    for (const auto& [k, v] : slots) {
        if (k == key) {
            return &v;
        }
    }
    return nullptr;
}

void TTokenTable::set(const std::string& key, const std::string& value) {
    for (auto& [k, v] : slots) {
        if (k == key) {
            v = value;
            return;
        }
    }
    slots.emplace_back(key, value);
}

void TTokenTable::remove(const std::string& key) {
    std::erase_if(slots, [&](const auto& slot) { return slot.first == key; });
}

TTokenTable& tokenTable() {
    static TTokenTable table;
    return table;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A line ends at its first NUL, as C text does. A carriage return ends it too: the one before
// the line feed is no part of the line, and a stray one would make the line unwritable.
std::string lineContent(const std::string& line) {
    return line.substr(0, line.find_first_of(std::string_view("\r\0", 2)));
}

bool isComment(const std::string& line) {
    return !line.empty() && (line[0] == ';' || line[0] == '[');
}

bool holdsLineEnd(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

} // namespace

std::optional<std::string> parseToken(const std::string& text) {
    trace("parseToken", "");
    std::string line = lineContent(text);
    if (line.empty() || isComment(line)) {
        return std::nullopt;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) {
        return std::nullopt;
    }
    std::size_t end = eq;
    // Blanks before "=" are not part of the key, but the line's first character always is.
    while (end > 1 && isBlank(line[end - 1])) {
        --end;
    }
    return line.substr(0, end);
}

std::string parseTokenValue(const std::string& text) {
    trace("parseTokenValue", "");
    std::string line = lineContent(text);
    if (isComment(line)) {
        return "";
    }
    // The value starts after the "=" that ends the key, so a value may hold "=" itself; only
    // the blank the writer puts after "=" is skipped, so leading blanks of a value survive.
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
        return "";
    }
    std::size_t start = eq + 1;
    if (start < line.size() && isBlank(line[start])) {
        ++start;
    }
    return line.substr(start);
}

void getTokenValue(const TTokenTable& table, const char* key, char* out, std::size_t capacity) {
    trace("getTokenValue", "");
    if (capacity == 0) {
        return;
    }
    if (const std::string* value = table.find(key)) {
        std::size_t n = std::min(value->size(), capacity - 1);
        std::memcpy(out, value->data(), n);
        out[n] = '\0';
    }
}

void getTokenValue2(const TTokenTable& table, const char* key, char& out) {
    trace("getTokenValue2", "");
    const std::string* value = table.find(key);
    out = value != nullptr && *value != "0" ? 1 : 0;
}

void setTokenValue(TTokenTable& table, const char* key, const char* value) {
    trace("setTokenValue", "");
    table.set(key, value);
}

void setTokenValue2(TTokenTable& table, const char* key, char on) {
    trace("setTokenValue2", "");
    table.set(key, on ? "1" : "0");
}

void loadTokens(TTokenTable& table, const std::string& text) {
    std::size_t pos = 0;
    for (int lineNo = 0; lineNo < kSettingsMaxLines && pos < text.size(); ++lineNo) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        std::string line = text.substr(pos, end - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        if (auto key = parseToken(line)) {
            table.set(*key, parseTokenValue(line));
        }
    }
}

std::string formatTokens(const TTokenTable& table) {
    std::string text = std::string(kSettingsHeader) + "\r\n";
    for (const auto& [key, value] : table.entries()) {
        text += key + " = " + value + "\r\n";
    }
    return text;
}

void getData(const TTokenTable& table, TDrovakSettingsXfer& settings) {
    trace("getData", "");
    getTokenValue(table, "savPath", settings.savPath);
    getTokenValue(table, "raptorPath", settings.raptorPath);
    getTokenValue(table, "templatePath", settings.templatePath);
    getTokenValue(table, "lastLoadedFile", settings.lastLoadedFile);
    getTokenValue(table, "listSortMethod", settings.listSortMethod);
    getTokenValue2(table, "savPathEqRaptorPath", settings.savPathEqRaptorPath);
    getTokenValue2(table, "showColorChars", settings.showColorChars);
    getTokenValue2(table, "showSplashScreen", settings.showSplashScreen);
    getTokenValue2(table, "soundOn", settings.soundOn);
    getTokenValue2(table, "templateFileEqRaptorSav", settings.templateFileEqRaptorSav);
    getTokenValue2(table, "firstRun", settings.firstRun);
    getTokenValue2(table, "debug", settings.debug);
    getTokenValue(table, kContactAddressKey, settings.contactAddress);
}

namespace {
// The user's own file was there but could not be read: until a read succeeds, nothing may be
// written over it, or the settings shown in its place would replace the user's.
bool gOwnFileUnread = false;
} // namespace

bool openINI(TDrovakSettingsXfer& settings) {
    trace("openINI", "");
    // Until the user's own file is written, the shipped one gives the first-run defaults. A
    // file without the header every saved file starts with (damaged, or another file under
    // the name) sets nothing up: the set-up starts again. An editor's byte order mark is no
    // damage.
    const auto isSettingsText = [](std::string_view text) {
        return (text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text)
            .starts_with(kSettingsHeader);
    };
    std::string text;
    const bool ownRead = readWholeFile(joinPath(getDrovakPath(), kSettingsFileName), text);
    const int error = errno;
    gOwnFileUnread = !ownRead && error != ENOENT;
    const bool damaged = ownRead && !isSettingsText(text);
    if ((ownRead && !damaged) ||
        (readWholeFile(sharedFile(kSettingsFileName), text) && isSettingsText(text))) {
        loadTokens(tokenTable(), text);
    }
    getData(tokenTable(), settings);
    if (damaged) {
        settings.firstRun = 1;
    }
    errno = error;
    return !gOwnFileUnread;
}

int saveINI(const TDrovakSettingsXfer& settings) {
    trace("saveINI", "");
    // Filled in a copy: a value that cannot be written must not stay in the table, where it
    // would make every later save fail as well.
    TTokenTable table = tokenTable();
    setTokenValue(table, "savPath", settings.savPath.data());
    setTokenValue(table, "raptorPath", settings.raptorPath.data());
    setTokenValue(table, "templatePath", settings.templatePath.data());
    setTokenValue(table, "lastLoadedFile", settings.lastLoadedFile.data());
    setTokenValue(table, "listSortMethod", settings.listSortMethod.data());
    setTokenValue2(table, "savPathEqRaptorPath", settings.savPathEqRaptorPath);
    setTokenValue2(table, "showColorChars", settings.showColorChars);
    setTokenValue2(table, "showSplashScreen", settings.showSplashScreen);
    setTokenValue2(table, "soundOn", settings.soundOn);
    setTokenValue2(table, "templateFileEqRaptorSav", settings.templateFileEqRaptorSav);
    setTokenValue2(table, "firstRun", settings.firstRun);
    setTokenValue2(table, "debug", settings.debug);
    // Everyone who never sets an address keeps the file as it always was.
    if (settings.contactAddress[0] != '\0') {
        setTokenValue(table, kContactAddressKey, settings.contactAddress.data());
    } else {
        table.remove(kContactAddressKey);
    }

    // A line break or NUL would end its line early and turn the rest into a line of its own.
    for (const auto& [key, value] : table.entries()) {
        if (holdsLineEnd(key) || holdsLineEnd(value)) {
            errno = EINVAL;
            return -1;
        }
    }
    tokenTable() = table;

    std::string path = joinPath(getDrovakPath(), kSettingsFileName);
    if (path.empty()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    if (gOwnFileUnread) {
        errno = EIO;
        return -1;
    }
    std::string text = formatTokens(table);
    return replaceFileContents(path, {text.data(), text.size()}) ? 0 : -1;
}

std::string contactAddressHowTo() {
    // A path past this length is left out, so the error report, bounded to 512 bytes, always
    // has room for the text.
    constexpr std::size_t kLongestPathShown = 200;
    std::string path = joinPath(getDrovakPath(), kSettingsFileName);
    if (path.empty() || path.size() > kLongestPathShown) {
        path = kSettingsFileName;
    }
    return std::string("add the line \"") + kContactAddressKey + " = you@example.org\" to " + path;
}

std::string contactOrHowTo(const TDrovakSettingsXfer& settings) {
    if (settings.contactAddress[0] != '\0') {
        return settings.contactAddress.data();
    }
    return "(no contact address is set: " + contactAddressHowTo() + ")";
}
