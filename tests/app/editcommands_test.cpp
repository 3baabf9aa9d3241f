#include "apptest.h"
#include "support/pathsep.h"

#include "resources/resources.h"
#include "settings/settingsfile.h"
#include "support/base64.h"

#include <cerrno>
#include <cstring>

using namespace resources;

namespace {

struct EnablingCase {
    const char* state;
    bool save, saveAs, undo, cutCopy, paste, email;
};

TEST_F(AppTest, CommandEnablingFollowsTheState) {
    addSav("ace.sav", "ACE");
    addSav("dirty.sav", "D");
    addSav("dirty.dvw", "D2");
    headless::setMailServicePresent(true);
    start();
    auto check = [&](const EnablingCase& c) {
        EXPECT_EQ(c.save, headless::isCommandEnabled(frame(), CM_SAVE)) << c.state;
        EXPECT_EQ(c.saveAs, headless::isCommandEnabled(frame(), CM_SAVEAS)) << c.state;
        EXPECT_EQ(c.saveAs, headless::isCommandEnabled(frame(), CM_LOAD)) << c.state;
        EXPECT_EQ(c.saveAs, headless::isCommandEnabled(frame(), CM_DELETE)) << c.state;
        EXPECT_EQ(c.undo, headless::isCommandEnabled(frame(), CM_UNDO)) << c.state;
        EXPECT_EQ(c.cutCopy, headless::isCommandEnabled(frame(), CM_CUT)) << c.state;
        EXPECT_EQ(c.cutCopy, headless::isCommandEnabled(frame(), CM_COPY)) << c.state;
        EXPECT_EQ(c.paste, headless::isCommandEnabled(frame(), CM_PASTE)) << c.state;
        EXPECT_EQ(c.email, headless::isCommandEnabled(frame(), CM_EMAIL)) << c.state;
        for (int always : {CM_NEW, CM_SETTINGS, CM_EXIT, CM_ABOUT, CM_HELP}) {
            EXPECT_TRUE(headless::isCommandEnabled(frame(), always)) << c.state;
        }
    };
    select("ace");
    check({"clean file", false, true, false, false, false, true});
    select("dirty");
    check({"working copy", true, true, true, false, false, false});
    clickField(kFieldCallsign);
    check({"editing, no selection, empty clipboard", true, true, true, false, false, false});
    headless::setClipboard(std::string("XY"));
    check({"editing, clipboard full", true, true, true, false, true, false});
    headless::sendKey(window(), TMsgKind::KeyDown, VK_SHIFT);
    headless::pressKey(window(), VK_LEFT);
    headless::sendKey(window(), TMsgKind::KeyUp, VK_SHIFT);
    check({"editing with a selection", true, true, true, true, true, false});
    choose(CM_NEW);
    check({"new file", true, true, false, false, false, false});
    headless::setMailServicePresent(false);
}

TEST_F(AppTest, EmailComposesAndOpensTheMessage) {
    addSav("ace.sav", "ACE");
    headless::setMailServicePresent(true);
    start();
    choose(CM_EMAIL);
    ASSERT_EQ(1u, headless::launchedDocuments().size());
    EXPECT_EQ(program.file("send.eml"), headless::launchedDocuments()[0]);
    std::string message = program.read("send.eml");
    EXPECT_NE(std::string::npos, message.find("filename=\"ace.sav\""));
    // The open pilot's file is attached.
    EXPECT_TRUE(message.ends_with("\r\n\r\n" + base64Encode(sav.read("ace.sav"), 76) +
                                  "------=_NextPart_000_0006_01C1BC2B.043FF300--\r\n"));

    std::filesystem::remove(program.file("send"));
    choose(CM_EMAIL, {IDOK});
    EXPECT_EQ("Could not open file send.eml\n" + program.file("send") + ": " +
                  std::strerror(ENOENT),
              lastMessage());
    EXPECT_EQ(1u, headless::launchedDocuments().size());
    headless::setMailServicePresent(false);
}

TEST_F(AppTest, HelpWebsiteAndContact) {
    struct Case {
        std::string setting;
        std::string toLine;
        std::string note; // what the body says before the template's text
    };
    // Nobody's address ships: without one set the message opens for the user to address.
    const Case cases[] = {
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
        ASSERT_EQ(3u, headless::launchedDocuments().size());
        EXPECT_EQ(help, headless::launchedDocuments()[0]);
        EXPECT_EQ(program.file("website.htm"), headless::launchedDocuments()[1]);
        EXPECT_EQ(program.file("info.eml"), headless::launchedDocuments()[2]);
        // The template with its To: line filled in, then the settings file, all lines ending
        // with a line feed.
        std::string contact = program.read("contact");
        ASSERT_TRUE(contact.starts_with("To: \n"));
        std::size_t body = contact.find("\n\n") + 2;
        std::string ini = program.read("drovak.ini");
        for (std::size_t at; (at = ini.find("\r\n")) != std::string::npos;) {
            ini.erase(at, 1);
        }
        std::string expected =
            c.toLine + contact.substr(5, body - 5) + c.note + contact.substr(body) + ini + "\n";
        EXPECT_EQ(expected, program.read("info.eml")) << c.setting;
    }

    // With no program to take them, each names its file for the user to open.
    headless::setLaunchAvailable(false);
    const std::pair<int, std::string> unopened[] = {
        {CM_HELP, "No web browser opened help.htm. Open it yourself:\n" + help},
        {CM_WEBSITE,
         "No web browser opened website.htm. Open it yourself:\n" + program.file("website.htm")},
        {CM_CONTACT,
         "No mail program opened info.eml. Open it yourself:\n" + program.file("info.eml")},
    };
    for (const auto& [command, said] : unopened) {
        choose(command, {IDOK});
        EXPECT_EQ(said, lastMessage());
    }
    headless::setLaunchAvailable(true);

    std::filesystem::remove(program.file("contact"));
    choose(CM_CONTACT);
    EXPECT_EQ(program.file("contact.eml"), headless::launchedDocuments().back());
}

TEST_F(AppTest, SplashAboutAndSounds) {
    writeSettings("showSplashScreen = 0\r\nsoundOn = 1\r\n");
    start();
    EXPECT_EQ(nullptr, window().openSplash());
    EXPECT_TRUE(headless::playedSounds().empty());
    app.reset();
    writeSettings("showSplashScreen = 1\r\nsoundOn = 1\r\n");
    start();
    ASSERT_NE(nullptr, window().openSplash());
    EXPECT_EQ((std::vector<std::string>{"startUp"}), headless::playedSounds());
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
    struct Case {
        uint modifier; // pressed (or switched) where the editor did not see it
        bool shift;
        bool caps;
    };
    std::string expected = "ACE";
    for (Case c :
         {Case{0, false, false}, Case{VK_SHIFT, true, false}, Case{VK_CAPITAL, false, true}}) {
        if (c.modifier != 0) {
            headless::setKeyboard(c.modifier, true);
        }
        typeKeys("Z");
        expected += static_cast<char>(headless::usLayout('Z', c.shift, c.caps, false));
        if (c.modifier != 0) {
            headless::setKeyboard(c.modifier, false);
        }
    }
    EXPECT_EQ(1u, messageCount());
    headless::advanceTime(kWorkingCopyDelayMs);
    EXPECT_EQ(expected, callsignIn("ace.dvw"));
}

} // namespace
