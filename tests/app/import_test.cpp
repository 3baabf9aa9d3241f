// The callsign column drawn in the game's own font. Drops and File > Import meet other pilots
// in the folder model; a second start is in the command line's test.
#include "apptest.h"

#include "resources/resources.h"

using namespace resources;

namespace {

// The callsign cell is a picture: codes applied and not shown, one picture per callsign.
TEST_F(AppTest, CallsignColumnShowsTheGameFont) {
    addSav("a.sav", "AB");
    addSav("b.sav", "~3AB");
    addSav("c.sav", "~3AB");
    addSav("d.sav", "~3A~4B");
    start();
    std::shared_ptr<const TDib> pictures[4];
    for (int i = 0; i < 4; ++i) {
        pictures[i] = headless::cellPicture(list(), i, 1);
        ASSERT_NE(pictures[i], nullptr) << i;
        EXPECT_EQ(headless::cellText(list(), i, 1), "AB");
    }
    EXPECT_EQ(pictures[0]->Width(), pictures[1]->Width());
    EXPECT_EQ(pictures[1]->Width(), pictures[3]->Width());
    EXPECT_FALSE(pictures[0]->GetPixels() == pictures[1]->GetPixels());
    EXPECT_FALSE(pictures[1]->GetPixels() == pictures[3]->GetPixels());
    EXPECT_EQ(pictures[1], pictures[2]);
    EXPECT_EQ(headless::cellPicture(list(), 0, 2), nullptr); // the dates stay text
}

} // namespace
