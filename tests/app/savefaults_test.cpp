#include "apptest.h"

#include "common/fsfaults.h"
#include "player/player.h"
#include "settings/programfolder.h"
#include "settings/settingsfile.h"

#include <cstring>
#include <functional>

namespace {

struct ReplacingWrite {
    const char* what;
    const TempDir& folder;
    const char* file;
    std::function<bool()> write; // true when the caller reports success
};

#ifndef _WIN32 // the write's system calls are a POSIX seam
// Every file the program replaces, with each of the write's system calls failing in turn: the
// file holds its old bytes or its new ones, never a mix, no temporary stays behind, and the
// caller says the write failed.
TEST_F(AppTest, EveryReplacingWriteIsWholeOrNotAtAll) {
    addSav("ace.sav", "ACE");
    cwd = std::make_unique<ScopedWorkingDir>(program.path());
    setDrovakPath(program.folder().c_str());
    TDrovakSettingsXfer settings;
    std::strcpy(settings.savPath.data(), sav.folder().c_str());
    std::strcpy(settings.raptorPath.data(), game.folder().c_str());
    std::strcpy(settings.templatePath.data(), program.file("template.sav").c_str());
    TPlayer pilot(settings, "ace.sav");
    std::strcpy(pilot.callsign.data(), "NEWBIE");

    const ReplacingWrite writes[] = {
        {"SAV file", sav, "ace.sav", [&] { return pilot.saveFile() == kSaveOk; }},
        {"working copy", sav, "ace.dvw",
         [&] { return pilot.saveAsFile(sav.file("ace.dvw").c_str(), false) == kSaveOk; }},
        {"game's file", game, "raptor.sav", [&] { return pilot.loadFile() == kSaveOk; }},
        {"settings", program, "drovak.ini", [&] { return saveINI(settings) == 0; }},
        {"mail message", program, "send.eml", [&] { return pilot.emailFile() == kSaveOk; }},
        {"contact message", program, "info.eml", [] { return writeContactMessage(""); }},
    };
    for (const auto& w : writes) {
        const std::string old = std::string("old ") + w.what;
        w.folder.write(w.file, old);
        ASSERT_TRUE(w.write()) << w.what;
        const std::string listing = w.folder.listing(); // the mail's attachment folder made
        const std::string fresh = w.folder.read(w.file);
        ASSERT_NE(old, fresh) << w.what;
        for (int error : {ENOSPC, EIO}) {
            int calls = -1; // the write's system calls, known once none of them failed
            for (int n = 1; n < 60 && calls < 0; ++n) {
                SCOPED_TRACE(std::string(w.what) + ", call " + std::to_string(n) + " fails with " +
                             std::strerror(error));
                w.folder.write(w.file, old);
                FileSystemFaults faults;
                faults.failCall(n, error);
                bool reported = w.write();
                const int reportedError = errno; // what the message names as the cause
                std::string now = w.folder.read(w.file);
                EXPECT_TRUE(now == old || now == fresh);
                EXPECT_EQ(listing, w.folder.listing());
                EXPECT_NE(faults.fired(), reported);
                if (faults.fired()) {
                    EXPECT_EQ(error, reportedError);
                }
                if (!faults.fired()) {
                    calls = n - 1;
                    EXPECT_EQ(fresh, now);
                }
            }
            // Creating, writing, syncing, closing and renaming at the least.
            EXPECT_GE(calls, 5) << w.what;
        }
    }
}
#endif

} // namespace
