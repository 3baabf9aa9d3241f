#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// The program keeps file names as UTF-8 text. POSIX systems take such a name as it is; Windows'
// narrow file functions would read it in the ANSI code page, which cannot spell most names, so
// every name that reaches the system goes through these, which use the wide functions there.

// The path a UTF-8 name stands for.
std::filesystem::path fsPath(const std::string& name);

// A path's name as UTF-8 text.
std::string fsName(const std::filesystem::path& path);

// std::fopen for a UTF-8 name.
std::FILE* openStdFile(const std::string& name, const char* mode);

// An environment variable's value as UTF-8 text; empty when it is not set.
std::string environmentText(const char* variable);

// The program's arguments as UTF-8 texts, the program's own name first.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// The running program's own file as the system names it (GetModuleFileNameW on Windows,
// /proc/self/exe on Linux), whatever folder it was started from or by which name; empty where
// the system cannot say.
std::filesystem::path executablePath();

#ifdef _WIN32
std::wstring wideName(const std::string& name);
std::string utf8Name(const std::wstring& name);
#endif
