// The list in the window: its column help, menus and keys, and the callsign column drawn in
// the game's own font. Drops and File > Import meet other pilots in the folder model.
#include "apptest.h"

#include "resources/resources.h"

#include <filesystem>
#include <set>

using namespace resources;
namespace fs = std::filesystem;

namespace {

// The callsign column drawn in the game's font; the help on each column; the list's menu, the
// editor's and the window's; the Delete key on the list.
TEST_F(AppTest, ColumnHelpPopupMenusAndDeleteKey) {
    const char* const callsigns[] = {"AB", "~3AB", "~3AB", "~3A~4B"};
    for (char name = 'a'; name < 'e'; ++name) {
        addSav(std::string(1, name) + ".sav", callsigns[name - 'a']);
    }
    start();
    // The callsign cell is a picture: codes applied and not shown, one picture per callsign.
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
    std::set<std::string> texts;
    for (int column = 0; column < 3; ++column) {
        headless::scriptMessageBox(IDCANCEL);
        headless::clickListHeader(list(), column);
        EXPECT_TRUE(texts.insert(lastMessage()).second) << "each column has its own help";
        EXPECT_EQ("SAV files", headless::messageBoxes().back().caption);
        EXPECT_EQ(MB_OKCANCEL, headless::messageBoxes().back().buttons);
    }
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

    // While a field is edited the Delete key deletes in it, not the file; a click on the list
    // ends the edit and hands the keys back.
    clickField(kFieldCallsign);
    headless::pressKey(list(), VK_DELETE);
    EXPECT_EQ(3u, messageCount());
    headless::clickListItem(list(), 0);
    EXPECT_FALSE(window().editor().isEditing());
    headless::scriptMessageBox(IDYES);
    headless::pressKey(list(), VK_DELETE);
    EXPECT_EQ("Are you sure you wish to delete this file(s)?", lastMessage());
    EXPECT_FALSE(sav.exists("a.sav"));
}

#ifndef _WIN32 // Windows paths are shorter
// A pilot whose path fills the program's room for one (512 bytes with the terminator) is
// listed, but neither its callsign nor its date is read: one byte less is.
TEST_F(AppTest, RowsShowTheirFilesWhilePathsFitTheirRoom) {
    const std::size_t deep = 506 - sav.folder().size() - 2; // two names and their separators
    const fs::path folder =
        sav.path() / std::string(deep / 2, 'd') / std::string(deep - deep / 2, 'e');
    fs::create_directories(folder);
    TempDir::writeAt(folder / "a.sav", pilot("AB"));
    TempDir::writeAt(folder / "ab.sav", pilot("AB"));
    writeSettings("savPath = " + folder.string() + "/\r\n");
    start();
    ASSERT_EQ((std::vector<std::string>{"a", "ab"}), labels());
    EXPECT_EQ("AB", headless::cellText(list(), 0, 1));
    EXPECT_NE("", headless::cellText(list(), 0, 2)); // its date
    EXPECT_EQ("", headless::cellText(list(), 1, 1) + headless::cellText(list(), 1, 2));
}
#endif

} // namespace
