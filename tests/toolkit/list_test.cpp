#include "toolkit/headless/headless.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

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
    using namespace headless;
    const TMsgKind kDown = TMsgKind::LButtonDown;
    // what, the clicks, the selection after them
    const std::tuple<const char*, std::function<void()>, std::vector<int>> steps[] = {
        {"click", [&] { clickListItem(list, 2); }, {2}},
        {"control click adds", [&] { clickListItem(list, 4, MK_CONTROL); }, {2, 4}},
        {"control click removes", [&] { clickListItem(list, 2, MK_CONTROL); }, {4}},
        {"shift click extends", [&] { clickListItem(list, 1, MK_SHIFT); }, {1, 2, 3, 4}},
        {"right click on one keeps all", [&] { rightClickListItem(list, 3); }, {1, 2, 3, 4}},
        {"right click elsewhere selects it alone", [&] { rightClickListItem(list, 0); }, {0}},
        {"click below clears", [&] { sendMouse(list, kDown, listItemPoint(7)); }, {}},
        {"click", [&] { clickListItem(list, 1); }, {1}},
        {"click on the header clears", [&] { sendMouse(list, kDown, TPoint(5, 5)); }, {}}};
    for (const auto& [what, act, selected] : steps) {
        act();
        EXPECT_EQ(listSelection(list), selected) << what;
    }
}

} // namespace
