#include "player/workingcopy.h"

#include "support/diskname.h"

#include "playertestutil.h"

#include <filesystem>
#include <random>

namespace {

class WorkingCopyTest : public PlayerFolderTest {};

// Random turns of the user saving and other programs writing, removing or rewriting the saved
// file: a Save goes through exactly when the file holds what was last read or written, and
// then leaves the record's bytes, no working copy and the record's name as it was.
TEST_F(WorkingCopyTest, SaveReplacesOnlyWhatWasRead) {
    std::mt19937 random(26);
    TPlayer p(settings(), "Ace.dvw");
    fillFields(p);
    TWorkingCopy copy(p);
    dir.write("ACE.sav", "first");
    EXPECT_TRUE(copy.changedElsewhere()); // never read: a file there is not known
    copy.noteRead();
    std::optional<std::string> seen = "first";
    // The saved file in whatever spelling it has now; other programs keep that spelling.
    auto name = [&] {
        std::string found = findNameOnDisk(dir.folder(), "ace.sav");
        return found.empty() ? std::string("ACE.sav") : found;
    };
    auto onDisk = [&]() -> std::optional<std::string> {
        return dir.exists(name()) ? std::optional(dir.read(name())) : std::nullopt;
    };
    for (int turn = 0; turn < 300; ++turn) {
        switch (random() % 6) {
        case 0:
            dir.write(name(), std::string(1 + random() % 3, 'x') + record(p).substr(3));
            break;
        case 1:
            std::filesystem::remove(dir.file(name()));
            break;
        case 2:
            if (onDisk()) {
                dir.write(name(), *onDisk()); // the same bytes again: nothing changed
            }
            break;
        case 3:
            copy.noteRead();
            seen = onDisk();
            break;
        case 4:
            ASSERT_EQ(kSaveOk, copy.writeWorkingCopy());
            EXPECT_EQ(record(p), dir.read("Ace.dvw"));
            break;
        default: {
            bool force = random() % 2 == 0;
            bool expectSave = force || onDisk() == seen;
            std::optional<std::string> before = onDisk();
            EXPECT_EQ(onDisk() != seen, copy.changedElsewhere());
            ASSERT_EQ(expectSave ? kSaveOk : kSaveChangedElsewhere, copy.save(force));
            if (expectSave) {
                seen = record(p);
                EXPECT_FALSE(copy.exists());
            }
            EXPECT_EQ(expectSave ? seen : before, onDisk());
            EXPECT_EQ("Ace.dvw", std::string(p.getFileName()));
            EXPECT_GE(1u, findNamesOnDisk(dir.folder(), {"ace.sav"}).size()); // never doubled
        }
        }
    }
}

// A write under another name leaves the record's name, and a discarded working copy is gone.
TEST_F(WorkingCopyTest, WriteAsAndDiscard) {
    TPlayer p(settings(), "ace.sav");
    fillFields(p);
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
