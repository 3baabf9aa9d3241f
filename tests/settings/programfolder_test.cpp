#include "settings/programfolder.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;

void shipTo(const fs::path& folder) {
    fs::create_directories(folder / "help");
    TempDir::writeAt(folder / "chrtable.dv", "table");
    TempDir::writeAt(folder / "drovak.ini", "shipped settings");
    TempDir::writeAt(folder / "help" / "help.htm", "help");
}

TEST(ProgramFolder, BuildTreeOrPortableCopyUsesItsOwnFolder) {
    TempDir dir;
    shipTo(dir.path() / "bin");
    std::string chosen =
        chooseProgramFolder((dir.path() / "bin").string(), "", (dir.path() / "user").string());
    EXPECT_EQ((dir.path() / "bin").string() + "/", chosen);
    EXPECT_FALSE(fs::exists(dir.path() / "user"));
}

TEST(ProgramFolder, InstalledCopyGetsASeededUserFolder) {
    TempDir dir;
    fs::create_directories(dir.path() / "bin");
    shipTo(dir.path() / "share");
    fs::create_directories(dir.path() / "user");
    TempDir::writeAt(dir.path() / "user" / "drovak.ini", "the user's own settings");

    std::string user = (dir.path() / "user").string();
    std::string chosen =
        chooseProgramFolder((dir.path() / "bin").string(), (dir.path() / "share").string(), user);
    EXPECT_EQ(user + "/", chosen);
    EXPECT_EQ("help", readWholeFile(user + "/help/help.htm"));
    EXPECT_EQ("table", readWholeFile(user + "/chrtable.dv"));
    // What the user already has is never replaced by the shipped copy.
    EXPECT_EQ("the user's own settings", readWholeFile(user + "/drovak.ini"));
}

TEST(ProgramFolder, NoUsableFolder) {
    TempDir dir;
    TempDir::writeAt(dir.path() / "file", "x");
    EXPECT_EQ("", chooseProgramFolder(dir.file("nothing"), "", ""));
    // The user folder cannot be made under a file.
    EXPECT_EQ("", chooseProgramFolder(dir.file("nothing"), "", dir.file("file") + "/sub"));
}

TEST(ProgramFolder, UserDataFolderFollowsXdg) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ("/data/home/drovak", userDataFolder());
    setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored
    setenv("HOME", "/home/pilot", 1);
    EXPECT_EQ("/home/pilot/.local/share/drovak", userDataFolder());
    if (saved) {
        setenv("XDG_DATA_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
