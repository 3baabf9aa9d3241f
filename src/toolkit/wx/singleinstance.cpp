// One program per settings folder on Linux: a lock file held with flock, which the kernel lets
// go of when the holder ends however it ends, and a local socket beside it through which later
// starts hand over their request; both in $XDG_RUNTIME_DIR, the user's own.
#include "support/strutil.h"
#include "toolkit/wx/wxbackend.h"

#include <glib-unix.h>
#include <wx/toplevel.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxRequest = 4096;
constexpr int kReplyWaitMs = 10000;

struct TClaim {
    int lockFd = -1;
    int listenFd = -1;
    guint source = 0;
    TWindow* window = nullptr;
};

TClaim& claim() {
    static TClaim c;
    return c;
}

// The lock's and socket's path without extension: one per user and settings folder.
std::string claimBase(const std::string& key) {
    const std::uint64_t hash = stableHash(key);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    char name[64];
    std::snprintf(name, sizeof name, "/drovak-%u-%016llx", static_cast<unsigned>(getuid()),
                  static_cast<unsigned long long>(hash));
    return std::string(runtime != nullptr && runtime[0] == '/' ? runtime : "/tmp") + name;
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool waitReadable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, ms) == 1;
}

gboolean takeRequest(gint listenFd, GIOCondition, gpointer) {
    int peer = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer < 0) {
        return G_SOURCE_CONTINUE;
    }
    TStartRequest request;
    char buffer[512];
    bool whole = false;
    while (request.file.size() <= kMaxRequest && waitReadable(peer, 2000)) {
        ssize_t n = read(peer, buffer, sizeof buffer);
        if (n <= 0) {
            whole = n == 0;
            break;
        }
        request.file.append(buffer, static_cast<std::size_t>(n));
    }
    TWindow* window = claim().window;
    // Taken before it is carried out: the later start need not wait for any question asked.
    if (whole && window != nullptr && send(peer, "1", 1, MSG_NOSIGNAL) == 1) {
        if (wxWindow* events = window->GetImpl().events) {
            if (auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(events))) {
                top->Iconize(false);
                top->Raise();
            }
        }
        TMsg msg;
        msg.kind = TMsgKind::StartRequest;
        msg.startRequest = &request;
        window->Dispatch(msg);
    }
    close(peer);
    return G_SOURCE_CONTINUE;
}

} // namespace

bool ClaimSingleInstance(const std::string& key) {
    TClaim& c = claim();
    if (c.lockFd >= 0) {
        return true;
    }
    const std::string base = claimBase(key);
    int fd = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return true; // nowhere to keep a lock: no other start can be found either
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    c.lockFd = fd;
    // A socket left by a holder that was killed answers nobody: it goes.
    const std::string path = base + ".sock";
    unlink(path.c_str());
    sockaddr_un address;
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s >= 0 && socketAddress(path, address) &&
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(s, 8) == 0) {
        c.listenFd = s;
    } else if (s >= 0) {
        close(s);
    }
    return true;
}

bool HandToRunningInstance(const std::string& key, const std::string& file) {
    sockaddr_un address;
    if (file.size() > kMaxRequest || !socketAddress(claimBase(key) + ".sock", address)) {
        return false;
    }
    // The running program may have its lock and not yet its socket: a few tries.
    for (int attempt = 0; attempt < 30; ++attempt) {
        int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s < 0) {
            return false;
        }
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            bool sent = file.empty() || send(s, file.data(), file.size(), MSG_NOSIGNAL) ==
                                            static_cast<ssize_t>(file.size());
            char reply = 0;
            bool taken = sent && shutdown(s, SHUT_WR) == 0 && waitReadable(s, kReplyWaitMs) &&
                         read(s, &reply, 1) == 1 && reply == '1';
            close(s);
            return taken;
        }
        close(s);
        usleep(100 * 1000);
    }
    return false;
}

void TWindow::AcceptStartRequests(bool accept) {
    TClaim& c = claim();
    if (!accept) {
        if (c.window == this) {
            c.window = nullptr;
        }
        return;
    }
    c.window = this;
    if (c.source == 0 && c.listenFd >= 0) {
        c.source = g_unix_fd_add(c.listenFd, G_IO_IN, takeRequest, nullptr);
    }
}
