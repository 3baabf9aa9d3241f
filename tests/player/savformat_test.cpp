#include "playertestutil.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Where each field's bytes lie in the file (offset, width), in the order fieldBytes gives them.
const std::pair<std::size_t, std::size_t> kFields[] = {{80, 22},  {102, 22}, {124, 12},
                                                       {136, 22}, {236, 2},  {332, 22}};

// Every byte of a record comes from its field or from the template (cut or padded with zeros
// to 440), whatever the template's length; an empty IP address keeps the template's bytes
// there. Read back, a field takes one byte less than its room, the rest zero, and past the end
// of a short file it reads as empty.
TEST(SavFormat, EveryByteComesFromItsFieldOrTheTemplateAndReadsBack) {
    for (std::size_t size : {0u, 90u, 100u, 439u, 440u, 441u, 2000u}) { // 90: in the callsign
        const std::string tmpl = patternBytes(size);
        for (bool withIp : {true, false}) {
            SCOPED_TRACE("template of " + std::to_string(size) + (withIp ? "" : ", no IP"));
            TPlayer p = filled({}, "x.sav");
            p.callsign[20] = 'Z'; // bytes after a terminator are written too
            p.side[1] = 'S';      // but the side always ends in a zero
            if (!withIp) {
                setField(p.ipAddress, "");
            }
            auto out = composeSav(p, tmpl);
            std::string expected = tmpl;
            expected.resize(kSavSize, '\0');
            std::size_t from = 0;
            for (const auto& [offset, width] : kFields) {
                if (withIp || offset != TSavLayout::ipAddress) {
                    expected.replace(offset, width, fieldBytes(p), from, width);
                }
                from += width;
            }
            expected[TSavLayout::side + 1] = '\0';
            EXPECT_EQ(expected, std::string(out.data(), out.size()));
        }
        TPlayer p = filled({}, "x.sav"); // none of its fields may stay
        readSavFields(tmpl, p);
        std::string expected;
        for (const auto& [offset, width] : kFields) {
            for (std::size_t i = 0; i < width; ++i) {
                expected += i + 1 < width && offset + i < size ? tmpl[offset + i] : '\0';
            }
        }
        EXPECT_EQ(expected, fieldBytes(p)) << "read from " << size << " bytes";
    }
}

// A record whose text fields are all ended, then one change of its bytes.
TEST(SavFormat, OdditiesSayWhatSaveWouldChange) {
    const std::string full = " bytes, not 440: Save writes ";
    const std::string shortFile = full + "a full 440-byte record (the missing bytes from the "
                                         "template; fields past the end read as empty)";
    const std::string longFile = full + "the 440-byte record alone (the bytes past it are dropped)";
    const std::string cut = " bytes: Save cuts it to ";
    // the file's size, bytes [fillAt, fillAt + fillCount) become 'X', what is said
    const std::tuple<std::size_t, std::size_t, std::size_t, std::vector<std::string>> cases[] = {
        // clang-format off
        // A callsign of 21 letters still ends in its 22 bytes; a text to a short file's end
        // ends there.
        {440, 0, 0, {}}, {440, 80, 21, {}}, {10, 0, 0, {"ace.sav is 10" + shortFile}},
        {90, 80, 10, {"ace.sav is 90" + shortFile}}, {500, 0, 0, {"ace.sav is 500" + longFile}},
        {440, 102, 22, {"the squadron name has no end within 22" + cut + "21 characters"}},
        {440, 236, 2, {"the side has no end within 2" + cut + "1 character"}},
        {440, 124, 34, {"the squadron password has no end within 12" + cut + "11 characters",
                        "the IP address has no end within 22" + cut + "21 characters"}}};
    // clang-format on
    for (const auto& [size, fillAt, fillCount, said] : cases) {
        std::string bytes(std::min<std::size_t>(size, kSavSize), '\0');
        bytes.replace(fillAt, fillCount, std::string(fillCount, 'X'));
        EXPECT_EQ(said, savOddities("ace.sav", size, bytes))
            << size << " bytes, X at " << fillAt << " to " << fillAt + fillCount;
    }
}

} // namespace
