#include "support/filename.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

#ifdef _WIN32

std::wstring wideName(const std::string& name) {
    const int size = static_cast<int>(name.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), size, wide.data(), n);
    return wide;
}

std::string utf8Name(const std::wstring& name) {
    const int size = static_cast<int>(name.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, name.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name.data(), size, text.data(), n, nullptr, nullptr);
    return text;
}

std::filesystem::path fsPath(const std::string& name) {
    return std::filesystem::path(wideName(name));
}

std::string fsName(const std::filesystem::path& path) {
    return utf8Name(path.wstring());
}

std::FILE* openStdFile(const std::string& name, const char* mode) {
    return _wfopen(wideName(name).c_str(), wideName(mode).c_str());
}

std::string environmentText(const char* variable) {
    const wchar_t* value = _wgetenv(wideName(variable).c_str());
    return value ? utf8Name(value) : std::string();
}

std::filesystem::path executablePath() {
    // Long paths need more than MAX_PATH: the buffer grows until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) {
            return {};
        }
        if (n < name.size()) {
            name.resize(n);
            return std::filesystem::path(name);
        }
        name.resize(name.size() * 2);
    }
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    // argv holds the arguments in the ANSI code page; the command line itself is UTF-16.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        args.push_back(utf8Name(wide[i]));
    }
    LocalFree(wide);
    return args;
}

#else

std::filesystem::path fsPath(const std::string& name) {
    return std::filesystem::path(name);
}

std::string fsName(const std::filesystem::path& path) {
    return path.string();
}

std::FILE* openStdFile(const std::string& name, const char* mode) {
    return std::fopen(name.c_str(), mode);
}

std::string environmentText(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? value : "";
}

std::filesystem::path executablePath() {
#ifdef __linux__
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
#else
    return {};
#endif
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

#endif
