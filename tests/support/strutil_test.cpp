#include "support/pathsep.h"
#include "support/strutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Paths in the cases are written with '|' for the separator and made native here.
std::string native(std::string s) {
    for (char& c : s) {
        if (c == '|') {
            c = kPathSeparator;
        }
    }
    return s;
}

struct SplitCase {
    const char* path;
    const char* fileName;
    const char* folder;
};

TEST(PathSplit, FileNameAndFolder) {
    const SplitCase cases[] = {
        {"C:|Games|F22|pilot.sav", "pilot.sav", "C:|Games|F22|"},
        {"pilot.sav", "pilot.sav", ""},
        {"|pilot.sav", "|pilot.sav", ""}, // a lone leading separator does not split
        {"", "", ""},
        {"a|b|", "", "a|b|"},
        {"a||b", "b", "a||"},
    };
    for (const auto& c : cases) {
        char name[kFileNameCapacity];
        char folder[kPathCapacity];
        std::string path = native(c.path);
        parseFileName(name, path.c_str());
        parseFilePath(folder, path.c_str());
        EXPECT_EQ(native(c.fileName), name) << c.path;
        EXPECT_EQ(native(c.folder), folder) << c.path;
    }
}

TEST(PathSplit, LongNamesKeepUpTo127Characters) {
    char name[kFileNameCapacity];
    std::string forty(40, 'x');
    parseFileName(name, (native("dir|") + forty).c_str());
    EXPECT_EQ(forty, name); // names past 32 characters are not cut any more

    std::string tooLong(200, 'y');
    parseFileName(name, tooLong.c_str());
    EXPECT_EQ(std::string(127, 'y'), name);

    // A name exactly as long as the room is cut, and the byte past the room stays untouched.
    char room[9];
    std::memset(room, 'z', sizeof room);
    parseFileName(room, "abcdefgh", 8);
    EXPECT_STREQ("abcdefg", room);
    EXPECT_EQ('z', room[8]);
}

TEST(PathSplit, FolderIsBoundedByTheDestination) {
    std::string path(600, 'd');
    path += kPathSeparator;
    path += "f.sav";
    char folder[kPathCapacity];
    std::memset(folder, 'z', sizeof folder);
    parseFilePath(folder, path.c_str());
    EXPECT_EQ(511u, std::strlen(folder));
}

TEST(PathSplit, NullArguments) {
    char name[kFileNameCapacity] = "keep";
    EXPECT_THROW(parseFileName(name, nullptr), const char*);
    try {
        parseFileName(nullptr, "x");
    } catch (const char* what) {
        EXPECT_STREQ("parseFileName: null string", what);
    }
    parseFilePath(name, nullptr);
    EXPECT_STREQ("keep", name);
}

TEST(ParseCallsign, RemovesColourCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"~1ACE~2X", "ACEX"}, {"A~~3B", "AB"}, {"AB~", "AB"},
        {"~a5", "a"}, // the tilde flag survives a copied letter
        {"PLAIN", "PLAIN"},   {"", ""},        {"~9~8~7", ""},
    };
    for (const auto& [in, out] : cases) {
        char dest[64];
        parseCallsign(dest, in, sizeof dest);
        EXPECT_STREQ(out, dest) << in;
    }
    char small[3];
    parseCallsign(small, "ABCDEF", sizeof small);
    EXPECT_STREQ("AB", small);
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
        for (int i = c.capacity; i < 32; ++i) {
            if (i > static_cast<int>(std::strlen(c.dest))) {
                EXPECT_EQ('#', buffer[i]) << "byte " << i;
            }
        }
    }
}

TEST(StrAppend, UnterminatedDestinationIsEmptied) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    strAppend(buffer, "x", 4);
    EXPECT_EQ('\0', buffer[0]);
}

TEST(RawCopies, CopyAndClearExactCounts) {
    char dest[6] = {'1', '2', '3', '4', '5', '6'};
    const char src[6] = {'a', '\0', 'c', 'd', 'e', 'f'};
    strFullCopy(dest, src, 4);
    EXPECT_EQ(std::string("a\0cd56", 6), std::string(dest, 6));
    strFullCopy(dest, "zz", 0);
    strFullCopy(dest, "zz", -3);
    EXPECT_EQ('a', dest[0]);
    strClear(dest + 1, 3);
    EXPECT_EQ(std::string("a\0\0\0"
                          "56",
                          6),
              std::string(dest, 6));
    strClear(dest, -1);
    EXPECT_EQ('a', dest[0]);
}

TEST(InitStr, CapacityAndContents) {
    auto clean = initCleanStr(8, "abc");
    EXPECT_EQ(std::string("abc\0\0\0\0\0", 8), std::string(clean.get(), 8));
    auto plain = initStr(4, "abcdef"); // cut to the capacity, never past it
    EXPECT_STREQ("abc", plain.get());
}

TEST(GetMonth, NamesAndOutOfRange) {
    EXPECT_STREQ("Jan", getMonth(1));
    EXPECT_STREQ("Jun", getMonth(6));
    EXPECT_STREQ("Dec", getMonth(12));
    EXPECT_STREQ("", getMonth(0));
    EXPECT_STREQ("", getMonth(13));
    EXPECT_STREQ("", getMonth(-1));
}

} // namespace
