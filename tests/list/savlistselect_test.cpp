// The selection: what is reported to the owner and when, selecting by name, items
// following their files, deletion, names on disk, and the mouse and keys on the list.
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
    std::filesystem::remove(dir.path() / "Ace.dvw");
    list.updateLabel("Ace");
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
        {"the first item by name", {"Ace.sav", "raptor.sav"}, "Ace.sav", "Ace"},
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
        fillFrom(folder, c.files);
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

// The owner changed a label's files: its item follows them where it stands, as a fill would
// show it, the selection stays where it was, and nothing is reported.
TEST_F(SavListTest, UpdateLabelFollowsItsFiles) {
    struct Case {
        const char* why;
        Strings files;
        std::vector<int> selected;
        Strings added; // "name/" is a folder
        Strings removed;
        const char* label;
        Strings labels;
        std::vector<int> images;
        Strings dirty;
        std::vector<int> selection;
    };
    // clang-format off
    const Case cases[] = {
        {"a working copy appears: the edit mark", {"Ace.sav", "Bob.sav", "Carl.sav"}, {1},
         {"Bob.dvw"}, {}, "Bob", {"Ace", "Bob", "Carl"}, {0, 1, 0}, {"Bob"}, {1}},
        {"the working copy goes: the plain mark", {"Ace.sav", "Bob.sav", "Bob.dvw"}, {1},
         {}, {"Bob.dvw"}, "Bob", {"Ace", "Bob"}, {0, 0}, {}, {1}},
        {"one of several selected items", {"Ace.sav", "Bob.sav", "Bob.dvw", "Carl.sav"}, {0, 1},
         {}, {"Bob.dvw"}, "Bob", {"Ace", "Bob", "Carl"}, {0, 0, 0}, {}, {0, 1}},
        {"a new label goes in its place", {"Ace.sav", "Carl.sav"}, {1},
         {"bob.dvw"}, {}, "bob", {"Ace", "bob", "Carl"}, {0, 1, 0}, {"bob"}, {2}},
        {"the label's last file goes, and so does its item", {"Ace.sav", "Bob.sav"}, {0},
         {}, {"Bob.sav"}, "Bob", {"Ace"}, {0}, {}, {0}},
        {"the label is shown as its remaining file is spelt", {"pilot.dvw", "Pilot.sav"}, {0},
         {}, {"pilot.dvw"}, "pilot", {"Pilot"}, {0}, {}, {0}},
#ifndef _WIN32 // a case-blind disk keeps one file for both spellings
        {"two spellings of one label, the one shown goes", {"pilot.sav", "Pilot.sav"}, {0},
         {}, {"Pilot.sav"}, "pilot", {"pilot"}, {0}, {}, {0}},
#endif
        {"what a fill leaves out", {"Ace.sav"}, {0},
         {"Bob.sav/", std::string(125, 'B') + ".sav"}, {}, "Bob", {"Ace"}, {0}, {}, {0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        TempDir folder;
        fillFrom(folder, c.files);
        select(c.selected);
        write(folder, c.added);
        for (const auto& name : c.removed) {
            std::filesystem::remove(folder.path() / name);
        }
        owner.takeOpened();
        list.updateLabel(c.label);
        EXPECT_EQ(c.labels, labels()) << c.why;
        EXPECT_EQ(c.images, images()) << c.why;
        EXPECT_EQ(c.dirty, list.getDirtyFiles()) << c.why;
        EXPECT_EQ(c.selection, selection()) << c.why;
        EXPECT_TRUE(owner.calls.empty()) << c.why;
    }
}

// A spelling on disk is found among the names the list knows, without reading the folder
// while the folder's time says nobody else changed it; once it changed, the folder is read.
TEST_F(SavListTest, DiskNameOrUsesTheKnownNames) {
    namespace fs = std::filesystem;
    fill({"Pilot.sav", "ace.dvw"});
    const std::pair<const char*, const char*> cases[] = {
        {"Pilot.sav", "Pilot.sav"}, {"PILOT.sav", "Pilot.sav"}, {"ACE.dvw", "ace.dvw"},
        {"ace.sav", "ace.sav"},     {"new.sav", "new.sav"},     {"Pilot.SAV", "Pilot.sav"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(expected, list.diskNameOr(name)) << name;
    }
    // Written behind the list's back with the folder's time put back: not seen.
    auto time = fs::last_write_time(dir.path());
    dir.write("NEW.sav", "sav");
    std::error_code ec;
    fs::last_write_time(dir.path(), time, ec);
    if (ec) {
        GTEST_SKIP() << "a folder's time cannot be set here (Wine): " << ec.message();
    }
    EXPECT_EQ("new.sav", list.diskNameOr("new.sav"));
    fs::last_write_time(dir.path(), time + std::chrono::seconds(1));
    EXPECT_EQ("NEW.sav", list.diskNameOr("new.sav"));
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
    const Strings all = {"Ace.sav", "Bob.sav", "Carl.sav", "Dan.sav"};
    for (const auto& c : cases) {
        TempDir folder;
        fillFrom(folder, all);
        select(c.selected);
        ASSERT_EQ(c.selected, selection()) << c.why;
        for (int index : c.selected) {
            std::filesystem::remove(folder.path() / all[static_cast<std::size_t>(index)]);
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

TEST_F(SavListTest, MouseOnTheList) {
    fill({"Ace.sav", "Bob.sav"});
    auto at = [](int index) {
        const TPoint point = headless::listItemPoint(index);
        return std::to_string(point.x) + "," + std::to_string(point.y);
    };
    const TPoint bob = headless::listItemPoint(1);

    headless::clickListItem(list, 1); // press and release
    EXPECT_EQ((Strings{"leftClick " + at(1) + " 1", "open Bob.sav", "endDrag"}), owner.calls);
    owner.calls.clear();

    headless::sendMouse(list, TMsgKind::LButtonUp, bob);
    headless::sendMouse(list, TMsgKind::MouseMove, bob);
    EXPECT_EQ((Strings{"endDrag", "endDrag"}), owner.calls);
    owner.calls.clear();

    headless::rightClickListItem(list, 0);
    EXPECT_EQ((Strings{"leftClick " + at(0) + " 1", "open Ace.sav", "popup " + at(0)}),
              owner.calls);
    owner.calls.clear();

    // The owner refuses the press: the selection stays, the menu still opens.
    owner.acceptClicks = false;
    headless::clickListItem(list, 1);
    headless::rightClickListItem(list, 1);
    EXPECT_EQ(std::vector<int>{0}, selection());
    EXPECT_EQ((Strings{"leftClick " + at(1) + " 1", "endDrag", "leftClick " + at(1) + " 1",
                       "popup " + at(1)}),
              owner.calls);
}

} // namespace
