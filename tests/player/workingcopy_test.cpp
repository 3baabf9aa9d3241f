#include "player/workingcopy.h"

#include "playertestutil.h"

namespace {

class WorkingCopyTest : public PlayerFolderTest {};

// A write under another name leaves the record's name, and a discarded working copy is gone.
TEST_F(WorkingCopyTest, WriteAsAndDiscard) {
    TPlayer p = filled(settings(), "ace.sav");
    TWorkingCopy copy(p);
    ASSERT_EQ(kSaveOk, copy.writeAs("copy.sav"));
    EXPECT_EQ(record(p), dir.read("copy.sav"));
    ASSERT_EQ(kSaveOk, copy.writeWorkingCopy());
    EXPECT_TRUE(copy.exists());
    EXPECT_TRUE(copy.discard());
    EXPECT_FALSE(copy.exists());
    EXPECT_EQ("ace.sav", std::string(p.getFileName()));
    EXPECT_EQ(kSaveTargetFailed, copy.writeAs("../out.sav"));
}

} // namespace
