#include "resources/resources.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Paints a 4 by 4 block at each point it is told, and remembers what each Paint was given.
class TCanvas : public TWindow {
  public:
    TCanvas() : TWindow(nullptr) {
        Attr.W = 40;
        Attr.H = 30;
        SetBkgndColor(TColor(34, 34, 34));
    }
    std::vector<TPoint> blocks;
    std::vector<TRect> painted;
    std::vector<bool> erased;
    TDib block{TRgbImage(4, 4, TColor(255, 173, 0))};

    void Paint(TDC& dc, bool erase, TRect& rect) override {
        painted.push_back(rect);
        erased.push_back(erase);
        for (const TPoint& p : blocks)
            dc.BitBlt(p.x, p.y, block);
    }
};

class Services : public ::testing::Test {
  protected:
    void SetUp() override { headless::reset(); }
};

TEST_F(Services, RepaintsAreRecordedAndClipped) {
    TCanvas w;
    w.blocks = {{0, 0}, {20, 20}};
    w.Create();
    headless::paint(w); // a new window is painted whole
    ASSERT_EQ(w.painted, std::vector<TRect>{TRect(0, 0, 40, 30)});
    EXPECT_EQ(headless::surface(w).GetPixel(21, 21), TColor(255, 173, 0));
    headless::clearInvalidations(w);

    // Block 2 moves; only the two rectangles asked for change.
    w.blocks = {{0, 0}, {30, 10}};
    w.InvalidateRect(TRect(20, 20, 24, 24));
    w.InvalidateRect(TRect(30, 10, 34, 14), false);
    EXPECT_EQ(headless::invalidations(w).size(), 2u);
    EXPECT_FALSE(headless::invalidations(w)[1].erase);
    headless::paint(w);
    EXPECT_EQ(w.painted.back(), TRect(20, 10, 34, 24)); // the bounds of what was asked for
    EXPECT_TRUE(w.erased.back());
    const TRgbImage& s = headless::surface(w);
    EXPECT_EQ(s.GetPixel(21, 21), TColor(34, 34, 34)); // erased
    EXPECT_EQ(s.GetPixel(31, 11), TColor(255, 173, 0));
    EXPECT_EQ(s.GetPixel(1, 1), TColor(255, 173, 0)); // untouched outside the clip

    headless::paint(w); // nothing asked for, nothing painted
    EXPECT_EQ(w.painted.size(), 2u);
}

class TMenuOwner : public TWindow {
  public:
    TMenuOwner() : TWindow(nullptr) {}
    bool hasFile = false;
    std::vector<int> commands;
    void CmdLoad() { commands.push_back(resources::CM_LOAD); }
    void CmdSettings() { commands.push_back(resources::CM_SETTINGS); }
    void CeHasFile(TCommandEnabler& ce) { ce.Enable(hasFile); }
    DECLARE_RESPONSE_TABLE(TMenuOwner);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TMenuOwner, TWindow)
    EV_COMMAND(resources::CM_LOAD, CmdLoad),
    EV_COMMAND(resources::CM_SETTINGS, CmdSettings),
    EV_COMMAND_ENABLE(resources::CM_LOAD, CeHasFile),
END_RESPONSE_TABLE;
// clang-format on

TEST_F(Services, PopupMenusAskTheEnablersAndRunTheChoice) {
    TMenuOwner owner;
    TPopupMenu menu;
    menu.AppendMenu(MF_STRING, resources::CM_LOAD, "&Load into F-22 Raptor");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, resources::CM_SETTINGS, "Se&ttings");

    headless::scriptPopupChoice(resources::CM_SETTINGS);
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, TPoint(300, 200), owner));
    EXPECT_FALSE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, TPoint(300, 200), owner)); // dismissed
    headless::scriptPopupChoice(resources::CM_LOAD); // greyed: the user cannot pick it
    EXPECT_THROW(menu.TrackPopupMenu(TPM_RIGHTBUTTON, TPoint(0, 0), owner), std::logic_error);
    owner.hasFile = true;
    headless::scriptPopupChoice(resources::CM_LOAD);
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, TPoint(0, 0), owner));

    EXPECT_EQ(owner.commands, (std::vector<int>{resources::CM_SETTINGS, resources::CM_LOAD}));
    ASSERT_EQ(headless::popupMenus().size(), 4u);
    const headless::TPopupRecord& first = headless::popupMenus()[0];
    EXPECT_EQ(first.enabled, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(first.items[2].text, "Se&ttings");
    EXPECT_EQ(first.point, TPoint(300, 200));
    EXPECT_EQ(first.chosen, resources::CM_SETTINGS);
    EXPECT_EQ(headless::popupMenus()[3].enabled, (std::vector<bool>{true, false, true}));
}

TEST_F(Services, ClipboardCarriesTheGamesBytes) {
    TWindow owner(nullptr);
    const std::string game("~3ACE\xC0\xFE", 7); // a colour code and two extended characters
    {
        TClipboard clip(owner);
        EXPECT_FALSE(clip.IsClipboardFormatAvailable(CF_TEXT));
        EXPECT_EQ(clip.GetText(), "");
        EXPECT_TRUE(clip.EmptyClipboard());
        EXPECT_TRUE(clip.SetText(game));
    }
    EXPECT_EQ(headless::clipboard(), game);
    TClipboard clip(owner);
    EXPECT_TRUE(clip.IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(clip.GetText(), game);
    EXPECT_TRUE(clip.EmptyClipboard());
    EXPECT_FALSE(clip.IsClipboardFormatAvailable(CF_TEXT));
}

} // namespace
