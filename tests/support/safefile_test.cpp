#include "support/safefile.h"

#include "common/filesizelimit.h"
#include "common/fsfaults.h"
#include "common/tempdir.h"

#include <algorithm>
#include <numeric>
#include <regex>
#include <tuple>
#ifndef _WIN32
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

std::span<const char> bytesOf(const std::string& s) {
    return {s.data(), s.size()};
}

#ifndef _WIN32
// Links, modes, owners and the system calls of the write are POSIX matters.
mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool isOurTemporary(const std::string& path) {
    static const std::regex pattern(R"(\.drovak-[A-Za-z0-9]{6}\.tmp)");
    return std::regex_match(fs::path(path).filename().string(), pattern);
}

// Run as root, the target is given away first: its owner stays, and so do its set-id bits,
// which a change of owner clears.
TEST(ReplaceFile, KeepsWhatTheTargetIs) {
    mode_t umaskNow = ::umask(022);
    ::umask(umaskNow);
    const mode_t fresh = 0666 & ~umaskNow;
    const bool root = ::geteuid() == 0;
    const mode_t plainMode = root ? 02640 : 0640;
    // why, the name the write is given, the file that gets the bytes, its mode afterwards
    // clang-format off
    const std::tuple<const char*, const char*, const char*, mode_t> cases[] = {
        {"plain file", "plain.sav", "plain.sav", plainMode},
        {"private", "private.sav", "private.sav", 0600}, {"new", "fresh.sav", "fresh.sav", fresh},
        {"chain of links", "link.sav", "real/pilot.sav", 0604},
        {"dangling link creates what it names", "dangling.sav", "real/new.sav", fresh}};
    // clang-format on
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    dir.write("plain.sav", "old"); // given away before its mode is set
    ASSERT_TRUE(!root || ::chown(dir.file("plain.sav").c_str(), 1234, 5678) == 0);
    for (const auto& [name, mode] : {std::pair<const char*, mode_t>{"plain.sav", plainMode},
                                     {"private.sav", 0600},
                                     {"real/pilot.sav", 0604}}) {
        dir.write(name, "old");
        fs::permissions(dir.file(name), fs::perms(mode));
    }
    fs::create_symlink("hop.sav", dir.path() / "link.sav");
    fs::create_symlink("real/pilot.sav", dir.path() / "hop.sav");
    fs::create_symlink(dir.file("real/new.sav"), dir.path() / "dangling.sav");
    std::string bytes(440, '\0');
    std::iota(bytes.begin(), bytes.end(), '\7');
    for (const auto& [why, given, lands, mode] : cases) {
        // Writes cut short and interrupted, and names already taken, change nothing of that.
        FileSystemFaults calls;
        calls.shortWrites(7);
        calls.takeNames(150);
        ASSERT_TRUE(replaceFileContents(dir.file(given), bytesOf(bytes))) << why;
        EXPECT_EQ(bytes, dir.read(lands)) << why;
        EXPECT_EQ(mode, modeOf(dir.file(lands))) << why;
        // The temporary sits next to the file it becomes, and that folder is synced after the
        // rename, so the new name survives a crash.
        std::string folder = fs::path(dir.file(lands)).parent_path().string() + "/";
        const auto& log = calls.log();
        auto renamed = std::find_if(log.begin(), log.end(), [](const std::string& call) {
            return call.starts_with("rename ");
        });
        EXPECT_NE(log.end(), std::find(renamed, log.end(), "fsync " + folder)) << why;
        // Nothing but temporaries is opened before the rename; the last is the one created...
        std::string created;
        for (auto call = log.begin(); call != renamed; ++call) {
            if (call->starts_with("open ")) {
                created = call->substr(5);
                EXPECT_TRUE(created.starts_with(folder) && isOurTemporary(created))
                    << why << ": " << *call;
            }
        }
        ASSERT_FALSE(created.empty()) << why;
        // ...and its bytes are on the disk before the name points at them.
        EXPECT_NE(renamed, std::find(log.begin(), renamed, "fsync " + created)) << why;
    }
    for (const char* link : {"link.sav", "hop.sav", "dangling.sav"})
        EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
    EXPECT_EQ("dangling.sav fresh.sav hop.sav link.sav plain.sav private.sav real", dir.listing());
    EXPECT_EQ("new.sav pilot.sav", TempDir::listingOf(dir.path() / "real"));
    struct stat st {};
    ASSERT_EQ(0, ::stat(dir.file("plain.sav").c_str(), &st));
    EXPECT_EQ(std::pair(st.st_uid, st.st_gid),
              root ? std::pair(1234u, 5678u) : std::pair(::geteuid(), ::getegid()));
}

// A write that cannot go through changes nothing: a read-only pilot (for root too, and through a
// link), a link that cannot be read whole, a write that takes no byte and reports no error.
TEST(ReplaceFile, RefusesAndChangesNothing) {
    TempDir dir;
    dir.write("locked.sav", "old");
    dir.write("pilot.sav", "old");
    fs::permissions(dir.file("locked.sav"), fs::perms(0444));
    fs::create_symlink("locked.sav", dir.path() / "to-locked.sav");
    fs::create_symlink("pilot.sav", dir.path() / "link.sav");
    const std::string listing = dir.listing();
    using ReadLink = ssize_t (*)(const char*, char*, size_t);
    // name, readlink (null: the system's), every write takes no byte, error (0: not checked)
    const std::tuple<const char*, ReadLink, bool, int> cases[] = {
        {"locked.sav", nullptr, false, EACCES},
        {"to-locked.sav", nullptr, false, EACCES},
        {"link.sav",
         [](const char*, char*, size_t) -> ssize_t {
             errno = EIO;
             return -1;
         },
         false, 0},
        {"link.sav", [](const char*, char*, size_t) -> ssize_t { return 0; }, false, 0},
        // A target that fills the room may have been cut.
        {"link.sav",
         [](const char*, char* buf, size_t size) -> ssize_t {
             std::fill_n(buf, size, 'x');
             return static_cast<ssize_t>(size);
         },
         false, 0},
        {"pilot.sav", nullptr, true, EIO}, // rather than spinning
    };
    for (const auto& [name, readLink, takesNothing, error] : cases) {
        FileSystemFaults calls; // puts the system's calls back afterwards
        if (readLink)
            fileSystemCalls().readlink = readLink;
        if (takesNothing)
            calls.shortWrites(0);
        errno = 0;
        EXPECT_FALSE(replaceFileContents(dir.file(name), bytesOf("new"))) << name;
        EXPECT_TRUE(error == 0 || error == errno) << name << ": " << errno;
        EXPECT_EQ("old old", dir.read("locked.sav") + " " + dir.read("pilot.sav")) << name;
        EXPECT_EQ(0444u, modeOf(dir.file("locked.sav"))) << name;
        EXPECT_TRUE(fs::is_symlink(dir.path() / "link.sav") &&
                    fs::is_symlink(dir.path() / "to-locked.sav"))
            << name;
        EXPECT_EQ(listing, dir.listing()) << name;
    }
}

#endif

TEST(SafeFile, OnlyOurOwnTemporariesAreRemovedAndAppendsAndReadsSayWhenTheyFail) {
    TempDir dir;
    dir.write("a.sav", "old");
    // Names another program (or an older one of ours) may use, and near misses of our own.
    std::vector<std::string> strays = {".drovak-Ab12x.tmp", ".drovak-Ab12xYZ.tmp",
                                       "drovak-Ab12xY.tmp", ".drovak-Ab_2xY.tmp",
                                       ".drovak-Ab12xY.tmp.sav"};
#ifndef _WIN32 // one name with the crash's on a case-blind disk
    strays.push_back(".Drovak-Ab12xY.tmp");
#endif
    for (int i = 0; i < 100; ++i)
        strays.push_back("a.sav.tmp" + std::to_string(i));
    for (const auto& name : strays)
        dir.write(name, "someone else's");
    fs::create_directory(dir.path() / ".drovak-Folder.tmp");
#ifndef _WIN32 // Wine makes no symbolic links
    fs::create_symlink("a.sav", dir.path() / ".drovak-Link00.tmp");
#endif
    const std::string kept = dir.listing();
    dir.write(".drovak-Ab12xY.tmp", "left by a crash");
    dir.write(".drovak-000000.tmp", "left by a crash");

    ASSERT_TRUE(replaceFileContents(dir.file("a.sav"), bytesOf("new")));
    removeLeftoverTemporaries(dir.folder());
    EXPECT_EQ(kept, dir.listing());
    EXPECT_EQ("new", dir.read("a.sav"));
    for (const auto& name : strays)
        EXPECT_EQ("someone else's", dir.read(name)) << name;
    removeLeftoverTemporaries(dir.folder() + "missing/"); // nothing to do, no harm

    // Appends, and reads.
    dir.write("m.eml", "head");
    EXPECT_TRUE(appendFileContents(dir.file("m.eml"), bytesOf("tail")) &&
                dir.read("m.eml") == "headtail");
#ifndef _WIN32
    {
        FileSizeLimit limit(10);
        EXPECT_FALSE(appendFileContents(dir.file("m.eml"), bytesOf(std::string(100, 'x'))));
    }
#endif
    EXPECT_FALSE(appendFileContents(dir.file("no/m.eml"), bytesOf("x")));

    // Reads: short, long and missing files.
    dir.write("s", "abc");
    std::string out;
#ifdef __linux__
    const std::size_t descriptors = openDescriptors();
#endif
    EXPECT_TRUE(readFilePrefix(dir.file("s"), 440, out) && out == "abc") << out;
    dir.write("l", std::string(500, 'l'));
    EXPECT_TRUE(readFilePrefix(dir.file("l"), 440, out) && out.size() == 440) << out.size();
    EXPECT_TRUE(readWholeFile(dir.file("l"), out) && out.size() == 500) << out.size();
    EXPECT_FALSE(readFilePrefix(dir.file("missing"), 440, out));
    // A folder named as a template is no file of zeros.
    EXPECT_FALSE(readFilePrefix(dir.path().string(), 440, out));
    EXPECT_EQ("", out);
#ifdef __linux__
    EXPECT_EQ(descriptors, openDescriptors()); // each read closes what it opened
#endif
}

} // namespace
