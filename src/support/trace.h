#pragma once

#include <string>

// The trace log: when switched on, every operation of the program announces its name on
// entry with one line in debug.txt in the current folder. Both switches are off unless the
// build turns tracing on (DROVAK_TRACE).
void trace(const char* name, const char* detail = "");
void debugStart();

void setTraceSwitch(bool on);
void setStartMarkerSwitch(bool on);
bool traceSwitch();

// One trace line without its line end: the name right-aligned in 60 columns, ": ", the
// detail right-aligned in 20 columns.
std::string formatTraceLine(const char* name, const char* detail);

// The message shown for an unexpected failure, built within 512 bytes like every message;
// contact is the address to report to, or a text saying how to set one.
std::string formatExceptionReport(const char* what, const char* contact);
