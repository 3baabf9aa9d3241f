#include "playertestutil.h"

#include "settings/programfolder.h"
#include "support/base64.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ExportTest : public PlayerFolderTest {
  protected:
    TempDir program;
    void SetUp() override { PlayerFolderTest::SetUp(), setDrovakPath(program.folder().c_str()); }
    void TearDown() override { setDrovakPath(""); }
};

// The game reads its one file of whatever case: a second spelling beside it would go unread.
TEST_F(ExportTest, LoadReplacesRaptorSavOfAnyCase) {
    for (const std::string existing : {"raptor.sav", "RAPTOR.SAV", "Raptor.sav", ""}) {
        const std::string written = existing.empty() ? "raptor.sav" : existing; // none yet
        TempDir folder;
        folder.write("template.sav", tmpl);
        if (!existing.empty()) {
            folder.write(existing, std::string(600, 'r'));
        }
        TPlayer p = filled(settingsIn(folder, "template.sav"), "pilot.sav");
        ASSERT_EQ(kSaveOk, p.loadFile()) << written;
        EXPECT_EQ(record(p), folder.read(written));
        EXPECT_EQ(written + " template.sav", folder.listing());
    }
}

// The header part with its lines ended in CR LF, then the record as a base64 attachment.
TEST_F(ExportTest, MessageByteForByte) {
    const std::string boundary = "------=_NextPart_000_0006_01C1BC2B.043FF300";
    const std::string longLine(400, 'L'); // stays whole
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"To: a\nSubject: b\n", "To: a\r\nSubject: b\r\n"},
        {"To: a\r\n\r\nx\r\n", "To: a\r\n\r\nx\r\n"}, {longLine + "\n", longLine + "\r\n"},
        {"To: a\nX-Unsent: 1", "To: a\r\nX-Unsent: 1\r\n"}};
    // clang-format on
    TPlayer p = filled(settings(), "pilot.sav");
    for (const auto& [send, copied] : cases) {
        program.write("send", send);
        ASSERT_EQ(kSaveOk, p.emailFile()) << send;
        EXPECT_EQ(copied + "\r\n" + boundary +
                      "\r\nContent-Type: application/octet-stream;\r\n\tname=\"pilot.sav\"\r\n"
                      "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
                      "\tfilename=\"pilot.sav\"\r\n\r\n" +
                      base64Encode(record(p), 76) + boundary + "--\r\n",
                  program.read("send.eml"))
            << send;
    }
}

// A mail program reads every name back as it was, and no byte of a name ends its header line.
// The record's bytes that mail programs rewrite (NUL, line ends, ^Z, 0xFF) arrive unchanged.
TEST_F(ExportTest, AnyNameStaysInItsHeaderAndTheAttachmentArrivesIntact) {
    std::filesystem::copy_file(std::filesystem::path(DROVAK_ASSETS_DIR) / "send",
                               program.path() / "send");
    const std::string awkward("\0\n\r\x1A\xFF\r\n\n\r", 9);
    for (tmpl.clear(); tmpl.size() < kSavSize; tmpl += awkward) {
    }
    dir.write("template.sav", tmpl);
    // UTF-8; the game's 8-bit e acute; UTF-8 at the lowest leads of two and three bytes; the
    // euro sign's 8-bit code, no UTF-8 lead.
    const std::string names[] = {"pilot.sav",         "ace 1.sav",
                                 "say \"hi\".sav",    "evil\r\nBcc: x@example.org\r\n.sav",
                                 "back\\slash\t.sav", "Zo\xC3\xAB \xE9\xA3\x9B.sav",
                                 "caf\xE9.sav",       "\xC2\xA9\xE0\xA4\x85.sav",
                                 "\x80.sav"};
    for (const std::string& name : names) {
        TPlayer p(settings(), name.c_str());
        ASSERT_EQ(kSaveOk, p.emailFile()) << name;
#ifndef _WIN32 // Python's email package reads it back as a mail program would (mailcheck.py)
        program.write("name", name);
        program.write("record.sav", record(p));
        const std::string check = std::string(DROVAK_PYTHON) + " '" + DROVAK_MAILCHECK + "' '" +
                                  program.file("send.eml") + "' '" + program.file("name") + "' '" +
                                  program.file("record.sav") + "' >'" + program.file("why") +
                                  "' 2>&1";
        EXPECT_EQ(0, std::system(check.c_str())) << name << ": " << program.read("why");
#endif
    }
    // Plain names stand in quotes; any other keeps its letters, digits and the marks a token
    // allows, and says which character set its percent codes are in.
    const std::pair<std::string, std::string> parameters[] = {
        {" ~.sav", "filename=\" ~.sav\""},
        {"09AZaz!~\xE9.sav", "filename*=windows-1252''09AZaz!~%E9.sav"},
        {"\xDF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF.sav",
         "filename*=utf-8''%DF%BF%EF%BF%BD%F4%8F%BF%BF.sav"},          // highest leads
        {"\xE0\x9F\xBF.sav", "filename*=windows-1252''%E0%9F%BF.sav"}, // overlong, not UTF-8
        {"\xF0\x9F\x9B\xA9.sav", "filename*=utf-8''%F0%9F%9B%A9.sav"}, // four bytes
    };
    for (const auto& [name, parameter] : parameters) {
        TPlayer p(settings(), name.c_str());
        ASSERT_EQ(kSaveOk, p.emailFile()) << name;
        EXPECT_NE(std::string::npos, program.read("send.eml").find("\t" + parameter + "\r\n"))
            << parameter;
    }
}

TEST_F(ExportTest, MessageFailuresWriteNoMessage) {
    TPlayer p = filled(settings(), "pilot.sav");
    EXPECT_EQ(kSaveTargetFailed, p.emailFile()); // no header part
    EXPECT_FALSE(program.exists("send.eml"));

    program.write("send", "To: a\n");
    std::filesystem::remove(dir.path() / "template.sav");
    // Without its attachment the message would be useless: it is not written.
    EXPECT_NE(kSaveOk, p.emailFile());
    EXPECT_FALSE(program.exists("send.eml"));
}

} // namespace
