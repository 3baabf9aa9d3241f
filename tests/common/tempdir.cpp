#include "common/tempdir.h"

#include "support/filename.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int i = 0; i < 100; ++i) {
        auto candidate = base / ("drovak-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            root = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have taken the write bit away; give it back so the folder can go.
    std::filesystem::permissions(root, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(root, ec);
}

std::string TempDir::folder() const {
    std::string s = fsName(root);
    s += std::filesystem::path::preferred_separator;
    return s;
}

std::string TempDir::file(const std::string& name) const {
    return fsName(root / fsPath(name));
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    writeAt(root / fsPath(name), bytes);
}

void TempDir::writeAt(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::read(const std::string& name) const {
    return readWholeFile(file(name));
}

bool TempDir::exists(const std::string& name) const {
    return std::filesystem::exists(root / fsPath(name));
}

std::string TempDir::listing() const {
    return listingOf(root);
}

std::string TempDir::listingOf(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(fsName(entry.path().filename()));
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : " ") + n;
    return out;
}

ScopedWorkingDir::ScopedWorkingDir(const std::filesystem::path& dir)
    : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir() {
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
