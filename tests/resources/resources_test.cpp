#include "resources/resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace resources;

// Group boxes, frames and the picture are backdrops that other controls sit on.
bool apart(const TDialogControl& a, const TDialogControl& b) {
    const auto backdrop = [](const TDialogControl& c) {
        return c.kind == TControlKind::GroupBox || c.kind == TControlKind::EtchedFrame ||
               c.kind == TControlKind::Bitmap;
    };
    return backdrop(a) || backdrop(b) || a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y ||
           b.y + b.h <= a.y;
}

// Both dialogs: every control inside the dialog, no two controls on top of each other
// (group boxes, frames and the picture are backdrops that others sit on), ids unique, and OK,
// Cancel and Help present.
TEST(Resources, DialogLayoutsAreSound) {
    for (int id : {kSettingsDialog, kWizardDialog}) {
        const TDialogResource* dlg = dialog(id);
        ASSERT_NE(dlg, nullptr) << id;
        const auto& cs = dlg->controls;
        for (std::size_t i = 0; i < cs.size(); ++i) {
            const TDialogControl& c = cs[i];
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.w <= dlg->w && c.y + c.h <= dlg->h)
                << id << '/' << c.id;
            for (std::size_t j = i + 1; j < cs.size(); ++j) {
                EXPECT_NE(c.id, cs[j].id) << id;
                EXPECT_TRUE(apart(c, cs[j])) << id << ": " << c.id << " overlaps " << cs[j].id;
            }
        }
        for (int button : {kOkButton, kCancelButton, kHelpButton}) {
            const TDialogControl* c = dialogControl(*dlg, button);
            EXPECT_TRUE(c != nullptr && c->id == button) << id << '/' << button;
        }
    }
    EXPECT_EQ(dialog(3), nullptr);
}

// Every accelerator's command is on the menu, except Alt+F4's 111, which nothing answers;
// command ids are unique across the menu.
TEST(Resources, MenuAndAcceleratorsAgree) {
    const TMenuResource* mainMenu = menu(kMainMenu);
    ASSERT_NE(mainMenu, nullptr);
    std::map<int, std::string> hints; // of every command on the menu
    for (const TMenuPopup& popup : mainMenu->popups) {
        for (const TMenuItem& item : popup.items) {
            EXPECT_TRUE(item.id == 0 || hints.emplace(item.id, item.accelHint).second) << item.id;
        }
    }
    for (const TAccelerator& a : accelerators(kAccelerators)) {
        // The hint shown beside the item names the accelerator's key.
        ASSERT_EQ(hints.count(a.command), a.command == CM_CLOSE ? 0u : 1u) << a.command;
        EXPECT_TRUE(a.command == CM_CLOSE || hints[a.command] == acceleratorText(a)) << a.command;
        EXPECT_EQ(acceleratorCommand(kAccelerators, a.key, a.modifiers), a.command);
    }
    EXPECT_EQ(hints[CM_SAVEAS], "Ctrl+Shift+S");
    EXPECT_EQ(hints.size(), 20u);
    EXPECT_TRUE(accelerators(2).empty());
}

// Every file a resource names is shipped; each cursor points with the pixel its picture is
// drawn for.
TEST(Resources, TheirFilesAreAmongTheAssets) {
    const std::filesystem::path assets(DROVAK_ASSETS_DIR);
    std::vector<std::string> files = {smallIconFile(kProgramIcon), bitmapFile(kWizardBitmap),
                                      soundFile("button"), soundFile("startUp")};
    for (int id : {kProgramIcon, kFileIcon, kEditedFileIcon, kOddFileIcon})
        files.push_back(iconFile(id));
    EXPECT_TRUE(iconBundle(kFileIcon).empty() && iconBundle(kProgramIcon).size() == 7); // 16 to 256
    for (const char* f : iconBundle(kProgramIcon))
        files.push_back(f);
    std::ifstream spots(assets / "cursors" / "hotspots.txt");
    std::map<std::string, std::pair<int, int>> drawn;
    for (std::string name; spots >> name;)
        spots >> drawn[name].first >> drawn[name].second;
    for (int id : {kArrowCursor, kTextCursor}) {
        files.push_back(cursorFile(id));
        const auto hot = cursorHotSpot(id);
        EXPECT_EQ(drawn[std::filesystem::path(files.back()).filename().string()],
                  std::make_pair(hot.x, hot.y))
            << files.back();
    }
    for (const std::string& f : files)
        EXPECT_TRUE(std::filesystem::is_regular_file(assets / f)) << f;
}

} // namespace
