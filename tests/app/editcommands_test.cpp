#include "apptest.h"
#include "support/pathsep.h"

#include "resources/resources.h"
#include "settings/settingsfile.h"
#include "support/base64.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

using namespace resources;

namespace {

// Each state's enabled commands as letters: Save, save As (Load, Delete), Undo, Cut and Copy,
// Paste, E-mail; New, Settings, Exit, About and Help always.
TEST_F(AppTest, CommandEnablingFollowsTheState) {
    addSav("ace.sav", "ACE");
    addSav("dirty.sav", "D");
    addSav("dirty.dvw", "D2");
    start();
    // clang-format off
    const std::pair<std::function<void()>, std::string> states[] = {
        {[&] { select("ace"); }, "AE"}, {[&] { select("dirty"); }, "SAU"},
        {[&] { clickField(kFieldCallsign); }, "SAU"}, {[] { headless::setClipboard(std::string("XY")); }, "SAUP"},
        {[] { headless::typeKey(VK_LEFT, headless::kShift); }, "SAUCP"}, {[&] { choose(CM_NEW); }, "SA"}};
    // clang-format on
    for (const auto& [enter, letters] : states) {
        enter();
        const std::pair<int, char> commands[] = {
            {CM_SAVE, 'S'}, {CM_SAVEAS, 'A'}, {CM_LOAD, 'A'},   {CM_DELETE, 'A'}, {CM_UNDO, 'U'},
            {CM_CUT, 'C'},  {CM_COPY, 'C'},   {CM_PASTE, 'P'},  {CM_EMAIL, 'E'},  {CM_NEW, 0},
            {CM_EXIT, 0},   {CM_ABOUT, 0},    {CM_SETTINGS, 0}, {CM_HELP, 0}};
        for (const auto& [command, letter] : commands) {
            EXPECT_EQ(letter == 0 || letters.find(letter) != std::string::npos,
                      headless::isCommandEnabled(frame(), command))
                << letters << ", command " << command;
        }
    }
}

// The message goes to a program set for messages, else to the mailto handler, with the pilot
// alone as a file; with neither, the user is told where the file is and may open its folder.
TEST_F(AppTest, EmailComposesTheMessageAndHandsItToAnyMailProgram) {
    addSav("ace.sav", "ACE");
    start();
    const std::string folder = program.folder() + "attachment" + kPathSeparator;
    // openFolder: the answer to the offer; 0 when none is made.
    // clang-format off
    const struct { bool message, link; TMailProgram took; int openFolder; } cases[] = {
        {true, true, TMailProgram::Message, 0}, {false, true, TMailProgram::Link, 0},
        {false, false, TMailProgram::None, IDYES}, {false, false, TMailProgram::None, IDNO}};
    // clang-format on
    for (const auto& c : cases) {
        headless::reset();
        headless::setMailPrograms(c.message, c.link);
        c.openFolder ? choose(CM_EMAIL, {c.openFolder}) : choose(CM_EMAIL);
        ASSERT_EQ(1u, headless::mails().size());
        const auto& mail = headless::mails()[0];
        EXPECT_EQ(std::tuple(c.took, program.file("send.eml"), "F-22 Raptor pilot file",
                             folder + "ace.sav", true),
                  std::tuple(mail.took, mail.messageFile, mail.draft.subject, mail.draft.attachment,
                             mail.draft.body.ends_with("editor for F-22 Raptor.\n")));
        EXPECT_EQ(sav.read("ace.sav"), program.read("attachment/ace.sav"));
        EXPECT_EQ(c.openFolder ? 1u : 0u, messageCount());
        EXPECT_EQ(c.openFolder != 0,
                  lastMessage().find(":\n" + folder + "ace.sav\n") != std::string::npos);
        EXPECT_EQ(c.openFolder == IDYES ? std::vector{folder} : std::vector<std::string>{},
                  headless::launchedDocuments());
    }
    // The open pilot's file is attached (the message's form: playerexport_test).
    EXPECT_TRUE(program.read("send.eml")
                    .ends_with("\r\n\r\n" + base64Encode(sav.read("ace.sav"), 76) +
                               "------=_NextPart_000_0006_01C1BC2B.043FF300--\r\n"));

    std::filesystem::remove(program.file("send"));
    choose(CM_EMAIL, {IDOK});
    EXPECT_EQ("Could not open file send.eml\n" + program.file("send") + ": " +
                  std::strerror(ENOENT),
              lastMessage());
    EXPECT_EQ(1u, headless::mails().size());
}

TEST_F(AppTest, HelpWebsiteAndContact) {
    // Nobody's address ships: without one set the message opens for the user to address. Each
    // case: the settings, the To: line, and what the body says before the template's text.
    const struct {
        std::string setting, toLine, note;
    } cases[] = {
        {"", "To: \n",
         "(No contact address is set: fill in the To: line above, or\nadd the line "
         "\"contactAddress = you@example.org\" to " +
             program.file("drovak.ini") + ".)\n\n"},
        {"contactAddress = me@example.org\r\n", "To: me@example.org\n", ""},
    };
    const std::string help = program.folder() + std::string("help") + kPathSeparator + "help.htm";
    for (const auto& c : cases) {
        app.reset();
        headless::reset();
        tokenTable().clear();
        writeSettings(c.setting);
        start();
        choose(CM_HELP);
        choose(CM_WEBSITE);
        choose(CM_CONTACT);
        EXPECT_EQ((std::vector{help, program.file("website.htm")}), headless::launchedDocuments());
        ASSERT_EQ(1u, headless::mails().size());
        const auto& mail = headless::mails()[0];
        EXPECT_EQ(
            std::tuple(program.file("info.eml"), c.toLine, std::string()),
            std::tuple(mail.messageFile, "To: " + mail.draft.to + "\n", mail.draft.attachment));
        // The template with its To: line filled in, then the settings file, all lines ending
        // with a line feed.
        std::string contact = program.read("contact");
        std::size_t body = contact.find("\n\n") + 2;
        std::string ini = program.read("drovak.ini");
        std::erase(ini, '\r');
        std::string expected =
            c.toLine + contact.substr(5, body - 5) + c.note + contact.substr(body) + ini + "\n";
        EXPECT_EQ(expected, program.read("info.eml")) << c.setting;
        // A mailto link carries the text as it is, the settings too.
        const std::size_t text = expected.find("\n\n") + 2;
        EXPECT_EQ(expected.substr(text, expected.size() - text - 1), mail.draft.body);
    }

    // With no program to take them, each names its file for the user to open.
    headless::setLaunchAvailable(false);
    headless::setMailPrograms(false, false);
    for (const auto& [command, file] : {std::pair{CM_HELP, help},
                                        {CM_WEBSITE, program.file("website.htm")},
                                        {CM_CONTACT, program.file("info.eml")}}) {
        choose(command, {command == CM_CONTACT ? IDNO : IDOK});
        EXPECT_NE(std::string::npos, lastMessage().find(":\n" + file)) << lastMessage();
    }
    headless::setMailPrograms(true, true);
    headless::setLaunchAvailable(true);

    std::filesystem::remove(program.file("contact"));
    choose(CM_CONTACT);
    EXPECT_EQ(program.file("contact.eml"), headless::mails().back().messageFile);
}

TEST_F(AppTest, SplashAboutAndSounds) {
    for (const bool splash : {false, true}) {
        app.reset();
        writeSettings("soundOn = 1\r\nshowSplashScreen = " + std::to_string(splash) + "\r\n");
        start();
        EXPECT_EQ(splash, window().openSplash() != nullptr);
        EXPECT_EQ(std::vector<std::string>(splash, "startUp"), headless::playedSounds());
    }
    headless::advanceTime(3000);
    EXPECT_EQ(nullptr, window().openSplash());
    choose(CM_ABOUT);
    choose(CM_ABOUT); // the first About makes way
    ASSERT_NE(nullptr, window().openSplash());
    headless::sendMouse(*window().openSplash(), TMsgKind::LButtonDown, TPoint(10, 10));
    EXPECT_EQ(nullptr, window().openSplash());
}

// Modifier keys let go or switched while a message box had the keyboard: the editor's next
// key follows the keyboard as it is, not the key messages it happened to see.
TEST_F(AppTest, ModifiersFollowTheKeyboardAfterADialog) {
    addSav("ace.sav", "ACE");
    addSav("ace.dvw", "ACE");
    start();
    clickField(kFieldCallsign);
    headless::scriptMessageBox(IDNO);
    headless::sendKey(window(), TMsgKind::KeyDown, VK_CONTROL);
    headless::sendKey(window(), TMsgKind::KeyDown, 'Z');
    ASSERT_EQ(1u, messageCount());
    EXPECT_EQ("Undo Motifications", headless::messageBoxes().back().caption);
    headless::setKeyboard(VK_CONTROL, false);
    headless::setKeyboard('Z', false);
    // Each key pressed (or switched) where the editor did not see it, and the Shift and Caps
    // Lock it makes.
    std::string expected = "ACE";
    for (const auto& [key, shift, caps] : {std::tuple<uint, bool, bool>{0, false, false},
                                           {VK_SHIFT, true, false},
                                           {VK_CAPITAL, false, true}}) {
        headless::setKeyboard(key, key != 0);
        typeKeys("Z");
        expected += static_cast<char>(headless::usLayout('Z', shift, caps, false));
        headless::setKeyboard(key, false);
    }
    EXPECT_EQ(1u, messageCount());
    headless::advanceTime(kWorkingCopyDelayMs);
    EXPECT_EQ(expected, callsignIn("ace.dvw"));
}

// A screen reader is told of the rows and of the fields as they are shown: colour codes only
// in the field being edited with the setting on, the caret and selection counted in that text.
TEST_F(AppTest, AccessiblePartsFollowWhatIsShown) {
    // clang-format off
    const struct { const char *setting, *edited; int caret, afterShiftLeft; } cases[] = {
        {"0", "ACE", 3, 2}, {"1", "~5AC~3E", 7, -1}};
    // clang-format on
    for (const auto& c : cases) {
        app.reset();
        headless::reset();
        tokenTable().clear();
        writeSettings(std::string("showColorChars = ") + c.setting + "\r\n");
        addSav("ace.sav", "~5AC~3E");
        start();
        auto part = [&](const std::string& name) {
            const auto parts = window().AccessibleParts();
            const auto found = std::ranges::find(parts, name, &TAccessiblePart::name);
            return found != parts.end() ? *found : TAccessiblePart();
        };
        EXPECT_EQ(std::tuple(true, true, "ACE", -1, "~7"),
                  std::tuple(part("ace").text.starts_with("ace, ACE, "), part("ace").selected,
                             part("Callsign").text, part("Callsign").caret,
                             part("Colour 7 cyan").text));
        clickField(kFieldCallsign);
        EXPECT_EQ(c.edited, part("Callsign").text) << c.setting;
        EXPECT_EQ(c.caret, part("Callsign").caret) << c.setting;
        headless::typeKey(VK_LEFT, headless::kShift);
        // Shown codes: the buffer's own indices; hidden ones: counted without them.
        const TAccessiblePart field = part("Callsign");
        const int caret = c.afterShiftLeft >= 0 ? c.afterShiftLeft : window().editor().getCursor();
        const int end = c.afterShiftLeft >= 0 ? c.caret : window().editor().getAnchor();
        EXPECT_EQ(std::tuple(caret, caret, end),
                  std::tuple(field.caret, field.selectionStart, field.selectionEnd));
        // Each button where a reader is told it is drawn: a click there types what it names
        // (the field's own colour needs no code after its plain letters).
        const std::string plain{'~', TDrovakScreen::defaultColor(kFieldCallsign)};
        for (const TAccessiblePart& button : window().AccessibleParts()) {
            if (button.role != TAccessiblePart::TRole::Button || c.setting[0] == '0' ||
                button.text == plain) {
                continue;
            }
            clickField(kFieldCallsign);
            const TRect& r = button.bounds;
            const TPoint middle((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            headless::sendMouse(window(), TMsgKind::LButtonDown, middle);
            headless::sendMouse(window(), TMsgKind::LButtonUp, middle);
            EXPECT_TRUE(part("Callsign").text.ends_with(button.text))
                << button.name << ": " << part("Callsign").text;
            typeKeys(std::string(4, VK_BACK));
            typeKeys("AB");
        }
    }
    EXPECT_TRUE(headless::playedSounds().empty()); // the sound is off
}

} // namespace
