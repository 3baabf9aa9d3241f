#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Labels = std::vector<std::string>;

class ListView : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::reset();
        list.Attr.Style |= LVS_SORTASCENDING | LVS_EDITLABELS;
    }
    void insert(const Labels& labels, int image = 0) {
        for (const std::string& label : labels) {
            TListWindItem item(label.c_str());
            item.SetImageIndex(image);
            list.InsertItem(item);
        }
    }
    int find(const char* text, int start = -1) {
        TLwFindInfo info;
        info.SetString(text);
        return list.FindItem(start, info);
    }

    TWindow owner{nullptr};
    TListWindow list{&owner, 4, 2, 24, 348, 142};
};

TEST_F(ListView, InsertKeepsLabelsSortedIgnoringCase) {
    struct Case {
        Labels inserted;
        Labels expected;
    } cases[] = {
        {{"bob", "Ace", "carl"}, {"Ace", "bob", "carl"}},
        // The new file's leading blank sorts it first; digits and "(" before letters.
        {{"pilot", " New Sav File", "pilot(1)", "Pilot2"},
         {" New Sav File", "pilot", "pilot(1)", "Pilot2"}},
        // Case-insensitive ties keep their insertion order.
        {{"ace", "ACE", "Ace"}, {"ace", "ACE", "Ace"}},
        {{"b", "a", "ab", "B"}, {"a", "ab", "b", "B"}},
    };
    for (const Case& c : cases) {
        list.DeleteAllItems();
        insert(c.inserted);
        EXPECT_EQ(headless::listLabels(list), c.expected);
    }
}

TEST_F(ListView, FindIsExactAndIgnoresCase) {
    insert({"Ace", "Ace(1)", "ace2", "Bob"});
    struct Case {
        const char* text;
        int start;
        int expected;
    } cases[] = {
        {"Ace", -1, 0},   {"ACE", -1, 0}, {"ace(1)", -1, 1}, {"Ac", -1, -1}, // no prefix match
        {"Ace ", -1, -1}, {"Bob", -1, 3}, {"bob", 3, -1}, // the search begins after start
        {"Ace", 0, -1},   {"", -1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find(c.text, c.start), c.expected) << '"' << c.text << "\" from " << c.start;
}

TEST_F(ListView, ClicksAndKeysMoveTheSelection) {
    insert({"a", "b", "c", "d", "e"});
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<int> selected;
    } steps[] = {
        {"click", [&] { headless::clickListItem(list, 2); }, {2}},
        {"control click adds", [&] { headless::clickListItem(list, 4, MK_CONTROL); }, {2, 4}},
        {"control click removes", [&] { headless::clickListItem(list, 2, MK_CONTROL); }, {4}},
        {"shift click extends", [&] { headless::clickListItem(list, 1, MK_SHIFT); }, {1, 2, 3, 4}},
        {"right click on a selected item keeps the selection",
         [&] { headless::rightClickListItem(list, 3); },
         {1, 2, 3, 4}},
        {"right click elsewhere selects it alone",
         [&] { headless::rightClickListItem(list, 0); },
         {0}},
        {"down", [&] { headless::sendKey(list, TMsgKind::KeyDown, VK_DOWN); }, {1}},
        {"end", [&] { headless::sendKey(list, TMsgKind::KeyDown, VK_END); }, {4}},
        {"down stops at the end",
         [&] { headless::sendKey(list, TMsgKind::KeyDown, VK_DOWN); },
         {4}},
        {"home", [&] { headless::sendKey(list, TMsgKind::KeyDown, VK_HOME); }, {0}},
        {"up stops at the top", [&] { headless::sendKey(list, TMsgKind::KeyDown, VK_UP); }, {0}},
        {"other keys leave it", [&] { headless::sendKey(list, TMsgKind::KeyDown, 'A'); }, {0}},
        {"click below the items clears it",
         [&] { headless::sendMouse(list, TMsgKind::LButtonDown, headless::listItemPoint(7)); },
         {}},
        {"click on the header clears it too",
         [&] { headless::sendMouse(list, TMsgKind::LButtonDown, TPoint(5, 5)); },
         {}},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(headless::listSelection(list), s.selected) << s.what;
    }
}

} // namespace
