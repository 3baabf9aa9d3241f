#include "support/strutil.h"

#include "support/pathsep.h"

#include "common/tempdir.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace {

// Each part is cut to its room, and the byte past the room is never written.
TEST(PathSplit, FileNameAndFolderWithinTheirRoomAndNullArguments) {
    // path, file name, folder; a lone leading separator does not split; no cut at 32 any more
    // clang-format off
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"C:/Games/F22/pilot.sav", "pilot.sav", "C:/Games/F22/"}, {"pilot.sav", "pilot.sav", ""},
        {"/pilot.sav", "/pilot.sav", ""}, {"", "", ""}, {"a/b/", "", "a/b/"}, {"a//b", "b", "a//"},
        {"dir/" + std::string(40, 'x'), std::string(40, 'x'), "dir/"},
        {std::string(200, 'y'), std::string(127, 'y'), ""},
        {std::string(600, 'd') + "/f.sav", "f.sav", std::string(511, 'd')}};
    // clang-format on
    for (const auto& [path, fileName, folderName] : cases) {
        char name[kFileNameCapacity + 1], folder[kPathCapacity + 1];
        std::memset(name, 'z', sizeof name);
        std::memset(folder, 'z', sizeof folder);
        parseFileName(name, native(path).c_str());
        parseFilePath(folder, native(path).c_str());
        EXPECT_EQ(native(fileName), name) << path;
        EXPECT_EQ(native(folderName), folder) << path;
        EXPECT_TRUE(name[kFileNameCapacity] == 'z' && folder[kPathCapacity] == 'z') << path;
    }
    // Null arguments.
    char name[kFileNameCapacity] = "keep";
    EXPECT_THROW(parseFileName(name, nullptr), const char*);
    try {
        parseFileName(nullptr, "x");
        ADD_FAILURE() << "no throw";
    } catch (const char* what) {
        EXPECT_STREQ("parseFileName: null string", what);
    }
    parseFilePath(name, nullptr);
    EXPECT_STREQ("keep", name);
}

// Colour codes come out of a callsign; the extensions the program adds come off a file name.
TEST(NameText, ColourCodesAndExtensionsComeOff) {
    // in, out, room; the tilde flag survives a copied letter
    const std::tuple<const char*, const char*, std::size_t> callsigns[] = {
        {"~1ACE~2X", "ACEX", 64}, {"A~~3B", "AB", 64}, {"AB~", "AB", 64},
        {"PLAIN", "PLAIN", 64},   {"", "", 64},        {"~9~8~7", "", 64},
        {"ABCDEF", "AB", 3},      {"~a5", "a", 64}};
    for (const auto& [in, out, room] : callsigns) {
        char dest[64];
        parseCallsign(dest, in, room);
        EXPECT_STREQ(out, dest) << in;
    }
    const std::pair<const char*, const char*> names[] = {
        {"ace.sav", "ace"},     {"ace.dvw", "ace"},
        {"ace.txt", "ace.txt"}, {".sav", ".sav"},
        {"x.sav.sav", "x.sav"}, {"ace.SAV", kPathSeparator == '\\' ? "ace" : "ace.SAV"}}; // Windows
    for (const auto& [in, out] : names) {
        char text[32];
        truncFileName(std::strcpy(text, in));
        EXPECT_STREQ(out, text) << in;
    }
}

TEST(RawText, AppendFitsOrEmptiesAndCopiesClearAndNameExactly) {
    // dest, src, capacity, result: 8 characters fit in 9 bytes, not in 8; nor do 9, and nothing
    // lands past the 8; a destination already at capacity is emptied.
    // clang-format off
    const std::tuple<const char*, const char*, int, const char*> cases[] = {
        {"12345", "abc", 9, "12345abc"}, {"12345", "abc", 8, ""}, {"12345", "abcd", 8, ""},
        {"", "", 1, ""}, {"", "a", 1, ""}, {"1234", "", 5, "1234"}, {"12345", "", 5, ""},
        {"12", "x", 0, "12"}}; // no room: not even a terminator is written
    // clang-format on
    for (const auto& [dest, src, capacity, result] : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        strAppend(std::strcpy(buffer, dest), src, capacity);
        EXPECT_STREQ(result, buffer) << dest << "+" << src << " in " << capacity;
        // Nothing is written at or past the capacity.
        for (auto i = std::max(std::strlen(dest) + 1, std::size_t(capacity)); i < 32; ++i)
            EXPECT_EQ('#', buffer[i]) << "byte " << i;
    }
#ifndef _WIN32
    // A room full to its end with no terminator, just before memory that cannot be read: the
    // byte past the room is never read (a read faults, with or without ASan), the text emptied.
    constexpr std::size_t page = 1 << 16; // a whole number of pages on every system we know
    auto* pages = static_cast<char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_EQ(0, mprotect(pages + page, page, PROT_NONE));
    auto* room = static_cast<char*>(std::memcpy(pages + page - 4, "abcd", 4));
    strAppend(room, "x", 4);
    EXPECT_EQ('\0', room[0]);
    munmap(pages, 2 * page);
#endif

    // Raw copies and clears, a string of its capacity, and the months' names.
    char dest[6] = {'1', '2', '3', '4', '5', '6'};
    const char src[6] = {'a', '\0', 'c', 'd', 'e', 'f'};
    strFullCopy(dest, src, 4);
    EXPECT_EQ(std::string("a\0cd56", 6), std::string(dest, 6));
    strClear(dest + 1, 3);
    // Counts of zero or less touch nothing.
    strFullCopy(dest, "zz", 0);
    strFullCopy(dest, "zz", -3);
    strClear(dest, -1);
    EXPECT_EQ(std::string("a", 1) + std::string(3, '\0') + "56", std::string(dest, 6));

    auto clean = initCleanStr(8, "abc");
    EXPECT_EQ(std::string("abc\0\0\0\0\0", 8), std::string(clean.get(), 8));
    auto plain = initStr(4, "abcdef"); // cut to the capacity, never past it
    EXPECT_STREQ("abc", plain.get());
    std::string months;
    for (int month : {-1, 0, 1, 6, 12, 13})
        months.append(getMonth(month)).append(",");
    EXPECT_EQ(",,Jan,Jun,Dec,,", months);
}

} // namespace
