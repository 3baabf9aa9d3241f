// Reading "chrtable.dv".

#include "editor_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr auto entries = [](const TCharTable::Table& table) {
    return static_cast<std::size_t>(std::ranges::find(table, 0, &TKeyEntry::key) - table.begin());
};

// The entries read into each table, and what the minus key gives without and with Shift.
// clang-format off
struct FileCase { const char* name; std::string bytes; std::size_t characters, shifted;
                  int minus, underscore; };
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
    {"SignedKeys", "[character table]\n-189 x\n+189 -\n0\n", 2, 0, '-', 0},
    {"TokensOnOneLine", "[character table]\n189 - 192 ` 0\n[shift table]\n189 _ 0\n", 2, 1, '-', '_'},
    // The 99th pair is the minus key's; those past it are dropped, and the shift table read.
    {"KeepsNinetyNinePairs", [] {
        std::string bytes = "[character table]\n";
        for (int k = 1; k < 150; ++k) {
            bytes += k == 99 ? "189 -\n" : std::to_string(1000 + k) + " x\n";
        }
        return bytes + "0\n\n[shift table]\n189 _\n0\n";
    }(), TCharTable::kEntries - 1, 1, '-', '_'},
    {"ShiftTableBeyondTheSizeLimit", "[character table]\n189 -\n0\n" + std::string(TCharTable::kMaxFileBytes, '\n') + "[shift table]\n189 _\n0\n", 1, 0, '-', 0},
};
// clang-format on

class TableFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(TableFile, Reads) {
    const FileCase& c = GetParam();
    TempDir dir;
    dir.write("chrtable.dv", c.bytes);
    TCharTable table;
    table.load(dir.file("chrtable.dv"));
    EXPECT_EQ(entries(table.characterTable()), c.characters);
    EXPECT_EQ(entries(table.shiftTable()), c.shifted);
    EXPECT_EQ(TCharTable::lookup(table.characterTable(), kKeyMinus), c.minus);
    EXPECT_EQ(TCharTable::lookup(table.shiftTable(), kKeyMinus), c.underscore);
}

INSTANTIATE_TEST_SUITE_P(Files, TableFile, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
