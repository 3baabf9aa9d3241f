#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Labels = std::vector<std::string>;

// The parent answers the list's questions about its other columns.
class TOwner : public TWindow {
  public:
    TOwner() : TWindow(nullptr) {}
    void LvnGetDispInfo(TLwDispInfoNotify& info) {
        if (info.item.GetSubItem() == 1)
            info.item.SetText(("callsign of " + std::to_string(info.item.GetIndex())).c_str());
        // column 2 is left unanswered, like a file that has gone
    }
    DECLARE_RESPONSE_TABLE(TOwner);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TOwner, TWindow)
    EV_LVN_GETDISPINFO(4, LvnGetDispInfo),
END_RESPONSE_TABLE;
// clang-format on

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

    TOwner owner;
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

TEST_F(ListView, InsertReturnsThePlaceAndUnsortedListsKeepTheIndex) {
    insert({"b", "d"});
    TListWindItem c("c");
    EXPECT_EQ(list.InsertItem(c), 1);

    list.Attr.Style &= ~LVS_SORTASCENDING;
    TListWindItem z("z");
    z.SetIndex(0);
    EXPECT_EQ(list.InsertItem(z), 0);
    EXPECT_EQ(headless::listLabels(list), (Labels{"z", "b", "c", "d"}));
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

TEST_F(ListView, SelectionQueriesAndSettersAgree) {
    insert({"a", "b", "c", "d"});
    const int pick[] = {3, 1};
    EXPECT_TRUE(list.SetSelIndexes(pick, 2, true));
    int got[4] = {-1, -1, -1, -1};
    EXPECT_EQ(list.GetSelCount(), 2);
    EXPECT_EQ(list.GetSelIndexes(got, 4), 2);
    EXPECT_EQ(got[0], 1); // ascending, whatever order they were set in
    EXPECT_EQ(got[1], 3);
    EXPECT_EQ(list.GetSelIndexes(got, 1), 1); // never more than asked for
    const int bad[] = {2, 9};
    EXPECT_FALSE(list.SetSelIndexes(bad, 2, true)); // 9 does not exist, 2 is still selected
    EXPECT_EQ(headless::listSelection(list), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(list.SetSelIndexes(got, 1, false));
    EXPECT_FALSE(list.SetSel(4, true));
    EXPECT_EQ(headless::listSelection(list), (std::vector<int>{2, 3}));

    // Deleting an item moves the selection flags with the items that follow it.
    list.DeleteAnItem(2);
    EXPECT_EQ(headless::listLabels(list), (Labels{"a", "b", "d"}));
    EXPECT_EQ(headless::listSelection(list), std::vector<int>{2});
}

TEST_F(ListView, ItemTextComesFromTheItemOrTheParent) {
    insert({"Maverick"}, 1);
    insert({"Goose"}, 0);
    EXPECT_EQ(headless::listImages(list), (std::vector<int>{0, 1}));
    char buf[6];
    EXPECT_EQ(list.GetItemText(1, 0, buf, sizeof buf), 5); // cut to the buffer, terminated
    EXPECT_STREQ(buf, "Maver");
    EXPECT_EQ(headless::cellText(list, 1, 1), "callsign of 1");
    EXPECT_EQ(headless::cellText(list, 1, 2), "");
    EXPECT_EQ(list.GetItemText(5, 0, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
}

TEST_F(ListView, LabelEditFollowsItsItem) {
    insert({"b", "d"});
    list.EditLabel(1);
    insert({"a"}); // sorts in ahead of the edited item
    EXPECT_EQ(list.GetEditIndex(), 2);
    list.DeleteAnItem(2);
    EXPECT_EQ(list.GetEditIndex(), -1);
}

} // namespace
