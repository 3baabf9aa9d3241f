#include "player/workingcopy.h"

#include "playertestutil.h"

namespace {

class WorkingCopyTest : public PlayerFolderTest {};

// A write under another name leaves the record's name, and a discarded working copy is gone.
TEST_F(WorkingCopyTest, WriteAsAndDiscard) {
    TPlayer p = filled(settings(), "ace.sav");
    TWorkingCopy copy(p);
    ASSERT_EQ(kSaveOk, copy.writeAs("copy.sav"));
    ASSERT_EQ(kSaveOk, copy.writeWorkingCopy());
    EXPECT_EQ(record(p), dir.read("copy.sav"));
    EXPECT_EQ(record(p), dir.read("ace.dvw"));
    EXPECT_TRUE(copy.discard());
    EXPECT_EQ("copy.sav template.sav", dir.listing());
    EXPECT_FALSE(copy.exists());
}

} // namespace
