#pragma once

#include "support/pathsep.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return root; }
    // The folder as the program writes folder paths: ending with the separator.
    std::string folder() const;
    std::string file(const std::string& name) const;

    void write(const std::string& name, const std::string& bytes) const;
    static void writeAt(const std::filesystem::path& path, const std::string& bytes);
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Names of every entry in the folder, sorted.
    std::string listing() const;
    static std::string listingOf(const std::filesystem::path& folder);

  private:
    std::filesystem::path root;
};

#ifdef __linux__
// How many files the process has open: what a call opens, it must also close.
inline std::size_t openDescriptors() {
    using It = std::filesystem::directory_iterator;
    return static_cast<std::size_t>(std::distance(It("/proc/self/fd"), It()));
}
#endif

// Switches the process's working folder for one scope.
class ScopedWorkingDir {
  public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir);
    ~ScopedWorkingDir();

  private:
    std::filesystem::path previous;
};

// Sets or clears an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void set(const char* value) {
#ifdef _WIN32
        // An empty value removes the variable there.
        _putenv_s(name_, value != nullptr ? value : "");
#else
        value != nullptr ? setenv(name_, value, 1) : unsetenv(name_);
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

std::string readWholeFile(const std::string& path);

// Writes '/' as the platform's separator, so a test reads like a path.
inline std::string native(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}
