#pragma once

#include <filesystem>
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
    std::string file(const std::string& name) const { return (root / name).string(); }

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

// Switches the process's working folder for one scope.
class ScopedWorkingDir {
  public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir);
    ~ScopedWorkingDir();

  private:
    std::filesystem::path previous;
};

std::string readWholeFile(const std::string& path);
