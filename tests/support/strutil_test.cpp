#include "support/strutil.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// Each part is cut to its room, and the byte past the room is never written.
TEST(PathSplit, FileNameAndFolderWithinTheirRoom) {
    const struct {
        std::string path;
        std::string fileName;
        std::string folder;
    } cases[] = {
        {"C:/Games/F22/pilot.sav", "pilot.sav", "C:/Games/F22/"},
        {"pilot.sav", "pilot.sav", ""},
        {"/pilot.sav", "/pilot.sav", ""}, // a lone leading separator does not split
        {"", "", ""},
        {"a/b/", "", "a/b/"},
        {"a//b", "b", "a//"},
        {"dir/" + std::string(40, 'x'), std::string(40, 'x'), "dir/"}, // no cut at 32 any more
        {std::string(200, 'y'), std::string(127, 'y'), ""},
        {std::string(600, 'd') + "/f.sav", "f.sav", std::string(511, 'd')},
    };
    for (const auto& c : cases) {
        char name[kFileNameCapacity + 1];
        char folder[kPathCapacity + 1];
        std::memset(name, 'z', sizeof name);
        std::memset(folder, 'z', sizeof folder);
        std::string path = native(c.path);
        parseFileName(name, path.c_str());
        parseFilePath(folder, path.c_str());
        EXPECT_EQ(native(c.fileName), name) << c.path;
        EXPECT_EQ(native(c.folder), folder) << c.path;
        EXPECT_EQ('z', name[kFileNameCapacity]) << c.path;
        EXPECT_EQ('z', folder[kPathCapacity]) << c.path;
    }
}

TEST(PathSplit, NullArguments) {
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

TEST(ParseCallsign, RemovesColourCodes) {
    const struct {
        const char* in;
        const char* out;
        std::size_t room;
    } cases[] = {
        {"~1ACE~2X", "ACEX", 64}, {"A~~3B", "AB", 64},
        {"AB~", "AB", 64},        {"~a5", "a", 64}, // the tilde flag survives a copied letter
        {"PLAIN", "PLAIN", 64},   {"", "", 64},
        {"~9~8~7", "", 64},       {"ABCDEF", "AB", 3},
    };
    for (const auto& c : cases) {
        char dest[64];
        parseCallsign(dest, c.in, c.room);
        EXPECT_STREQ(c.out, dest) << c.in;
    }
}

TEST(TruncFileName, OnlyExactLowerCaseExtensions) {
    const std::pair<const char*, const char*> cases[] = {
        {"ace.sav", "ace"},     {"ace.dvw", "ace"}, {"ace.SAV", "ace.SAV"},
        {"ace.txt", "ace.txt"}, {".sav", ".sav"},   {"x.sav.sav", "x.sav"},
    };
    for (const auto& [in, out] : cases) {
        char text[32];
        std::strcpy(text, in);
        truncFileName(text);
        EXPECT_STREQ(out, text) << in;
    }
}

TEST(StrAppend, FitsOrEmpties) {
    struct Case {
        const char* dest;
        const char* src;
        int capacity;
        const char* result;
    };
    const Case cases[] = {
        {"12345", "abc", 9, "12345abc"}, // 8 characters fit in 9 bytes
        {"12345", "abc", 8, ""},         // 8 characters do not fit in 8 bytes
        {"12345", "abcd", 8, ""},        // nor 9, and nothing lands past the 8
        {"", "", 1, ""},
        {"", "a", 1, ""},
        {"1234", "", 5, "1234"},
        {"12345", "", 5, ""}, // a destination already at capacity is emptied
    };
    for (const auto& c : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        std::strcpy(buffer, c.dest);
        strAppend(buffer, c.src, c.capacity);
        EXPECT_STREQ(c.result, buffer) << c.dest << "+" << c.src << " in " << c.capacity;
        // Nothing is written at or past the capacity.
        for (auto i = std::max(std::strlen(c.dest) + 1, std::size_t(c.capacity)); i < 32; ++i)
            EXPECT_EQ('#', buffer[i]) << "byte " << i;
    }
#ifndef _WIN32
    // A room full to its end with no terminator, just before memory that cannot be read: the
    // byte past the room is never read (a read faults, with or without ASan), the text emptied.
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_EQ(0, mprotect(pages + page, page, PROT_NONE));
    auto* room = static_cast<char*>(std::memcpy(pages + page - 4, "abcd", 4));
    strAppend(room, "x", 4);
    EXPECT_EQ('\0', room[0]);
    munmap(pages, 2 * page);
#endif
}

TEST(RawCopies, CopyAndClearExactCounts) {
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
}

TEST(InitStr, CapacityAndContents) {
    auto clean = initCleanStr(8, "abc");
    EXPECT_EQ(std::string("abc\0\0\0\0\0", 8), std::string(clean.get(), 8));
    auto plain = initStr(4, "abcdef"); // cut to the capacity, never past it
    EXPECT_STREQ("abc", plain.get());
}

TEST(GetMonth, NamesAndOutOfRange) {
    std::string months;
    for (int month : {-1, 0, 1, 6, 12, 13})
        months.append(getMonth(month)).append(",");
    EXPECT_EQ(",,Jan,Jun,Dec,,", months);
}

} // namespace
