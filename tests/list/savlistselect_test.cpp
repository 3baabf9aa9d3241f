// The selection: what is reported to the owner and when, selecting by name and index, the
// edit marks, deletion, and the mouse and keys on the list.
#include "listfixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(SavListTest, ReportsOnlyAChangeOfLabel) {
    fill({"Ace.sav", "Ace.dvw", "Bob.sav"});
    headless::clickListItem(list, 0);
    EXPECT_EQ(Strings{"Ace.dvw"}, owner.takeOpened()) << "Ace has a working copy";
    headless::clickListItem(list, 0);
    EXPECT_TRUE(owner.takeOpened().empty()) << "the item already selected";
    headless::clickListItem(list, 1, MK_CONTROL);
    EXPECT_TRUE(owner.takeOpened().empty()) << "the first selected item is still Ace";
    headless::pressKey(list, 'A');
    EXPECT_TRUE(owner.takeOpened().empty()) << "a key that does not move the selection";
    headless::pressKey(list, VK_DOWN);
    EXPECT_EQ(Strings{"Bob.sav"}, owner.takeOpened());

    // Ace saved: its working copy is gone, and the next report for it is the SAV file.
    headless::clickListItem(list, 0);
    EXPECT_EQ(Strings{"Ace.dvw"}, owner.takeOpened());
    list.resetEditIcon("Ace");
    headless::clickListItem(list, 1);
    headless::clickListItem(list, 0);
    EXPECT_EQ((Strings{"Bob.sav", "Ace.sav"}), owner.takeOpened());
    EXPECT_STREQ("Ace", list.getCurrentFileName());
}

TEST_F(SavListTest, SelectFileByNameOrPath) {
    struct Case {
        const char* why;
        Strings files;
        const char* name;     // nullptr: no name
        const char* selected; // nullptr: nothing
    };
    const std::string sep(1, kPathSeparator);
    const std::string games = sep + "Games" + sep;
    const std::string bobPath = games + "Bob.dvw";
    const std::string xPath = games + "x.sav";
    const Case cases[] = {
        {"a bare label", {"Ace.sav", "Bob.sav"}, "Bob", "Bob"},
        {"a path with a working copy's extension", {"Ace.sav", "Bob.sav"}, bobPath.c_str(), "Bob"},
        {"case is ignored", {"Ace.sav", "bob.sav"}, "BOB.sav", "bob"},
        {"unknown: the game's own file", {"Ace.sav", "raptor.sav"}, xPath.c_str(), "raptor"},
        {"unknown, no raptor: the first item", {"Bob.sav", "Ace.sav"}, xPath.c_str(), "Ace"},
        {"no name: raptor", {"Ace.sav", "raptor.sav"}, nullptr, "raptor"},
        {"no name, no raptor: the first item", {"Bob.sav", "Ace.sav"}, nullptr, "Ace"},
        {"Raptor.sav is not the fallback name, yet finds raptor",
         {"Ace.sav", "raptor.sav"},
         "Raptor.sav",
         "raptor"},
        {"raptor.sav itself missing: the first item", {"Bob.sav"}, "raptor.sav", "Bob"},
        // After the case above: nothing selected, and Bob, open until now, reported gone.
        {"an empty list: nothing", {}, "Ace.sav", nullptr},
    };
    for (const auto& c : cases) {
        TempDir folder;
        for (const auto& name : c.files) {
            folder.write(name, "sav");
        }
        list.setSavPath(folder.folder().c_str());
        list.fillListWindow();
        list.selectFile(c.name);
        std::vector<int> sel = selection();
        if (c.selected == nullptr) {
            EXPECT_TRUE(sel.empty()) << c.why;
            EXPECT_EQ(Strings{""}, owner.takeOpened()) << c.why;
            continue;
        }
        ASSERT_EQ(1u, sel.size()) << c.why;
        EXPECT_EQ(c.selected, labels()[static_cast<std::size_t>(sel[0])]) << c.why;
        EXPECT_EQ(Strings{std::string(c.selected) + ".sav"}, owner.takeOpened()) << c.why;
        EXPECT_FALSE(headless::ensuredVisible(list).empty()) << c.why;
    }
}

TEST_F(SavListTest, SelectIndex) {
    fill({"Ace.sav", "Bob.sav", "Carl.sav"});
    list.selectIndex(2);
    EXPECT_EQ(std::vector<int>{2}, selection());
    EXPECT_EQ(Strings{"Carl.sav"}, owner.takeOpened());
    for (int outside : {-1, 3, 100}) {
        list.selectIndex(outside);
        EXPECT_EQ(std::vector<int>{2}, selection()) << outside;
    }
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(2, list.getSelected());
}

TEST_F(SavListTest, EditMarks) {
    fill({"Ace.sav", "Bob.sav", "Carl.sav"});
    headless::clickListItem(list, 1);
    owner.takeOpened();

    // The first change of Bob: the edit mark, the label dirty, Bob still the selection.
    list.showEditIcon();
    EXPECT_EQ((std::vector<int>{0, 1, 0}), images());
    EXPECT_EQ(Strings{"Bob"}, list.getDirtyFiles());
    EXPECT_EQ(std::vector<int>{1}, selection());
    EXPECT_FALSE(headless::redrawnItems(list).empty());
    list.showEditIcon();
    EXPECT_EQ(Strings{"Bob"}, list.getDirtyFiles());
    EXPECT_EQ((Strings{"Ace", "Bob", "Carl"}), labels()) << "one item per label";
    EXPECT_TRUE(owner.takeOpened().empty()) << "the open file stays open";

    headless::clickListItem(list, 0);
    headless::clickListItem(list, 1);
    EXPECT_EQ((Strings{"Ace.sav", "Bob.dvw"}), owner.takeOpened());

    // Saved: the plain mark again, and the item stays selected.
    list.resetEditIcon("Bob");
    EXPECT_EQ((std::vector<int>{0, 0, 0}), images());
    EXPECT_TRUE(list.getDirtyFiles().empty());
    EXPECT_EQ(std::vector<int>{1}, selection());
    EXPECT_EQ(1, list.getSelected());
    EXPECT_TRUE(owner.takeOpened().empty());

    // A label without a working copy changes nothing.
    list.resetEditIcon("Carl");
    EXPECT_EQ((std::vector<int>{0, 0, 0}), images());
    EXPECT_EQ(std::vector<int>{1}, selection());
}

TEST_F(SavListTest, NoEditMarkWithoutAnOpenFile) {
    fill({"Ace.sav"});
    list.showEditIcon();
    EXPECT_TRUE(list.getDirtyFiles().empty());
    EXPECT_EQ((Strings{"Ace"}), labels());
    EXPECT_EQ(std::vector<int>{0}, images());
}

TEST_F(SavListTest, ResetEditIconOfOneOfSeveralSelectedItems) {
    // Deleting Ace and Bob, Bob with a working copy: Bob's mark goes, Ace's item stays.
    fill({"Ace.sav", "Bob.sav", "Bob.dvw", "Carl.sav"});
    headless::clickListItem(list, 0);
    headless::clickListItem(list, 1, MK_CONTROL);
    list.resetEditIcon("Bob");
    EXPECT_EQ((Strings{"Ace", "Bob", "Carl"}), labels());
    EXPECT_EQ((std::vector<int>{0, 0, 0}), images());
    EXPECT_EQ((std::vector<int>{0, 1}), selection());
}

TEST_F(SavListTest, DeleteSelectsTheItemThatTookThePlace) {
    struct Case {
        const char* why;
        std::vector<int> selected; // indexes in Ace, Bob, Carl, Dan
        Strings opened;            // reported after the deletion
        std::vector<int> selection;
    };
    const Case cases[] = {
        {"a middle item: the one after it", {1}, {"Carl.sav"}, {1}},
        {"the first item", {0}, {"Bob.sav"}, {0}},
        {"the last item: the one that is last now", {3}, {"Carl.sav"}, {2}},
        {"the last two items", {2, 3}, {"Bob.sav"}, {1}},
        {"two apart", {0, 2}, {"Bob.sav"}, {0}},
        {"every item: no file open any more", {0, 1, 2, 3}, {""}, {}},
    };
    const Strings all = {"Ace", "Bob", "Carl", "Dan"};
    for (const auto& c : cases) {
        TempDir folder;
        for (const auto& label : all) {
            folder.write(label + ".sav", "sav");
        }
        list.setSavPath(folder.folder().c_str());
        list.fillListWindow();
        list.selectIndex(c.selected.front());
        for (std::size_t i = 1; i < c.selected.size(); ++i) {
            headless::clickListItem(list, c.selected[i], MK_CONTROL);
        }
        ASSERT_EQ(c.selected, selection()) << c.why;
        for (int index : c.selected) {
            std::filesystem::remove(folder.path() /
                                    (all[static_cast<std::size_t>(index)] + ".sav"));
        }
        owner.takeOpened();
        list.deleteCurrentItem();
        EXPECT_EQ(c.opened, owner.takeOpened()) << c.why;
        EXPECT_EQ(c.selection, selection()) << c.why;
        // What the owner does next after a deletion: nothing new is reported.
        list.updateList();
        EXPECT_TRUE(owner.takeOpened().empty()) << c.why;
    }
}

TEST_F(SavListTest, DeleteOfADirtyItem) {
    fill({"Ace.sav", "Ace.dvw", "Bob.sav"});
    list.selectFile("Ace");
    EXPECT_EQ(Strings{"Ace.dvw"}, owner.takeOpened());
    // The owner removes the mark, deletes both files, then lets the list choose.
    list.resetEditIcon("Ace");
    remove("Ace.dvw");
    remove("Ace.sav");
    list.deleteCurrentItem();
    EXPECT_EQ(Strings{"Bob"}, labels());
    EXPECT_EQ(Strings{"Bob.sav"}, owner.takeOpened());
    EXPECT_TRUE(list.getDirtyFiles().empty());
}

TEST_F(SavListTest, MouseOnTheList) {
    fill({"Ace.sav", "Bob.sav"});
    const TPoint bob = headless::listItemPoint(1);
    const std::string at = std::to_string(bob.x) + "," + std::to_string(bob.y);

    headless::clickListItem(list, 1); // press and release
    EXPECT_EQ((Strings{"leftClick " + at + " 1", "open Bob.sav", "endDrag"}), owner.calls);
    owner.calls.clear();

    headless::sendMouse(list, TMsgKind::LButtonUp, bob);
    headless::sendMouse(list, TMsgKind::MouseMove, bob);
    EXPECT_EQ((Strings{"endDrag", "endDrag"}), owner.calls);
    owner.calls.clear();

    const TPoint ace = headless::listItemPoint(0);
    const std::string aceAt = std::to_string(ace.x) + "," + std::to_string(ace.y);
    headless::rightClickListItem(list, 0);
    EXPECT_EQ((Strings{"leftClick " + aceAt + " 1", "open Ace.sav", "popup " + aceAt}),
              owner.calls);
    owner.calls.clear();

    // The owner refuses the press: the selection stays, the menu still opens.
    owner.acceptClicks = false;
    headless::clickListItem(list, 1);
    headless::rightClickListItem(list, 1);
    EXPECT_EQ(std::vector<int>{0}, selection());
    EXPECT_EQ(
        (Strings{"leftClick " + at + " 1", "endDrag", "leftClick " + at + " 1", "popup " + at}),
        owner.calls);
}

} // namespace
