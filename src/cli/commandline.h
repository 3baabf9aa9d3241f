#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFile = 2;

// What a command line asked for: a subcommand, answered at once with its status, or the
// window, on one pilot file when windowFile is not empty.
struct TCommandLineResult {
    bool startWindow = false;
    std::string windowFile;
    int status = kExitOk;
};

// Runs the arguments after the program's name: --help, --version, show, set, load, or a pilot
// file for the window. Answers go to out, messages (each naming its file) to err. Subcommands
// read the shipped files and settings from the folders given to setProgramFolders; none needs
// a display.
TCommandLineResult runCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err);

// A text of the player file as UTF-8: the game's code page, with code 127 as the house sign
// the font draws.
std::string gameToUtf8(std::string_view bytes);
// The game bytes for a UTF-8 text; false when it is not UTF-8 or holds a character the game's
// code page lacks, with that character in bad.
bool utf8ToGame(std::string_view text, std::string& bytes, std::string& bad);
