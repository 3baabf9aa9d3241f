#include "resources/resources.h"
#include "toolkit/headless/headless.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

namespace ids = resources::settings;

class ScriptedDialogs : public ::testing::Test {
  protected:
    void SetUp() override { headless::reset(); }
    TWindow owner{nullptr};
};

TEST_F(ScriptedDialogs, MessageBoxesAnswerFromTheScriptAndAreRecorded) {
    struct Case {
        uint type;
        int answer;
        uint buttons;
        uint icon;
    } cases[] = {
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDCANCEL, MB_YESNOCANCEL, MB_ICONEXCLAMATION},
        {MB_YESNOCANCEL | MB_ICONSTOP, IDNO, MB_YESNOCANCEL, MB_ICONSTOP},
        {MB_YESNO | MB_ICONWARNING, IDYES, MB_YESNO, MB_ICONEXCLAMATION},
        {MB_OKCANCEL, IDCANCEL, MB_OKCANCEL, 0},
        {MB_OK | MB_ICONEXCLAMATION, IDOK, MB_OK, MB_ICONEXCLAMATION},
    };
    for (const Case& c : cases)
        headless::scriptMessageBox(c.answer);
    for (const Case& c : cases)
        EXPECT_EQ(owner.MessageBox("Save changes to Ace?", "Save", c.type), c.answer);
    ASSERT_EQ(headless::messageBoxes().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const headless::TMessageBoxRecord& r = headless::messageBoxes()[i];
        EXPECT_EQ(r.text, "Save changes to Ace?");
        EXPECT_EQ(r.caption, "Save");
        EXPECT_EQ(r.buttons, cases[i].buttons) << i;
        EXPECT_EQ(r.icon, cases[i].icon) << i;
        EXPECT_EQ(r.answer, cases[i].answer) << i;
    }
    EXPECT_EQ(headless::pendingMessageBoxAnswers(), 0u);
}

TEST_F(ScriptedDialogs, FileDialogsAnswerFromTheScript) {
    TempDir dir;
    dir.write("Raptor.exe", "x");
    const std::string exe = dir.file("Raptor.exe");
    const std::string tooLong(kPathCapacity, 'a');

    TOpenSaveDialog::TData data(0, "F-22 Raptor SAV file (*.sav) |*.sav|", "/sav/");
    data.FileName = "Ace.sav";
    struct Case {
        std::optional<std::string> answer;
        int result;
        std::string fileName; // afterwards
    } cases[] = {
        {"/sav/Bob.sav", IDOK, "/sav/Bob.sav"},
        {std::nullopt, IDCANCEL, "/sav/Bob.sav"}, // a cancel leaves the name alone
        {tooLong, IDCANCEL, "/sav/Bob.sav"},      // it would not fit the program's buffer
    };
    for (const Case& c : cases) {
        if (c.answer)
            headless::scriptFileDialog(*c.answer);
        else
            headless::scriptFileDialogCancel();
        TFileSaveDialog dialog(&owner, data);
        EXPECT_EQ(dialog.Execute(), c.result);
        EXPECT_EQ(data.FileName, c.fileName);
    }
    ASSERT_EQ(headless::fileDialogs().size(), 3u);
    const headless::TFileDialogRecord& first = headless::fileDialogs()[0];
    EXPECT_EQ(first.kind, TOpenSaveDialog::TKind::Save);
    EXPECT_EQ(first.initialDir, "/sav/");
    EXPECT_EQ(first.fileName, "Ace.sav");
    EXPECT_EQ(first.filter, "F-22 Raptor SAV file (*.sav) |*.sav|");
    EXPECT_EQ(first.chosen, "/sav/Bob.sav");

    // An open dialog that wants an existing file takes only one.
    TOpenSaveDialog::TData open;
    headless::scriptFileDialog(exe);
    EXPECT_EQ(TFileOpenDialog(&owner, open).Execute(), IDOK);
    EXPECT_EQ(open.FileName, exe);
    headless::scriptFileDialog(dir.file("missing.exe"));
    EXPECT_THROW(TFileOpenDialog(&owner, open).Execute(), std::logic_error);
    open.Flags = 0; // the folder chooser's way: any name goes
    headless::scriptFileDialog(dir.file("missing.exe"));
    EXPECT_EQ(TFileOpenDialog(&owner, open).Execute(), IDOK);
}

// A dialog on resource 2 in the way the program's settings dialog uses the layer: its game
// folder edit drives the SAV folder edit while check box 114 is checked.
class TPathsDialog : public TDialog {
  public:
    explicit TPathsDialog(TWindow* parent) : TDialog(parent, resources::kSettingsDialog) {}

    TEdit raptorPath{this, ids::kRaptorPathEdit, kPathCapacity};
    TEdit savPath{this, ids::kSavPathEdit, kPathCapacity};
    TEdit shortEdit{this, ids::kTemplatePathEdit, 4};
    TCheckBox sameFolder{this, ids::kSavPathEqRaptorPathBox};
    int updates = 0;
    bool okClicked = false;

    void SetupWindow() override {
        TDialog::SetupWindow();
        raptorPath.SetText("C:\\F22\\");
        sameFolder.Check();
        savPath.SetReadOnly(true);
    }
    void updateRaptorPath() {
        ++updates;
        if (sameFolder.GetCheck() == BF_CHECKED)
            savPath.SetText(raptorPath.GetText().c_str());
    }
    void clickSame() { savPath.SetReadOnly(sameFolder.GetCheck() == BF_CHECKED); }
    void clickOk() {
        okClicked = true;
        CloseWindow(IDOK);
    }

    DECLARE_RESPONSE_TABLE(TPathsDialog);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TPathsDialog, TDialog)
    EV_BN_CLICKED(IDOK, clickOk),
    EV_BN_CLICKED(ids::kSavPathEqRaptorPathBox, clickSame),
    EV_EN_UPDATE(ids::kRaptorPathEdit, updateRaptorPath),
END_RESPONSE_TABLE;
// clang-format on

TEST_F(ScriptedDialogs, ADialogIsDrivenWhileItIsOpen) {
    TPathsDialog dlg(&owner);
    bool ran = false;
    headless::scriptDialog([&](TDialog& d) {
        ran = true;
        EXPECT_TRUE(headless::isOpen(d));
        // SetupWindow ran first: its SetText was already an update, which found the box
        // still clear.
        EXPECT_EQ(dlg.updates, 1);
        EXPECT_EQ(headless::controlText(d, ids::kRaptorPathEdit), "C:\\F22\\");
        EXPECT_EQ(headless::controlText(d, ids::kSavPathEdit), "");
        // The resource's static texts are there without objects of their own.
        EXPECT_EQ(headless::controlText(d, ids::kRaptorPathNote),
                  "This is where your F-22 Raptor is installed.");

        // Typing notifies at every key.
        EXPECT_TRUE(headless::typeText(d, ids::kRaptorPathEdit, "ab"));
        EXPECT_EQ(dlg.updates, 3);
        EXPECT_EQ(headless::controlText(d, ids::kSavPathEdit), "C:\\F22\\ab");

        // A read-only edit takes no typing; unchecking the box frees it.
        EXPECT_TRUE(headless::isReadOnly(d, ids::kSavPathEdit));
        EXPECT_FALSE(headless::typeText(d, ids::kSavPathEdit, "x"));
        EXPECT_TRUE(headless::clickButton(d, ids::kSavPathEqRaptorPathBox));
        EXPECT_FALSE(headless::isChecked(d, ids::kSavPathEqRaptorPathBox));
        EXPECT_FALSE(headless::isReadOnly(d, ids::kSavPathEdit));
        EXPECT_TRUE(headless::typeText(d, ids::kSavPathEdit, "x"));

        // Typing stops at the edit's limit: 4 with the terminator leaves room for 3.
        EXPECT_FALSE(headless::typeText(d, ids::kTemplatePathEdit, "abcd"));
        EXPECT_EQ(headless::controlText(d, ids::kTemplatePathEdit), "abc");

        EXPECT_FALSE(headless::clickButton(d, ids::kRaptorPathNote)); // a static is no button
        EXPECT_FALSE(headless::clickButton(d, 999));
        EXPECT_TRUE(headless::clickButton(d, IDOK));
        EXPECT_FALSE(headless::isOpen(d));
        EXPECT_FALSE(headless::clickButton(d, IDCANCEL)); // closed: no more clicks
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dlg.okClicked);
    EXPECT_EQ(dlg.savPath.GetText(), "C:\\F22\\abx"); // controls keep their state afterwards
    ASSERT_EQ(headless::dialogs().size(), 1u);
    EXPECT_EQ(headless::dialogs()[0].caption, "Drovak Settings");
    EXPECT_EQ(headless::dialogs()[0].result, IDOK);
}

} // namespace
