#include "apptest.h"

#include "common/filesizelimit.h"
#include "common/fsfaults.h"
#include "resources/resources.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;
using namespace resources;

namespace {

const char* const kTemplateMessage = "Error opening template file!\nClick File->Settings and make "
                                     "sure\nTemplate File is a valid sav file";

// Another New asks first. A New that cannot be made says why and leaves no new file, not even the
// old one; the edit ends, and the fields show the record left, not the pilot of before.
TEST_F(AppTest, NewAgainAsksAndOneThatCannotBeMadeSaysWhy) {
    addSav("ace.sav", "ACE");
    start();
    choose(CM_NEW);
    choose(CM_NEW, {IDCANCEL});
    EXPECT_EQ("Save changes to current file?", lastMessage());
    EXPECT_EQ(MB_ICONSTOP, headless::messageBoxes().back().icon);
    select("ace");
    clickField(kFieldServerName); // the callsign differs from the template's, the server not
    headless::paintAll(window());
    fs::rename(game.file("raptor.sav"), game.file("kept"));
    choose(CM_NEW, {IDNO, IDOK});
    EXPECT_EQ(kTemplateMessage, lastMessage());
    EXPECT_FALSE(window().isNewFileOpen());
    EXPECT_FALSE(sav.exists(" New Sav File.dvw"));
    EXPECT_FALSE(window().editor().isEditing());
    headless::paint(window());
    const TRgbImage shown = headless::surface(window());
    headless::paintAll(window());
    EXPECT_TRUE(shown == headless::surface(window()));
    fs::rename(game.file("kept"), game.file("raptor.sav"));
#ifndef _WIN32 // a write made to fail part way needs a POSIX file size limit
    {
        FileSizeLimit limit(10);
        choose(CM_NEW, {IDOK});
    }
    EXPECT_EQ("Error making new file!\n" + sav.file(" New Sav File.dvw") + ": " +
                  std::strerror(EFBIG),
              lastMessage());
    EXPECT_FALSE(window().isNewFileOpen());
#endif
}

// A Save that fails, for want of the template, of room on the disk or of leave to write the
// file, is said with the file and the reason; the edit stays in its working copy, which stays
// marked and open, and after a restart Save writes it.
TEST_F(AppTest, FailedSaveKeepsTheWorkingCopyAndSaysSo) {
    addSav("ace.sav", "ACE");
    start();
    clickField(kFieldSide); // the side is part of the record: a click on it alone is an edit
    headless::advanceTime(kWorkingCopyDelayMs);
    EXPECT_EQ(1, sav.read("ace.dvw").at(TSavLayout::side));
    typeCallsign("Q");
    headless::advanceTime(kWorkingCopyDelayMs);
    // A change of another field alone is written as well (the password follows the name).
    for (const int field : {kFieldSquadronName, kFieldSquadronPassword}) {
        clickField(field);
        typeKeys("7");
        headless::advanceTime(kWorkingCopyDelayMs);
        const std::size_t at = TSavLayout::squadronName + 22 * (field - kFieldSquadronName);
        EXPECT_NE(std::string::npos, sav.read("ace.dvw").substr(at, 12).find('7')) << field;
    }
    std::string edited = "ACE" + typed("Q");
    const std::string failed = "Error saving file!\n" + sav.file("ace.sav") + ": ";
    for (const std::string& message : {std::string(kTemplateMessage), failed + std::strerror(EFBIG),
                                       failed + "the file is read-only"}) {
        SCOPED_TRACE(message);
        if (message == kTemplateMessage) {
            fs::rename(game.file("raptor.sav"), game.file("kept"));
            choose(CM_SAVE, {IDOK});
            fs::rename(game.file("kept"), game.file("raptor.sav"));
        } else if (message.ends_with("read-only")) {
            fs::permissions(sav.file("ace.sav"), fs::perms::owner_read);
            choose(CM_SAVE, {IDOK});
            fs::permissions(sav.file("ace.sav"), fs::perms::owner_read | fs::perms::owner_write);
        } else {
#ifndef _WIN32 // a write made to fail part way needs a POSIX file size limit
            FileSizeLimit limit(10);
            choose(CM_SAVE, {IDOK});
#else
            continue;
#endif
        }
        EXPECT_EQ(message, lastMessage());
        EXPECT_EQ("ACE", callsignIn("ace.sav"));
        EXPECT_EQ(edited, callsignIn("ace.dvw"));
        EXPECT_EQ((std::vector<int>{1}), images());
        EXPECT_EQ("ace.dvw", openFile());
        EXPECT_TRUE(headless::isCommandEnabled(frame(), CM_SAVE));
        EXPECT_FALSE(window().editor().isEditing());
    }
#ifndef _WIN32 // the write's system calls are a POSIX seam
    {
        // Only the SAV file cannot be written: the typing of before the pause is kept too.
        FileSystemFaults faults;
        typeCallsign("R"); // the first change after a Save is written at once
        const int oneWrite = static_cast<int>(faults.log().size());
        typeKeys("S");
        faults.failCall(oneWrite + 1, EIO);
        choose(CM_SAVE, {IDOK});
    }
    edited += typed("RS");
    EXPECT_EQ(edited, callsignIn("ace.dvw"));
#endif
    app.reset();
    start();
    choose(CM_SAVE);
    EXPECT_EQ(edited, callsignIn("ace.sav"));
    EXPECT_FALSE(sav.exists("ace.dvw"));
}

// Save As, Rename and Duplicate refused: each says why (cancelled, nothing), no file changes in
// the SAV folder or elsewhere, and the file open stays open: the next key goes into its working
// copy, not into one under the name that failed.
TEST_F(AppTest, RefusedCommandsChangeNoFile) {
    const std::string fits(120, 'f'), tooLong(121, 't'); // "(1).sav" makes 127 and 128
    const std::string overwrite = "File already exists!  Overwrite?";
    TempDir elsewhere;
    elsewhere.write("other.sav", "precious");
    for (const std::string& label : {std::string("ace"), std::string("bob"), fits, tooLong}) {
        addSav(label + ".sav", "X");
    }
    // Why, the label selected first, the command, what is chosen (Save As: the path; Rename: the
    // text typed), and what is said (nothing: nothing is asked).
    const std::tuple<const char*, std::string, int, std::optional<std::string>, std::string>
        cases[] = {
            // clang-format off
        {"save as over a file elsewhere, answered No", "ace", CM_SAVEAS, elsewhere.file("other.sav"), overwrite},
        {"save as no name", "ace", CM_SAVEAS, sav.file(".sav"), "File must have a name!"},
        {"save as a path that .sav makes as long as the program's room", "ace", CM_SAVEAS, sav.file(std::string(508 - sav.folder().size(), 'n')), "Error saving file!"},
        {"save as a hidden name: a pilot the list never shows", "ace", CM_SAVEAS, sav.file(".ghost.sav"), "Error saving file!"},
        {"rename ended with Escape", "ace", CM_RENAME, std::nullopt, ""},
        {"rename to no name", "ace", CM_RENAME, "", "File must have a name!"},
        {"rename out of the SAV folder", "ace", CM_RENAME, "../escape", "Error saving file!"},
        {"rename to the folder above", "ace", CM_RENAME, "..", "Error saving file!"},
        {"rename to a hidden name: the pilot would vanish", "ace", CM_RENAME, ".ace", "Error saving file!"},
        {"rename with no room for .sav", "ace", CM_RENAME, std::string(124, 'n'), "Error saving file!"},
        {"rename, the template gone", "ace", CM_RENAME, "zed", kTemplateMessage},
        {"duplicate whose name is too long", tooLong, CM_DUPLICATE, std::nullopt, "Error saving file!"},
        {"duplicate of the longest name that fits, the template gone", fits, CM_DUPLICATE, std::nullopt, kTemplateMessage},
            // clang-format on
        };
    start();
    for (const auto& [why, label, command, input, message] : cases) {
        SCOPED_TRACE(why);
        select(label);
        const std::string open = openFile(), listing = sav.listing();
        const std::size_t asked = messageCount();
        if (message == kTemplateMessage) {
            fs::rename(game.file("raptor.sav"), game.file("kept"));
        }
        if (command == CM_SAVEAS) {
            headless::scriptFileDialog(*input);
        }
        if (!message.empty()) {
            headless::scriptMessageBox(message == overwrite ? IDNO : IDOK);
        }
        headless::chooseMenuItem(frame(), command);
        if (command == CM_RENAME) {
            headless::endLabelEdit(list(), input);
        }
        if (message == kTemplateMessage) {
            fs::rename(game.file("kept"), game.file("raptor.sav"));
        }
        EXPECT_EQ(asked + (message.empty() ? 0 : 1), messageCount());
        EXPECT_EQ(message, lastMessage().substr(0, message.size()));
        EXPECT_EQ("Error", headless::messageBoxes().back().caption); // of the one before if none
        EXPECT_EQ(listing, sav.listing());
        EXPECT_EQ("precious", elsewhere.read("other.sav"));
        EXPECT_EQ(open, openFile());
    }
}

#ifndef _WIN32 // the write's system calls are a POSIX seam
// A Rename whose write fails once the new file is in place, at the folder's sync, lists it.
TEST_F(AppTest, RenameWhoseWriteFailsLateListsTheNewFile) {
    addSav("ace.sav", "ACE");
    start();
    FileSystemFaults faults;
    choose(CM_RENAME);
    headless::endLabelEdit(list(), "bob");
    const auto& log = faults.log();
    const auto sync = std::find_if(log.begin(), log.end(), [](const std::string& call) {
        return call.starts_with("fsync") && !call.ends_with(".tmp");
    });
    ASSERT_NE(sync, log.end());
    faults.failCall(static_cast<int>(sync - log.begin()) + 1, EIO);
    choose(CM_RENAME, {IDOK});
    headless::endLabelEdit(list(), "zed");
    EXPECT_TRUE(faults.fired());
    EXPECT_EQ("bob.sav zed.sav", sav.listing());
    EXPECT_EQ((std::vector<std::string>{"bob", "zed"}), labels());
}
#endif

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
    typeCallsign("Q");
    EXPECT_FALSE(sav.exists("ghost.dvw"));
    EXPECT_FALSE(headless::isCommandEnabled(frame(), CM_SAVE));
    choose(CM_SAVE);
    EXPECT_TRUE(fs::is_directory(sav.file("ghost.sav")));
    EXPECT_EQ("ace.sav ghost.sav", sav.listing());
    // Another SAV folder chosen in the settings keeps the edits and lists that folder.
    TempDir other;
    other.write("zed.sav", readWholeFile(game.file("raptor.sav")));
    other.write(" New Sav File.dvw", readWholeFile(game.file("raptor.sav")));
    select("ace");
    typeCallsign("Q");
    headless::scriptDialog([&](TDialog& dlg) {
        headless::replaceText(dlg, resources::settings::kSavPathEdit, other.folder());
        headless::clickButton(dlg, resources::kOkButton);
    });
    choose(CM_SETTINGS);
    EXPECT_FALSE(window().editor().showColorChars()); // as drovak.ini says still
    EXPECT_EQ((std::vector<std::string>{" New Sav File", "zed"}), labels());
    EXPECT_TRUE(window().isNewFileOpen()); // the new file is its folder's
    EXPECT_EQ("ACE" + typed("Q"), callsignIn("ace.dvw"));
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
        typeCallsign(firstWriteFails ? "" : "Q");
        {
            FileSizeLimit limit(10);
            headless::scriptMessageBox(IDOK);
            for (char key : std::string("RS")) {
                typeKeys(std::string(1, key));
                headless::advanceTime(kWorkingCopyDelayMs);
            }
        }
        const auto& boxes = headless::messageBoxes();
        EXPECT_EQ(1, std::count_if(boxes.begin(), boxes.end(), [&](auto& box) {
                      return box.text.starts_with("Error saving file!\n" + sav.file("ace.dvw"));
                  }));
        EXPECT_EQ(!firstWriteFails, sav.exists("ace.dvw"));
        EXPECT_EQ((std::vector<int>{firstWriteFails ? 0 : 1}), images());
        EXPECT_EQ(firstWriteFails ? "ace.sav" : "ace.dvw", openFile());
        typeKeys("T");
        headless::advanceTime(kWorkingCopyDelayMs);
        EXPECT_EQ("ACE" + typed(firstWriteFails ? "RST" : "QRST"), callsignIn("ace.dvw"));
    }
}
#endif

// Another program's changes are followed once the folder has been quiet for a moment (a copy of
// many files is one refill), or at once when no timer can be had; then nothing is left ticking.
TEST_F(AppTest, OutsideChangesWaitForTheFolderToSettle) {
    addSav("ace.sav", "ACE");
    start();
    for (const bool timers : {true, false}) {
        SCOPED_TRACE(timers);
        headless::setTimersAvailable(timers);
        const std::string label = timers ? "bob" : "cat";
        sav.write(label + ".sav", pilot("B"));
        ASSERT_TRUE(headless::changeFolder(window(), {label + ".sav"}));
        const auto listed = [&] { return labels().back() == label; };
        EXPECT_EQ(!timers, listed());
        EXPECT_EQ(timers, headless::hasTimer(window(), kFolderChangeTimer));
        headless::advanceTime(kFolderChangeDelayMs);
        EXPECT_TRUE(listed());
        EXPECT_FALSE(headless::hasTimer(window(), kFolderChangeTimer));
    }
    // The open pilot, saved with its field still in edit, follows a rewrite at once: the field
    // edit of the old record ends with it.
    typeCallsign("X");
    headless::typeKey('S', headless::kCtrl);
    ASSERT_TRUE(window().editor().isEditing());
    sav.write("ace.sav", pilot("OTHER"));
    headless::changeFolder(window(), {"ace.sav"});
    headless::advanceTime(kFolderChangeDelayMs);
    EXPECT_EQ("OTHER", std::string(window().currentPlayer().callsign.data()));
    EXPECT_FALSE(window().editor().isEditing());
}

} // namespace
