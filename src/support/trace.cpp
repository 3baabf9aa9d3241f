#include "support/trace.h"

#include "support/strutil.h"

#include <cstdio>

namespace {

#ifdef DROVAK_TRACE_ON
bool traceOn = true;
#else
bool traceOn = false;
#endif
bool startMarkerOn = false;

constexpr const char* kTraceFile = "debug.txt";

} // namespace

void setTraceSwitch(bool on) {
    traceOn = on;
}
void setStartMarkerSwitch(bool on) {
    startMarkerOn = on;
}
bool traceSwitch() {
    return traceOn;
}

std::string formatTraceLine(const char* name, const char* detail) {
    auto rightAligned = [](const char* text, std::size_t width) {
        std::string s(text ? text : "");
        return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
    };
    return rightAligned(name, 60) + ": " + rightAligned(detail, 20);
}

void trace(const char* name, const char* detail) {
    if (!traceOn) {
        return;
    }
    // Text mode would turn "\n" into CR LF only on Windows; write CR LF ourselves.
    if (std::FILE* f = std::fopen(kTraceFile, "ab")) {
        std::string line = formatTraceLine(name, detail) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), f);
        std::fflush(f);
        std::fclose(f);
    }
}

void debugStart() {
    if (!traceOn && !startMarkerOn) {
        return;
    }
    if (std::FILE* f = std::fopen(kTraceFile, "wb")) {
        std::fputs("[Debug Start]\r\n", f);
        std::fclose(f);
    }
}

std::string formatExceptionReport(const char* what, const char* contact) {
    constexpr int kCapacity = 512;
    auto message = initStr(kCapacity, "EXCEPTION HANDLING: ");
    strAppend(message.get(), what ? what : "", kCapacity);
    strAppend(message.get(), "\nIt is recommended you save your files\n", kCapacity);
    strAppend(message.get(), "and exit.Please report this error to \n", kCapacity);
    strAppend(message.get(), contact ? contact : "", kCapacity);
    return message.get();
}
