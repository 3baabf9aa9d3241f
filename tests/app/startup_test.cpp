#include "apptest.h"

#include "resources/resources.h"
#include "settings/programfolder.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// The first paint shows the pilot the list is going to select while the list is still empty;
// the list fills, and everything else that reads the whole SAV folder runs, once that paint is
// done: a large folder never holds up the window. Then a leftover new file goes, its working
// copy stays and is the new file still, a working copy's row shows its own callsign, and writes
// cut short go in every folder the program writes.
TEST_F(AppTest, FirstPaintShowsTheLastPilotBeforeTheListFills) {
    // The files, the callsign shown at the first paint, the file open, the labels once filled and
    // the first row's cells when they are not a date.
    using Strings = std::vector<std::string>;
    // clang-format off
    const std::tuple<Strings, std::string, std::string, Strings, std::string> cases[] = {
        {{"ace.sav", "bob.sav"}, "~5ACE", "ace.sav", {"ace", "bob"}, ""},
        {{"ace.sav", "ace.dvw", "bob.sav"}, "EDITED", "ace.dvw", {"ace", "bob"}, "EDITED EDITING"},
        {{"bob.sav"}, "", "bob.sav", {"bob"}, ""},
        {{"ace.sav", " New Sav File.sav", " New Sav File.dvw"}, "~5ACE", "ace.sav", {" New Sav File", "ace"}, "BOB EDITING"}};
    // clang-format on
    cwd = std::make_unique<ScopedWorkingDir>(program.path());
    setDrovakPath(program.folder().c_str());
    for (const auto& [files, atFirstPaint, opened, filled, cells] : cases) {
        SCOPED_TRACE(opened + std::to_string(files.size()));
        for (const auto& entry : fs::directory_iterator(sav.path())) {
            fs::remove(entry.path());
        }
        for (const std::string& file : files) {
            addSav(file, file == "ace.dvw" ? "EDITED" : file == "ace.sav" ? "~5ACE" : "BOB");
        }
        const TempDir* folders[] = {&sav, &game, &program};
        for (const TempDir* folder : folders) {
            folder->write(".drovak-Ab12xY.tmp", "a write cut short");
        }
        app = std::make_unique<TDrovakApp>();
        app->InitMainWindow();
        frame().Create();
        headless::paintAll(window());
        EXPECT_EQ(0, list().GetItemCount());
        EXPECT_TRUE(sav.exists(".drovak-Ab12xY.tmp"));
        EXPECT_EQ(atFirstPaint, window().currentPlayer().callsign.data());
        headless::advanceTime(0);
        for (const TempDir* folder : folders) {
            EXPECT_FALSE(folder->exists(".drovak-Ab12xY.tmp")) << folder->folder();
        }
        EXPECT_EQ(filled, labels());
        EXPECT_EQ(opened, openFile());
        EXPECT_FALSE(sav.exists(" New Sav File.sav"));
        EXPECT_EQ(sav.exists(" New Sav File.dvw"), window().isNewFileOpen());
        const std::string shown =
            headless::cellText(list(), 0, 1) + " " + headless::cellText(list(), 0, 2);
        EXPECT_TRUE(cells.empty() || cells == shown) << shown;
        app.reset();
    }
}

// Close and Exit ask about every working copy in turn: Yes saves it, with the keys typed just
// before; Cancel stops, and the rest keep their working copies. Only working copies the list
// can show are asked about: a longer name could be saved under no label of its own, and would
// be asked about at every exit.
TEST_F(AppTest, CloseAsksAboutEveryWorkingCopyAndCancelStops) {
    for (const char* label : {"a", "b", "c"}) {
        addSav(std::string(label) + ".sav", "OLD");
        addSav(std::string(label) + ".dvw", std::string("NEW") + label);
    }
    const std::string tooLong = std::string(140, 'x') + ".dvw";
    addSav(tooLong, "LONG");
    start();
    typeCallsign("Q");
    const std::string savedA = "NEWa" + typed("Q");
    std::string settingsBefore = program.read("drovak.ini");
    headless::scriptMessageBox(IDYES);
    headless::scriptMessageBox(IDCANCEL);
    EXPECT_FALSE(headless::closeWindow(frame()));
    ASSERT_EQ(2u, messageCount());
    EXPECT_EQ("Save changes to a?", headless::messageBoxes()[0].text);
    EXPECT_EQ("Save", headless::messageBoxes()[0].caption);
    EXPECT_EQ("Save changes to b?", headless::messageBoxes()[1].text);
    // a was saved; b and c keep their working copies; the settings were not written.
    EXPECT_EQ(savedA, callsignIn("a.sav"));
    EXPECT_EQ("a.sav b.dvw b.sav c.dvw c.sav " + tooLong, sav.listing());
    EXPECT_EQ("OLD", callsignIn("b.sav"));
    EXPECT_EQ(settingsBefore, program.read("drovak.ini"));
    // The file asked about is shown, and selected, while the question is open; after Cancel
    // the next key goes into that file's working copy and no other.
    EXPECT_EQ("b.dvw", openFile());
    EXPECT_EQ("b", labels()[static_cast<std::size_t>(selected())]);
    typeCallsign("Q");
    headless::advanceTime(kWorkingCopyDelayMs);
    EXPECT_NE("NEWb", callsignIn("b.dvw"));
    // Every question answered, Exit quits and saves the settings; No throws the working copy
    // away.
    program.write("drovak.ini", "");
    choose(resources::CM_EXIT, {IDYES, IDNO});
    EXPECT_EQ(0, headless::quitCode().value_or(-1));
    EXPECT_EQ(4u, messageCount());
    EXPECT_EQ("a.sav b.sav c.sav " + tooLong, sav.listing());
    EXPECT_EQ(0u, program.read("drovak.ini").find("[editor - DO NOT EDIT THIS FILE]\r\n"));
    EXPECT_EQ("OLD", callsignIn("c.sav"));
}

// A pilot file from the command line, or handed over by a second start: copied into the SAV
// folder unless it is there already, asking before it replaces a pilot of the same name, and
// selected. The window opens as asked, but never maximized; a timer that cannot start is said;
// the list shows the dates of the files.
TEST_F(AppTest, OpensOnAFileFromTheCommandLine) {
    TempDir elsewhere;
    addSav("ace.sav", "ACE");
    addSav("ghost.sav", "OLD GHOST");
    const std::string bytes = pilot("NEW GHOST");
    std::tm when{};
    when.tm_year = 99;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 12;
    when.tm_isdst = -1;
    const auto system = std::chrono::system_clock::from_time_t(std::mktime(&when));
    fs::last_write_time(sav.file("ace.sav"), std::chrono::file_clock::from_sys(system));
    elsewhere.write("ghost.sav", bytes);
    elsewhere.write("viper.sav", bytes);
    const std::tuple<std::string, int, std::string, std::string> cases[] = {
        // the file, the answer to the question about replacing (0: none asked), what is open
        {sav.file("ace.sav"), 0, "ace.sav", "OLD GHOST"},
        {elsewhere.file("viper.sav"), 0, "viper.sav", "OLD GHOST"},
        {elsewhere.file("ghost.sav"), IDNO, "ghost.sav", "OLD GHOST"},
        {elsewhere.file("ghost.sav"), IDYES, "ghost.sav", "NEW GHOST"},
    };
    bool maximized = true; // asked for: the window never opens maximized
    for (const auto& [file, answer, open, ghost] : cases) {
        headless::reset();
        if (answer != 0) {
            headless::scriptMessageBox(answer);
        }
        startFile = file;
        start(maximized ? SW_SHOWMAXIMIZED : SW_SHOWMINNOACTIVE);
        EXPECT_EQ(maximized ? SW_RESTORE : SW_SHOWMINNOACTIVE, headless::shownState(frame()));
        maximized = !maximized;
        EXPECT_EQ(answer ? 1u : 0u, messageCount()) << file;
        EXPECT_EQ(open + ghost, openFile() + callsignIn("ghost.sav")) << file;
        app.reset();
    }
    EXPECT_EQ(bytes, sav.read("viper.sav"));
    EXPECT_EQ(bytes, elsewhere.read("ghost.sav"));
    // A second start hands its file to the window running on the same settings, which opens it
    // as an import would; with the window gone, nobody takes it.
    startFile.clear();
    start();
    // The date column: the local date of the file's last change, as wide as any date in the list's
    // font ("Sep 30, 2026" and its like), the columns still filling the list as they did.
    EXPECT_EQ("Mar 5, 1999", headless::cellText(list(), 0, 2));
    EXPECT_GE(list().GetColumnWidth(2), 12 * headless::kListCharWidth);
    EXPECT_EQ(TSavListWindow::kLabelWidth + TSavListWindow::kCallsignWidth +
                  TSavListWindow::kDateWidth,
              list().GetColumnWidth(0) + list().GetColumnWidth(1) + list().GetColumnWidth(2));
    ASSERT_TRUE(ClaimSingleInstance(program.folder()));
    EXPECT_FALSE(ClaimSingleInstance(program.folder()));
    elsewhere.write("far.sav", bytes);
    EXPECT_TRUE(HandToRunningInstance(program.folder(), elsewhere.file("far.sav")));
    EXPECT_EQ("far.sav", openFile());
    EXPECT_EQ(bytes, sav.read("far.sav"));
    app.reset();
    EXPECT_FALSE(HandToRunningInstance(program.folder(), ""));
    // A timer that cannot start is said.
    headless::setTimersAvailable(false);
    headless::scriptMessageBox(IDOK);
    start();
    EXPECT_EQ("Error starting timer", lastMessage());
    EXPECT_EQ("Timer", headless::messageBoxes().back().caption);
    fs::remove(sav.file("ace.sav")); // gone after the fill: empty cells
    EXPECT_EQ("", headless::cellText(list(), 0, 1));
    EXPECT_EQ("", headless::cellText(list(), 0, 2));
}

} // namespace
