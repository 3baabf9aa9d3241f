#pragma once

#include "common/tempdir.h"
#include "resources/resources.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"
#include "settings/settingsui.h"
#include "support/pathsep.h"
#include "toolkit/headless/headless.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// The main window as the dialogs see it: it answers Help and Exit and records them.
class TRecordingParent : public TWindow {
  public:
    TRecordingParent() : TWindow(nullptr, "main") {}
    void CmdHelp() { commands.push_back(resources::CM_HELP); }
    void CmdExit() { commands.push_back(resources::CM_EXIT); }
    std::vector<int> commands;
    DECLARE_RESPONSE_TABLE(TRecordingParent);
};

// A program folder of its own for each test, its settings table loaded from a given file,
// and a record of every settings hand-over.
class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fresh();
        setDrovakPath(program.folder().c_str());
    }
    void TearDown() override {
        tokenTable().clear();
        setDrovakPath("");
    }

    // Each case of a table starts afresh: nothing scripted or recorded, no settings at all.
    void fresh() {
        headless::reset();
        tokenTable().clear();
        handed.clear();
        iniExistedAtHandOver.clear();
        parent.commands.clear();
        std::filesystem::remove(program.file(kSettingsFileName));
    }

    // As the main window's openINI would have left the table.
    void loadSettings(const std::string& iniText) { loadTokens(tokenTable(), iniText); }

    TSettingsCallback recorder() {
        return [this](const TDrovakSettingsXfer& x) {
            handed.push_back(x);
            iniExistedAtHandOver.push_back(program.exists(kSettingsFileName));
        };
    }

    // A folder under the test's temporary folder, created, ending with the separator.
    std::string makeFolder(const std::string& relative) const {
        std::filesystem::create_directories(program.path() / relative);
        return native(program.folder() + relative + "/");
    }
    std::string makeFile(const std::string& relative) const {
        std::filesystem::path path = program.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        TempDir::writeAt(path, "file");
        return native(path.string()); // as a file dialog gives it
    }

    std::string ini() const { return program.read(kSettingsFileName); }

    TempDir program;
    TRecordingParent parent;
    std::vector<TDrovakSettingsXfer> handed;
    std::vector<bool> iniExistedAtHandOver;
};
