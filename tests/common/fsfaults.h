#pragma once

// The replacing write goes through this seam on POSIX systems only.
#ifndef _WIN32

#include "support/fsseam.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <limits>
#include <map>
#include <string>
#include <vector>

// For one scope, the replacing write's system calls go through here: each one is counted and
// logged as "name path" (a descriptor's call names the path it was opened on), one of them
// can be made to fail, writes can be cut short and interrupted, and new names can be taken.
class FileSystemFaults {
  public:
    FileSystemFaults() {
        state() = State{};
        FileSystemCalls& c = fileSystemCalls();
        c.open = [](const char* path, int flags, mode_t mode) {
            if (!pass("open", path))
                return -1;
            if ((flags & O_EXCL) != 0 && state().namesTaken > 0) {
                --state().namesTaken;
                errno = EEXIST;
                return -1;
            }
            int fd = sys().open(path, flags, mode);
            state().paths[fd] = path;
            return fd;
        };
        c.write = [](int fd, const void* data, size_t size) -> ssize_t {
            if (!pass("write", fd))
                return -1;
            if (state().writeChunk != kWhole && state().writes++ % 2 == 0) {
                errno = EINTR;
                return -1;
            }
            return sys().write(fd, data, std::min(size, state().writeChunk));
        };
        c.fsync = [](int fd) { return pass("fsync", fd) ? sys().fsync(fd) : -1; };
        c.fchown = [](int fd, uid_t u, gid_t g) {
            return pass("fchown", fd) ? sys().fchown(fd, u, g) : -1;
        };
        c.fchmod = [](int fd, mode_t m) { return pass("fchmod", fd) ? sys().fchmod(fd, m) : -1; };
        c.close = [](int fd) {
            bool ok = pass("close", fd);
            int result = sys().close(fd); // a failed close still releases it, as on Linux
            return ok ? result : -1;
        };
        c.rename = [](const char* p, const char* to) {
            return pass("rename", p) ? sys().rename(p, to) : -1;
        };
        c.unlink = [](const char* p) { return pass("unlink", p) ? sys().unlink(p) : -1; };
        c.lstat = [](const char* p, struct stat* st) {
            return pass("lstat", p) ? sys().lstat(p, st) : -1;
        };
        c.readlink = [](const char* p, char* buf, size_t n) -> ssize_t {
            return pass("readlink", p) ? sys().readlink(p, buf, n) : -1;
        };
        c.access = [](const char* p, int m) { return pass("access", p) ? sys().access(p, m) : -1; };
    }
    ~FileSystemFaults() { fileSystemCalls() = sys(); }

    // The nth call from now (1: the next one) fails with error and does nothing.
    void failCall(int n, int error) {
        state().failAt = state().calls + n;
        state().error = error;
        state().fired = false;
    }
    // Every other write is interrupted; the rest take at most chunk bytes.
    void shortWrites(std::size_t chunk) { state().writeChunk = chunk; }
    // The next count exclusive creations find their name taken.
    void takeNames(int count) { state().namesTaken = count; }

    bool fired() const { return state().fired; }
    const std::vector<std::string>& log() const { return state().log; }

  private:
    static constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();
    struct State {
        int calls = 0, failAt = 0, error = 0;
        bool fired = false;
        std::size_t writeChunk = kWhole;
        int writes = 0, namesTaken = 0;
        std::map<int, std::string> paths;
        std::vector<std::string> log;
    };
    static State& state() {
        static State s;
        return s;
    }
    static const FileSystemCalls& sys() { return systemFileSystemCalls(); }
    static bool pass(const char* name, int fd) { return pass(name, state().paths[fd]); }
    static bool pass(const char* name, const std::string& path) {
        State& s = state();
        s.log.push_back(std::string(name) + " " + path);
        if (++s.calls == s.failAt) {
            s.fired = true;
            errno = s.error;
            return false;
        }
        return true;
    }
};

#endif
