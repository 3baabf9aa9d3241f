#include "player/workingcopy.h"

#include "playertestutil.h"

namespace {

class WorkingCopyTest : public PlayerFolderTest {};

// The working copy is the record beside its file, and once discarded it is gone. (Writing it
// under another name is set's, in tests/cli.)
TEST_F(WorkingCopyTest, WriteAndDiscard) {
    TPlayer p = filled(settings(), "ace.sav");
    TWorkingCopy copy(p);
    ASSERT_EQ(kSaveOk, copy.writeWorkingCopy());
    EXPECT_EQ(record(p), dir.read("ace.dvw"));
    EXPECT_TRUE(copy.discard());
    EXPECT_FALSE(copy.exists());
    EXPECT_EQ("template.sav", dir.listing());
}

} // namespace
