#include "playertestutil.h"

#include "settings/programfolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace {

class ExportTest : public ::testing::Test {
  protected:
    TempDir game;
    TempDir program;
    std::string tmpl = patternBytes(kSavSize);
    void SetUp() override {
        game.write("template.sav", tmpl);
        setDrovakPath(program.folder().c_str());
    }
    void TearDown() override { setDrovakPath(""); }
    TPlayer player() {
        TPlayer p(settingsIn(game, "template.sav"), "pilot.sav");
        fillFields(p);
        return p;
    }
    std::string record(const TPlayer& p) {
        auto r = composeSav(p, tmpl);
        return std::string(r.data(), r.size());
    }
};

// The game reads its one file of whatever case: a second spelling beside it would go unread.
TEST_F(ExportTest, LoadReplacesRaptorSavOfAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"raptor.sav", "raptor.sav"},
        {"RAPTOR.SAV", "RAPTOR.SAV"},
        {"Raptor.sav", "Raptor.sav"},
        {nullptr, "raptor.sav"}, // none yet
    };
    for (const auto& [existing, written] : cases) {
        TempDir folder;
        folder.write("template.sav", tmpl);
        if (existing != nullptr) {
            folder.write(existing, std::string(600, 'r'));
        }
        TPlayer p(settingsIn(folder, "template.sav"), "pilot.sav");
        fillFields(p);
        ASSERT_EQ(kSaveOk, p.loadFile()) << written;
        EXPECT_EQ(record(p), folder.read(written));
        EXPECT_EQ(std::string(written) + " template.sav", folder.listing());

        std::filesystem::remove(folder.path() / "template.sav");
        EXPECT_EQ(kSaveTemplateFailed, p.loadFile());
        EXPECT_EQ(record(p), folder.read(written));
    }
}

std::string parts(const std::string& name) {
    return "\r\n------=_NextPart_000_0006_01C1BC2B.043FF300\r\n"
           "Content-Type: text/plain;\r\n"
           "\tname=\"" +
           name +
           "\"\r\n"
           "Content-Transfer-Encoding: 7bit\r\n"
           "Content-Disposition: attachment;\r\n"
           "\tfilename=\"" +
           name + "\"\r\n\r\n";
}

TEST_F(ExportTest, MessageByteForByte) {
    struct Case {
        const char* why;
        std::string send;
        std::string copied;
    };
    std::string longLine(400, 'L');
    const Case cases[] = {
        {"empty header part", "", ""},
        {"LF lines", "To: a\nSubject: b\n", "To: a\r\nSubject: b\r\n"},
        {"CR LF lines", "To: a\r\n\r\nx\r\n", "To: a\r\n\r\nx\r\n"},
        {"last line without an end", "To: a\nX-Unsent: 1", "To: a\r\nX-Unsent: 1\r\n"},
        {"a long line stays whole", longLine + "\n", longLine + "\r\n"},
    };
    for (const auto& c : cases) {
        program.write("send", c.send);
        TPlayer p = player();
        ASSERT_EQ(kSaveOk, p.emailFile()) << c.why;
        std::string expected = c.copied + parts("pilot.sav") + record(p) + "\r\n";
        EXPECT_EQ(expected, program.read("send.eml")) << c.why;
    }
}

std::string hexOf(const std::string& bytes) {
    std::string hex;
    for (unsigned char b : bytes) {
        hex += "0123456789abcdef"[b >> 4];
        hex += "0123456789abcdef"[b & 0x0F];
    }
    return hex;
}

// A mail program reads every name back as it was, and no byte of a name ends its header line.
TEST_F(ExportTest, AnyNameStaysInItsHeader) {
    std::filesystem::copy_file(std::filesystem::path(DROVAK_ASSETS_DIR) / "send",
                               program.path() / "send");
    auto compose = [&](const std::string& name, const std::string& file) {
        TPlayer p(settingsIn(game, "template.sav"), name.c_str());
        ASSERT_EQ(kSaveOk, p.emailFile()) << name;
        std::filesystem::rename(program.path() / "send.eml", program.path() / file);
    };
    compose("pilot.sav", "plain.eml");
    const std::string names[] = {
        "ace 1.sav",
        "say \"hi\".sav",
        "evil\r\nBcc: x@example.org\r\n.sav",
        "back\\slash\t.sav",
        "Zo\xC3\xAB \xE9\xA3\x9B.sav", // UTF-8
        "caf\xE9.sav",                 // the game's 8-bit code for e acute
    };
    for (const std::string& name : names) {
        compose(name, "named.eml");
        std::string command = std::string(DROVAK_PYTHON) + " '" + DROVAK_MAILCHECK + "' '" +
                              program.file("plain.eml") + "' '" + program.file("named.eml") + "' " +
                              hexOf(name) + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(nullptr, pipe);
        std::string output;
        std::array<char, 256> chunk{};
        while (std::fgets(chunk.data(), static_cast<int>(chunk.size()), pipe) != nullptr) {
            output += chunk.data();
        }
        EXPECT_EQ(0, pclose(pipe)) << name << ": " << output;
    }
}

TEST_F(ExportTest, MessageFailuresWriteNoMessage) {
    TPlayer p = player();
    EXPECT_EQ(kSaveTargetFailed, p.emailFile()); // no header part
    EXPECT_FALSE(program.exists("send.eml"));

    program.write("send", "To: a\n");
    std::filesystem::remove(game.path() / "template.sav");
    // Without its attachment the message would be useless: it is not written.
    EXPECT_NE(kSaveOk, p.emailFile());
    EXPECT_FALSE(program.exists("send.eml"));
}

} // namespace
