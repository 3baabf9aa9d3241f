#include "playertestutil.h"

#include "player/demosetup.h"

#include <gtest/gtest.h>

namespace {

class PlayerTest : public PlayerFolderTest {};

TEST_F(PlayerTest, SaveThenOpenKeepsTheFieldsAndAppendAddsOneRecord) {
    TPlayer p = filled(settings(), "pilot.sav");
    ASSERT_EQ(kSaveOk, p.saveFile());
    EXPECT_EQ(record(p), dir.read("pilot.sav"));
    TPlayer q(settings(), "pilot.sav");
    ASSERT_EQ(0, q.openFile());
    EXPECT_EQ(fieldBytes(p), fieldBytes(q));

    dir.write("m", "head");
    ASSERT_EQ(kSaveOk, p.saveAsFile(dir.file("m").c_str(), true));
    EXPECT_EQ("head" + record(p), dir.read("m"));
    // Over its own template, read whole before the target is touched; nothing temporary left.
    ASSERT_EQ(kSaveOk, p.saveAsFile(dir.file("template.sav").c_str(), false));
    EXPECT_EQ(record(p), dir.read("template.sav"));
    EXPECT_EQ("m pilot.sav template.sav", dir.listing());
}

// Whatever a caller passes, Save writes into the SAV folder a file the list shows, under the
// name it has on disk; a target that cannot be written changes nothing, and a failed open
// leaves no field of the record it replaced. A template not read whole is the readers' table's
// (tests/cli).
TEST_F(PlayerTest, RefusedTargetsChangeNothing) {
    std::filesystem::create_directories(dir.path() / "sub" / "afolder");
    dir.write("sub/Ace.sav", "old");
    TDrovakSettingsXfer inSub = settingsIn(dir, "template.sav");
    std::strcat(inSub.savPath.data(), "sub/");
    auto listing = [&] { return dir.listing() + " / " + TempDir::listingOf(dir.path() / "sub"); };
    const std::string before = listing();
    for (const char* name : {"../escape.sav", "x/y.sav", "..", ".hidden.sav", ""}) {
        TPlayer p = filled(inSub, name);
        EXPECT_EQ(kSaveTargetFailed, p.saveFile()) << name;
        EXPECT_EQ(-1, p.openFile()) << name;
        EXPECT_EQ(std::string(fieldBytes(p).size(), '\0'), fieldBytes(p)) << name;
    }
    for (const char* target : {"sub/nowhere/pilot.sav", "sub/afolder"}) {
        TPlayer p = filled(inSub, "pilot.sav");
        EXPECT_EQ(kSaveTargetFailed, p.saveAsFile(dir.file(target).c_str(), false)) << target;
    }
    EXPECT_EQ(before, listing());
    EXPECT_EQ("old", dir.read("sub/Ace.sav"));

    TPlayer p = filled(inSub, "ACE.sav");
    ASSERT_EQ(kSaveOk, p.saveFile());
    EXPECT_EQ(before, listing());
    EXPECT_EQ(kSavSize, dir.read("sub/Ace.sav").size());
    EXPECT_EQ(0, p.openFile());
}

TEST_F(PlayerTest, OpenTemplateAndItsDefaults) {
    dir.write("template.sav", std::string(tmpl).replace(80, 8, "MAVERICK"));
    TPlayer p(settings(), "");
    EXPECT_EQ(0, p.openTemplate());
    EXPECT_EQ("MAVERICK" + tmpl.substr(88, 13), std::string(p.callsign.data(), 21));

    std::filesystem::remove(dir.path() / "template.sav");
    EXPECT_EQ(-1, p.openTemplate());
    TPlayer defaults(settings(), "");
    setField(defaults.callsign, "BULLDOG");
    setField(defaults.squadronName, "DROVAK");
    setField(defaults.serverName, "RAPTOR");
    EXPECT_EQ(fieldBytes(defaults), fieldBytes(p));
}

// Copies carry the bytes after a terminator too, which a save writes, and the paths.
TEST_F(PlayerTest, CopiesCarryEveryByteAndThePaths) {
    TPlayer p = filled(settings(), "pilot.sav");
    p.callsign[15] = 'H';
    TPlayer copy(p);
    TPlayer assigned(TDrovakSettingsXfer{}, "other.sav");
    assigned.assignPlayer(p);
    for (const TPlayer* q : {&p, &copy, &assigned}) {
        EXPECT_EQ(fieldBytes(p) + "pilot.sav|" + dir.folder() + "|" + dir.file("template.sav") +
                      dir.folder(),
                  fieldBytes(*q) + q->getFileName() + "|" + q->getSavPath() + "|" +
                      q->xfer.templatePath.data() + q->xfer.raptorPath.data());
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
