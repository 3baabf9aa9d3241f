#include "support/safefile.h"

#include "common/filesizelimit.h"
#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::span<const char> bytesOf(const std::string& s) {
    return {s.data(), s.size()};
}

TEST(ReplaceFile, ReplacesWholeAndLeavesNoTemporary) {
    TempDir dir;
    dir.write("a.sav", "old");
    std::string fresh(440, 'n');
    EXPECT_TRUE(replaceFileContents(dir.file("a.sav"), bytesOf(fresh)));
    EXPECT_EQ(fresh, dir.read("a.sav"));
    EXPECT_EQ("a.sav", dir.listing());
}

TEST(ReplaceFile, FailureInTheMiddleKeepsTheTarget) {
    TempDir dir;
    std::string old(440, 'o');
    dir.write("a.sav", old);
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(replaceFileContents(dir.file("a.sav"), bytesOf(std::string(440, 'n'))));
    }
    EXPECT_EQ(old, dir.read("a.sav"));
    EXPECT_EQ("a.sav", dir.listing());
}

TEST(ReplaceFile, DoesNotClobberAStrayTemporaryName) {
    TempDir dir;
    dir.write("a.sav.tmp0", "someone else's");
    EXPECT_TRUE(replaceFileContents(dir.file("a.sav"), bytesOf("new")));
    EXPECT_EQ("someone else's", dir.read("a.sav.tmp0"));
    EXPECT_EQ("new", dir.read("a.sav"));
}

TEST(AppendFile, AppendsAndReportsFailure) {
    TempDir dir;
    dir.write("m.eml", "head");
    EXPECT_TRUE(appendFileContents(dir.file("m.eml"), bytesOf("tail")));
    EXPECT_EQ("headtail", dir.read("m.eml"));
    {
        FileSizeLimit limit(10);
        EXPECT_FALSE(appendFileContents(dir.file("m.eml"), bytesOf(std::string(100, 'x'))));
    }
    EXPECT_FALSE(appendFileContents(dir.file("no/m.eml"), bytesOf("x")));
}

TEST(ReadPrefix, ShortLongAndMissing) {
    TempDir dir;
    dir.write("s", "abc");
    std::string out;
    EXPECT_TRUE(readFilePrefix(dir.file("s"), 440, out));
    EXPECT_EQ("abc", out);
    dir.write("l", std::string(500, 'l'));
    EXPECT_TRUE(readFilePrefix(dir.file("l"), 440, out));
    EXPECT_EQ(440u, out.size());
    EXPECT_FALSE(readFilePrefix(dir.file("missing"), 440, out));
}

} // namespace
