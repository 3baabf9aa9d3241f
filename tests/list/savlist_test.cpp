// The list of SAV files: which files give items, with which mark, and what the dirty-file
// list holds; the selection reported to the owner, selecting by name, items following their
// files, names on disk, and the mouse on the list.
#include "common/tempdir.h"
#include "list/savlistwindow.h"
#include "support/pathsep.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

// The main window as the list sees it: records every call in order.
class RecordingOwner : public TSavListOwner {
  public:
    std::vector<std::string> calls;
    bool acceptClicks = true;

    std::vector<std::string> opened; // the files opened since takeOpened
    void resetPlayerInfo(const char* fileName) override {
        note("open ", fileName);
        opened.push_back(fileName);
    }
    bool leftClick(const TPoint& point, uint fromList) override {
        note("leftClick ", at(point) + " " + std::to_string(fromList));
        return acceptClicks;
    }
    void endDrag() override { note("endDrag", ""); }
    void listPopupMenu(const TPoint& point) override { note("popup ", at(point)); }
    void processListKeyDown(uint key, uint) override { note("listKey ", std::to_string(key)); }
    void EvKeyDown(uint key, uint, uint) override { note("editorKeyDown ", std::to_string(key)); }
    void EvKeyUp(uint key, uint, uint) override { note("editorKeyUp ", std::to_string(key)); }
    void EvChar(uint ch, uint, uint) override { note("editorChar ", std::to_string(ch)); }
    void note(const char* what, const std::string& detail) { calls.push_back(what + detail); }
    static std::string at(const TPoint& point) {
        return std::to_string(point.x) + "," + std::to_string(point.y);
    }

    // The files opened since the last call, and forgets every call.
    std::vector<std::string> takeOpened() {
        calls.clear();
        return std::exchange(opened, {});
    }
};

// A list in a main window's place, over a SAV folder in a temporary folder.
class SavListTest : public ::testing::Test {
  protected:
    TempDir dir;
    TWindow host{nullptr};
    RecordingOwner owner;
    TSavListWindow list{&host, owner, 4, 2, 24, 348, 142};

    SavListTest() { headless::reset(); }

    void SetUp() override {
        // The columns the main window gives the list before it fills it.
        list.InsertColumn(0, TListWindColumn("SAV File", 120));
        list.InsertColumn(1, TListWindColumn("Callsign", 133));
        list.InsertColumn(2, TListWindColumn("Modified", 75));
        list.setSavPath(dir.folder().c_str());
    }

    // The list filled from a folder of its own holding files, "name/" a folder (each case of a
    // table its own).
    void fillFrom(const TempDir& folder, const std::vector<std::string>& files) {
        for (const auto& name : files) {
            if (name.back() == '/') {
                std::filesystem::create_directory(folder.path() / name.substr(0, name.size() - 1));
            } else {
                folder.write(name, "sav");
            }
        }
        list.setSavPath(folder.folder().c_str());
        list.fillListWindow();
    }
    void fill(const std::vector<std::string>& files) { fillFrom(dir, files); }
    std::vector<std::string> labels() const { return headless::listLabels(list); }
    std::vector<int> images() const { return headless::listImages(list); }
    std::vector<int> selection() const { return headless::listSelection(list); }
};

// Which files give items, with which marks and dirty list; the columns narrow for the scroll
// bar from the fourth item on.
TEST_F(SavListTest, FillListsOneItemPerLabel) {
    // Why, the files, and the labels, marks, dirty list and column widths they give.
    using Ints = std::vector<int>;
    const std::string label123(123, 'L'), label124(124, 'M');
    // clang-format off
    const std::tuple<const char*, Strings, Strings, Ints, Strings, Ints> cases[] = {
        {"sorted ignoring case; the new file's leading blank sorts first; the dirty list as the folder has them",
         {"zulu.sav", "Bravo.dvw", "alpha.dvw", " New Sav File.dvw"}, {" New Sav File", "alpha", "Bravo", "zulu"}, {1, 1, 1, 0}, {" New Sav File", "Bravo", "alpha"}, {120, 133, 75}},
#ifdef _WIN32
        {"upper-case extensions are the same files on Windows; other extensions, hidden files, folders, short names are no SAV files",
         {"notes.txt", "todo", "Ace.SAV", "Bob.DVW", "Ace.sav.bak", ".hidden.sav", ".hidden.dvw", "folder.sav/", "folder.dvw/", "x.sav"}, {"Ace", "Bob", "x"}, {0, 1, 0}, {"Bob"}, {128, 141, 75}},
#else
        {"other extensions, upper-case ones, hidden files, folders, short names are no SAV files",
         {"notes.txt", "todo", "Ace.SAV", "Bob.DVW", "Ace.sav.bak", ".hidden.sav", ".hidden.dvw", "folder.sav/", "folder.dvw/", "x.sav"}, {"x"}, {0}, {}, {128, 141, 75}},
#endif
        {"the longest name a file-name text holds is listed; a longer one could not be opened",
         {"a.sav", "b.sav", label123 + ".sav", label124 + ".sav", label124 + ".dvw"}, {"a", "b", label123}, {0, 0, 0}, {}, {128, 141, 75}},
        {"an empty folder", {}, {}, {}, {}, {128, 141, 75}},
    };
    // clang-format on
    for (const auto& [why, files, shown, marks, dirty, widths] : cases) {
        TempDir folder;
        fillFrom(folder, files);
        EXPECT_EQ(shown, labels()) << why;
        EXPECT_EQ(marks, images()) << why;
        EXPECT_EQ(dirty, list.getDirtyFiles()) << why;
        EXPECT_EQ(widths,
                  (Ints{list.GetColumnWidth(0), list.GetColumnWidth(1), list.GetColumnWidth(2)}))
            << why;
    }
}

// A fill follows a change of files (a fresh new file, another folder): the dirty list
// describes that folder alone, and the label kept selected is opened again so the editor
// shows the file as it is now.
TEST_F(SavListTest, FillDescribesItsFolderAndReopensTheSelectedLabel) {
    fill({" New Sav File.dvw", "Ace.sav", "Ace.dvw"});
    list.selectFile(" New Sav File");
    EXPECT_EQ(Strings{" New Sav File.dvw"}, owner.takeOpened());
    list.selectFile(" New Sav File");
    EXPECT_TRUE(owner.takeOpened().empty()) << "no fill, no change of label";
    list.fillListWindow();
    list.selectFile(" New Sav File");
    EXPECT_EQ(Strings{" New Sav File.dvw"}, owner.takeOpened());

    // Another folder where the open label has a working copy opens that working copy, not the
    // SAV file whose fields would then overwrite the unsaved changes; its Ace has none, and
    // opening one that does not exist there would save empty fields over the real file.
    TempDir other;
    fillFrom(other, {"Ace.sav", " New Sav File.sav", " New Sav File.dvw"});
    EXPECT_EQ(Strings{" New Sav File"}, list.getDirtyFiles());
    EXPECT_EQ((std::vector<int>{1, 0}), images());
    list.selectFile(" New Sav File.sav");
    EXPECT_EQ(Strings{" New Sav File.dvw"}, owner.takeOpened());
    list.selectFile("Ace.sav");
    EXPECT_EQ(Strings{"Ace.sav"}, owner.takeOpened());
    // A label whose files changed is put in its place again and drawn again there.
    other.write("Ace.dvw", "sav");
    const std::size_t drawn = headless::redrawnItems(list).size();
    list.updateLabel("Ace");
    EXPECT_EQ((std::vector<int>{1, 1}), images());
    ASSERT_EQ(drawn + 1, headless::redrawnItems(list).size());
    EXPECT_EQ(std::make_pair(1, 1), headless::redrawnItems(list).back());
}

// A folder that is missing, a file, or unreadable lists nothing, and the file that was open
// is reported gone: it is not in the folder the list now shows.
TEST_F(SavListTest, UnusableFolderGivesAnEmptyList) {
    fill({"Ace.sav"});
    list.selectFile("Ace.sav");
    owner.takeOpened();
    Strings folders = {dir.folder() + "missing" + kPathSeparator,
                       dir.folder() + "Ace.sav" + kPathSeparator};
    TempDir locked;
    locked.write("Ace.sav", "sav");
    std::filesystem::permissions(locked.path(), std::filesystem::perms::none);
    if (access(locked.path().string().c_str(), R_OK) != 0) { // unless this user ignores them
        folders.push_back(locked.folder());
    }
    for (const std::string& folder : folders) {
        list.setSavPath(folder.c_str());
        EXPECT_NO_THROW(list.fillListWindow());
        EXPECT_EQ(0, list.GetItemCount()) << folder;
        list.selectFile("Ace.sav");
        EXPECT_TRUE(selection().empty()) << folder;
    }
    EXPECT_EQ(Strings{""}, owner.takeOpened());
}

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
    // While a field is edited its keys go to the editor, not to the list.
    list.flagEvents(true);
    headless::pressKey(list, 'Q');
    EXPECT_EQ((Strings{"editorKeyDown 81", "editorChar 113", "editorKeyUp 81"}), owner.calls);
    owner.calls.clear();
    headless::pressKey(list, VK_DOWN);
    EXPECT_EQ((Strings{"editorKeyDown 40", "editorKeyUp 40"}), owner.calls);
    list.flagEvents(false);
    headless::pressKey(list, VK_DOWN);
    EXPECT_EQ(Strings{"Bob.sav"}, owner.takeOpened());
    // The mouse: a press and a release, a move, the menu; then the owner refuses the press: the
    // selection stays, the menu still opens.
    const std::string ace = RecordingOwner::at(headless::listItemPoint(0)),
                      bob = RecordingOwner::at(headless::listItemPoint(1));
    headless::clickListItem(list, 0);
    headless::sendMouse(list, TMsgKind::LButtonUp, headless::listItemPoint(0));
    headless::sendMouse(list, TMsgKind::MouseMove, headless::listItemPoint(0));
    headless::rightClickListItem(list, 1);
    owner.acceptClicks = false;
    headless::clickListItem(list, 0);
    headless::rightClickListItem(list, 0);
    EXPECT_EQ(std::vector<int>{1}, selection());
    EXPECT_EQ(
        (Strings{"leftClick " + ace + " 1", "open Ace.dvw", "endDrag", "endDrag", "endDrag",
                 "leftClick " + bob + " 1", "open Bob.sav", "popup " + bob,
                 "leftClick " + ace + " 1", "endDrag", "leftClick " + ace + " 1", "popup " + ace}),
        owner.calls);
}

// Type-ahead over labels that share a prefix: a letter alone steps on from the selection, the
// same letter again steps through the labels it starts, more letters keep a label that still
// matches, and a second's pause starts afresh.
TEST_F(SavListTest, TypeAheadOverSharedPrefixes) {
    fill({"ab.sav", "Abc.sav", "abd.dvw", "b.sav", "ba.sav"});
    list.selectIndex(0);
    // The key, the pause before it, the row selected after it.
    const std::tuple<char, std::uint64_t, int> steps[] = {
        {'A', 2000, 1}, {'A', 100, 2}, {'A', 100, 0},  {'B', 100, 0},  {'A', 2000, 1},
        {'B', 100, 1},  {'D', 100, 2}, {'B', 2000, 3}, {'A', 100, 4},  {'B', 2000, 3},
        {'B', 100, 4},  {'B', 100, 3}, {'X', 2000, 3}, {'A', 1000, 3}, {'A', 1001, 0},
    };
    for (const auto& [key, pauseMs, selected] : steps) {
        headless::advanceTime(pauseMs);
        headless::pressKey(list, static_cast<uint>(key));
        EXPECT_EQ(std::vector<int>{selected}, selection()) << key << " after " << pauseMs;
    }
}

TEST_F(SavListTest, SelectFileByNameOrPath) {
    // Why, the files, the name asked for and the label selected (nullptr: none).
    const std::string games = std::string(1, kPathSeparator) + "Games" + kPathSeparator;
    const std::string bobPath = games + "Bob.dvw", xPath = games + "x.sav";
    // clang-format off
    const std::tuple<const char*, Strings, const char*, const char*> cases[] = {
        {"a bare label", {"Ace.sav", "Bob.sav"}, "Bob", "Bob"},
        {"the first item by name", {"Ace.sav", "raptor.sav"}, "Ace.sav", "Ace"},
        {"a path with a working copy's extension", {"Ace.sav", "Bob.sav"}, bobPath.c_str(), "Bob"},
        {"case is ignored", {"Ace.sav", "bob.sav"}, "BOB.sav", "bob"},
        {"unknown: the game's own file", {"Ace.sav", "raptor.sav"}, xPath.c_str(), "raptor"},
        {"unknown, no raptor: the first item", {"Bob.sav", "Ace.sav"}, xPath.c_str(), "Ace"},
        {"no name: raptor", {"Ace.sav", "raptor.sav"}, nullptr, "raptor"},
        {"no name, no raptor: the first item", {"Bob.sav", "Ace.sav"}, nullptr, "Ace"},
        {"Raptor.sav is not the fallback name, yet finds raptor", {"Ace.sav", "raptor.sav"}, "Raptor.sav", "raptor"},
        {"raptor.sav itself missing: the first item", {"Bob.sav"}, "raptor.sav", "Bob"},
        // After the case above: nothing selected, and Bob, open until now, reported gone.
        {"an empty list: nothing", {}, "Ace.sav", nullptr},
    };
    // clang-format on
    for (const auto& [why, files, name, selected] : cases) {
        TempDir folder;
        fillFrom(folder, files);
        list.selectFile(name);
        Strings shown;
        for (int at : selection()) {
            shown.push_back(labels()[static_cast<std::size_t>(at)] + ".sav");
        }
        EXPECT_EQ(selected ? Strings{std::string(selected) + ".sav"} : Strings{}, shown) << why;
        EXPECT_EQ(selected ? shown : Strings{""}, owner.takeOpened()) << why;
        EXPECT_TRUE(!selected || !headless::ensuredVisible(list).empty()) << why;
    }
}

// A spelling on disk is found among the names the list knows, without reading the folder
// while the folder's time says nobody else changed it; once it changed, the folder is read.
TEST_F(SavListTest, DiskNameOrUsesTheKnownNames) {
    namespace fs = std::filesystem;
    fill({"Pilot.sav", "ace.dvw", "zulu.sav"});
    const std::pair<const char*, const char*> cases[] = {
        {"PILOT.sav", "Pilot.sav"}, {"ACE.dvw", "ace.dvw"},     {"ace.sav", "ace.sav"},
        {"new.sav", "new.sav"},     {"Pilot.SAV", "Pilot.sav"},
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
    // Spelt anew elsewhere: the old spelling is forgotten.
    fs::rename(dir.path() / "NEW.sav", dir.path() / "New.sav");
    fs::last_write_time(dir.path(), time + std::chrono::seconds(2));
    EXPECT_EQ("New.sav", list.diskNameOr("new.sav"));
    // Another folder is read afresh, even one whose time is the same.
    TempDir other;
    other.write("PILOT.sav", "sav");
    fs::last_write_time(other.path(), fs::last_write_time(dir.path()));
    list.setSavPath(other.folder().c_str());
    EXPECT_EQ("PILOT.sav", list.diskNameOr("pilot.sav"));
}

} // namespace
