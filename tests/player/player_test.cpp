#include "playertestutil.h"

#include "player/demosetup.h"

#include <gtest/gtest.h>

namespace {

class PlayerTest : public PlayerFolderTest {};

TEST_F(PlayerTest, SaveThenOpenKeepsTheFieldsAndAppendAddsOneRecord) {
    TPlayer p(settings(), "pilot.sav");
    fillFields(p);
    ASSERT_EQ(kSaveOk, p.saveFile());
    EXPECT_EQ(record(p), dir.read("pilot.sav"));
    TPlayer q(settings(), "pilot.sav");
    ASSERT_EQ(0, q.openFile());
    EXPECT_EQ(fieldBytes(p), fieldBytes(q));

    dir.write("m", "head");
    ASSERT_EQ(kSaveOk, p.saveAsFile(dir.file("m").c_str(), true));
    EXPECT_EQ("head" + record(p), dir.read("m"));
}

TEST_F(PlayerTest, SaveOverItsOwnTemplate) {
    TPlayer p(settings(), "template.sav");
    fillFields(p);
    ASSERT_EQ(kSaveOk, p.saveAsFile(dir.file("template.sav").c_str(), false));
    EXPECT_EQ(record(p), dir.read("template.sav"));
    EXPECT_EQ("template.sav", dir.listing()); // nothing temporary left anywhere
}

// A template that cannot be read whole is the readers' table's (tests/cli).
TEST_F(PlayerTest, FailuresLeaveTheTargetAsItWas) {
    for (const char* target : {"nowhere/pilot.sav", "afolder"}) {
        TempDir d;
        d.write("template.sav", tmpl);
        d.write("pilot.sav", "precious");
        std::filesystem::create_directory(d.path() / "afolder");
        std::string before = d.listing();
        TPlayer p(settingsIn(d, "template.sav"), "pilot.sav");
        fillFields(p);
        EXPECT_EQ(kSaveTargetFailed, p.saveAsFile(d.file(target).c_str(), false)) << target;
        EXPECT_EQ("precious", d.read("pilot.sav")) << target;
        EXPECT_EQ(before, d.listing()) << target;
    }
}

// Whatever a caller passes, a record is written into the SAV folder as a file the list shows,
// and under the name that file has on disk.
TEST_F(PlayerTest, SaveFileStaysInTheSavFolder) {
    std::filesystem::create_directory(dir.path() / "sub");
    dir.write("sub/Ace.sav", "old");
    TDrovakSettingsXfer inSub = settings();
    std::strcat(inSub.savPath.data(), "sub/");
    std::string outside = dir.listing();
    for (const char* name : {"../escape.sav", "x/y.sav", "..", ".hidden.sav", ""}) {
        TPlayer p(inSub, name);
        fillFields(p);
        EXPECT_EQ(kSaveTargetFailed, p.saveFile()) << name;
        EXPECT_EQ(-1, p.openFile()) << name;
    }
    EXPECT_EQ(outside, dir.listing());
    EXPECT_EQ("Ace.sav", TempDir::listingOf(dir.path() / "sub"));

    TPlayer p(inSub, "ACE.sav");
    fillFields(p);
    ASSERT_EQ(kSaveOk, p.saveFile());
    EXPECT_EQ("Ace.sav", TempDir::listingOf(dir.path() / "sub"));
    EXPECT_EQ(kSavSize, dir.read("sub/Ace.sav").size());
    EXPECT_EQ(0, p.openFile());
}

TEST_F(PlayerTest, OpenMissingFileClearsEveryByte) {
    TPlayer p(settings(), "missing.sav");
    fillFields(p);
    p.callsign[20] = 'Z';
    EXPECT_EQ(-1, p.openFile());
    EXPECT_EQ(std::string(fieldBytes(p).size(), '\0'), fieldBytes(p));

    TPlayer unnamed(settings(), "");
    EXPECT_EQ(-1, unnamed.openFile()); // the folder itself is not a file
}

TEST_F(PlayerTest, OpenTemplateAndItsDefaults) {
    std::string file = tmpl;
    file.replace(80, 8, std::string("MAVERICK"));
    dir.write("template.sav", file);
    TPlayer p(settings(), "");
    EXPECT_EQ(0, p.openTemplate());
    EXPECT_EQ(file.substr(80, 21), std::string(p.callsign.data(), 21));

    std::filesystem::remove(dir.path() / "template.sav");
    EXPECT_EQ(-1, p.openTemplate());
    EXPECT_STREQ("BULLDOG", p.callsign.data());
    EXPECT_STREQ("DROVAK", p.squadronName.data());
    EXPECT_STREQ("", p.squadronPassword.data());
    EXPECT_STREQ("", p.ipAddress.data());
    EXPECT_STREQ("RAPTOR", p.serverName.data());
    EXPECT_EQ(0, p.side[0]);
}

// Copies carry the bytes after a terminator too; a player takes only the paths of the settings.
TEST_F(PlayerTest, CopiesCarryEveryByteAndOnlyThePaths) {
    TDrovakSettingsXfer s = settings();
    s.soundOn = 1;
    std::strcpy(s.lastLoadedFile.data(), "last.sav");
    TPlayer p(s, "pilot.sav");
    fillFields(p);
    p.callsign[15] = 'H'; // hidden after the text's end
    TPlayer copy(p);
    TPlayer assigned(TDrovakSettingsXfer{}, "other.sav");
    assigned.assignPlayer(p);
    for (const TPlayer* q : {&p, &copy, &assigned}) {
        EXPECT_EQ(fieldBytes(p), fieldBytes(*q));
        EXPECT_STREQ("pilot.sav", q->getFileName());
        EXPECT_STREQ(s.savPath.data(), q->getSavPath());
        EXPECT_STREQ(s.templatePath.data(), q->xfer.templatePath.data());
        EXPECT_STREQ(s.raptorPath.data(), q->xfer.raptorPath.data());
        EXPECT_EQ(0, q->xfer.soundOn);
        EXPECT_STREQ("", q->xfer.lastLoadedFile.data());
    }
}

// The demo set-up: a second run keeps the pilots it finds; a folder whose game folder the
// settings cannot hold is refused.
TEST(DemoSetup, KeepsWhatIsThereAndRefusesAFolderTooLong) {
    TempDir dir;
    const std::string tmpl = DROVAK_ASSETS_DIR "/template.sav";
    TDrovakSettingsXfer settings;
    ASSERT_TRUE(makeDemoSetup(tmpl, dir.folder(), settings));
    dir.write("pilots/ace.sav", "mine");
    ASSERT_TRUE(makeDemoSetup(tmpl, dir.folder(), settings));
    EXPECT_EQ("mine", dir.read("pilots/ace.sav"));
    EXPECT_FALSE(
        makeDemoSetup(tmpl, dir.folder() + std::string(kSettingsPathCapacity, 'x'), settings));
}

} // namespace
