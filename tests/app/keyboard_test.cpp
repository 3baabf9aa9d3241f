// The program without a mouse: the keyboard walks the list and the fields, the accelerators
// run their commands and never type, and the list answers its keys.
#include "apptest.h"

#include "resources/resources.h"

#include <algorithm>
#include <map>
#include <utility>

using namespace resources;
using headless::kCtrl;
using headless::kShift;
using headless::typeKey;

namespace {

// Tab, Shift+Tab and Return from the list through the six fields in screen order and back;
// passing over the side never changes it.
TEST_F(AppTest, TabAndReturnWalkTheFields) {
    addSav("ace.sav", "ACE");
    start();
    ASSERT_EQ(headless::focusWindow(), &list());
    const char side = window().currentPlayer().side[0];
    // clang-format off
    const struct { uint key, modifiers; int field; } steps[] = { // kNoField: the list has the keys
        {VK_TAB, 0, kFieldCallsign}, {VK_TAB, 0, kFieldSquadronName}, {VK_TAB, 0, kFieldSquadronPassword},
        {VK_TAB, 0, kFieldSide}, {VK_TAB, 0, kFieldIpAddress}, {VK_TAB, 0, kFieldServerName},
        {VK_TAB, 0, kNoField}, {VK_TAB, kShift, kFieldServerName}, {VK_TAB, kShift, kFieldIpAddress},
        {VK_RETURN, 0, kFieldServerName}, {VK_RETURN, 0, kNoField}, {VK_TAB, kShift, kFieldServerName}};
    // clang-format on
    for (const auto& s : steps) {
        typeKey(s.key, s.modifiers); // the cursor placed on entering: the model's Tab step
        EXPECT_EQ(window().editor().getCurrentField(), s.field) << s.key << '/' << s.modifiers;
        EXPECT_EQ(headless::focusWindow(),
                  s.field == kNoField ? static_cast<TWindow*>(&list()) : &window());
        EXPECT_EQ(list().editorTakesKeys(), s.field != kNoField);
    }
    EXPECT_EQ(window().currentPlayer().side[0], side);
    typeKey(VK_TAB); // the list again; a click on a field takes the keys from it
    clickField(kFieldSquadronName);
    EXPECT_EQ(headless::focusWindow(), &window());
}

// The accelerators run their commands wherever the keyboard is, and none types into a field.
TEST_F(AppTest, AcceleratorsRunCommandsAndNeverType) {
    addSav("ace.sav", "ACE");
    start();
    typeKey(VK_TAB);
    typeKey('X');
    typeKey('S', kCtrl);
    EXPECT_EQ("ACE" + typed("X"), callsignIn("ace.sav"));
    EXPECT_FALSE(sav.exists("ace.dvw"));
    typeKey('Y'); // a keyboard Save keeps the field edit
    const std::string saved = "ACE" + typed("XY");
    EXPECT_EQ(std::string(window().currentPlayer().callsign.data()), saved);
    // clang-format off
    const struct { uint key, modifiers; const char* what; } chords[] = {
        {'S', kCtrl | kShift, "save as"}, {VK_F1, 0, "help"},  {'B', kCtrl, "nothing"},
        {VK_SPACE, kCtrl, "nothing"},     {'N', kCtrl, "new"}}; // last: the new pilot stays open
    // clang-format on
    for (const auto& c : chords) {
        SCOPED_TRACE(c.what);
        select("ace");
        typeKey(VK_TAB);
        const std::size_t dialogs = headless::fileDialogs().size();
        const std::size_t launched = headless::launchedDocuments().size();
        if (c.key == 'S') {
            headless::scriptFileDialogCancel();
        }
        typeKey(c.key, c.modifiers);
        if (c.key != 'N') {
            EXPECT_EQ(std::string(window().currentPlayer().callsign.data()), saved);
        }
        EXPECT_EQ(headless::fileDialogs().size(), dialogs + (c.key == 'S' ? 1 : 0));
        EXPECT_EQ(headless::launchedDocuments().size(), launched + (c.key == VK_F1 ? 1 : 0));
        EXPECT_EQ(window().isNewFileOpen(), c.key == 'N');
    }
    // Exit, the new pilot dropped.
    headless::answerMessageBoxesWith([](const headless::TMessageBoxRecord&) { return IDNO; });
    typeKey('Q', kCtrl);
    EXPECT_EQ(headless::quitCode(), std::optional<int>(0));
}

// A key types what the keyboard's layout gives it, with the Shift and AltGr it was typed with
// (AltGr is Control with Alt, as Windows sends it), a dead key accenting the next letter. The
// German layout: the keys where it differs from a US one, as Windows names their places (Shift
// on a US layout: ModifiersFollowTheKeyboardAfterADialog).
TEST_F(AppTest, KeysTypeWhatTheLayoutGives) {
    using Place = std::tuple<uint, bool, bool>; // key, Shift, AltGr
    constexpr char32_t kDeadAcute = U'\u00B4';
    // clang-format off
    const std::map<Place, char32_t> differs{
        {{VK_OEM_3, false, false}, U'\u00F6'}, {{'Q', false, true}, U'@'},
        {{VK_OEM_6, false, false}, kDeadAcute}, {{VK_OEM_PLUS, false, true}, U'~'},
        {{'Y', false, false}, U'z'}, {{'Z', false, false}, U'y'}};
    // clang-format on
    addSav("ace.sav", "");
    start();
    bool dead = false; // the key before was the dead one
    headless::setKeyboardLayout([&](uint key, bool shift, bool caps, bool altGraph) {
        const auto found = differs.find(Place{key, shift, altGraph});
        const char32_t typed =
            found != differs.end() ? found->second : headless::usLayout(key, shift, caps, altGraph);
        const bool accent = std::exchange(dead, typed == kDeadAcute);
        return dead ? char32_t{0} : accent && typed == U'e' ? U'\u00E9' : typed;
    });
    typeKey(VK_TAB);
    const uint altGr = kCtrl | headless::kAlt;
    // clang-format off
    for (const auto& [vk, modifiers] : {std::pair<uint, uint>{VK_OEM_3, 0}, {'Q', altGr}, {VK_OEM_6, 0},
             {'E', 0}, {VK_OEM_PLUS, altGr}, {'3', 0}, {'Y', 0}, {'Z', 0}, {'B', kShift}}) {
        // clang-format on
        typeKey(vk, modifiers);
    }
    EXPECT_EQ(std::string(window().currentPlayer().callsign.data()), "\xF6@\xE9~3zyB");
    headless::setKeyboardLayout({});
}

// The list's own keys: pages, Shift ranges, select-all, type-ahead, rename and its menu.
TEST_F(AppTest, ListKeys) {
    for (const char* label :
         {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel"}) {
        addSav(std::string(label) + ".sav", "X");
    }
    start();
    select("alpha");
    // Three rows to a page, from the row the keys moved to; type-ahead's own rules are the
    // list's tests ("go": golf still). The pause is before the key.
    // clang-format off
    const struct { uint key, modifiers; std::uint64_t pauseMs; std::vector<int> selection; } steps[] = {
        {VK_DOWN, 0, 0, {1}}, {VK_DOWN, kShift, 0, {1, 2}}, {VK_DOWN, kShift, 0, {1, 2, 3}},
        {VK_UP, kShift, 0, {1, 2}}, {VK_NEXT, 0, 0, {5}}, {VK_PRIOR, 0, 0, {2}},
        {VK_END, kShift, 0, {2, 3, 4, 5, 6, 7}}, {'A', kCtrl, 0, {0, 1, 2, 3, 4, 5, 6, 7}},
        {VK_HOME, 0, 0, {0}}, {'G', 0, 2000, {6}}, {'O', 0, 100, {6}}};
    // clang-format on
    for (const auto& s : steps) {
        headless::advanceTime(s.pauseMs);
        typeKey(s.key, s.modifiers);
        EXPECT_EQ(headless::listSelection(list()), s.selection) << s.key << '/' << s.modifiers;
    }
    EXPECT_EQ(window().currentPlayer().getFileName(), std::string("golf.sav"));

    typeKey(VK_F2);
    EXPECT_EQ(list().GetEditIndex(), 6);
    headless::endLabelEdit(list(), std::nullopt);
    for (uint key : {VK_APPS, VK_F10}) {
        const std::size_t menus = headless::popupMenus().size();
        typeKey(key, key == VK_F10 ? kShift : 0);
        ASSERT_EQ(headless::popupMenus().size(), menus + 1) << key;
        EXPECT_TRUE(std::ranges::any_of(headless::popupMenus().back().items, [](const auto& item) {
            return item.id == CM_RENAME;
        })) << key;
    }
}

} // namespace
