#pragma once

#ifndef _WIN32

#include <sys/stat.h>
#include <sys/types.h>

// The system calls a replacing write and every read of a file make, in one table so that
// tests can make any one of them fail; the program itself never changes it.
struct FileSystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*fchown)(int fd, uid_t owner, gid_t group);
    int (*fchmod)(int fd, mode_t mode);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
    int (*lstat)(const char* path, struct stat* st);
    ssize_t (*readlink)(const char* path, char* buf, size_t size);
    int (*access)(const char* path, int mode);
    // A read has calls of its own, so that a test of writes counts the writes' alone.
    int (*openRead)(const char* path, int flags);
    ssize_t (*read)(int fd, void* data, size_t size);
    int (*fstat)(int fd, struct stat* st);
    int (*closeRead)(int fd);
};

// The table in use: the system's own calls unless a test swapped some.
FileSystemCalls& fileSystemCalls();
// The system's own calls, for a test that wraps them.
const FileSystemCalls& systemFileSystemCalls();

#endif
