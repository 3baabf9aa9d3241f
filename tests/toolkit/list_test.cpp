#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Sorting, finding and the list's keys are met through the SAV list and the main window's
// tests; the mouse's own rules for a multiple selection are met here.
TEST(ListView, ClicksMoveTheSelection) {
    headless::reset();
    TWindow owner{nullptr};
    TListWindow list{&owner, 4, 2, 24, 348, 142};
    for (const char* label : {"a", "b", "c", "d", "e"}) {
        TListWindItem item(label);
        list.InsertItem(item);
    }
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
        {"click below the items clears it",
         [&] { headless::sendMouse(list, TMsgKind::LButtonDown, headless::listItemPoint(7)); },
         {}},
        {"click on the header clears it too",
         [&] {
             headless::clickListItem(list, 1);
             headless::sendMouse(list, TMsgKind::LButtonDown, TPoint(5, 5));
         },
         {}},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(headless::listSelection(list), s.selected) << s.what;
    }
}

} // namespace
