#pragma once

#include "toolkit/toolkit.h"

// The application: one fixed-size frame whose client is the main window.
class TDrovakApp : public TApplication {
  public:
    TDrovakApp() : TApplication(nullptr) {}
    void InitMainWindow() override;
    // A pilot file from the command line for the window to open; empty for none.
    std::string startFile;
};

#include <string>

// Finds the program's folders for the executable at exePath, makes the shared one the working
// folder and hands them to the settings; what went wrong, or the empty text.
std::string enterProgramFolder(const char* exePath);

// The whole program, from its command line: its exit status. Subcommands answer without a
// window. A window start that fails is said, naming the file and what to do, on standard
// error and, where there is a desktop, in a message box; its status is not zero.
int runDrovak(int argc, char** argv);
