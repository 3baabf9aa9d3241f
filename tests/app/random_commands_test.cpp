// Random runs of file commands, clicks, keys, pauses and cancelled closes on the whole
// program, with random answers to every question it asks. After every step the working-copy
// rule holds (a label has its edit mark exactly when its working copy exists), the list and
// its labels with working copies are what a fill of the folder shows, the open record is the
// selected label's, after a pause its working copy holds it, and no saved file changed except
// by a command that saves, renames or deletes.
#include "apptest.h"

#include "resources/resources.h"
#include "support/diskname.h"

#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <random>

namespace fs = std::filesystem;
using namespace resources;

namespace {

class NoOwner : public TSavListOwner {
  public:
    void resetPlayerInfo(const char*) override {}
    bool leftClick(const TPoint&, uint) override { return true; }
    void endDrag() override {}
    void listPopupMenu(const TPoint&) override {}
    void processListKeyDown(uint) override {}
    void EvKeyDown(uint, uint, uint) override {}
    void EvKeyUp(uint, uint, uint) override {}
};

class RandomCommandsTest : public AppTest {
  protected:
    std::mt19937 rng;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    std::map<std::string, std::string> savedFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(sav.path())) {
            std::string name = entry.path().filename().string();
            if (name.ends_with(".sav")) {
                files[name] = sav.read(name);
            }
        }
        return files;
    }

    bool workingCopyExists(const std::string& label) const {
        return !findNameOnDisk(sav.folder(), label + ".dvw").empty();
    }

    std::string randomLabel() {
        const char* const names[] = {"ace", "Ace", "bob", "ace(1)", "new", " New Sav File"};
        return names[pick(6)];
    }

    void checkRules(const std::string& where, bool paused) {
        auto all = labels();
        auto images = headless::listImages(list());
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(workingCopyExists(all[i]), images[i] == TSavListWindow::kEditImage)
                << where << ": mark of " << all[i];
        }
        TWindow host(nullptr);
        NoOwner owner;
        TSavListWindow fresh(&host, owner, kListId, 0, 0, 100, 100);
        fresh.setSavPath(sav.folder().c_str());
        fresh.fillListWindow();
        EXPECT_EQ(headless::listLabels(fresh), all) << where;
        EXPECT_EQ(headless::listImages(fresh), images) << where;
        EXPECT_EQ(fresh.getDirtyFiles(), list().getDirtyFiles()) << where;
        int index = selected();
        std::string open = window().currentPlayer().getFileName();
        if (index >= 0 && !open.empty()) {
            char label[kFileNameCapacity] = "";
            strAppend(label, open.c_str(), static_cast<int>(sizeof label));
            truncFileName(label);
            EXPECT_TRUE(sameNameIgnoringCase(label, all[static_cast<std::size_t>(index)]))
                << where << ": open " << open << ", selected "
                << all[static_cast<std::size_t>(index)];
            EXPECT_EQ(open.ends_with(".dvw"), workingCopyExists(label)) << where << ": " << open;
            const TPlayer& record = window().currentPlayer();
            TPlayer onDisk(window().currentSettings(), open.c_str());
            if (paused && open.ends_with(".dvw") && onDisk.openFile() == 0) {
                EXPECT_EQ(record.callsign, onDisk.callsign) << where;
                EXPECT_EQ(record.squadronName, onDisk.squadronName) << where;
                EXPECT_EQ(record.squadronPassword, onDisk.squadronPassword) << where;
            }
        }
    }

    int workingCopies() const {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(sav.path())) {
            n += entry.path().extension() == ".dvw";
        }
        return n;
    }

    bool closing = false;
    int questionsLeft = 0;
};

TEST_F(RandomCommandsTest, FilesAndMarksStayTrueToEachOther) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        rng.seed(seed);
        for (const auto& entry : fs::directory_iterator(sav.path())) {
            fs::remove_all(entry.path());
        }
        addSav("ace.sav", "ACE");
        addSav("bob.sav", "BOB");
        addSav("bob.dvw", "BOBEDIT");
        app.reset();
        headless::reset();
        headless::answerMessageBoxesWith([this](const headless::TMessageBoxRecord& box) {
            if (closing && box.caption == "Save" && --questionsLeft == 0) {
                return IDCANCEL; // the program goes on
            }
            switch (box.buttons) {
            case MB_YESNO:
                return pick(2) ? IDYES : IDNO;
            case MB_YESNOCANCEL: {
                const int answers[] = {IDYES, IDNO, IDCANCEL};
                return answers[pick(closing ? 2 : 3)];
            }
            default:
                return IDOK;
            }
        });
        headless::answerFileDialogsWith([this](const headless::TFileDialogRecord&) {
            return pick(4) == 0 ? std::nullopt
                                : std::optional<std::string>(sav.file(randomLabel() + ".sav"));
        });
        start();
        // Each step, and what it may write to the saved files: nothing, new files, anything.
        enum Writes { kNothing, kNewFiles, kAny };
        struct Step {
            const char* name;
            Writes writes;
            std::function<void()> run;
        };
        const Step steps[] = {
            {"click", kNothing,
             [&] {
                 if (!labels().empty()) {
                     headless::clickListItem(list(), pick(static_cast<int>(labels().size())));
                 }
             }},
            {"type", kNothing,
             [&] {
                 clickField(1 + pick(3));
                 for (int keys = 1 + pick(3); keys > 0; --keys) {
                     typeKeys(std::string(1, static_cast<char>('A' + pick(26))));
                 }
             }},
            {"pause", kNothing,
             [&] {
                 const std::uint64_t pauses[] = {50, 150, kWorkingCopyDelayMs};
                 headless::advanceTime(pauses[pick(3)]);
             }},
            {"save", kAny, [&] { choose(CM_SAVE); }},
            {"save as", kAny, [&] { choose(CM_SAVEAS); }},
            {"duplicate", kNewFiles, [&] { choose(CM_DUPLICATE); }},
            {"rename", kAny,
             [&] {
                 rename(pick(4) == 0 ? std::nullopt : std::optional<std::string>(randomLabel()));
             }},
            {"delete", kAny, [&] { choose(CM_DELETE); }},
            {"new", kAny, [&] { choose(CM_NEW); }},
            {"undo", kNothing, [&] { choose(CM_UNDO); }},
            {"close", kAny,
             [&] {
                 questionsLeft = 1 + pick(workingCopies());
                 closing = true;
                 headless::closeWindow(frame());
                 closing = false;
             }},
        };
        auto saved = savedFiles();
        for (int n = 0; n < 40; ++n) {
            const Step& step = steps[pick(static_cast<int>(std::size(steps)))];
            if (std::string(step.name) == "close" && workingCopies() == 0) {
                continue; // the program would end
            }
            std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(n) +
                                " (" + step.name + ")";
            std::uint64_t before = headless::now();
            step.run();
            checkRules(where, headless::now() - before >= kWorkingCopyDelayMs);
            auto now = savedFiles();
            if (step.writes == kNewFiles) {
                for (const auto& [name, bytes] : saved) {
                    EXPECT_EQ(bytes, now.count(name) ? now[name] : "") << where << ": " << name;
                }
            } else if (step.writes == kNothing) {
                EXPECT_EQ(saved, now) << where;
            }
            saved = now;
            if (HasFailure()) {
                return;
            }
        }
        headless::answerMessageBoxesWith({});
        headless::answerFileDialogsWith({});
    }
}

} // namespace
