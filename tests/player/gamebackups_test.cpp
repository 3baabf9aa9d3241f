#include "player/gamebackups.h"

#include "playertestutil.h"

#include "common/fsfaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

namespace fs = std::filesystem;

namespace {

// A game folder, the backups under a data folder of its own, times in UTC.
class GameBackupsTest : public ::testing::Test {
  protected:
    TempDir game;
    OwnDataFolder own;
    const TempDir& data = own.data;
    static constexpr const char* kOwnFolder = OwnDataFolder::kOwnFolder;
    ScopedEnv zone{"TZ", "UTC"};
    static constexpr std::time_t kWhen = 1796586052; // 2026-12-06 19:40:52 UTC
    const fs::path folder = data.path() / kOwnFolder / "backups";

    void SetUp() override { tzset(); }
    void TearDown() override { tzset(); }

    static std::string record(const std::string& callsign) {
        return std::string(80, '\0') + callsign +
               std::string(kSavSize - 80 - callsign.size(), '\0');
    }
    std::string backups() const { return TempDir::listingOf(folder); }
};

TEST_F(GameBackupsTest, NamesAreTheTimeAndAPlainCallsign) {
    const std::pair<const char*, const char*> cases[] = {
        {"Maverick", "Maverick"}, {"~7Ice~2 Man", "IceMan"}, // colour codes and blanks dropped
        {"../a\\b:c", "abc"},     {"", "pilot"},
        {"\xe9\xe9", "pilot"},
    };
    for (const auto& [callsign, name] : cases) {
        EXPECT_EQ("2026-12-06_19-40-52_" + std::string(name) + ".sav",
                  backupName(kWhen, record(callsign)))
            << callsign;
    }
}

TEST_F(GameBackupsTest, KeepsTheNewestTwentyNewestFirst) {
    // Files of other shapes in the folder are neither counted, listed nor pruned.
    fs::create_directories(folder);
    TempDir::writeAt(folder / "2026-01-01_00-00-00_.sav", record("OTHER"));
    TempDir::writeAt(folder / "2026-01-01_00-00-0x_A.sav", record("OTHER"));
    EXPECT_TRUE(backupGamePilot(game.folder(), kWhen)); // no raptor.sav: nothing to keep
    EXPECT_FALSE(hasGameBackups());
    for (int i = 0; i < 22; ++i) {
        game.write("raptor.sav", record(std::string("P").append(std::to_string(i))));
        ASSERT_TRUE(backupGamePilot(game.folder(), kWhen + i * 60));
    }
    EXPECT_TRUE(hasGameBackups());
    std::vector<TGameBackup> kept = listGameBackups();
    ASSERT_EQ(kBackupsKept, kept.size());
    EXPECT_EQ("P21", kept.front().callsign);
    EXPECT_EQ("2026-12-06 20:01:52", kept.front().time);
    EXPECT_EQ("P2", kept.back().callsign);
    EXPECT_EQ(record("P21"), readWholeFile(kept.front().path));

    // Within one second: the same record is kept once, another one beside it and newer.
    ASSERT_TRUE(backupGamePilot(game.folder(), kWhen + 21 * 60));
    EXPECT_EQ(kBackupsKept, listGameBackups().size());
    game.write("raptor.sav", record("P21") + "x");
    ASSERT_TRUE(backupGamePilot(game.folder(), kWhen + 21 * 60));
    kept = listGameBackups();
    EXPECT_EQ(record("P21") + "x", readWholeFile(kept.front().path));
    EXPECT_EQ(record("P21"), readWholeFile(kept.at(1).path));
    EXPECT_EQ("2026-01-01_00-00-00_.sav 2026-01-01_00-00-0x_A.sav", backups().substr(0, 50));
    // The list shows a callsign as the game does, without colour codes, and unprintable bytes
    // as '?'.
    game.write("raptor.sav", record(" ~1ok\x7f\x1f"));
    ASSERT_TRUE(backupGamePilot(game.folder(), kWhen + 99 * 60));
    EXPECT_EQ(" ok??", listGameBackups().front().callsign);
}

TEST_F(GameBackupsTest, RestoreKeepsTheCurrentPilotFirst) {
    game.write("raptor.sav", record("OLD"));
    ASSERT_TRUE(backupGamePilot(game.folder(), kWhen));
    game.write("raptor.sav", record("NEW"));
    const TGameBackup chosen = listGameBackups().front();
    EXPECT_EQ(TRestoreStatus::Ok, restoreGamePilot(game.folder(), chosen, kWhen + 5));
    EXPECT_EQ(record("OLD"), game.read("raptor.sav"));
    EXPECT_EQ("2026-12-06_19-40-52_OLD.sav 2026-12-06_19-40-57_NEW.sav", backups());

    // Cut short, overgrown or gone, a backup is no pilot to put into the game.
    for (const std::string& kept : {record("CUT").substr(0, 439), record("LONG") + "x", {}}) {
        kept.empty() ? void(fs::remove(chosen.path)) : TempDir::writeAt(chosen.path, kept);
        EXPECT_EQ(TRestoreStatus::BackupUnreadable,
                  restoreGamePilot(game.folder(), chosen, kWhen + 9));
        EXPECT_EQ(record("OLD"), game.read("raptor.sav"));
    }
}

TEST_F(GameBackupsTest, NoBackupFolderKeepsTheGamePilotAsItIs) {
    game.write("raptor.sav", record("OLD"));
    data.write(kOwnFolder, "a file where the folder would be");
    EXPECT_FALSE(backupGamePilot(game.folder(), kWhen));
    TPlayer player(settingsIn(game, "raptor.sav"), "");
    EXPECT_EQ(kSaveBackupFailed, player.loadFile());
    EXPECT_EQ(record("OLD"), game.read("raptor.sav"));
#ifndef _WIN32 // the write's system calls are a POSIX seam
    // A backup the disk refuses.
    fs::remove(data.path() / kOwnFolder);
    FileSystemFaults full;
    full.failCall(1, ENOSPC);
    EXPECT_FALSE(backupGamePilot(game.folder(), kWhen));
#endif
}

} // namespace
