#include "playertestutil.h"

#include <gtest/gtest.h>

namespace {

struct FieldSpan {
    const char* name;
    std::size_t offset;
    std::size_t width;
};

// Where each field's bytes must land, and everything else comes from the template.
const FieldSpan kFields[] = {
    {"callsign", 80, 22},   {"squadronName", 102, 22}, {"squadronPassword", 124, 12},
    {"ipAddress", 136, 22}, {"side", 236, 2},          {"serverName", 332, 22},
};

TEST(SavFormat, EveryByteComesFromItsFieldOrTheTemplate) {
    TDrovakSettingsXfer settings;
    TPlayer p(settings, "x.sav");
    fillFields(p);
    // Bytes after a terminator are written too.
    p.callsign[20] = 'Z';
    std::string tmpl = patternBytes(kSavSize);
    auto out = composeSav(p, tmpl);

    std::string expected = tmpl;
    auto lay = [&](std::size_t offset, const char* data, std::size_t n) {
        expected.replace(offset, n, data, n);
    };
    lay(80, p.callsign.data(), 22);
    lay(102, p.squadronName.data(), 22);
    lay(124, p.squadronPassword.data(), 12);
    lay(136, p.ipAddress.data(), 22);
    lay(236, p.side.data(), 2);
    lay(332, p.serverName.data(), 22);
    ASSERT_EQ(kSavSize, out.size());
    for (std::size_t i = 0; i < kSavSize; ++i) {
        ASSERT_EQ(expected[i], out[i]) << "byte " << i;
    }
    for (const auto& f : kFields) {
        EXPECT_EQ('\0', out[f.offset + f.width - 1]) << f.name << " ends in a zero";
    }
}

TEST(SavFormat, IpAddressRule) {
    TDrovakSettingsXfer settings;
    TPlayer p(settings, "x.sav");
    std::string tmpl = patternBytes(kSavSize);
    // Empty: the template's 22 bytes, its byte at 157 included.
    auto empty = composeSav(p, tmpl);
    EXPECT_EQ(tmpl.substr(136, 22), std::string(empty.data() + 136, 22));
    // Set: all 22 bytes replaced, the template's bytes after the text's end too.
    setField(p.ipAddress, "1.2.3.4");
    auto set = composeSav(p, tmpl);
    EXPECT_EQ(std::string("1.2.3.4").append(15, '\0'), std::string(set.data() + 136, 22));
}

TEST(SavFormat, TemplateOfAnyLengthGives440Bytes) {
    TDrovakSettingsXfer settings;
    TPlayer p(settings, "x.sav");
    for (std::size_t size : {0u, 100u, 439u, 440u, 441u, 2000u}) {
        std::string tmpl = patternBytes(size);
        auto out = composeSav(p, tmpl);
        EXPECT_EQ(kSavSize, out.size());
        // A short template's missing bytes are zero; a long one's extra bytes are dropped.
        char last = size >= kSavSize ? tmpl[439] : '\0';
        EXPECT_EQ(last, out[439]) << "template of " << size;
    }
}

TEST(SavFormat, ReadTakesOneByteLessThanTheBuffer) {
    TDrovakSettingsXfer settings;
    TPlayer p(settings, "x.sav");
    std::string file = patternBytes(kSavSize);
    std::string callsign21(21, 'C');
    file.replace(80, 22, callsign21 + "Q"); // the 22nd byte is not read
    file[236] = 2;
    readSavFields(file, p);
    EXPECT_EQ(callsign21, p.callsign.data());
    EXPECT_EQ(file.substr(102, 21), std::string(p.squadronName.data(), 21));
    EXPECT_EQ(file.substr(124, 11), std::string(p.squadronPassword.data(), 11));
    EXPECT_EQ(file.substr(136, 21), std::string(p.ipAddress.data(), 21));
    EXPECT_EQ(file.substr(332, 21), std::string(p.serverName.data(), 21));
    EXPECT_EQ(2, p.side[0]);
    EXPECT_EQ('\0', p.callsign[21]);
    EXPECT_EQ('\0', p.squadronPassword[11]);
    EXPECT_EQ('\0', p.side[1]);
}

TEST(SavFormat, ShortFileGivesTerminatedFields) {
    TDrovakSettingsXfer settings;
    TPlayer p(settings, "x.sav");
    fillFields(p);
    readSavFields(patternBytes(90), p); // ends inside the callsign
    EXPECT_EQ(patternBytes(90).substr(80, 10), p.callsign.data());
    EXPECT_STREQ("", p.squadronName.data());
    EXPECT_STREQ("", p.serverName.data());
    EXPECT_EQ(0, p.side[0]);
}

TEST(SavFormat, RoundTripReproducesTheFile) {
    // A file whose field-end bytes are zero comes back byte for byte through read and write.
    std::string file = patternBytes(kSavSize);
    for (std::size_t zero : {101u, 123u, 135u, 157u, 237u, 353u}) {
        file[zero] = '\0';
    }
    TDrovakSettingsXfer settings;
    TPlayer p(settings, "x.sav");
    readSavFields(file, p);
    auto out = composeSav(p, file);
    EXPECT_EQ(file, std::string(out.data(), out.size()));
}

} // namespace

namespace {

// A record whose text fields are all ended, then one change of its bytes.
struct OddCase {
    const char* why;
    std::size_t size;
    std::size_t fillAt; // bytes [fillAt, fillAt + fillCount) become 'X'
    std::size_t fillCount;
    std::vector<std::string> said;
};

TEST(SavFormat, OdditiesSayWhatSaveWouldChange) {
    const OddCase cases[] = {
        {"a well-formed record", 440, 0, 0, {}},
        {"a callsign of 21 letters still ends in its 22 bytes", 440, 80, 21, {}},
        {"short",
         10,
         0,
         0,
         {"ace.sav is 10 bytes, not 440: Save writes a full 440-byte record (the missing bytes "
          "from the template; fields past the end read as empty)"}},
        {"a text running to the end of a short file ends there",
         90,
         80,
         10,
         {"ace.sav is 90 bytes, not 440: Save writes a full 440-byte record (the missing bytes "
          "from the template; fields past the end read as empty)"}},
        {"long",
         500,
         0,
         0,
         {"ace.sav is 500 bytes, not 440: Save writes the 440-byte record alone (the bytes past "
          "it are dropped)"}},
        {"squadron name without its end",
         440,
         102,
         22,
         {"the squadron name has no end within 22 bytes: Save cuts it to 21 characters"}},
        {"side without its end",
         440,
         236,
         2,
         {"the side has no end within 2 bytes: Save cuts it to 1 character"}},
        {"password and IP address run together",
         440,
         124,
         34,
         {"the squadron password has no end within 12 bytes: Save cuts it to 11 characters",
          "the IP address has no end within 22 bytes: Save cuts it to 21 characters"}},
    };
    for (const OddCase& c : cases) {
        std::string bytes(std::min<std::size_t>(c.size, kSavSize), '\0');
        bytes.replace(c.fillAt, c.fillCount, std::string(c.fillCount, 'X'));
        EXPECT_EQ(c.said, savOddities("ace.sav", c.size, bytes)) << c.why;
    }
}

} // namespace
