// Filling the list from the SAV folder: which files give items, with which mark, and what
// the dirty-file list holds afterwards.
#include "listfixture.h"

#include <tuple>

#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

TEST_F(SavListTest, FillListsOneItemPerLabel) {
    struct Case {
        const char* why;
        Strings files;
        Strings labels;
        std::vector<int> images;
        Strings dirty;
    };
    const std::string label123(123, 'L');
    const std::string label124(124, 'M');
    // clang-format off
    const Case cases[] = {
        {"a working copy marks its SAV file's item", {"Ace.sav", "Ace.dvw", "Bob.sav"}, {"Ace", "Bob"}, {1, 0}, {"Ace"}},
        {"a working copy without its SAV file (a new file never saved)", {"New.dvw"}, {"New"}, {1}, {"New"}},
        {"labels differing in case are one item, named as the working copy", {"pilot.dvw", "Pilot.sav"}, {"pilot"}, {1}, {"pilot"}},
        {"sorted ignoring case; the new file's leading blank sorts first",
         {"zulu.sav", "Bravo.sav", "alpha.sav", " New Sav File.dvw"}, {" New Sav File", "alpha", "Bravo", "zulu"}, {1, 0, 0, 0}, {" New Sav File"}},
#ifdef _WIN32
        {"upper-case extensions are the same files on Windows; other extensions, hidden files, folders are no SAV files",
         {"notes.txt", "Ace.SAV", "Bob.DVW", "Ace.sav.bak", ".hidden.sav", ".hidden.dvw", "folder.sav/", "folder.dvw/", "x.sav"}, {"Ace", "Bob", "x"}, {0, 1, 0}, {"Bob"}},
#else
        {"other extensions, upper-case ones, hidden files, folders are no SAV files",
         {"notes.txt", "Ace.SAV", "Bob.DVW", "Ace.sav.bak", ".hidden.sav", ".hidden.dvw", "folder.sav/", "folder.dvw/", "x.sav"}, {"x"}, {0}, {}},
#endif
        {"the longest name a file-name text holds is listed; a longer one could not be opened",
         {label123 + ".sav", label124 + ".sav", label124 + ".dvw"}, {label123}, {0}, {}},
        {"an empty folder", {}, {}, {}, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        TempDir folder;
        fillFrom(folder, c.files);
        EXPECT_EQ(c.labels, labels()) << c.why;
        EXPECT_EQ(c.images, images()) << c.why;
        EXPECT_EQ(c.dirty, list.getDirtyFiles()) << c.why;
    }
}

TEST_F(SavListTest, ColumnWidthsFollowTheItemCount) {
    const std::pair<int, std::pair<int, int>> cases[] = {
        {0, {128, 141}}, {1, {128, 141}}, {3, {128, 141}}, {4, {120, 133}}, {12, {120, 133}},
    };
    for (const auto& [count, widths] : cases) {
        TempDir folder;
        Strings files;
        for (int i = 0; i < count; ++i) {
            files.push_back("f" + std::to_string(i) + ".sav");
        }
        fillFrom(folder, files);
        ASSERT_EQ(count, list.GetItemCount());
        EXPECT_EQ(widths.first, list.GetColumnWidth(0)) << count << " items";
        EXPECT_EQ(widths.second, list.GetColumnWidth(1)) << count << " items";
        EXPECT_EQ(75, list.GetColumnWidth(2)) << "the date column keeps its width";
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

TEST_F(SavListTest, DirtyFileList) {
    using Op = std::pair<char, const char*>; // '+' add, '-' remove
    const std::pair<std::vector<Op>, Strings> cases[] = {
        {{{'+', "b"}, {'+', "a"}, {'+', "c"}}, {"a", "b", "c"}},
        {{{'+', "b"}, {'+', "a"}, {'+', "b"}}, {"a", "b"}},
        {{{'+', "b"}, {'-', "d"}}, {"b"}},
        {{{'+', "b"}, {'+', "a"}, {'-', "b"}, {'-', "b"}}, {"a"}},
        {{{'+', "B"}, {'+', "b"}}, {"B", "b"}}, // case-sensitive: two labels
        {{{'+', "B"}, {'-', "b"}}, {"B"}},
    };
    for (const auto& [ops, expected] : cases) {
        list.fillListWindow(); // an empty folder: an empty dirty list
        for (const auto& [op, label] : ops) {
            op == '+' ? list.addDirtyFile(label) : list.removeDirtyFile(label);
        }
        EXPECT_EQ(expected, list.getDirtyFiles());
    }
}

TEST_F(SavListTest, DoesDirtyFileExist) {
    fill({"Ace.dvw", "Bob.sav"});
    const std::tuple<const char*, bool, bool> cases[] = {
        {"Ace", false, true},      {"Ace.dvw", true, true}, {"Ace.sav", true, true},
        {"Ace.dvw", false, false}, {"ace", false, false},   {"Bob", false, false},
        {"Ace.txt", true, false},  {"", false, false},
    };
    for (const auto& [name, strip, expected] : cases) {
        EXPECT_EQ(expected, list.doesDirtyFileExist(name, strip)) << name << " " << strip;
    }
}

} // namespace
