#include "support/base64.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

TEST(Base64, Rfc4648VectorsAndLineBreaks) {
    // 57 bytes fill one 76-character line exactly; a 58th opens the next.
    const std::string bytes57(57, 'M');
    std::string line76;
    for (int i = 0; i < 19; ++i)
        line76 += "TU1N";
    // bytes, line length, text; "\xFB\xFF" gives the last two letters of the alphabet, and padding
    // clang-format off
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {"", 0, ""}, {"f", 0, "Zg=="}, {"fo", 0, "Zm8="}, {"foo", 0, "Zm9v"},
        {"foobar", 0, "Zm9vYmFy"}, {std::string("\0\0\0", 3), 0, "AAAA"}, {"\xFB\xFF", 0, "+/8="},
        {"", 76, ""}, {"foobar", 4, "Zm9v\r\nYmFy\r\n"}, {bytes57, 76, line76 + "\r\n"},
        {bytes57 + "M", 76, line76 + "\r\nTQ==\r\n"}};
    // clang-format on
    for (const auto& [bytes, lineLength, text] : cases)
        EXPECT_EQ(text, base64Encode(bytes, lineLength)) << bytes.size() << " bytes";
    // Only the bytes given are read, not the one after them.
    EXPECT_EQ("Zm8=", base64Encode(std::string_view("fo\xFF", 2), 0));
    EXPECT_EQ("Zg==", base64Encode(std::string_view("f\xFF", 1), 0));
}

} // namespace
