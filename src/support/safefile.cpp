#include "support/safefile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool syncToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// Creates a new, exclusive file next to the target so no other file is ever overwritten.
std::FILE* createTemporary(const std::string& target, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp" + std::to_string(attempt);
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx")) {
            return f;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

} // namespace

bool replaceFileContents(const std::string& path, std::span<const char> bytes) {
    std::string tempPath;
    std::FILE* f = createTemporary(path, tempPath);
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = syncToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(tempPath, path, ec);
        ok = !ec;
    }
    if (!ok) {
        std::filesystem::remove(tempPath, ec);
    }
    return ok;
}

bool appendFileContents(const std::string& path, std::span<const char> bytes) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    out.resize(maxBytes);
    std::size_t got = std::fread(out.data(), 1, maxBytes, f);
    out.resize(got);
    // A folder opens on some systems but cannot be read: that is no file.
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) {
        out.clear();
    }
    return ok;
}

bool readWholeFile(const std::string& path, std::string& out) {
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

std::string relineText(const std::string& text, const char* lineEnd) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        std::size_t len = end - pos;
        if (len > 0 && text[end - 1] == '\r') {
            --len;
        }
        out.append(text, pos, len);
        out += lineEnd;
        pos = nl == std::string::npos ? text.size() : nl + 1;
    }
    return out;
}
