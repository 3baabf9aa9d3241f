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
