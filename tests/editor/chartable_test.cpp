// Reading "chrtable.dv" and mapping keys to game characters.

#include "editor_fixture.h"

#include <string>
#include <vector>

namespace {

TCharTable loaded(const std::string& bytes) {
    TempDir dir;
    dir.write("chrtable.dv", bytes);
    TCharTable table;
    table.load(dir.file("chrtable.dv"));
    return table;
}

std::size_t entries(const TCharTable::Table& table) {
    std::size_t n = 0;
    while (n < table.size() && table[n].key != 0) {
        ++n;
    }
    return n;
}

// Every row of the mapping rule: digits (both ends of the digit keys), letters and other keys
// under each combination of Shift, Caps Lock and the password field.
TEST(KeyMapping, FiveCases) {
    const TCharTable table = loaded(kTestKeyTable);
    struct Case {
        const char* name;
        bool shift;
        bool caps;
        int field;
        const char* digits; // what 1, 0, 9 and 8 give; 8 has no entry in the shift table
        int letterA;
        int minus;
    };
    // clang-format off
    const Case cases[] = {
        {"ShiftInPassword", true, false, 3, "!)(\0", 'A', '_'},
        {"ShiftCapsInPassword", true, true, 3, "!)(\0", 'A', '_'},
        {"PasswordNoShift", false, false, 3, "1098", 'A', '-'},
        {"CapsNoShift", false, true, 1, "1098", 'A', '-'},
        {"NoShiftNoCaps", false, false, 1, "1098", 'a', '-'},
        {"ShiftAndCaps", true, true, 1, "!)(\0", 'a', '_'},
        // The shift table's entry for A is never consulted.
        {"ShiftNoCaps", true, false, 2, "!)(\0", 'A', '_'},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(table.getASCII("1098"[i], c.shift, c.caps, c.field), c.digits[i]);
        }
        EXPECT_EQ(table.getASCII('A', c.shift, c.caps, c.field), c.letterA);
        EXPECT_EQ(table.getASCII(kKeyMinus, c.shift, c.caps, c.field), c.minus);
        EXPECT_EQ(table.getASCII(kKeyUnmapped, c.shift, c.caps, c.field), 0);
    }
    // Extended characters come out negative, as the byte they are.
    EXPECT_EQ(table.getASCII(223, false, false, 1), static_cast<signed char>(0xE9));
}

struct FileCase {
    const char* name;
    std::string bytes;
    std::size_t characters; // entries read into each table
    std::size_t shifted;
    int minus; // what the minus key gives, without and with Shift
    int underscore;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const std::vector<FileCase> kFiles = {
    {"Complete", kTestKeyTable, 9, 13, '-', '_'},
    {"CrLfLineEnds", "[character table]\r\n189 -\r\n0\r\n\r\n[shift table]\r\n189 _\r\n0\r\n", 1, 1, '-', '_'},
    {"ManyEmptyLinesBetween", "[character table]\n189 -\n0\n\n\n\n[shift table]\n189 _\n0\n", 1, 1, '-', '_'},
    {"NoShiftTableLine", "[character table]\n189 -\n0\n", 1, 0, '-', 0},
    {"MisspeltShiftHeader", "[character table]\n189 -\n0\n\n[Shift table]\n189 _\n0\n", 1, 0, '-', 0},
    {"MissingHeader", "189 -\n0\n\n[shift table]\n189 _\n0\n", 0, 0, 0, 0},
    {"ShiftHeaderFirst", "[shift table]\n189 _\n0\n", 0, 0, 0, 0},
    {"HeaderWithBlank", "[character table] \n189 -\n0\n", 0, 0, 0, 0},
    {"ZeroInTheMiddle", "[character table]\n189 -\n0\n192 `\n0\n\n[shift table]\n189 _\n0\n", 1, 0, '-', 0},
    {"ZeroInTheMiddleThenShift", "[character table]\n189 -\n0\n[shift table]\n189 _\n0\n", 1, 1, '-', '_'},
    {"NonNumericKey", "[character table]\n189 -\nabc `\n192 `\n0\n\n[shift table]\n189 _\n0\n", 1, 0, '-', 0},
    {"NonNumericInShift", "[character table]\n189 -\n0\n\n[shift table]\n189 _\nx !\n49 !\n0\n", 1, 1, '-', '_'},
    {"NumberTooLarge", "[character table]\n189 -\n99999999999 x\n0\n\n[shift table]\n189 _\n0\n", 1, 0, '-', 0},
    {"LargestKeyThenOneDigitMore", "[character table]\n189 -\n2147483647 =\n21474836470 x\n0\n\n[shift table]\n189 _\n0\n", 2, 0, '-', 0},
    {"DuplicateKeyFirstWins", "[character table]\n189 -\n189 =\n0\n\n[shift table]\n189 _\n189 +\n0\n", 2, 2, '-', '_'},
    {"EndsInsideTable", "[character table]\n192 `\n189", 2, 0, 0, 0},
    {"Empty", "", 0, 0, 0, 0},
    {"OverlongFirstLine", std::string(200, 'x') + "\n189 -\n0\n", 0, 0, 0, 0},
    {"OverlongFirstLineThenShift", std::string(64, 'x') + "\n[shift table]\n189 _\n0\n", 0, 0, 0, 0},
    {"LongestFirstLineThenShift", std::string(63, 'x') + "\r\n[shift table]\r\n189 _\r\n0\r\n", 0, 1, 0, '_'},
    {"OverlongLineBeforeShift", "[character table]\n189 -\n0\n" + std::string(200, '[') + "\n[shift table]\n189 _\n0\n", 1, 0, '-', 0},
    {"OverlongHeaderPrefix", std::string("[character table]") + std::string(100, 'x') + "\n189 -\n0\n", 0, 0, 0, 0},
    {"TokensOnOneLine", "[character table]\n189 - 192 ` 0\n[shift table]\n189 _ 0\n", 2, 1, '-', '_'},
    {"ShiftTableBeyondTheSizeLimit", "[character table]\n189 -\n0\n" + std::string(TCharTable::kMaxFileBytes, '\n') + "[shift table]\n189 _\n0\n", 1, 0, '-', 0},
};
// clang-format on

class TableFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(TableFile, Reads) {
    const FileCase& c = GetParam();
    const TCharTable table = loaded(c.bytes);
    EXPECT_EQ(entries(table.characterTable()), c.characters);
    EXPECT_EQ(entries(table.shiftTable()), c.shifted);
    EXPECT_EQ(table.getASCII(kKeyMinus, false, false, 1), c.minus);
    EXPECT_EQ(table.getASCII(kKeyMinus, true, false, 1), c.underscore);
}

INSTANTIATE_TEST_SUITE_P(Files, TableFile, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyTable, KeepsNinetyNinePairsAndStillReadsShiftTable) {
    std::string bytes = "[character table]\n";
    for (int k = 1000; k < 1150; ++k) {
        bytes += std::to_string(k) + " " + static_cast<char>('!' + k % 90) + "\n";
    }
    bytes += "0\n\n[shift table]\n189 _\n0\n";
    const TCharTable table = loaded(bytes);
    EXPECT_EQ(entries(table.characterTable()), TCharTable::kEntries - 1);
    EXPECT_EQ(table.getASCII(1098, false, false, 1), '!' + 1098 % 90);
    EXPECT_EQ(table.getASCII(1099, false, false, 1), 0);
    EXPECT_EQ(table.getASCII(kKeyMinus, true, false, 1), '_');
}

} // namespace
