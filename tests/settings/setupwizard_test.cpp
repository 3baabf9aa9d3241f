#include "settings/gamesearch.h"

#include "dialogtestutil.h"

#include <chrono>
#include <cstdio>
#include <tuple>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

namespace ids = resources::wizard;
using headless::clickButton;
using headless::controlText;

class SetupWizardTest : public DialogTest {
  protected:
    // drovak.ini as the installation brings it: the wizard's first run.
    static constexpr Switches kInstalled{.splash = false, .firstRun = true};
#ifdef _WIN32
    // The system drive is a folder of the test's; its variable names it.
    static constexpr const char* kDriveVariable = "SystemDrive";
    static constexpr const char* kDriveFolders = "";
#else
    // The Windows drive of a Wine prefix under the test's folder.
    static constexpr const char* kDriveVariable = "WINEPREFIX";
    static constexpr const char* kDriveFolders = "/drive_c";
#endif
    static constexpr const char* kGameFolders = "/Program Files/Novalogic/F-22 Raptor/";
};

// The game of a 64-bit system sits under Program Files (x86); Program Files comes first.
TEST_F(SetupWizardTest, ProposesProgramFilesX86WhenTheGameIsOnlyThere) {
    const std::string x86 = "/Program Files (x86)/Novalogic/F-22 Raptor/";
    // the drive's folder, the folders holding the game, the folder proposed
    const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
        {"neither", {}, kGameFolders},
        {"x86", {x86}, x86},
        {"both", {kGameFolders, x86}, kGameFolders}};
    for (const auto& [prefix, games, proposed] : cases) {
        ScopedEnv env(kDriveVariable, (program.folder() + prefix).c_str());
        const std::string drive = prefix + std::string(kDriveFolders);
        for (const std::string& game : games) {
            makeFile(drive + game + "raptor.sav");
        }
        EXPECT_EQ(native(program.folder() + drive + proposed), defaultRaptorPath()) << prefix;
    }
}

// The default folder is the game's under Wine (the prefix named with a trailing separator, as
// users often write it). A refused folder is refused again on a second OK; corrected by Browse
// (which starts in the folder typed and takes the folder of the Raptor.exe chosen), it is taken,
// handed over and then written, its template the game's file in whatever case it has. Help
// asks the main window for help.
TEST_F(SetupWizardTest, RefusesAFolderWithoutRaptorSav) {
    ScopedEnv env(kDriveVariable, (program.folder() + "wine" + kPathSeparator).c_str());
    const std::string game = native(program.folder() + "wine" + kDriveFolders + kGameFolders);
    makeFile(std::string("wine") + kDriveFolders + kGameFolders + "Raptor.sav");
    const std::string exe =
        makeFile(std::string("wine") + kDriveFolders + kGameFolders + "Raptor.exe");
    makeFolder("odd/raptor.sav"); // a folder of that name is no player file
    makeFolder("empty");
#ifndef _WIN32 // Windows names hold no line breaks; the typed path is refused all the same
    makeFile("line\nbreak/raptor.sav"); // a game there, but drovak.ini could not keep the path
#endif
    const std::pair<std::string, const char*> refused[] = {
        {game.substr(0, game.size() - 1), kRaptorSavNotFoundText}, // without its separator
        {native(program.folder() + "empty/"), kRaptorSavNotFoundText},
        {native(program.folder() + "odd/"), kRaptorSavNotFoundText},
        {native(program.folder() + "missing/"), kRaptorSavNotFoundText},
        {native(program.folder() + "line\nbreak/"), kLineBreakInPathText}};
    for (const auto& row : refused) { // not a structured binding: Clang 14 cannot capture one
        SCOPED_TRACE(row.first);
        fresh();
        headless::scriptMessageBox(IDOK);
        headless::scriptMessageBox(IDOK);
        headless::scriptFileDialog(exe);
        EXPECT_EQ(IDOK, run<TDrovakSetupWizard>(kInstalled, [&](TDialog& d) {
                      EXPECT_EQ(game, controlText(d, ids::kRaptorPathEdit));
                      clickButton(d, IDHELP);
                      headless::replaceText(d, ids::kRaptorPathEdit, row.first);
                      clickButton(d, IDOK);
                      clickButton(d, IDOK);
                      EXPECT_TRUE(headless::isOpen(d));
                      clickButton(d, ids::kBrowse);
                      clickButton(d, IDOK);
                  }));
        ASSERT_EQ(1u, headless::fileDialogs().size());
        EXPECT_EQ(row.first, headless::fileDialogs()[0].initialDir);
        ASSERT_EQ(2u, headless::messageBoxes().size());
        for (const auto& box : headless::messageBoxes()) {
            EXPECT_EQ(std::tie(row.second, "Error", MB_ICONEXCLAMATION),
                      std::tie(box.text, box.caption, box.icon));
        }
        EXPECT_EQ(settingsFile({game, game, game + "Raptor.sav"}, {}),
                  program.read(kSettingsFileName));
        ASSERT_EQ(1u, handed.size());
        EXPECT_FALSE(iniExistedAtHandOver[0]);
        EXPECT_EQ(std::vector<int>{resources::CM_HELP}, parent.commands);
    }
}

#ifndef _WIN32
// Without WINEPREFIX the game is looked for in ~/.wine, without HOME in the account's home
// folder; the root too can be the prefix.
TEST_F(SetupWizardTest, WinePrefixIsHomesWineUnlessNamed) {
    const std::string home = program.path().string(), game = std::string("/drive_c") + kGameFolders;
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(nullptr, account);
    const std::pair<const char*, const char*> envs[] = {
        {home.c_str(), ""}, {home.c_str(), "/"}, {home.c_str(), "//"}, {"", ""}};
    const std::string expected[] = {home + "/.wine" + game, game, game,
                                    account->pw_dir + ("/.wine" + game)};
    for (int i = 0; i < 4; ++i) {
        ScopedEnv homeEnv("HOME", envs[i].first);
        ScopedEnv env("WINEPREFIX", envs[i].second);
        EXPECT_EQ(expected[i], std::filesystem::path(defaultRaptorPath()).lexically_normal()) << i;
    }
}

// The game is looked for in every usual prefix, raptor.sav in any case and any folder of a
// drive but Windows' own, not too deep; the prefix named by WINEPREFIX first, then a folder
// with the game's program, then the one played last.
TEST_F(SetupWizardTest, FindsTheGameInTheUsualPrefixesBestFirst) {
    ScopedEnv homeEnv("HOME", (program.folder() + "home").c_str());
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    // the file, under the test's folder; its age in hours; whether the game's program is beside it
    const std::tuple<const char*, int, bool> games[] = {
        {"home/.wine/drive_c/Program Files/Novalogic/F-22 Raptor/RAPTOR.SAV", 40, 0},
        {"home/Games/f-22/drive_c/GOG Games/F22/raptor.sav", 30, 1},
        {"home/.local/share/bottles/bottles/B/drive_c/Program Files (x86)/N/F/Raptor.sav", 1, 0},
        {"home/.steam/steam/steamapps/compatdata/77/pfx/drive_c/F/raptor.sav", 20, 0},
        {"home/.PlayOnLinux/wineprefix/F22/drive_c/F/raptor.sav", 10, 1},
        {"named/drive_c/F-22/raptor.sav", 47, 0},
        // Never found:
        {"home/.wine/drive_c/windows/raptor.sav", 0, 1},
        {"home/.wine/drive_c/1/2/3/4/5/raptor.sav", 0, 1},
        {"home/Games/f-22/drive_c/odd/raptor.sav/x", 0, 1},
        {"home/Games/drive_c/raptor.sav", 0, 1}, // ~/Games itself is no prefix
    };
    const auto folder = [](const std::string& path) { return path.substr(0, path.rfind('/') + 1); };
    for (const auto& [path, ageHours, exe] : games) {
        std::filesystem::last_write_time(program.path() / makeFile(path),
                                         old + std::chrono::hours(48 - ageHours));
        if (exe) {
            makeFile(folder(path) + "Raptor.exe");
        }
    }
    for (const bool named : {true, false}) {
        ScopedEnv prefix("WINEPREFIX", named ? (program.folder() + "named/").c_str() : "");
        std::vector<std::string> expected;
        for (int i : {5, 4, 1, 2, 3, 0}) {
            if (i != 5 || named) {
                expected.push_back(program.folder() + folder(std::get<0>(games[i])));
            }
        }
        EXPECT_EQ(expected, findGameFolders()) << named;
    }
}

// Several games found: the user chooses among them, the best first, or goes on to the wizard
// with the best proposed. None found: the demo set-up is offered, and taken it is the
// settings, with no wizard; when it cannot be made, the wizard comes after a word why.
TEST_F(SetupWizardTest, ChoosesAmongGamesFoundOrStartsOnTheDemo) {
    const std::string home = program.folder() + "home/", demo = native(program.folder() + "demo/");
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv prefixEnv("WINEPREFIX", (home + "named").c_str());
    const std::vector<std::string> gameLines = {home + "named/drive_c/", home + ".wine/drive_c/",
                                                kOtherFolderLine};
    const struct {
        bool games; // the game in the prefixes named and ~/.wine, else nowhere
        int line;   // chosen in the choice; -1 cancels it
        bool demoMade;
        std::string proposed; // the wizard's folder; empty when no wizard shows
    } cases[] = {
        {true, 1, false, gameLines[1]},         {true, 2, false, gameLines[0]}, // Another folder...
        {true, -1, false, gameLines[0]},        {false, 0, true, ""},
        {false, 0, false, defaultRaptorPath()}, {false, 1, true, defaultRaptorPath()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.games) + " " + std::to_string(c.line));
        fresh();
        std::filesystem::remove_all(home);
        if (c.games) {
            makeFile("home/named/drive_c/raptor.sav");
            makeFile("home/.wine/drive_c/raptor.sav");
        }
        headless::scriptChoice(c.line);
        headless::scriptMessageBox(IDOK);
        loadTokens(tokenTable(), settingsFile({}, kInstalled));
        std::string shown;
        TDrovakSetupWizard wizard(
            &parent, recorder(), resources::kWizardDialog, [&](TDrovakSettingsXfer& x) {
                std::snprintf(x.raptorPath.data(), x.raptorPath.size(), "%s", demo.c_str());
                return c.demoMade;
            });
        headless::scriptDialog([&](TDialog& d) {
            shown = controlText(d, ids::kRaptorPathEdit);
            clickButton(d, IDCANCEL);
        });
        EXPECT_EQ(c.proposed.empty() ? IDOK : IDCANCEL, wizard.Execute());
        ASSERT_EQ(1u, headless::choiceDialogs().size());
        EXPECT_EQ((c.games ? gameLines : std::vector<std::string>{kDemoLine, kNameFolderLine}),
                  headless::choiceDialogs()[0].lines);
        EXPECT_EQ(c.proposed, shown);
        EXPECT_EQ(!c.games && c.line == 0 && !c.demoMade ? 1u : 0u,
                  headless::messageBoxes().size());
        ASSERT_EQ(c.proposed.empty() ? 1u : 0u, handed.size());
        if (c.proposed.empty()) {
            EXPECT_EQ(settingsFile({.raptor = demo}, {}), program.read(kSettingsFileName));
        }
    }
}
#endif

} // namespace
