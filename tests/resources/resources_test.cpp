#include "resources/resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using resources::TControlKind;

bool isBackdrop(TControlKind kind) {
    return kind == TControlKind::GroupBox || kind == TControlKind::EtchedFrame ||
           kind == TControlKind::Bitmap;
}

// Both dialogs: every control inside the dialog, no two controls on top of each other
// (group boxes, frames and the picture are backdrops that others sit on), ids unique but
// for the wizard's two Browse buttons, and OK, Cancel and Help present.
TEST(Resources, DialogLayoutsAreSound) {
    for (int id : {resources::kSettingsDialog, resources::kWizardDialog}) {
        const resources::TDialogResource* dlg = resources::dialog(id);
        ASSERT_NE(dlg, nullptr) << id;
        std::map<int, int> seen;
        for (const resources::TDialogControl& c : dlg->controls) {
            ++seen[c.id];
            EXPECT_GE(c.x, 0) << id << '/' << c.id;
            EXPECT_GE(c.y, 0) << id << '/' << c.id;
            EXPECT_LE(c.x + c.w, dlg->w) << id << '/' << c.id;
            EXPECT_LE(c.y + c.h, dlg->h) << id << '/' << c.id;
        }
        for (const auto& [controlId, count] : seen)
            EXPECT_EQ(count, 1) << id << '/' << controlId;
        for (int button : {resources::kOkButton, resources::kCancelButton, resources::kHelpButton})
            EXPECT_NE(resources::dialogControl(*dlg, button), nullptr) << id << '/' << button;

        const auto& cs = dlg->controls;
        for (std::size_t i = 0; i < cs.size(); ++i) {
            for (std::size_t j = i + 1; j < cs.size(); ++j) {
                if (isBackdrop(cs[i].kind) || isBackdrop(cs[j].kind))
                    continue;
                const bool apart = cs[i].x + cs[i].w <= cs[j].x || cs[j].x + cs[j].w <= cs[i].x ||
                                   cs[i].y + cs[i].h <= cs[j].y || cs[j].y + cs[j].h <= cs[i].y;
                EXPECT_TRUE(apart) << id << ": " << cs[i].id << " overlaps " << cs[j].id;
            }
        }
    }
    EXPECT_EQ(resources::dialog(3), nullptr);
}

// Every accelerator's command is on the menu, except Alt+F4's 111, which nothing answers;
// command ids are unique across the menu.
TEST(Resources, MenuAndAcceleratorsAgree) {
    const resources::TMenuResource* menu = resources::menu(resources::kMainMenu);
    ASSERT_NE(menu, nullptr);
    std::set<int> commands;
    std::map<int, std::string> hints;
    for (const resources::TMenuPopup& popup : menu->popups) {
        for (const resources::TMenuItem& item : popup.items) {
            if (item.id == 0)
                continue;
            EXPECT_TRUE(commands.insert(item.id).second) << item.id;
            hints[item.id] = item.accelHint;
        }
    }
    for (const resources::TAccelerator& a : resources::accelerators(resources::kAccelerators)) {
        if (a.command == resources::CM_CLOSE) {
            EXPECT_EQ(commands.count(a.command), 0u);
            continue;
        }
        ASSERT_EQ(commands.count(a.command), 1u) << a.command;
        // The hint shown beside the item names the accelerator's key.
        EXPECT_EQ(hints[a.command], resources::acceleratorText(a)) << a.command;
        EXPECT_EQ(resources::acceleratorCommand(resources::kAccelerators, a.key, a.modifiers),
                  a.command);
    }
    EXPECT_EQ(hints[resources::CM_SAVEAS], "Ctrl+Shift+S");
    EXPECT_EQ(commands.size(), 20u);
    EXPECT_TRUE(resources::accelerators(2).empty());
}

// Every file a resource names is shipped.
TEST(Resources, TheirFilesAreAmongTheAssets) {
    const std::filesystem::path assets(DROVAK_ASSETS_DIR);
    std::vector<std::string> files;
    for (int id : {resources::kProgramIcon, resources::kFileIcon, resources::kEditedFileIcon,
                   resources::kOddFileIcon})
        files.push_back(resources::iconFile(id));
    files.push_back(resources::smallIconFile(resources::kProgramIcon));
    for (const char* f : resources::iconBundle(resources::kProgramIcon))
        files.push_back(f);
    EXPECT_EQ(7u, resources::iconBundle(resources::kProgramIcon).size());
    // Each cursor points with the pixel its picture is drawn for.
    std::ifstream spots(assets / "cursors" / "hotspots.txt");
    std::map<std::string, std::pair<int, int>> drawn;
    for (std::string name; spots >> name;)
        spots >> drawn[name].first >> drawn[name].second;
    for (int id : {resources::kArrowCursor, resources::kTextCursor}) {
        files.push_back(resources::cursorFile(id));
        const auto hot = resources::cursorHotSpot(id);
        EXPECT_EQ(drawn[std::filesystem::path(files.back()).filename().string()],
                  std::make_pair(hot.x, hot.y))
            << files.back();
    }
    files.push_back(resources::bitmapFile(resources::kWizardBitmap));
    files.push_back(resources::soundFile("button"));
    files.push_back(resources::soundFile("startUp"));
    for (const std::string& f : files)
        EXPECT_TRUE(std::filesystem::is_regular_file(assets / f)) << f;
}

} // namespace
