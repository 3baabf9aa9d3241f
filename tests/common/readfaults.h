#pragma once

// Every read of a file goes through this seam on POSIX systems only.
#ifndef _WIN32

#include "support/fsseam.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <limits>
#include <set>
#include <string>

// For one scope, every read(2) of the file at path goes through here: counted, the nth can fail
// with an error, every other one can be interrupted, and the rest can be cut to a few bytes.
// Reads of other files pass untouched.
class ReadFaults {
  public:
    explicit ReadFaults(const std::string& path) {
        state() = State{};
        state().path = path;
        FileSystemCalls& calls = fileSystemCalls();
        calls.openRead = [](const char* name, int flags) {
            const int fd = systemFileSystemCalls().openRead(name, flags);
            if (fd >= 0 && state().path == name)
                state().fds.insert(fd);
            return fd;
        };
        calls.closeRead = [](int fd) {
            state().fds.erase(fd);
            return systemFileSystemCalls().closeRead(fd);
        };
        calls.read = [](int fd, void* data, size_t size) -> ssize_t {
            State& s = state();
            if (!s.fds.contains(fd))
                return systemFileSystemCalls().read(fd, data, size);
            if (++s.reads == s.failAt) {
                errno = s.error;
                return -1;
            }
            if (s.interrupt && s.reads % 2 == 1) {
                errno = EINTR;
                return -1;
            }
            return systemFileSystemCalls().read(fd, data, std::min(size, s.chunk));
        };
    }
    ~ReadFaults() { fileSystemCalls() = systemFileSystemCalls(); }
    ReadFaults(const ReadFaults&) = delete;
    ReadFaults& operator=(const ReadFaults&) = delete;

    // The nth read from the scope's start (1: the first) fails with error.
    void failRead(int n, int error) {
        state().failAt = n;
        state().error = error;
    }
    // Every other read is interrupted before it reads anything; the rest take at most chunk.
    void interrupt(std::size_t chunk) {
        state().interrupt = true;
        state().chunk = chunk;
    }
    // Reads take at most chunk bytes each.
    void cut(std::size_t chunk) { state().chunk = chunk; }

  private:
    struct State {
        std::string path;
        std::set<int> fds;
        int reads = 0, failAt = 0, error = 0;
        bool interrupt = false;
        std::size_t chunk = std::numeric_limits<std::size_t>::max();
    };
    static State& state() {
        static State s;
        return s;
    }
};

#endif
