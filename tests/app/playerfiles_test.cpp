// What players expect of the files: the game's pilot kept before Load and put back, deleted
// pilots in the trash, odd files said.
#include "apptest.h"

#include "player/gamebackups.h"
#include "resources/resources.h"
#include "support/strutil.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using namespace resources;

namespace {

bool drawn(const std::string& part) {
    const auto& texts = headless::drawnTexts();
    return std::any_of(texts.begin(), texts.end(),
                       [&](auto& drawn) { return drawn.text.find(part) != std::string::npos; });
}

// Load puts the record as it stands, working copy and all, into the game, and remembers it;
// the game's pilot is kept first, and Restore puts it back. Then Delete, with and without the
// trash.
TEST_F(AppTest, LoadKeepsTheGamePilotAndRestorePutsItBack) {
    std::string old = game.read("raptor.sav");
    old.replace(80, 22, std::string(22, '\0')).replace(80, 8, "OLDPILOT");
    game.write("raptor.sav", old);
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "EDITED");
    addSav("was.sav", "WAS");
    addSav("was.dvw", "WAS");
    start();
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_RESTORE)); // nothing kept yet
    TDrovakSettingsXfer loud = window().currentSettings();
    loud.soundOn = 1;
    window().wizardCallback(loud);

    choose(CM_LOAD);
    EXPECT_EQ(sav.read("ace.dvw"), game.read("raptor.sav")); // every byte, not only the callsign
    EXPECT_NE(std::string::npos, program.read("drovak.ini").find("lastLoadedFile = ace.dvw\r\n"));
    std::vector<TGameBackup> kept = listGameBackups();
    ASSERT_EQ(1u, kept.size());
    EXPECT_EQ(old, readWholeFile(kept[0].path));
    // Said without a box to click away: a click and a line below the editor, for a while.
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(std::vector<std::string>{"button"}, headless::playedSounds());
    headless::paintAll(window());
    EXPECT_TRUE(drawn("ace is loaded into F-22 Raptor."));
    headless::advanceTime(kStatusShownMs);
    headless::clearDrawnTexts();
    headless::paintAll(window());
    EXPECT_FALSE(drawn("loaded"));

    ASSERT_TRUE(headless::isCommandEnabled(frame(), CM_RESTORE));
    headless::scriptChoice(-1);
    choose(CM_RESTORE);
    EXPECT_EQ(std::vector<std::string>{kept[0].time + "    OLDPILOT"},
              headless::choiceDialogs().back().lines);
    EXPECT_EQ("EDITED", std::string(game.read("raptor.sav").c_str() + 80));

    headless::scriptChoice(0);
    choose(CM_RESTORE);
    EXPECT_EQ(old, game.read("raptor.sav"));
    kept = listGameBackups();
    ASSERT_EQ(2u, kept.size());
    EXPECT_EQ("EDITED", kept[0].callsign); // the pilot it replaced, newest

    // Without the game's folder nothing is restored, and a Load that cannot write says so.
    TDrovakSettingsXfer noGame = window().currentSettings();
    std::strcpy(noGame.raptorPath.data(), (game.folder() + "missing/").c_str());
    window().wizardCallback(noGame);
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_RESTORE));
    choose(CM_LOAD, {IDOK});
    EXPECT_EQ("Error saving file!\n" + std::string(noGame.raptorPath.data()) +
                  "raptor.sav: " + std::strerror(ENOENT),
              lastMessage());

    // The trash takes a label's files; without it, those it cannot take are named and deleting
    // them for good is asked, No the default. The folder model holds what each answer does.
    choose(CM_DELETE, {IDYES});
    EXPECT_EQ(2u, headless::trashedFiles().size());
    headless::setTrashAvailable(false);
    choose(CM_DELETE, {IDYES, IDNO});
    const headless::TMessageBoxRecord& second = headless::messageBoxes().back();
    // The folder's order says which of the label's two files is named.
    EXPECT_EQ(" and 1 more file(s) cannot be moved to the trash. Delete permanently?",
              second.text.substr(std::strlen("was.sav")));
    EXPECT_EQ(MB_DEFBUTTON2, second.defaultButton);
}

// Odd files are marked, the one opened at the start at once, drawn or not; each is said once
// per run.
TEST_F(AppTest, OddFilesAreMarkedAndSaidOncePerRun) {
    sav.write("a short.sav", "0123456789");
    addSav("good.sav", "GOOD");
    sav.write("squad.sav", game.read("raptor.sav").replace(102, 22, std::string(22, 'S')));
    headless::scriptMessageBox(IDOK);
    start();
    EXPECT_EQ(TSavListWindow::kOddImage, headless::listImages(list()).at(0));
    EXPECT_EQ("a short.sav is 10 bytes, not 440: Save writes a full 440-byte record (the "
              "missing bytes from the template; fields past the end read as empty).\nThe fields "
              "show what the program read.",
              lastMessage());
    for (int row = 0; row < 3; ++row) {
        headless::cellText(list(), row, 1); // the rows as the list draws them
    }
    EXPECT_EQ((std::vector<int>{TSavListWindow::kOddImage, TSavListWindow::kPlainImage,
                                TSavListWindow::kOddImage}),
              headless::listImages(list()));
    headless::scriptMessageBox(IDOK);
    select("squad");
    EXPECT_EQ(0u, lastMessage().find("the squadron name has no end within 22 bytes"));
    select("good");
    select("a short");
    select("squad");
    EXPECT_EQ(2u, messageCount());
}

} // namespace
