#include "apptest.h"

#include "resources/resources.h"

#include <filesystem>
#include <set>

using namespace resources;
namespace fs = std::filesystem;

namespace {

TEST_F(AppTest, RenameRules) {
    struct Case {
        std::optional<std::string> text;
        std::string message;
        std::string caption;
    };
    const Case cases[] = {
        {std::nullopt, "", ""},                 // Escape: nothing
        {"bob", "File Already exists!", "bob"}, // another item has it
        {"ACE", "File Already exists!", "ACE"}, // its own label, any case
        {"", "File must have a name!", "Error"},
        {"../escape", "Error saving file!", "Error"}, // would leave the SAV folder
        {"..", "Error saving file!", "Error"},
        {".ace", "Error saving file!", "Error"}, // a hidden file: the pilot would vanish
        {std::string(124, 'n'), "Error saving file!", "Error"}, // no room for ".sav"
    };
    addSav("ace.sav", "ACE");
    addSav("bob.sav", "BOB");
    start();
    std::string before = sav.listing();
    for (const auto& c : cases) {
        std::size_t count = messageCount();
        if (!c.message.empty()) {
            headless::scriptMessageBox(IDOK);
        }
        headless::chooseMenuItem(frame(), CM_RENAME);
        headless::endLabelEdit(list(), c.text);
        if (c.message.empty()) {
            EXPECT_EQ(count, messageCount());
        } else {
            EXPECT_EQ(c.message, lastMessage()) << c.text.value_or("<cancel>");
            EXPECT_EQ(c.caption, headless::messageBoxes().back().caption);
        }
        EXPECT_EQ(before, sav.listing()) << c.text.value_or("<cancel>");
    }
    // A rename that cannot write keeps the file it was given: the next key still goes into
    // its working copy, not into one under the name that failed.
    fs::remove(game.file("raptor.sav")); // the template
    headless::scriptMessageBox(IDOK);
    headless::chooseMenuItem(frame(), CM_RENAME);
    headless::endLabelEdit(list(), std::string("zed"));
    EXPECT_EQ(0u, lastMessage().find("Error opening template file!"));
    EXPECT_STREQ("ace.sav", window().currentPlayer().getFileName());
    EXPECT_EQ(before, sav.listing());
}

TEST_F(AppTest, RenameMovesTheWorkingCopy) {
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "EDITED");
    start();
    headless::chooseMenuItem(frame(), CM_RENAME);
    headless::endLabelEdit(list(), std::string("bob"));
    EXPECT_EQ("bob.dvw bob.sav", sav.listing());
    EXPECT_EQ("EDITED", callsignIn("bob.sav"));
    EXPECT_EQ("EDITED", callsignIn("bob.dvw"));
    EXPECT_EQ((std::vector<std::string>{"bob"}), labels());
    EXPECT_EQ((std::vector<int>{1}), headless::listImages(list()));
}

TEST_F(AppTest, LongLabelsWork) {
    std::string longLabel(120, 'L');
    addSav(longLabel + ".sav", "LONG");
    addSav("a.sav", "A");
    writeSettings("lastLoadedFile = " + longLabel + ".sav\r\n");
    start();
    EXPECT_EQ(longLabel, labels()[static_cast<std::size_t>(selected())]);
    EXPECT_EQ("LONG", headless::cellText(list(), 1, 1));
    headless::chooseMenuItem(frame(), CM_RENAME);
    std::string longer(123, 'M');
    headless::endLabelEdit(list(), longer);
    EXPECT_STREQ((longer + ".sav").c_str(), window().currentPlayer().getFileName());
    EXPECT_EQ(longer, labels()[static_cast<std::size_t>(selected())]);
}

TEST_F(AppTest, ColumnHelp) {
    addSav("a.sav", "A");
    start();
    std::set<std::string> texts;
    for (int column = 0; column < 3; ++column) {
        headless::scriptMessageBox(IDCANCEL);
        headless::clickListHeader(list(), column);
        EXPECT_TRUE(texts.insert(lastMessage()).second) << "each column has its own help";
        EXPECT_EQ("SAV files", headless::messageBoxes().back().caption);
        EXPECT_EQ(MB_OKCANCEL, headless::messageBoxes().back().buttons);
    }
}

// The list's menu, the editor's and the window's; the Delete key on the list.
TEST_F(AppTest, PopupMenusAndDeleteKey) {
    addSav("a.sav", "A");
    addSav("b.sav", "B");
    start();
    auto ids = [] {
        std::vector<int> out;
        for (const auto& item : headless::popupMenus().back().items) {
            out.push_back(item.id);
        }
        return out;
    };
    TScreenRect field = window().editor().fieldRect(kFieldCallsign);
    headless::sendMouse(window(), TMsgKind::RButtonDown, TPoint(field.left + 3, field.top + 3));
    EXPECT_EQ((std::vector<int>{CM_CUT, CM_COPY, CM_PASTE, 0, CM_UNDO}), ids());
    headless::sendMouse(window(), TMsgKind::RButtonDown, TPoint(770, 470));
    EXPECT_EQ(
        (std::vector<int>{CM_LOAD, CM_EMAIL, 0, CM_SAVE, CM_SAVEAS, 0, CM_SETTINGS, 0, CM_UNDO}),
        ids());
    headless::scriptPopupChoice(CM_DUPLICATE);
    headless::rightClickListItem(list(), 1);
    EXPECT_EQ((std::vector<int>{CM_LOAD, CM_EMAIL, 0, CM_DUPLICATE, CM_RENAME, CM_DELETE}), ids());
    EXPECT_TRUE(sav.exists("b(1).sav"));

    headless::clickListItem(list(), 0);
    headless::scriptMessageBox(IDYES);
    headless::pressKey(list(), VK_DELETE);
    EXPECT_FALSE(sav.exists("a.sav"));
}

TEST_F(AppTest, KeysGoToTheEditorWhileAFieldIsEdited) {
    addSav("a.sav", "A");
    start();
    clickField(kFieldCallsign);
    headless::pressKey(list(), VK_DELETE); // deletes in the field, not the file
    EXPECT_TRUE(sav.exists("a.sav"));
    EXPECT_EQ(0u, messageCount());
    // A click on the list ends the edit and hands the keys back.
    headless::clickListItem(list(), 0);
    EXPECT_FALSE(window().editor().isEditing());
    headless::scriptMessageBox(IDNO);
    headless::pressKey(list(), VK_DELETE);
    EXPECT_EQ("Are you sure you wish to delete this file(s)?", lastMessage());
}

} // namespace
