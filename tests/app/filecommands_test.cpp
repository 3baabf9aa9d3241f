#include "apptest.h"

#include "common/filesizelimit.h"
#include "resources/resources.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace resources;

namespace {

const char* const kTemplateMessage = "Error opening template file!\nClick File->Settings and make "
                                     "sure\nTemplate File is a valid sav file";

// The letters a key press of each of these keys types into the callsign.
std::string typed(TDrovakWindow& w, const std::string& keys) {
    std::string out;
    for (char k : keys) {
        out += static_cast<char>(w.editor().getASCII(static_cast<unsigned char>(k), false));
    }
    return out;
}

TEST_F(AppTest, TypedCharactersReachTheFileWhenClosingWithYes) {
    addSav("ace.sav", "ACE");
    start();
    clickField(kFieldCallsign);
    typeKeys("XYZ");
    headless::scriptMessageBox(IDYES);
    EXPECT_TRUE(headless::closeWindow(frame()));
    EXPECT_EQ("ACE" + typed(window(), "XYZ"), callsignIn("ace.sav"));
    EXPECT_FALSE(sav.exists("ace.dvw"));
}

// The first change makes the working copy and its mark at once; later keys reach it at most
// the pause time after they changed the record, even while the typing goes on, and before
// another pilot is opened. The open row's callsign is the record's.
TEST_F(AppTest, WorkingCopyFollowsTheTyping) {
    addSav("ace.sav", "ACE");
    addSav("bob.sav", "BOB");
    start();
    clickField(kFieldCallsign);
    typeKeys("Q");
    EXPECT_EQ((std::vector<int>{1, 0}), headless::listImages(list()));
    EXPECT_TRUE(sav.exists("ace.dvw"));
    EXPECT_TRUE(headless::isCommandEnabled(frame(), CM_SAVE));
    for (char key : std::string("RST")) {
        typeKeys(std::string(1, key));
        headless::advanceTime(100);
    }
    std::string expected = "ACE" + typed(window(), "QRST");
    EXPECT_EQ(expected, callsignIn("ace.dvw"));

    typeKeys("U");
    expected += typed(window(), "U");
    EXPECT_EQ(expected, headless::cellText(list(), 0, 1));
    EXPECT_NE(expected, callsignIn("ace.dvw"));
    headless::advanceTime(kWorkingCopyDelayMs);
    EXPECT_EQ(expected, callsignIn("ace.dvw"));
    EXPECT_EQ("ACE", callsignIn("ace.sav"));

    typeKeys("V");
    select("bob");
    EXPECT_EQ(expected + typed(window(), "V"), callsignIn("ace.dvw"));
}

TEST_F(AppTest, NewThenNewAgain) {
    addSav("ace.sav", "ACE");
    start();
    headless::chooseMenuItem(frame(), CM_NEW);
    EXPECT_TRUE(window().isNewFileOpen());
    EXPECT_EQ("BULLDOG", callsignIn(" New Sav File.dvw"));
    EXPECT_EQ(" New Sav File", labels()[static_cast<std::size_t>(selected())]);
    clickField(kFieldCallsign);
    typeKeys("Q");

    // Asked about, the typing is in the working copy, before the pause too.
    headless::scriptMessageBox(IDCANCEL);
    headless::chooseMenuItem(frame(), CM_NEW);
    EXPECT_EQ("Save changes to current file?", lastMessage());
    EXPECT_EQ(MB_ICONSTOP, headless::messageBoxes().back().icon);
    EXPECT_EQ("BULLDOG" + typed(window(), "Q"), callsignIn(" New Sav File.dvw"));

    headless::scriptMessageBox(IDNO);
    headless::chooseMenuItem(frame(), CM_NEW);
    EXPECT_EQ("BULLDOG", callsignIn(" New Sav File.dvw")); // a fresh one from the template
}

TEST_F(AppTest, SaveRemovesTheWorkingCopy) {
    addSav("ace.sav", "ACE");
    start();
    clickField(kFieldCallsign);
    typeKeys("Q");
    EXPECT_TRUE(headless::isCommandEnabled(frame(), CM_SAVE));
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_FALSE(sav.exists("ace.dvw"));
    EXPECT_EQ("ACE" + typed(window(), "Q"), callsignIn("ace.sav"));
    EXPECT_EQ((std::vector<int>{0}), headless::listImages(list()));
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_SAVE));
    // A change after saving makes a working copy again.
    clickField(kFieldCallsign);
    typeKeys("R");
    EXPECT_TRUE(sav.exists("ace.dvw"));
}

// A Save that fails, for want of the template or of room on the disk, is said; the edit stays
// in its working copy, which stays marked and open, and after a restart Save writes it.
TEST_F(AppTest, FailedSaveKeepsTheWorkingCopyAndSaysSo) {
    addSav("ace.sav", "ACE");
    start();
    clickField(kFieldCallsign);
    typeKeys("Q");
    headless::advanceTime(kWorkingCopyDelayMs);
    const std::string edited = "ACE" + typed(window(), "Q");
    for (bool diskFull : {false, true}) {
        SCOPED_TRACE(diskFull ? "the disk is full" : "the template is gone");
        headless::scriptMessageBox(IDOK);
        if (!diskFull) {
            fs::rename(game.file("raptor.sav"), game.file("kept"));
            headless::chooseMenuItem(frame(), CM_SAVE);
            fs::rename(game.file("kept"), game.file("raptor.sav"));
        } else {
#ifndef _WIN32 // a write made to fail part way needs a POSIX file size limit
            FileSizeLimit limit(10);
            headless::chooseMenuItem(frame(), CM_SAVE);
#else
            continue;
#endif
        }
        EXPECT_EQ(diskFull ? "Error saving file!" : kTemplateMessage, lastMessage());
        EXPECT_EQ("ACE", callsignIn("ace.sav"));
        EXPECT_EQ(edited, callsignIn("ace.dvw"));
        EXPECT_EQ((std::vector<int>{1}), headless::listImages(list()));
        EXPECT_STREQ("ace.dvw", window().currentPlayer().getFileName());
        EXPECT_TRUE(headless::isCommandEnabled(frame(), CM_SAVE));
    }
    app.reset();
    start();
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_EQ(edited, callsignIn("ace.sav"));
    EXPECT_FALSE(sav.exists("ace.dvw"));
}

TEST_F(AppTest, SaveOfTheNewFileGoesToSaveAs) {
    start();
    headless::chooseMenuItem(frame(), CM_NEW);
    headless::scriptFileDialogCancel();
    headless::chooseMenuItem(frame(), CM_SAVE);
    ASSERT_EQ(1u, headless::fileDialogs().size());
    EXPECT_EQ(".sav", headless::fileDialogs()[0].fileName);
    EXPECT_TRUE(sav.exists(" New Sav File.dvw"));

    headless::scriptFileDialog(sav.file("mine"));
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_EQ("BULLDOG", callsignIn("mine.sav"));
    EXPECT_FALSE(sav.exists(" New Sav File.dvw"));
    EXPECT_FALSE(window().isNewFileOpen());
    EXPECT_EQ((std::vector<std::string>{"mine"}), labels());
    EXPECT_STREQ("mine.sav", window().currentPlayer().getFileName());
}

// The mark, the Save command and the next Save As follow the working copy, which a cancelled
// Save As leaves where it was; the Save As that goes through leaves it too.
TEST_F(AppTest, SaveAsOfAFileWithAWorkingCopy) {
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "EDITED");
    start();
    for (int round = 0; round < 2; ++round) {
        headless::scriptFileDialogCancel();
        headless::chooseMenuItem(frame(), CM_SAVEAS);
        EXPECT_EQ("ace.sav", headless::fileDialogs().back().fileName);
        EXPECT_EQ((std::vector<int>{1}), headless::listImages(list()));
        EXPECT_TRUE(headless::isCommandEnabled(frame(), CM_SAVE));
        EXPECT_EQ(sav.folder(), headless::fileDialogs().back().initialDir);
    }
    headless::scriptFileDialog(sav.file("copy.SAV"));
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    // The extension test is exact; the original keeps its working copy.
    EXPECT_EQ("EDITED", callsignIn("copy.SAV.sav"));
    EXPECT_TRUE(sav.exists("ace.dvw"));
    EXPECT_STREQ("copy.SAV.sav", window().currentPlayer().getFileName());
    select("ace");
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_EQ("copy.SAV.sav", sav.listing());
}

// A new file's working copy found at start is the new file again.
TEST_F(AppTest, NewFileSurvivesARestart) {
    addSav(" New Sav File.dvw", "FRESH");
    start();
    EXPECT_TRUE(window().isNewFileOpen());
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_UNDO));
    headless::scriptFileDialog(sav.file("mine"));
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_EQ("mine.sav", sav.listing());
    EXPECT_FALSE(window().isNewFileOpen());
}

// A copy saved outside the SAV folder is only a copy, under the pilot's own name too: the
// pilot stays open in its working copy, marked, and the next Save writes its own file; the
// new file stays the new file.
TEST_F(AppTest, SaveAsOutsideTheSavFolderIsOnlyACopy) {
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "EDITED");
    TempDir elsewhere;
    start();
    headless::scriptFileDialog(elsewhere.file("ace.sav"));
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_STREQ("EDITED", elsewhere.read("ace.sav").c_str() + 80);
    EXPECT_EQ("ace.dvw ace.sav", sav.listing());
    EXPECT_EQ((std::vector<int>{1}), headless::listImages(list()));
    EXPECT_STREQ("ace.dvw", window().currentPlayer().getFileName());
    clickField(kFieldCallsign);
    typeKeys("Q");
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_EQ("EDITED" + typed(window(), "Q"), callsignIn("ace.sav"));
    EXPECT_STREQ("EDITED", elsewhere.read("ace.sav").c_str() + 80);
    // The new file stays the new file.
    headless::chooseMenuItem(frame(), CM_NEW);
    headless::scriptFileDialog(elsewhere.file("mine.sav"));
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_TRUE(elsewhere.exists("mine.sav"));
    EXPECT_TRUE(window().isNewFileOpen());
    EXPECT_EQ(" New Sav File.dvw ace.sav", sav.listing());
    EXPECT_STREQ(" New Sav File.dvw", window().currentPlayer().getFileName());
}

TEST_F(AppTest, SaveAsAsksBeforeReplacingAnyFile) {
    addSav("ace.sav", "ACE");
    TempDir elsewhere;
    elsewhere.write("other.sav", "precious");
    start();
    // Outside the SAV folder too.
    headless::scriptFileDialog(elsewhere.file("other.sav"));
    headless::scriptMessageBox(IDNO);
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_EQ("File already exists!  Overwrite?", lastMessage());
    EXPECT_EQ("precious", elsewhere.read("other.sav"));

    headless::scriptFileDialog(elsewhere.file("other.sav"));
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_EQ(440u, elsewhere.read("other.sav").size());

    headless::scriptFileDialog(sav.file(".sav"));
    headless::scriptMessageBox(IDOK);
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_EQ("File must have a name!", lastMessage());

    // A hidden name would be a pilot the list never shows.
    headless::scriptFileDialog(sav.file(".ghost.sav"));
    headless::scriptMessageBox(IDOK);
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_EQ("Error saving file!", lastMessage());
    EXPECT_FALSE(sav.exists(".ghost.sav"));
}

// A label's files are the ones on disk whatever the case of their names: nothing is doubled by
// a second spelling, and nothing is left behind.
TEST_F(AppTest, LabelsActOnTheNamesOnDisk) {
    addSav("Pilot.sav", "OLD");
    addSav("pilot.dvw", "EDITED");
    start();
    ASSERT_EQ((std::vector<std::string>{"pilot"}), labels());
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_EQ("Pilot.sav", sav.listing());
    EXPECT_EQ("EDITED", callsignIn("Pilot.sav"));

    // Save As a name that differs only in case asks, and then writes that file.
    headless::scriptFileDialog(sav.file("PILOT.sav"));
    headless::scriptMessageBox(IDNO);
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_EQ("File already exists!  Overwrite?", lastMessage());
    headless::scriptFileDialog(sav.file("PILOT.sav"));
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_SAVEAS);
    EXPECT_EQ("Pilot.sav", sav.listing());

    addSav("PILOT.dvw", "AGAIN"); // behind the program's back: Delete still takes both
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_EQ("", sav.listing());
}

// A pilot that is there but cannot be read is said so by name, and nothing is ever written
// for it: blank fields typed over would otherwise replace it.
TEST_F(AppTest, UnreadableFileIsReportedAndNeverWritten) {
    addSav("ace.sav", "ACE");
    addSav("ghost.sav", "GHOST");
    start();
    // A folder where the file was read (as root, permissions alone stop nothing).
    fs::remove(sav.file("ghost.sav"));
    fs::create_directory(sav.file("ghost.sav"));
    headless::scriptMessageBox(IDOK);
    select("ghost");
    EXPECT_EQ(0u, lastMessage().find("Could not read ghost.sav: "));
    clickField(kFieldCallsign);
    typeKeys("Q");
    EXPECT_FALSE(sav.exists("ghost.dvw"));
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_SAVE));
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_TRUE(fs::is_directory(sav.file("ghost.sav")));
    EXPECT_EQ("ace.sav ghost.sav", sav.listing());
}

TEST_F(AppTest, DuplicateNumbersCopies) {
    addSav("pilot.sav", "P");
    start();
    select("pilot");
    headless::chooseMenuItem(frame(), CM_DUPLICATE);
    EXPECT_EQ("P", callsignIn("pilot(1).sav"));
    EXPECT_STREQ("pilot(1).sav", window().currentPlayer().getFileName());
    headless::chooseMenuItem(frame(), CM_DUPLICATE);
    EXPECT_TRUE(sav.exists("pilot(2).sav"));
    for (int i = 3; i <= 9; ++i) {
        addSav("pilot(" + std::to_string(i) + ").sav", "P");
    }
    list().fillListWindow();
    select("pilot");
    std::string before = sav.listing();
    headless::scriptMessageBox(IDOK);
    headless::chooseMenuItem(frame(), CM_DUPLICATE);
    EXPECT_EQ("Too many copies already!", lastMessage());
    EXPECT_EQ("pilot(9)", headless::messageBoxes().back().caption);
    EXPECT_EQ(before, sav.listing());
}

// A copy that cannot be written, its name too long or the template gone, is said, and the
// pilot copied stays open.
TEST_F(AppTest, DuplicateThatCannotBeWrittenIsRefused) {
    const std::string fits(120, 'f'), tooLong(121, 't'); // "(1).sav" makes 127 and 128
    addSav("a.sav", "A");
    addSav(fits + ".sav", "F");
    addSav(tooLong + ".sav", "T");
    start();
    select(fits);
    headless::chooseMenuItem(frame(), CM_DUPLICATE);
    EXPECT_TRUE(sav.exists(fits + "(1).sav"));
    const std::string before = sav.listing();
    for (const std::string& label : {tooLong, fits}) {
        select(label);
        if (label == fits) {
            fs::remove(game.file("raptor.sav"));
        }
        headless::scriptMessageBox(IDOK);
        headless::chooseMenuItem(frame(), CM_DUPLICATE);
        EXPECT_EQ(label == fits ? kTemplateMessage : "Error saving file!", lastMessage());
        EXPECT_EQ(before, sav.listing());
        EXPECT_EQ(label + ".sav", window().currentPlayer().getFileName());
    }
}

TEST_F(AppTest, DuplicateCarriesUnsavedChanges) {
    addSav("a(5).sav", "A");
    start();
    select("a(5)");
    clickField(kFieldCallsign);
    typeKeys("Q");
    headless::chooseMenuItem(frame(), CM_DUPLICATE);
    EXPECT_EQ("A" + typed(window(), "Q"), callsignIn("a(5)(1).sav"));
    EXPECT_TRUE(sav.exists("a(5).dvw"));
}

// Names are UTF-8 text; the system must get these letters, not the ANSI code page's reading
// of their bytes (the second name fits no single code page).
TEST_F(AppTest, PilotNamedBeyondAsciiIsSavedListedRenamedAndDeleted) {
    const std::string first = "\u00c4rger \u00f1 \u00f8";
    const std::string second = "\u00c5se \u0416 \u65e5";
    addSav(first + ".sav", "ACE");
    start();
    EXPECT_EQ((std::vector<std::string>{first}), labels());
    select(first);
    clickField(kFieldCallsign);
    typeKeys("Q");
    EXPECT_EQ(first + ".dvw " + first + ".sav", sav.listing());
    headless::chooseMenuItem(frame(), CM_SAVE);
    EXPECT_EQ("ACE" + typed(window(), "Q"), callsignIn(first + ".sav"));

    headless::chooseMenuItem(frame(), CM_RENAME);
    headless::endLabelEdit(list(), second);
    EXPECT_EQ(second + ".sav", sav.listing());
    EXPECT_EQ((std::vector<std::string>{second}), labels());
    EXPECT_EQ("ACE" + typed(window(), "Q"), callsignIn(second + ".sav"));

    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_EQ("", sav.listing());
    EXPECT_TRUE(labels().empty());
}

TEST_F(AppTest, DeleteRemovesFilesAndWorkingCopies) {
    addSav("a.sav", "A");
    addSav("b.sav", "B");
    addSav("b.dvw", "B2");
    addSav("c.sav", "C");
    addSav("d.sav", "D");
    start();
    headless::clickListItem(list(), 0);
    headless::clickListItem(list(), 1, MK_CONTROL);
    headless::clickListItem(list(), 2, MK_CONTROL);
    headless::scriptMessageBox(IDNO);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_EQ(4u, labels().size());

    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_EQ("Are you sure you wish to delete this file(s)?", lastMessage());
    EXPECT_EQ("Deleting", headless::messageBoxes().back().caption);
    EXPECT_EQ("d.sav", sav.listing());
    EXPECT_EQ((std::vector<std::string>{"d"}), labels());
    EXPECT_STREQ("d.sav", window().currentPlayer().getFileName());
}

TEST_F(AppTest, DeletingTheLastFilesLeavesNoOpenFile) {
    addSav("a.sav", "A");
    start();
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_STREQ("", window().currentPlayer().getFileName());
    // A key now writes nothing back.
    clickField(kFieldCallsign);
    typeKeys("Q");
    EXPECT_EQ("", sav.listing());
    for (int id : {CM_SAVEAS, CM_LOAD, CM_DUPLICATE, CM_RENAME, CM_DELETE, CM_SAVE, CM_UNDO}) {
        EXPECT_FALSE(headless::isCommandEnabled(frame(), id)) << id;
    }
}

TEST_F(AppTest, DeletingTheNewFileClearsIt) {
    start();
    headless::chooseMenuItem(frame(), CM_NEW);
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_DELETE);
    EXPECT_FALSE(window().isNewFileOpen());
    std::size_t asked = messageCount();
    headless::chooseMenuItem(frame(), CM_NEW);
    EXPECT_EQ(asked, messageCount()); // the next New asks nothing
}

TEST_F(AppTest, UndoThrowsTheWorkingCopyAway) {
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "EDITED");
    start();
    EXPECT_STREQ("EDITED", window().currentPlayer().callsign.data());
    headless::scriptMessageBox(IDNO);
    headless::chooseMenuItem(frame(), CM_UNDO);
    EXPECT_TRUE(sav.exists("ace.dvw"));
    clickField(kFieldCallsign); // the edit ends with the record it edited
    headless::scriptMessageBox(IDYES);
    headless::chooseMenuItem(frame(), CM_UNDO);
    EXPECT_EQ("Undo Motifications", headless::messageBoxes().back().caption);
    EXPECT_FALSE(sav.exists("ace.dvw"));
    EXPECT_STREQ("ACE", window().currentPlayer().callsign.data());
    EXPECT_STREQ("ace.sav", window().currentPlayer().getFileName());
    EXPECT_FALSE(window().editor().isEditing());
    typeKeys("Q");
    EXPECT_FALSE(sav.exists("ace.dvw"));
}

TEST_F(AppTest, UndoIsRefusedWhileANewFileIsOpen) {
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "EDITED");
    start();
    headless::chooseMenuItem(frame(), CM_NEW);
    select("ace");
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_UNDO));
    headless::sendCommand(window(), CM_UNDO);
    EXPECT_TRUE(sav.exists("ace.dvw"));
}

#ifndef _WIN32 // a write made to fail part way needs a POSIX file size limit
// A working copy that cannot be written, the first one or one at a pause, is said once; the
// mark and the open file stay what is on disk, and the typing is written once it can be.
TEST_F(AppTest, WorkingCopyThatCannotBeWrittenIsReportedOnce) {
    for (bool firstWriteFails : {true, false}) {
        SCOPED_TRACE(firstWriteFails ? "the first write fails" : "a write at a pause fails");
        app.reset();
        headless::reset();
        addSav("ace.sav", "ACE");
        fs::remove(sav.file("ace.dvw"));
        start();
        clickField(kFieldCallsign);
        if (!firstWriteFails) {
            typeKeys("Q");
        }
        {
            FileSizeLimit limit(10);
            headless::scriptMessageBox(IDOK);
            for (char key : std::string("RS")) {
                typeKeys(std::string(1, key));
                headless::advanceTime(kWorkingCopyDelayMs);
            }
        }
        std::size_t reports = 0;
        for (const auto& box : headless::messageBoxes()) {
            reports += box.text == "Error saving file!";
        }
        EXPECT_EQ(1u, reports);
        EXPECT_EQ(!firstWriteFails, sav.exists("ace.dvw"));
        EXPECT_EQ((std::vector<int>{firstWriteFails ? 0 : 1}), headless::listImages(list()));
        EXPECT_STREQ(firstWriteFails ? "ace.sav" : "ace.dvw",
                     window().currentPlayer().getFileName());
        typeKeys("T");
        headless::advanceTime(kWorkingCopyDelayMs);
        EXPECT_EQ("ACE" + typed(window(), firstWriteFails ? "RST" : "QRST"), callsignIn("ace.dvw"));
    }
}
#endif

TEST_F(AppTest, SettingsChangeKeepsTheEditsAndListsTheNewFolder) {
    addSav("ace.sav", "ACE");
    TempDir other;
    other.write("zed.sav", readWholeFile(game.file("raptor.sav")));
    start();
    clickField(kFieldCallsign);
    typeKeys("Q");
    headless::scriptDialog([&](TDialog& dlg) {
        headless::replaceText(dlg, resources::settings::kSavPathEdit, other.folder());
        headless::clickButton(dlg, resources::kOkButton);
    });
    headless::chooseMenuItem(frame(), CM_SETTINGS);
    EXPECT_EQ((std::vector<std::string>{"zed"}), labels());
    EXPECT_EQ("ACE" + typed(window(), "Q"), callsignIn("ace.dvw"));
}

} // namespace
