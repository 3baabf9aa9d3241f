#include "support/safefile.h"

#include "support/filename.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

#include <algorithm>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include "support/fsseam.h"

#include <climits>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr std::string_view kTempPrefix = ".drovak-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kTempAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTempRandomChars = 6;

bool isOurTemporaryName(std::string_view name) {
    if (name.size() != kTempPrefix.size() + kTempRandomChars + kTempSuffix.size() ||
        !name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) {
        return false;
    }
    std::string_view random = name.substr(kTempPrefix.size(), kTempRandomChars);
    return random.find_first_not_of(kTempAlphabet) == std::string_view::npos;
}

std::string temporaryName() {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kTempAlphabet.size() - 1);
    std::string name(kTempPrefix);
    for (std::size_t i = 0; i < kTempRandomChars; ++i) {
        name += kTempAlphabet[pick(random)];
    }
    return name += kTempSuffix;
}

} // namespace

#ifdef _WIN32

namespace {

// The folder part of a path with its closing separator; empty for a bare name.
std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file of our own, hidden from the list, that no other file can be: CREATE_NEW never
// opens a file that is there, so a name taken is drawn again.
HANDLE createTemporary(const std::string& folder, std::string& tempPath) {
    for (int attempt = 0; attempt < 10000; ++attempt) {
        tempPath = folder + temporaryName();
        HANDLE h = CreateFileW(wideName(tempPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return h;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// errno for the system's last error, so that both platforms report a failed write alike.
int errnoFromLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return EINVAL;
    default:
        return EIO;
    }
}

bool writeAll(HANDLE h, std::span<const char> bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

} // namespace

bool replaceFileContents(const std::string& path, std::span<const char> bytes) {
    // A read-only file is refused: the user made it so to keep the pilot as it is.
    DWORD attributes = GetFileAttributesW(wideName(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        errno = EACCES;
        return false;
    }
    std::string tempPath;
    HANDLE h = createTemporary(folderOf(path), tempPath);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errnoFromLastError();
        return false;
    }
    bool ok = writeAll(h, bytes) && FlushFileBuffers(h);
    int error = ok ? 0 : errnoFromLastError();
    ok = CloseHandle(h) && ok;
    if (ok) {
        // The copy takes the target's plain attributes; it was hidden only while unfinished.
        SetFileAttributesW(wideName(tempPath).c_str(), attributes != INVALID_FILE_ATTRIBUTES
                                                           ? attributes
                                                           : FILE_ATTRIBUTE_NORMAL);
        ok = MoveFileExW(wideName(tempPath).c_str(), wideName(path).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        error = error != 0 ? error : errnoFromLastError();
        DeleteFileW(wideName(tempPath).c_str());
        errno = error;
    }
    return ok;
}

#else

namespace {

const FileSystemCalls kSystemCalls = {
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    [](int fd, const void* data, size_t size) { return ::write(fd, data, size); },
    [](int fd) { return ::fsync(fd); },
    [](int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); },
    [](int fd, mode_t mode) { return ::fchmod(fd, mode); },
    [](int fd) { return ::close(fd); },
    [](const char* from, const char* to) { return ::rename(from, to); },
    [](const char* path) { return ::unlink(path); },
    [](const char* path, struct stat* st) { return ::lstat(path, st); },
    [](const char* path, char* buf, size_t size) { return ::readlink(path, buf, size); },
    [](const char* path, int mode) { return ::access(path, mode); },
    [](const char* path, int flags) { return ::open(path, flags); },
    [](int fd, void* data, size_t size) { return ::read(fd, data, size); },
    [](int fd, struct stat* st) { return ::fstat(fd, st); },
    [](int fd) { return ::close(fd); },
};

FileSystemCalls gCalls = kSystemCalls;

// The folder part of a path with its closing separator; empty for a bare name.
std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links from path to the file they finally name, so that the link stays a
// link and its target gets the bytes. A name that does not exist (yet) ends the chain.
bool followLinks(std::string& path, struct stat& st, bool& exists) {
    const FileSystemCalls& fs = fileSystemCalls();
    for (int hops = 0; hops <= 40; ++hops) {
        if (fs.lstat(path.c_str(), &st) != 0) {
            exists = false;
            return errno == ENOENT;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        ssize_t n = fs.readlink(path.c_str(), link.data(), link.size());
        if (n < 0) {
            return false;
        }
        if (n == 0 || static_cast<std::size_t>(n) >= link.size()) {
            errno = n == 0 ? ENOENT : ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : folderOf(path) + link;
    }
    errno = ELOOP;
    return false;
}

// A file the user may not write is refused, and one without any write bit too: a pilot made
// read-only stays so even for root, as the read-only attribute does on Windows.
bool mayReplace(const std::string& path, const struct stat& st) {
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (fileSystemCalls().access(path.c_str(), W_OK) != 0) {
        return false;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

// A new file of our own, hidden from the list, that no other file can be: a name taken is
// drawn again.
int createTemporary(const std::string& folder, mode_t mode, std::string& tempPath) {
    for (int attempt = 0; attempt < 10000; ++attempt) {
        tempPath = folder + temporaryName();
        int fd =
            fileSystemCalls().open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool writeAll(int fd, std::span<const char> bytes) {
    while (!bytes.empty()) {
        ssize_t n = fileSystemCalls().write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// A rename is only lasting once the folder that holds the new name is on disk.
bool syncFolder(const std::string& folder) {
    const FileSystemCalls& fs = fileSystemCalls();
    int fd = fs.open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    // Some file systems cannot sync a folder at all; that is no failure of ours.
    bool ok = fs.fsync(fd) == 0 || errno == EINVAL;
    int error = errno;
    if (fs.close(fd) != 0 && ok) {
        return false;
    }
    errno = error;
    return ok;
}

} // namespace

FileSystemCalls& fileSystemCalls() {
    return gCalls;
}

const FileSystemCalls& systemFileSystemCalls() {
    return kSystemCalls;
}

bool replaceFileContents(const std::string& path, std::span<const char> bytes) {
    const FileSystemCalls& fs = fileSystemCalls();
    std::string target = path;
    struct stat st {};
    bool exists = false;
    if (!followLinks(target, st, exists) || (exists && !mayReplace(target, st))) {
        return false;
    }
    std::string folder = folderOf(target);
    std::string tempPath;
    // Until it has the target's mode, the copy is readable by no one else.
    int fd = createTemporary(folder, exists ? 0600 : 0666, tempPath);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    if (exists) {
        // The owner first: changing it clears set-id bits that the mode then puts back. Only
        // root may give a file away (EPERM, or EINVAL for an owner the system cannot map);
        // anyone else keeps the copy as their own.
        ok = (fs.fchown(fd, st.st_uid, st.st_gid) == 0 || errno == EPERM || errno == EINVAL) &&
             fs.fchmod(fd, st.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && fs.fsync(fd) == 0;
    int error = errno;
    if (fs.close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) {
        if (fs.rename(tempPath.c_str(), target.c_str()) == 0) {
            return syncFolder(folder);
        }
        error = errno;
    }
    fs.unlink(tempPath.c_str());
    errno = error;
    return false;
}

#endif

std::string writeFailureReason(const std::string& path, int error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(fsPath(path), ec);
    if (error == EACCES && !ec && fs::is_regular_file(status) &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return "the file is read-only";
    }
    if (error == EBUSY) {
        return "another program is using the file";
    }
    return std::strerror(error);
}

void removeLeftoverTemporaries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder.empty() ? fs::path(".") : fsPath(folder), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code entryEc;
        if (isOurTemporaryName(fsName(it->path().filename())) &&
            it->symlink_status(entryEc).type() == fs::file_type::regular) {
            fs::remove(it->path(), entryEc);
        }
    }
}

bool appendFileContents(const std::string& path, std::span<const char> bytes) {
    std::FILE* f = openStdFile(path, "ab");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

#ifdef _WIN32

bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& out,
                    std::uint64_t* fileSize) {
    out.clear();
    std::FILE* f = openStdFile(path, "rb");
    if (f == nullptr) {
        return false;
    }
    char chunk[4096];
    std::size_t got = 0;
    while (out.size() < maxBytes &&
           (got = std::fread(chunk, 1, std::min(sizeof chunk, maxBytes - out.size()), f)) > 0) {
        out.append(chunk, got);
    }
    bool ok = !std::ferror(f);
    if (ok && fileSize != nullptr) {
        ok = _fseeki64(f, 0, SEEK_END) == 0;
        const long long size = ok ? _ftelli64(f) : -1;
        ok = size >= 0;
        *fileSize = ok ? static_cast<std::uint64_t>(size) : 0;
    }
    const int error = errno;
    std::fclose(f);
    if (!ok) {
        out.clear();
        errno = error;
    }
    return ok;
}

#else

bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& out,
                    std::uint64_t* fileSize) {
    out.clear();
    const FileSystemCalls& fs = fileSystemCalls();
    int fd = fs.openRead(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = fs.fstat(fd, &st) == 0;
    // A folder opens for reading here but is no file.
    if (ok && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        ok = false;
    }
    std::size_t got = 0;
    while (ok && got < maxBytes) {
        out.resize(got + std::min<std::size_t>(maxBytes - got, 1 << 16));
        ssize_t n = fs.read(fd, out.data() + got, out.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ok = false;
        }
    }
    const int error = errno;
    fs.closeRead(fd);
    out.resize(ok ? got : 0);
    if (ok && fileSize != nullptr) {
        *fileSize = static_cast<std::uint64_t>(st.st_size);
    }
    errno = error;
    return ok;
}

#endif

bool readWholeFile(const std::string& path, std::string& out) {
    return readFilePrefix(path, std::numeric_limits<std::size_t>::max(), out);
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
