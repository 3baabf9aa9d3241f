#include "playertestutil.h"

#include <gtest/gtest.h>

namespace {

class PlayerTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string tmpl = patternBytes(kSavSize);
    void SetUp() override { dir.write("template.sav", tmpl); }
    TDrovakSettingsXfer settings() const { return settingsIn(dir, "template.sav"); }
};

TEST_F(PlayerTest, SaveThenOpenKeepsTheFields) {
    TPlayer p(settings(), "pilot.sav");
    fillFields(p);
    ASSERT_EQ(kSaveOk, p.saveFile());
    EXPECT_EQ(kSavSize, dir.read("pilot.sav").size());

    TPlayer q(settings(), "pilot.sav");
    ASSERT_EQ(0, q.openFile());
    EXPECT_STREQ("~1ACE~2X", q.callsign.data());
    EXPECT_STREQ("SQUAD", q.squadronName.data());
    EXPECT_STREQ("PW", q.squadronPassword.data());
    EXPECT_STREQ("10.0.0.1", q.ipAddress.data());
    EXPECT_STREQ("SERVER", q.serverName.data());
    EXPECT_EQ(2, q.side[0]);
}

TEST_F(PlayerTest, SaveOverItsOwnTemplate) {
    TPlayer p(settings(), "template.sav");
    fillFields(p);
    ASSERT_EQ(kSaveOk, p.saveAsFile(dir.file("template.sav").c_str(), false));
    std::string now = dir.read("template.sav");
    auto expected = composeSav(p, tmpl);
    EXPECT_EQ(std::string(expected.data(), expected.size()), now);
    EXPECT_EQ("template.sav", dir.listing()); // nothing temporary left anywhere
}

struct FailureCase {
    const char* why;
    bool removeTemplate;
    const char* target; // relative to the folder
    int status;
};

TEST_F(PlayerTest, FailuresLeaveTheTargetAsItWas) {
    const FailureCase cases[] = {
        {"missing template", true, "pilot.sav", kSaveTemplateFailed},
        {"folder that does not exist", false, "nowhere/pilot.sav", kSaveTargetFailed},
        {"target is a folder", false, "afolder", kSaveTargetFailed},
    };
    for (const auto& c : cases) {
        TempDir d;
        d.write("template.sav", tmpl);
        d.write("pilot.sav", "precious");
        std::filesystem::create_directory(d.path() / "afolder");
        if (c.removeTemplate) {
            std::filesystem::remove(d.path() / "template.sav");
        }
        std::string before = d.listing();
        TPlayer p(settingsIn(d, "template.sav"), "pilot.sav");
        fillFields(p);
        EXPECT_EQ(c.status, p.saveAsFile(d.file(c.target).c_str(), false)) << c.why;
        EXPECT_EQ("precious", d.read("pilot.sav")) << c.why;
        EXPECT_EQ(before, d.listing()) << c.why;
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

TEST_F(PlayerTest, AppendAddsOneRecord) {
    dir.write("m", "head");
    TPlayer p(settings(), "pilot.sav");
    fillFields(p);
    ASSERT_EQ(kSaveOk, p.saveAsFile(dir.file("m").c_str(), true));
    auto record = composeSav(p, tmpl);
    EXPECT_EQ("head" + std::string(record.data(), record.size()), dir.read("m"));
}

TEST_F(PlayerTest, OpenMissingFileClearsEveryByte) {
    TPlayer p(settings(), "missing.sav");
    fillFields(p);
    p.callsign[20] = 'Z';
    EXPECT_EQ(-1, p.openFile());
    for (char c : p.callsign) {
        EXPECT_EQ('\0', c);
    }
    EXPECT_STREQ("", p.serverName.data());
    EXPECT_EQ(0, p.side[0]);

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

TEST_F(PlayerTest, CopiesCarryBytesAfterTheTerminator) {
    TPlayer p(settings(), "pilot.sav");
    fillFields(p);
    p.callsign[15] = 'H'; // hidden after the text's end
    TPlayer copy(p);
    TPlayer assigned(TDrovakSettingsXfer{}, "other.sav");
    assigned.assignPlayer(p);
    for (const TPlayer* q : {&copy, &assigned}) {
        EXPECT_EQ(p.callsign, q->callsign);
        EXPECT_EQ(p.side, q->side);
        EXPECT_STREQ("pilot.sav", q->getFileName());
        EXPECT_STREQ(p.xfer.templatePath.data(), q->xfer.templatePath.data());
        auto a = composeSav(p, tmpl);
        auto b = composeSav(*q, tmpl);
        EXPECT_EQ(a, b);
    }
}

TEST_F(PlayerTest, SettingsCopyTakesOnlyThePaths) {
    TDrovakSettingsXfer s = settings();
    s.soundOn = 1;
    std::strcpy(s.lastLoadedFile.data(), "last.sav");
    TPlayer p(s, "a.sav");
    EXPECT_STREQ(s.savPath.data(), p.getSavPath());
    EXPECT_EQ(0, p.xfer.soundOn);
    EXPECT_STREQ("", p.xfer.lastLoadedFile.data());
}

} // namespace
