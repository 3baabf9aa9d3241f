#include "cli/commandline.h"

#include "drovakversion.h"
#include "editor/chartable.h"
#include "editor/colortext.h"
#include "editor/fields.h"
#include "player/player.h"
#include "player/savformat.h"
#include "player/workingcopy.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "support/cp1252.h"
#include "support/diskname.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/safefile.h"
#include "support/strutil.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <span>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "Usage: drovak [FILE.sav]\n"
    "       drovak show FILE.sav [--json]\n"
    "       drovak set FILE.sav [--callsign TEXT] [--squadron TEXT] [--password TEXT]\n"
    "                           [--ip TEXT] [--server TEXT] [--side either|1|2]\n"
    "       drovak load LABEL\n"
    "       drovak --help | --version\n";

constexpr const char* kHelp =
    "Edits the player files (.sav) of the game F-22 Raptor.\n"
    "\n"
    "Without a command, opens the window; on FILE.sav when one is given, first copied into\n"
    "the SAV folder when it lies elsewhere.\n"
    "\n"
    "Commands (none needs a display):\n"
    "  show FILE.sav    print the six fields, each text with and without its colour codes\n"
    "                   (~ and a digit); with --json as one JSON object\n"
    "  set FILE.sav     change the fields named by the options and save the file as the\n"
    "                   editor does; a text too long for its field, a character the game's\n"
    "                   font cannot show or an unknown side is refused, and nothing is written;\n"
    "                   so is a pilot with unsaved changes in its working copy (FILE.dvw)\n"
    "  load LABEL       put the pilot LABEL.sav of the SAV folder into the game's folder as\n"
    "                   raptor.sav, as File > Load does\n"
    "\n"
    "Options:\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 on a usage error, 2 when a file cannot be read or written.\n";

constexpr const char* kTryHelp = "Try 'drovak --help' for more information.\n";

// The five texts of a record, by their option names, in the order the editor shows them.
struct TTextField {
    const char* option;
    const char* name;
    int field;
    // The editor draws the IP address byte for byte: it has no colour codes.
    bool codes;
};
constexpr std::array<TTextField, 5> kTextFields{{
    {"callsign", "callsign", kFieldCallsign, true},
    {"squadron", "squadron name", kFieldSquadronName, true},
    {"password", "squadron password", kFieldSquadronPassword, true},
    {"ip", "IP address", kFieldIpAddress, false},
    {"server", "server name", kFieldServerName, true},
}};
constexpr const char* kSideNames[] = {"either", "1", "2"};

constexpr char32_t kHouseSign = 0x2302;

// The character a byte stands for on a terminal: Windows-1252, the DEL byte as the house sign
// that code pages of the game's day drew for it.
char32_t codePointOf(unsigned char b) {
    return b == 0x7F ? kHouseSign : unicodeFromCp1252(b);
}

std::span<char> fieldOf(TPlayer& player, int field) {
    switch (field) {
    case kFieldCallsign:
        return player.callsign;
    case kFieldSquadronName:
        return player.squadronName;
    case kFieldSquadronPassword:
        return player.squadronPassword;
    case kFieldIpAddress:
        return player.ipAddress;
    case kFieldServerName:
        return player.serverName;
    default:
        return player.side;
    }
}

std::string textOf(std::span<const char> field) {
    return std::string(field.data(), static_cast<std::size_t>(textLength(field)));
}

// The text as the editor shows it with codes hidden.
std::string withoutCodes(const std::string& bytes) {
    std::string shown;
    scanColorCodes(std::span<const char>(bytes.data(), bytes.size()),
                   static_cast<int>(bytes.size()), [&](int i, TByteKind kind) {
                       if (kind == TByteKind::Visible) {
                           shown += bytes[static_cast<std::size_t>(i)];
                       }
                       return true;
                   });
    return shown;
}

// For a terminal: control characters would move its cursor or change its state.
std::string printable(const std::string& bytes) {
    std::string text;
    for (unsigned char b : bytes) {
        char32_t c = codePointOf(b);
        appendUtf8(text, c < 0x20 || (c >= 0x80 && c < 0xA0) ? U'?' : c);
    }
    return text;
}

std::string jsonString(const std::string& bytes) {
    std::string out = "\"";
    for (char c : gameToUtf8(bytes)) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string sideName(char code) {
    const auto c = static_cast<unsigned char>(code);
    return c < std::size(kSideNames) ? kSideNames[c] : "unknown (" + std::to_string(c) + ")";
}

class TRun {
  public:
    TRun(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream) {}

    int usage(const std::string& message) {
        err << "drovak: " << message << "\n" << kTryHelp;
        return kExitUsage;
    }
    int fileError(const std::string& file, const std::string& message) {
        err << "drovak: " << file << ": " << message << "\n";
        return kExitFile;
    }
    int systemError(const std::string& file, const char* what) {
        return fileError(file, std::string(what) + ": " + std::strerror(errno));
    }

    int show(const std::vector<std::string>& args);
    int set(const std::vector<std::string>& args);
    int load(const std::vector<std::string>& args);
    // The bytes of the player file at path (named file to the user), refused unless they are
    // one whole record.
    int readRecord(const std::string& file, const std::string& path, std::string& bytes);
    // A readable player file of 440 bytes into player, whose SAV folder becomes the file's.
    int readPlayer(const std::string& file, TPlayer& player);
    // The path of the working copy beside the player's file; empty when it has none.
    static std::string workingCopyPath(const TPlayer& player);

  private:
    std::ostream& out;
    std::ostream& err;
};

int TRun::readRecord(const std::string& file, const std::string& path, std::string& bytes) {
    if (!readFilePrefix(path, kSavSize + 1, bytes)) {
        return systemError(file, "cannot read");
    }
    if (bytes.size() != kSavSize) {
        return fileError(file, "not a player file (" + std::to_string(bytes.size()) +
                                   " bytes; a player file has " + std::to_string(kSavSize) + ")");
    }
    return kExitOk;
}

int TRun::readPlayer(const std::string& file, TPlayer& player) {
    std::error_code ec;
    fs::path path = fs::absolute(fsPath(file), ec);
    if (ec || fs::is_directory(path, ec)) {
        return fileError(file, "not a player file");
    }
    std::string bytes;
    if (int status = readRecord(file, fsName(path), bytes); status != kExitOk) {
        return status;
    }
    std::string folder = fsName(path.parent_path());
    if (!folder.ends_with(kPathSeparator)) {
        folder += kPathSeparator;
    }
    std::string name = fsName(path.filename());
    if (folder.size() >= player.xfer.savPath.size() || name.size() >= player.fileName.size() ||
        !isPlainFileName(name)) {
        return fileError(file, "the path is too long, or the name is not a plain file name");
    }
    player.xfer.savPath.fill('\0');
    std::copy(folder.begin(), folder.end(), player.xfer.savPath.begin());
    player.setFileName(name.c_str());
    readSavFields(bytes, player);
    return kExitOk;
}

std::string TRun::workingCopyPath(const TPlayer& player) {
    TPlayer record(player);
    TWorkingCopy copy(record);
    return copy.exists() ? copy.pathOf(TWorkingCopy::workingName(copy.label())) : "";
}

int TRun::show(const std::vector<std::string>& args) {
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (a.starts_with("-")) {
            return usage("show: unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1) {
        return usage("show takes one player file");
    }
    TPlayer player(TDrovakSettingsXfer{}, "");
    if (int status = readPlayer(files[0], player); status != kExitOk) {
        return status;
    }
    const std::string unsaved = workingCopyPath(player);
    if (json) {
        out << "{\"file\": " << jsonString(files[0]);
        for (const TTextField& f : kTextFields) {
            std::string bytes = textOf(fieldOf(player, f.field));
            out << ", \"" << f.option
                << "\": {\"text\": " << jsonString(f.codes ? withoutCodes(bytes) : bytes)
                << ", \"codes\": " << jsonString(bytes) << "}";
        }
        out << ", \"side\": {\"code\": "
            << static_cast<int>(static_cast<unsigned char>(player.side[0]))
            << ", \"text\": " << jsonString(sideName(player.side[0]))
            << "}, \"unsavedChanges\": " << (unsaved.empty() ? "null" : jsonString(unsaved))
            << "}\n";
        return kExitOk;
    }
    for (const TTextField& f : kTextFields) {
        std::string bytes = textOf(fieldOf(player, f.field));
        out << f.name << ": " << printable(f.codes ? withoutCodes(bytes) : bytes) << "\n";
        if (f.codes) {
            out << f.name << " with codes: " << printable(bytes) << "\n";
        }
    }
    out << "side: " << sideName(player.side[0]) << "\n";
    if (!unsaved.empty()) {
        out << "unsaved changes: in " << unsaved << ", which the window saves into this file\n";
    }
    return kExitOk;
}

int TRun::set(const std::vector<std::string>& args) {
    std::map<std::string, std::string> given;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!a.starts_with("--")) {
            files.push_back(a);
            continue;
        }
        std::string option = a.substr(2);
        std::optional<std::string> value;
        if (std::size_t eq = option.find('='); eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
        }
        bool known = option == "side" ||
                     std::any_of(kTextFields.begin(), kTextFields.end(),
                                 [&](const TTextField& f) { return option == f.option; });
        if (!known) {
            return usage("set: unknown option '" + a + "'");
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return usage("set: option '" + a + "' needs a value");
            }
            value = args[++i];
        }
        given[option] = *value;
    }
    if (files.size() != 1) {
        return usage("set takes one player file");
    }
    if (given.empty()) {
        return usage("set: nothing to change; name at least one field");
    }
    const std::string& file = files[0];

    TDrovakSettingsXfer settings;
    if (!openINI(settings)) {
        return systemError(joinPath(getDrovakPath(), kSettingsFileName), "cannot read");
    }
    TPlayer player(settings, "");
    if (int status = readPlayer(file, player); status != kExitOk) {
        return status;
    }
    // The window's next Save would write the working copy over what is set here.
    if (std::string unsaved = workingCopyPath(player); !unsaved.empty()) {
        return fileError(file, "has unsaved changes in " + unsaved +
                                   "; save them (File > Save) or undo them (Edit > Undo) in the "
                                   "window first; nothing was written");
    }
    TWorkingCopy saved(player);
    saved.noteRead();
    const std::string tablePath = sharedFile(TCharTable::kFileName);
    TCharTable table;
    if (std::string why = table.load(tablePath); !why.empty()) {
        return fileError(tablePath, "cannot read the key table: " + why);
    }
    const TFontRules font(table);

    // Every value is checked before any is applied: a refusal leaves the file as it was.
    TPlayer changed(player);
    for (const TTextField& f : kTextFields) {
        auto it = given.find(f.option);
        if (it == given.end()) {
            continue;
        }
        std::string bytes;
        std::string bad;
        if (!utf8ToGame(it->second, bytes, bad)) {
            return usage(file + ": the " + std::string(f.name) + " holds '" + bad +
                         "', which the game's font cannot show; nothing was written");
        }
        std::span<char> buffer = fieldOf(changed, f.field);
        const std::size_t room = buffer.size() - 1;
        if (bytes.size() > room) {
            return usage(file + ": the " + std::string(f.name) + " takes at most " +
                         std::to_string(room) + " characters, colour codes included; '" +
                         it->second + "' has " + std::to_string(bytes.size()) +
                         "; nothing was written");
        }
        for (unsigned char b : bytes) {
            if (!font.allows(f.field, b)) {
                std::string shown = gameToUtf8(std::string(1, static_cast<char>(b)));
                return usage(file + ": the " + std::string(f.name) + " cannot hold '" + shown +
                             "': the game's font cannot show it there; nothing was written");
            }
        }
        std::fill(buffer.begin(), buffer.end(), '\0');
        std::copy(bytes.begin(), bytes.end(), buffer.begin());
    }
    if (auto it = given.find("side"); it != given.end()) {
        auto name = std::find(std::begin(kSideNames), std::end(kSideNames), it->second);
        if (name == std::end(kSideNames)) {
            return usage(file + ": the side is 'either', '1' or '2', not '" + it->second +
                         "'; nothing was written");
        }
        changed.side.fill('\0');
        changed.side[0] = static_cast<char>(name - std::begin(kSideNames));
    }

    // As Save: the template's bytes around the fields. Before the first set-up there is no
    // template in the settings, and the shipped one serves.
    std::string templatePath = settings.templatePath.data();
    if (templatePath.empty()) {
        templatePath = sharedFile("template.sav");
    }
    if (templatePath.size() >= changed.xfer.templatePath.size()) {
        return fileError(templatePath, "the template's path is too long");
    }
    changed.xfer.templatePath.fill('\0');
    std::copy(templatePath.begin(), templatePath.end(), changed.xfer.templatePath.begin());
    if (saved.changedElsewhere()) {
        return fileError(file, "was changed by another program meanwhile; nothing was written");
    }
    switch (TWorkingCopy(changed).writeAs(changed.getFileName())) {
    case kSaveOk:
        return kExitOk;
    case kSaveTemplateFailed:
        if (errno == 0) {
            return fileError(templatePath, "the template file is shorter than a player file; "
                                           "nothing was written");
        }
        return systemError(templatePath, "cannot read the template file; nothing was written");
    default:
        return systemError(file, "cannot write");
    }
}

int TRun::load(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].starts_with("-")) {
        return usage("load takes one pilot's label");
    }
    std::string name = args[0];
    if (!(name.size() > 4 && sameNameIgnoringCase(name.substr(name.size() - 4), ".sav"))) {
        name += ".sav";
    }
    if (!isPlainFileName(name) || name.find(kPathSeparator) != std::string::npos ||
        name.size() >= kLastLoadedFileCapacity) {
        return usage("load: '" + args[0] + "' is not the label of a pilot in the SAV folder");
    }
    TDrovakSettingsXfer settings;
    const bool settingsRead = openINI(settings);
    const std::string settingsFile = joinPath(getDrovakPath(), kSettingsFileName);
    if (!settingsRead) {
        return systemError(settingsFile, "cannot read");
    }
    if (settings.raptorPath[0] == '\0' || settings.savPath[0] == '\0') {
        return fileError(settingsFile, "no game folder is set up; start drovak once and "
                                       "choose the game's folder");
    }
    TPlayer player(settings, name.c_str());
    // As File > Load: a pilot with unsaved changes goes into the game as the window shows it.
    if (TWorkingCopy copy(player); copy.exists()) {
        name = TWorkingCopy::workingName(copy.label());
        player.setFileName(name.c_str());
    }
    const std::string path = player.savFolderPath(name);
    std::string bytes;
    if (int status = readRecord(joinPath(settings.savPath.data(), name.c_str()), path, bytes);
        status != kExitOk) {
        return status;
    }
    readSavFields(bytes, player);
    const std::string target =
        joinPath(settings.raptorPath.data(), raptorSavName(settings.raptorPath.data()).c_str());
    switch (player.loadFile()) {
    case kSaveOk:
        break;
    case kSaveTemplateFailed:
        return systemError(settings.templatePath.data(), "cannot read the template file");
    case kSaveBackupFailed:
        return systemError(backupFolder(), "cannot keep a copy of the game's raptor.sav here; "
                                           "nothing was written");
    default:
        return systemError(target, "cannot write");
    }
    settings.lastLoadedFile.fill('\0');
    std::copy(name.begin(), name.end(), settings.lastLoadedFile.begin());
    if (!makeUserFolders(programFolders()) || saveINI(settings) != 0) {
        return systemError(settingsFile, "the pilot is in the game, but the settings file "
                                         "cannot be written");
    }
    return kExitOk;
}

} // namespace

std::string gameToUtf8(std::string_view bytes) {
    std::string text;
    for (char b : bytes) {
        appendUtf8(text, codePointOf(static_cast<unsigned char>(b)));
    }
    return text;
}

bool utf8ToGame(std::string_view text, std::string& bytes, std::string& bad) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        std::optional<char32_t> c = nextUtf8(text, i);
        if (!c) {
            bad = "(not UTF-8)";
            return false;
        }
        const std::optional<unsigned char> code =
            *c == kHouseSign ? std::optional<unsigned char>(0x7F) : cp1252FromUnicode(*c);
        if (!code) {
            bad = std::string(text.substr(start, i - start));
            return false;
        }
        bytes += static_cast<char>(*code);
    }
    return true;
}

TCommandLineResult runCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err) {
    TRun run(out, err);
    if (args.empty()) {
        return {true, "", kExitOk};
    }
    const std::string& first = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (first == "--help" || first == "-h") {
        out << kUsage << "\n" << kHelp;
        return {false, "", kExitOk};
    }
    if (first == "--version") {
        out << "drovak " << kDrovakVersion << "\n"
            << "Copyright (c) The Drovak developers\n"
            << "MIT License: this is free software; there is NO WARRANTY.\n";
        return {false, "", kExitOk};
    }
    if (first == "show") {
        return {false, "", run.show(rest)};
    }
    if (first == "set") {
        return {false, "", run.set(rest)};
    }
    if (first == "load") {
        return {false, "", run.load(rest)};
    }
    std::vector<std::string> files = args;
    if (first == "--") {
        files.erase(files.begin());
    } else if (first.starts_with("-")) {
        return {false, "", run.usage("unknown option '" + first + "'")};
    }
    if (files.size() != 1) {
        return {
            false, "",
            run.usage(files.empty() ? "no file after '--'" : "unknown command '" + first + "'")};
    }
    const std::string& file = files[0];
    if (!(file.size() > 4 && sameNameIgnoringCase(file.substr(file.size() - 4), ".sav"))) {
        return {false, "", run.usage(file + ": not a player file name (FILE.sav)")};
    }
    TPlayer player(TDrovakSettingsXfer{}, "");
    if (int status = run.readPlayer(file, player); status != kExitOk) {
        return {false, "", status};
    }
    std::error_code ec;
    return {true, fsName(fs::absolute(fsPath(file), ec).lexically_normal()), kExitOk};
}
