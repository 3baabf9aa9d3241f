#pragma once

#include "toolkit/toolkit.h"

// The application: one fixed-size frame whose client is the main window.
class TDrovakApp : public TApplication {
  public:
    TDrovakApp() : TApplication(nullptr) {}
    void InitMainWindow() override;
};

// Finds the program folder for the executable at exePath, makes it the working folder and
// hands it to the settings; false when there is none to be had.
bool enterProgramFolder(const char* exePath);

// The whole program for the executable at exePath: its exit status. A start that fails is
// said, naming the file and what to do, on standard error and, where there is a desktop, in a
// message box; its status is not zero.
int runDrovak(const char* exePath);
