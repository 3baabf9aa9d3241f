// Pilots brought in from elsewhere: dropped on the window or chosen with File > Import, and
// the callsign column drawn in the game's own font.
#include "apptest.h"

#include "resources/resources.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace resources;

namespace {

TEST_F(AppTest, DroppedAndImportedPilotsComeIntoTheSavFolder) {
    TempDir outside;
    const struct {
        const char* what;
        std::vector<std::string> names; // dropped, or imported when import is set
        bool import;
        std::vector<int> answers; // to the replace questions
        std::string opened;       // the pilot open afterwards
        std::string aceCallsign;  // ace.sav's callsign afterwards
        std::vector<std::string> listed;
        bool refused; // a message names what was left out
    } cases[] = {
        // clang-format off
        {"new pilots", {"Zed.sav", "new.SAV"}, false, {}, "Zed.sav", "ACE", {"ace", "new", "Zed"}, false},
        {"imported", {"new.sav", "Zed.sav"}, true, {}, "new.sav", "ACE", {"ace", "new", "Zed"}, false},
        {"kept", {"ACE.sav"}, false, {IDNO}, "ace.sav", "ACE", {"ace"}, false},
        {"replaced", {"ACE.sav"}, false, {IDYES}, "ace.sav", "OUT", {"ace"}, false},
        {"not a pilot", {"notes.txt", "new.sav"}, false, {IDOK}, "new.sav", "ACE", {"ace", "new"}, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(sav.path())) {
            fs::remove(entry.path());
        }
        addSav("ace.sav", "ACE");
        headless::reset();
        start();
        std::vector<std::string> paths;
        for (const std::string& name : c.names) {
            addSav(name, "OUT", &outside);
            paths.push_back(outside.file(name));
        }
        for (int answer : c.answers) {
            headless::scriptMessageBox(answer);
        }
        if (c.import) {
            headless::scriptFileDialog(paths);
            EXPECT_TRUE(headless::chooseMenuItem(frame(), CM_IMPORT));
            EXPECT_TRUE(headless::fileDialogs().back().flags & OFN_ALLOWMULTISELECT);
        } else {
            EXPECT_TRUE(headless::dropFiles(window(), paths));
        }
        EXPECT_EQ(headless::pendingMessageBoxAnswers(), 0u);
        EXPECT_EQ(labels(), c.listed);
        EXPECT_EQ(window().currentPlayer().getFileName(), c.opened);
        EXPECT_EQ(callsignIn("ace.sav"), c.aceCallsign);
        // No second file under the dropped spelling, nor the pilot renamed to it.
        EXPECT_EQ(std::string::npos,
                  std::string(" ").append(sav.listing()).append(" ").find(" ACE.sav "));
        EXPECT_EQ(lastMessage().find("notes.txt") != std::string::npos, c.refused);
        for (const std::string& label : c.listed) {
            if (label != "ace") {
                EXPECT_EQ(callsignIn(label + ".sav"), "OUT") << label;
            }
        }
        app.reset();
    }
}

// The callsign cell is a picture: codes applied and not shown, one picture per callsign.
TEST_F(AppTest, CallsignColumnShowsTheGameFont) {
    addSav("a.sav", "AB");
    addSav("b.sav", "~3AB");
    addSav("c.sav", "~3AB");
    addSav("d.sav", "~3A~4B");
    start();
    std::shared_ptr<const TDib> pictures[4];
    for (int i = 0; i < 4; ++i) {
        pictures[i] = headless::cellPicture(list(), i, 1);
        ASSERT_NE(pictures[i], nullptr) << i;
        EXPECT_EQ(headless::cellText(list(), i, 1), "AB");
    }
    EXPECT_EQ(pictures[0]->Width(), pictures[1]->Width());
    EXPECT_EQ(pictures[1]->Width(), pictures[3]->Width());
    EXPECT_FALSE(pictures[0]->GetPixels() == pictures[1]->GetPixels());
    EXPECT_FALSE(pictures[1]->GetPixels() == pictures[3]->GetPixels());
    EXPECT_EQ(pictures[1], pictures[2]);
    EXPECT_EQ(headless::cellPicture(list(), 0, 2), nullptr); // the dates stay text
}

} // namespace
