#include "support/trace.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TraceTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    void TearDown() override {
        setTraceSwitch(false);
        setStartMarkerSwitch(false);
    }
};

TEST_F(TraceTest, LineFormat) {
    // Built by append: GCC 12 takes operator+ on a temporary string for an overflow at -O2.
    EXPECT_EQ(std::string(52, ' ').append("strClear:").append(21, ' '),
              formatTraceLine("strClear", ""));
    std::string longName(61, 'n');
    EXPECT_EQ(longName + ":" + std::string(21, ' '), formatTraceLine(longName.c_str(), ""));
    EXPECT_EQ(std::string(59, ' ').append("x: ").append(19, ' ').append("d"),
              formatTraceLine("x", "d"));
}

TEST_F(TraceTest, SwitchesOffWriteNothing) {
    setTraceSwitch(false);
    setStartMarkerSwitch(false);
    debugStart();
    trace("strClear");
    EXPECT_FALSE(dir.exists("debug.txt"));
}

TEST_F(TraceTest, StartMarkerThenAppendedLines) {
    dir.write("debug.txt", "old contents\r\n");
    setTraceSwitch(true);
    debugStart();
    trace("strClear");
    trace("getMonth");
    EXPECT_EQ("[Debug Start]\r\n" + formatTraceLine("strClear", "") + "\r\n" +
                  formatTraceLine("getMonth", "") + "\r\n",
              dir.read("debug.txt"));
}

TEST_F(TraceTest, StartMarkerSwitchAloneWritesOnlyTheMarker) {
    setStartMarkerSwitch(true);
    debugStart();
    trace("strClear");
    EXPECT_EQ("[Debug Start]\r\n", dir.read("debug.txt"));
}

TEST(ExceptionReport, LayoutAndOverflow) {
    const char* contact = "me@example.org";
    std::string tail = "\nIt is recommended you save your files\n"
                       "and exit.Please report this error to \n";
    tail += contact;
    EXPECT_EQ("EXCEPTION HANDLING: parseFileName: null string" + tail,
              formatExceptionReport("parseFileName: null string", contact));
    // A text that cannot fit empties the report; the closing lines still follow.
    std::string huge(492, 'e');
    EXPECT_EQ(tail, formatExceptionReport(huge.c_str(), contact));
    // 491 characters fill the report to 511; the next piece is dropped and empties it.
    std::string full(491, 'e');
    EXPECT_EQ(std::string("and exit.Please report this error to \n").append(contact),
              formatExceptionReport(full.c_str(), contact));
}

} // namespace
