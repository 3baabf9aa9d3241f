// Other programs write the SAV folder while the window is open.
#include "apptest.h"

#include "resources/resources.h"

#include "support/diskname.h"

#include <filesystem>
#include <random>

using namespace resources;

namespace {

// Save over a pilot another program rewrote since the window read it asks first: Yes writes
// the user's record, No shows the file's and drops the unsaved changes, Cancel keeps both. A
// rename, which drops the old file, asks the same.
TEST_F(AppTest, SaveAsksBeforeReplacingAFileChangedElsewhere) {
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        addSav("ace.sav", "ACE");
        start();
        typeCallsign("Q");
        addSav("ace.sav", "NEWER");
        choose(CM_SAVE, {answer});
        EXPECT_EQ("ace.sav was changed by another program. Keep your changes, or load the "
                  "file's?\n\nYes keeps your changes; No loads the file.",
                  lastMessage());
        std::string mine = "ACE" + typed("Q");
        EXPECT_EQ(answer == IDYES ? mine : "NEWER", callsignIn("ace.sav"));
        EXPECT_EQ(answer == IDCANCEL, sav.exists("ace.dvw"));
        EXPECT_EQ(answer == IDNO ? "NEWER" : mine,
                  std::string(window().currentPlayer().callsign.data()));
        // What was answered counts as read: the next Save asks only while the changes wait.
        std::size_t asked = messageCount();
        if (answer == IDCANCEL) {
            headless::scriptMessageBox(IDCANCEL);
        }
        choose(CM_SAVE);
        EXPECT_EQ(asked + (answer == IDCANCEL), messageCount());
        app.reset();
        std::filesystem::remove(sav.file("ace.dvw"));
    }
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        addSav("ace.sav", "ACE");
        start();
        addSav("ace.sav", "NEWER");
        rename("bob", {answer});
        EXPECT_EQ(answer == IDCANCEL ? "NEWER" : "<missing>", callsignIn("ace.sav"));
        EXPECT_EQ(answer == IDYES  ? "ACE"
                  : answer == IDNO ? "NEWER"
                                   : "<missing>",
                  callsignIn("bob.sav"));
        app.reset();
        std::filesystem::remove(sav.file("bob.sav"));
    }
}

// The open pilot follows its file rewritten elsewhere: at once while nothing is unsaved, else
// after asking, whose Yes keeps the typing (and Save then writes it without asking again) and
// whose No shows the file's.
TEST_F(AppTest, OpenPilotFollowsItsFileChangedElsewhere) {
    for (int answer : {IDYES, IDNO}) {
        addSav("ace.sav", "ACE");
        start();
        ASSERT_EQ(sav.folder(), headless::watchedFolder(window()));
        auto rewrite = [&](const std::string& callsign) {
            addSav("ace.sav", callsign);
            headless::changeFolder(window(), {".drovak-1.tmp", "ace.sav"});
            headless::advanceTime(kFolderChangeDelayMs);
        };
        std::size_t asked = messageCount();
        rewrite("NEWER");
        EXPECT_EQ(asked, messageCount());
        EXPECT_EQ("NEWER", headless::cellText(list(), 0, 1));
        typeCallsign("Q");
        headless::scriptMessageBox(answer);
        rewrite("LATEST");
        EXPECT_EQ(asked + 1, messageCount());
        EXPECT_EQ(answer == IDYES, sav.exists("ace.dvw"));
        std::string shown = answer == IDYES ? "NEWER" + typed("Q") : "LATEST";
        EXPECT_EQ(shown, std::string(window().currentPlayer().callsign.data()));
        choose(CM_SAVE);
        EXPECT_EQ(answer == IDYES ? shown : "LATEST", callsignIn("ace.sav"));
        EXPECT_EQ(asked + 1, messageCount());
        app.reset();
    }
}

// Random adds, removes and renames of pilots and working copies behind the window's back, in
// any case: once told, the list is what a fill of the folder makes, with the marks, and the
// selection stays on the open pilot while it is there.
TEST_F(AppTest, ListFollowsTheFolderChangedElsewhere) {
    std::mt19937 random(26);
    const std::string spellings[] = {"ace", "Ace", "ACE", "bob", "Bob", "cy"};
    auto pick = [&] { return spellings[random() % std::size(spellings)]; };
    auto ext = [&] { return random() % 3 == 0 ? ".dvw" : ".sav"; };
    addSav("ace.sav", "ACE");
    start();
    for (int turn = 0; turn < 60; ++turn) {
        std::vector<std::string> told;
        for (int change = 0; change < 3; ++change) {
            std::string name = pick() + ext();
            told.push_back(name);
            std::string found = findNameOnDisk(sav.folder(), name);
            if (found.empty()) {
                addSav(name, "X");
            } else if (random() % 2 == 0) {
                std::filesystem::remove(sav.file(found));
            } else {
                std::filesystem::rename(sav.file(found), sav.file(name));
                told.push_back(found);
            }
        }
        headless::changeFolder(window(), told);
        headless::advanceTime(kFolderChangeDelayMs);
        const std::vector<std::string> shown = labels();
        const std::vector<int> marks = images();
        list().fillListWindow();
        ASSERT_EQ(labels(), shown) << turn;
        ASSERT_EQ(images(), marks) << turn;
        if (!openFile().empty() && selected() >= 0) {
            EXPECT_TRUE(sameNameIgnoringCase(shown[static_cast<std::size_t>(selected())] +
                                                 openFile().substr(openFile().size() - 4),
                                             openFile()));
        }
    }
}

} // namespace

namespace {

// A second start hands its file to the window running on the same settings, which opens it
// as an import would; with the window gone, nobody takes it.
TEST_F(AppTest, ASecondStartHandsItsFileToTheWindow) {
    addSav("ace.sav", "ACE");
    addSav("far.sav", "FAR", &game);
    start();
    ASSERT_TRUE(ClaimSingleInstance(program.folder()));
    EXPECT_FALSE(ClaimSingleInstance(program.folder()));
    EXPECT_TRUE(HandToRunningInstance(program.folder(), game.file("far.sav")));
    EXPECT_EQ("far.sav", openFile());
    EXPECT_EQ("FAR", callsignIn("far.sav"));
    app.reset();
    EXPECT_FALSE(HandToRunningInstance(program.folder(), ""));
}

} // namespace
