#include "dialogtestutil.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <tuple>

namespace {

namespace ids = resources::settings;
using headless::clickButton;
using headless::controlText;
using headless::typeText;

using SettingsDialogTest = DialogTest;

// A tied field follows every keystroke in the game folder and cannot be typed into; its box
// switched, it shows its saved path again (untied) or the game folder's (tied). With no game
// folder the tied template is raptor.sav as the working folder has it.
TEST_F(SettingsDialogTest, TiedFieldsFollowEveryKeystroke) {
    const std::string typed = native("/f22/"), sav = native("/sav/"), tpl = native("/tpl/base.sav");
    makeFile("here/Raptor.sav");
    ScopedWorkingDir here(program.path() / "here");
    for (int ties = 0; ties < 4; ++ties) {
        const bool savTied = ties & 1, templateTied = ties & 2;
        fresh();
        run({savTied, templateTied}, [&](TDialog& d) {
            ASSERT_TRUE(headless::replaceText(d, ids::kRaptorPathEdit, ""));
            EXPECT_EQ(templateTied ? "Raptor.sav" : tpl, controlText(d, ids::kTemplatePathEdit));
            for (std::size_t n = 1; n <= typed.size(); ++n) {
                ASSERT_TRUE(typeText(d, ids::kRaptorPathEdit, typed.substr(n - 1, 1)));
                const std::string folder = typed.substr(0, n);
                EXPECT_EQ(savTied ? folder : sav, controlText(d, ids::kSavPathEdit)) << folder;
                EXPECT_EQ(templateTied ? folder + "raptor.sav" : tpl,
                          controlText(d, ids::kTemplatePathEdit))
                    << folder;
            }
            EXPECT_EQ(!savTied, typeText(d, ids::kSavPathEdit, "x"));
            EXPECT_EQ(!templateTied, typeText(d, ids::kTemplatePathEdit, "x"));
            clickButton(d, ids::kSavPathEqRaptorPathBox);
            clickButton(d, ids::kTemplateEqRaptorSavBox);
            EXPECT_EQ(savTied ? sav : typed, controlText(d, ids::kSavPathEdit));
            EXPECT_EQ(templateTied ? tpl : typed + "raptor.sav",
                      controlText(d, ids::kTemplatePathEdit));
            EXPECT_EQ(savTied, typeText(d, ids::kSavPathEdit, "x"));
            EXPECT_EQ(templateTied, typeText(d, ids::kTemplatePathEdit, "x"));
        });
    }
}

TEST_F(SettingsDialogTest, BrowseButtons) {
    const std::string game = makeFolder("Novalogic/F-22 Raptor");
    const std::string exe = makeFile("Novalogic/F-22 Raptor/Raptor.exe");
    const std::string pilots = makeFolder("pilots"), chosen = makeFile("pilots/base.sav");
    const std::string longName(40, 'n'), tpl = native("/tpl/base.sav"), tpls = native("/tpl/");
    const std::string g = native("/game/"), sv = native("/sav/");
    constexpr std::uint32_t kMust = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    const std::string exeFilter = "Raptor.exe (Raptor.exe)|Raptor.exe|";
    const std::string savFilter = "F-22 Raptor SAV file (*.sav) |*.sav|";
    const struct {
        const char* what;
        Switches switches;
        std::string templ; // in the settings file
        int button;
        std::optional<std::string> answer; // nullopt: the user cancels
        std::tuple<std::string, std::string, std::string, std::uint32_t> asked; // folder, name
        std::array<std::string, 3> fields; // game folder, template, SAV folder afterwards
    } cases[] = {
        // clang-format off
        {"game folder, ties on: the tied fields follow", {true, true}, tpl, ids::kRaptorPathBrowse,
         exe, {g, "Raptor.exe", exeFilter, kMust}, {game, game + "raptor.sav", game}},
        {"game folder, cancelled", {true, true}, tpl, ids::kRaptorPathBrowse, std::nullopt,
         {g, "Raptor.exe", exeFilter, kMust}, {g, tpl, sv}},
        {"template: starts in its folder with its name proposed", {}, tpl,
         ids::kTemplatePathBrowse, chosen, {tpls, "base.sav", savFilter, kMust}, {g, chosen, sv}},
        {"template: a long name is proposed cut to 32 characters", {}, tpls + longName,
         ids::kTemplatePathBrowse, std::nullopt, {tpls, longName.substr(0, 32), savFilter, kMust},
         {g, tpls + longName, sv}},
        {"SAV folder: a name that does not exist names its folder", {}, tpl, ids::kSavPathBrowse,
         pilots + "new name.sav", {sv, "", "SAV files Folder (.sav)|.sav|", 0}, {g, tpl, pilots}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        if (c.answer) {
            headless::scriptFileDialog(*c.answer);
        } else {
            headless::scriptFileDialogCancel();
        }
        run(c.switches,
            [&](TDialog& d) {
                ASSERT_TRUE(clickButton(d, c.button));
                EXPECT_EQ(c.fields,
                          (std::array<std::string, 3>{controlText(d, ids::kRaptorPathEdit),
                                                      controlText(d, ids::kTemplatePathEdit),
                                                      controlText(d, ids::kSavPathEdit)}));
            },
            {sv, g, c.templ});
        ASSERT_EQ(1u, headless::fileDialogs().size());
        const headless::TFileDialogRecord& f = headless::fileDialogs()[0];
        EXPECT_EQ(c.asked, std::tie(f.initialDir, f.fileName, f.filter, f.flags));
    }
}

// A game folder typed without its separator makes the tied paths from the text as typed; the
// switches show as they are set (on here: a click turns each off). A settings file that cannot
// be written is reported; the settings still reach the main window.
TEST_F(SettingsDialogTest, OkSavesAndHandsOverWhatTheDialogShows) {
    const Paths saved{native("/F22"), native("/F22"), native("/F22raptor.sav")};
    const std::string missing = native(program.folder() + "missing/");
    for (const bool writable : {true, false}) {
        fresh();
        setDrovakPath(writable ? program.folder().c_str() : missing.c_str());
        headless::scriptMessageBox(IDOK);
        EXPECT_EQ(IDOK, run({true, true, true, true}, [&](TDialog& d) {
                      headless::replaceText(d, ids::kRaptorPathEdit, native("/F22"));
                      clickButton(d, ids::kSoundOnBox);
                      clickButton(d, ids::kShowSplashScreenBox);
                      clickButton(d, IDOK);
                      EXPECT_FALSE(headless::isOpen(d));
                  }));
        ASSERT_EQ(1u, handed.size());
        EXPECT_EQ(writable, iniExistedAtHandOver[0]); // written before the hand-over
        const TDrovakSettingsXfer& x = handed[0];     // the file last loaded has no control: kept
        EXPECT_EQ(std::tuple(saved.templ, '\0', '\0', std::string("pilot.sav")),
                  std::tuple(x.templatePath.data(), x.soundOn, x.showSplashScreen,
                             x.lastLoadedFile.data()));
        ASSERT_EQ(writable ? 0u : 1u, headless::messageBoxes().size());
        if (writable) {
            EXPECT_EQ(settingsFile(saved, {true, true, false, false}),
                      program.read(kSettingsFileName));
            continue;
        }
        const headless::TMessageBoxRecord& box = headless::messageBoxes()[0];
        EXPECT_EQ(std::string(kSettingsNotSavedText) + "\n" + missing +
                      "drovak.ini: " + std::strerror(ENOENT),
                  box.text);
        EXPECT_EQ(std::tie("Error", MB_ICONEXCLAMATION), std::tie(box.caption, box.icon));
    }
}

// Every way out of either dialog but a good OK writes nothing, hands nothing over and leaves
// the table as it was; leaving the wizard so ends the program, once it has closed. Cancel and
// Escape close a dialog at once; after a refused OK it stays open until its close box. drovak.ini
// keeps one path a line: a path with a line break is refused.
TEST_F(SettingsDialogTest, EveryWayOutButAGoodOkDiscardsEverything) {
    const auto refusedOk = [](TDialog& d) { clickButton(d, IDOK); };
    const auto cancel = [](TDialog& d) { clickButton(d, IDCANCEL); };
    const auto escape = [](TDialog& d) { headless::sendCommand(d, IDCANCEL); };
    const std::string other = native("/other/");
    const int wizardEdit = resources::wizard::kRaptorPathEdit;
    const char* const lineBreak = kLineBreakInPathText;
    const struct {
        const char* why;
        bool wizard;
        int field;
        std::string path;
        std::function<void(TDialog&)> ending;
        const char* refusal; // the message of a refused OK
    } cases[] = {
        // clang-format off
        {"Cancel", false, ids::kRaptorPathEdit, other, cancel, nullptr},
        {"Escape", false, ids::kRaptorPathEdit, other, escape, nullptr},
        {"game folder", false, ids::kRaptorPathEdit, native("/ga\nme/"), refusedOk, lineBreak},
        {"template", false, ids::kTemplatePathEdit, native("/tpl/a\r.sav"), refusedOk, lineBreak},
        {"SAV folder", false, ids::kSavPathEdit, native("/sav\r\n/"), refusedOk, lineBreak},
        {"wizard's Cancel", true, wizardEdit, other, cancel, nullptr},
        {"wizard's Escape", true, wizardEdit, other, escape, nullptr},
        {"wizard's close box", true, wizardEdit, other, refusedOk, kRaptorSavNotFoundText},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        fresh();
        headless::scriptMessageBox(IDOK);
        std::vector<int> commandsWhileOpen;
        const auto user = [&](TDialog& d) {
            ASSERT_TRUE(headless::replaceText(d, c.field, c.path));
            clickButton(d, ids::kSoundOnBox);
            c.ending(d);
            EXPECT_EQ(c.refusal != nullptr, headless::isOpen(d)); // then the close box
            commandsWhileOpen = parent.commands;
        };
        EXPECT_EQ(IDCANCEL, c.wizard ? run<TDrovakSetupWizard>({}, user) : run({}, user));
        ASSERT_EQ(c.refusal ? 1u : 0u, headless::messageBoxes().size());
        if (c.refusal) {
            EXPECT_EQ(c.refusal, headless::messageBoxes()[0].text);
        }
        EXPECT_TRUE(commandsWhileOpen.empty());
        EXPECT_EQ(c.wizard ? std::vector<int>{resources::CM_EXIT} : std::vector<int>{},
                  parent.commands);
        EXPECT_FALSE(program.exists(kSettingsFileName));
        EXPECT_TRUE(handed.empty());
        EXPECT_EQ(native("/game/"), *tokenTable().find("raptorPath"));
    }
}

} // namespace
