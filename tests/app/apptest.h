#pragma once

#include "app/drovakapp.h"
#include "app/drovakwindow.h"
#include "player/savformat.h"

#include "common/tempdir.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

// The whole program in the headless toolkit: a program folder with the shipped files, a
// game folder whose raptor.sav is the template, and a SAV folder of real files.
class AppTest : public ::testing::Test {
  protected:
    TempDir program, game, sav;
    // The per-user data folder: the backups of the game's pilot go under it.
    TempDir data;
#ifdef _WIN32
    ScopedEnv dataHome{"APPDATA", data.folder().c_str()};
#else
    ScopedEnv dataHome{"XDG_DATA_HOME", data.folder().c_str()};
#endif
    std::unique_ptr<ScopedWorkingDir> cwd;
    std::unique_ptr<TDrovakApp> app;
    std::string startFile; // a pilot file named on the command line

    void SetUp() override;
    void TearDown() override;

    // drovak.ini for the folders above; extra lines are appended.
    void writeSettings(const std::string& extra = "");
    // The template's bytes with this callsign; a pilot file of them, in the SAV folder unless
    // another is named.
    static std::string pilot(const std::string& callsign);
    void addSav(const std::string& name, const std::string& callsign,
                const TempDir* folder = nullptr);
    // Starts the program as if launched with this show state (SW_*).
    void start(std::optional<int> showState = std::nullopt);

    TDrovakWindow& window() const;
    TFrameWindow& frame() const {
        return *app->GetMainWindow();
    }
    TSavListWindow& list() const {
        return window().list();
    }

    // The text at offset 80 of a file in the SAV folder unless another is named.
    std::string callsignIn(const std::string& file, const TempDir* folder = nullptr) const;
    std::vector<std::string> labels() const {
        return headless::listLabels(list());
    }
    int selected() const;
    void select(const std::string& label);
    // Clicks into a field of the editor at its end and types letters, as the user would.
    void clickField(int field);
    void typeKeys(const std::string& keys);
    void typeCallsign(const std::string& keys) {
        clickField(kFieldCallsign);
        typeKeys(keys);
    }
    // The letters a key press of each of these keys types into the callsign.
    std::string typed(const std::string& keys) const;
    // Scripts the answers to the questions the command asks, then chooses it from the menu.
    void choose(int command, std::initializer_list<int> answers = {});
    std::string openFile() const {
        return window().currentPlayer().getFileName();
    }
    std::vector<int> images() const {
        return headless::listImages(list());
    }
    std::string lastMessage() const;
    std::size_t messageCount() const {
        return headless::messageBoxes().size();
    }
};
