// Other programs write the SAV folder while the window is open.
#include "apptest.h"

#include "resources/resources.h"

#include <filesystem>

using namespace resources;

namespace {

// Save over a pilot another program rewrote since the window read it asks first: Yes writes
// the user's record, No shows the file's and drops the unsaved changes, Cancel keeps both.
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
}

} // namespace
