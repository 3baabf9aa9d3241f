#include "support/trace.h"

#include "common/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>

namespace {

// Names right-aligned in 60 columns and never cut, details in 20; an exception's report.
TEST(Trace, LineAndReportFormatsAndTheSwitches) {
    // Built by append: GCC 12 takes operator+ on a temporary string for an overflow at -O2.
    EXPECT_EQ(std::string(52, ' ').append("strClear:").append(21, ' '),
              formatTraceLine("strClear", ""));
    std::string longName(61, 'n');
    EXPECT_EQ(longName + ":" + std::string(21, ' '), formatTraceLine(longName.c_str(), ""));
    EXPECT_EQ(std::string(59, ' ').append("x: ").append(19, ' ').append("d"),
              formatTraceLine("x", "d"));
    // The report of an exception, and what a text too long for it does.
    const char* contact = "me@example.org";
    std::string tail = "\nIt is recommended you save your files\n"
                       "and exit.Please report this error to \n";
    tail += contact;
    EXPECT_EQ("EXCEPTION HANDLING: parseFileName: null string" + tail,
              formatExceptionReport("parseFileName: null string", contact));
    // A text that cannot fit empties the report; the closing lines still follow.
    EXPECT_EQ(tail, formatExceptionReport(std::string(492, 'e').c_str(), contact));
    // 491 characters fill the report to 511; the next piece is dropped and empties it.
    EXPECT_EQ(std::string("and exit.Please report this error to \n").append(contact),
              formatExceptionReport(std::string(491, 'e').c_str(), contact));

    // Each switch alone, and neither; a start replaces what an earlier run left.
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    const std::string lines =
        formatTraceLine("strClear", "") + "\r\n" + formatTraceLine("getMonth", "") + "\r\n";
    // trace, start marker, what is written
    const std::tuple<bool, bool, std::optional<std::string>> cases[] = {
        {false, false, std::nullopt},
        {true, false, "[Debug Start]\r\n" + lines},
        {false, true, "[Debug Start]\r\n"}};
#ifdef __linux__
    const std::size_t descriptors = openDescriptors();
#endif
    for (const auto& [traceOn, marker, written] : cases) {
        std::filesystem::remove(dir.file("debug.txt"));
        if (written)
            dir.write("debug.txt", "old contents\r\n");
        setTraceSwitch(traceOn);
        setStartMarkerSwitch(marker);
        debugStart();
        trace("strClear");
        trace("getMonth");
        EXPECT_EQ(written,
                  dir.exists("debug.txt") ? std::optional(dir.read("debug.txt")) : std::nullopt);
    }
#ifdef __linux__
    EXPECT_EQ(descriptors, openDescriptors());
#endif
    setTraceSwitch(false);
    setStartMarkerSwitch(false);
}

} // namespace
