#pragma once

#include "editor/screen.h"
#include "list/savlistowner.h"
#include "list/savlistwindow.h"
#include "player/player.h"
#include "player/workingcopy.h"
#include "settings/settingsxfer.h"
#include "splash/drovaksplash.h"
#include "toolkit/toolkit.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

inline constexpr const char* kNewFileLabel = " New Sav File";
inline constexpr const char* kFrameTitle = "F-22 Raptor Drovak";
inline constexpr int kListId = 4;
inline constexpr int kFrameWidth = 780;
inline constexpr int kFrameHeight = 520;
// What is typed reaches the working copy at most this long after the change (the pause
// timer's id and time): a crash loses no more, and a key costs no disk write.
inline constexpr uint kWorkingCopyTimer = 2;
inline constexpr uint kWorkingCopyDelayMs = 250;
// Every error message box: an OK button and the exclamation icon.
inline constexpr unsigned kWarn = MB_OK | MB_ICONEXCLAMATION;
// A line of news in the free strip below the editor, cleared by its timer after a while.
inline constexpr uint kStatusTimer = 4;
inline constexpr uint kStatusShownMs = 4000;
inline constexpr TRect kStatusStrip{0, 476, kFrameWidth, kFrameHeight};
// News of other programs' changes in the SAV folder is taken up this long after it came, so a
// file written in several steps is read once, whole.
inline constexpr uint kFolderChangeTimer = 5;
inline constexpr uint kFolderChangeDelayMs = 100;
// The list's place at the design size; a larger window gives it the room beyond that size.
inline constexpr TRect kListRect{2, 24, 350, 166};

// The contact template addressed to address (none when empty) followed by the user's settings,
// written to info.eml in the mail folder, so a report says how the program was set up; false
// without the template or when info.eml could not be written.
bool writeContactMessage(const char* address);

// The main window: owns the settings, the records, the list and the editor, and answers every
// command, list notification, mouse and key message and timer tick.
class TDrovakWindow : public TWindow,
                      public TScreenOwner,
                      public TSavListOwner,
                      public TSplashOwner {
  public:
    // startFile: a pilot file to open instead of the one last loaded into the game.
    explicit TDrovakWindow(TWindow* parent, const std::string& startFile = "");
    ~TDrovakWindow() override;

    bool CanClose() override;
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    // The list's rows, the six fields, the palettes' buttons and the line of news.
    std::vector<TAccessiblePart> AccessibleParts() override;
    bool onClose();

    // Start-up and the splash.
    void startSplashWindow();
    void endSplash() override;
    void EvTimer(uint timerId);

    // File commands.
    void CmdNew();
    void CmdSave();
    void CmdSaveAs();
    void CmdDuplicate();
    void CmdRename();
    void CmdDelete();
    void CmdRestore();
    void CmdUndo() override;
    void CmdImport();
    // Files dropped on the window are brought in as Import does.
    void EvDropFiles(TDropInfo& drop);
    // Files of the SAV folder changed, by this program or another.
    void EvFolderChange(TFolderChange& change);
    // The program was started again: this window stands for it, and opens the file it names.
    void EvStartRequest(TStartRequest& request);
    void makeNewFile();
    void setDirtyFile() override;
    void resetPlayerInfo(const char* fileName) override;
    void settingsCallback(const TDrovakSettingsXfer& newSettings);
    void wizardCallback(const TDrovakSettingsXfer& newSettings);

    // The list.
    void LvnGetDispInfo(TLwDispInfoNotify& info);
    void LvnEndLabelEdit(TLwDispInfoNotify& info);
    void ListColumnClick(TLwNotify& notify);
    void listPopupMenu(const TPoint& point) override;
    void processListKeyDown(uint key, uint flags) override;
    bool leftClick(const TPoint& point, uint fromList) override;
    void endDrag() override;

    // Edit, game, mail, help.
    void CmdCut();
    void CmdCopy();
    void CmdPaste();
    void CmdLoad();
    void CmdEmail();
    void CmdHelp();
    void CmdContact();
    void CmdWebsite();
    void CmdAbout();
    void CmdSettings();
    void CmdExit();
    void CeEmail(TCommandEnabler& ce);
    void CeHasFile(TCommandEnabler& ce);
    void CeRestore(TCommandEnabler& ce);
    void CeIsDirty(TCommandEnabler& ce);
    void CeCanUndo(TCommandEnabler& ce);
    void CeCutCopy(TCommandEnabler& ce);
    void CePaste(TCommandEnabler& ce);

    // The client area's own mouse and keys.
    void EvLButtonDown(uint modKeys, const TPoint& point);
    void EvLButtonDblClk(uint modKeys, const TPoint& point);
    void EvLButtonUp(uint modKeys, const TPoint& point);
    void EvRButtonDown(uint modKeys, const TPoint& point);
    void EvMouseMove(uint modKeys, const TPoint& point);
    void EvNCMouseMove(uint hitTest, const TPoint& point);
    void EvKeyDown(uint key, uint repeatCount, uint flags) override;
    void EvKeyUp(uint key, uint repeatCount, uint flags) override;
    void EvChar(uint ch, uint repeatCount, uint flags) override;

    // The editor's requests.
    void repaintRect(const TScreenRect& rect) override;
    bool clipboardHasText() override;
    std::string getClipboardText() override;
    void setClipboardText(std::string bytes) override;

    // What tests and the frame look at.
    TSavListWindow& list() const { return *listWindow; }
    TDrovakScreen& editor() const { return *screen; }
    TPlayer& currentPlayer() const { return *player; }
    const TDrovakSettingsXfer& currentSettings() const { return *settings; }
    bool isNewFileOpen() const { return newFileOpen; }
    TDrovakSplash* openSplash() const { return splash.get(); }
    const std::string& statusLine() const { return statusText; }

    // What waits until the window is on screen (the frame's icons).
    std::function<void()> afterFirstPaint;

    DECLARE_RESPONSE_TABLE(TDrovakWindow);

    // A Save typed on the keyboard ends the field edit for the save and then takes it up again,
    // so that typing goes on where it was.
    class TKeepFieldEdit {
      public:
        explicit TKeepFieldEdit(TDrovakWindow& window);
        ~TKeepFieldEdit();
        TKeepFieldEdit(const TKeepFieldEdit&) = delete;
        TKeepFieldEdit& operator=(const TKeepFieldEdit&) = delete;

      private:
        TDrovakWindow& window;
        std::optional<TDrovakScreen::TFieldEdit> kept;
    };

  private:
    void endFieldEdit();
    std::string savFilePath(const std::string& label, const char* extension) const;
    std::string currentLabel() const;
    bool hasWorkingCopy(const std::string& label) const;
    // A failed write names the file and the reason under the message the user knows.
    void reportSaveStatus(int status, const TPlayer* from = nullptr);
    void reportSaveFailure(const std::string& path, const std::string& reason);
    // Asks whether the user's changes or the file another program wrote win (IDYES: the
    // user's, which Save may then write over the file).
    int askAboutOutsideChange(const std::string& label, unsigned buttons);
    // Throws the unsaved changes away and shows the saved file as it is now.
    void loadOutsideChange(const std::string& label);
    // The list and the open pilot catch up with the SAV folder's news.
    void followFolderChanges();
    // Opens a file of the SAV folder into the editor; false (and said) when it is there but
    // cannot be read.
    bool openPlayerFile(const std::string& fileName);
    // The record changed: its working copy follows when the typing pauses, or at once when
    // the change is the file's first (the working copy and its mark appear together).
    void scheduleWorkingCopy();
    // Writes what the record holds beyond its working copy now: before anything reads,
    // replaces or leaves the file, and at the pause.
    void syncWorkingCopy();
    bool writeWorkingCopy();
    void rememberWrittenRecord();
    bool recordDiffersFromWritten() const;
    // Hands a document to the desktop; says so, naming the file, when nothing takes it.
    void launch(const std::string& document);
    // Hands a composed message, and the file it carries, to the desktop's mail program; with
    // none, says so and offers the folder holding what is to be sent by hand.
    void sendMail(const std::string& message, const std::string& attachment);
    void showStatus(const std::string& text);
    // Lays the list and the editor out for the client area's size.
    void layOut();
    TRect statusStrip() const;
    // Says once a run what Save would change of an odd SAV file of the SAV folder.
    void warnOddFile(const std::string& fileName);
    // Whether a SAV file of the SAV folder is one Save would change beyond its fields.
    bool isOddSavFile(const std::string& path) const;
    void runSetupWizard();
    // Whether the SAV folder holds the new file's working copy.
    void followNewFile();
    void paintEditor(TDC& dc);
    // Brings the start file into the SAV folder (asking before it replaces a pilot there)
    // and names it for the first paint to select.
    void adoptStartFile(const std::string& path);
    // Copies a pilot file into the SAV folder under its label, asking before it replaces a
    // pilot of that label whatever the case of its name; sets label (empty on failure, said).
    enum class TAdopted { Copied, AlreadyThere, Declined, Failed };
    TAdopted adoptPilotFile(const std::string& path, const char* caption, std::string& label);
    // Brings pilot files in (Import, a drop): the list shows them and the first is opened.
    void importFiles(const std::vector<std::string>& paths);
    // Tab, Shift+Tab and Return move the keyboard between the list and the fields in screen
    // order; false for every other key.
    bool moveKeyboard(uint key, uint flags);
    // The callsign as the game shows it, drawn once per text.
    std::shared_ptr<const TDib> callsignPicture(const std::string& callsign);

    std::unique_ptr<TDrovakSettingsXfer> settings;
    std::unique_ptr<TSavListWindow> listWindow;
    std::unique_ptr<TDrovakScreen> screen;
    std::unique_ptr<TImageList> imageList;
    uint timerId = 0;
    bool firstPaint = true;
    // How far the client area exceeds the design size: the list takes it, the editor's fields
    // move right and its palettes down, each keeping its own layout.
    TPoint grown{0, 0};
    int columnWidths[2] = {0, 0}; // the list's first two columns at the design size
    bool newFileOpen = false;
    TOpenSaveDialog::TData fileData;
    std::unique_ptr<TPlayer> player;
    std::unique_ptr<TWorkingCopy> working;
    std::unique_ptr<TPlayer> listPlayer;
    std::unique_ptr<TDib> savTopBitmap;
    std::unique_ptr<TWaveSound> clickSound;
    std::unique_ptr<TDrovakSplash> splash;

    // The record as last written to its working copy, and whether a failed write of it was
    // already reported for the open file.
    std::string writtenRecord;
    bool workingCopyFailureShown = false;
    // The file the first paint selects; empty for the one last loaded into the game.
    std::string startSelection;
    const char* startFileName() const {
        return startSelection.empty() ? settings->lastLoadedFile.data() : startSelection.c_str();
    }
    // A change of the record waits for the pause timer.
    bool writePending = false;
    std::string statusText;
    // The SAV folder's news not taken up yet: labels, or anything at all.
    std::set<std::string> changedLabels;
    bool folderChangedWholly = false;
    bool folderChangePending = false;
    bool askingAboutChange = false;
    // Whether the list was filled from the SAV folder yet (it waits for the first paint).
    bool listFilled = false;
    // The odd files already described in this run, by path.
    std::set<std::string> oddFilesWarned;
    std::map<std::string, std::shared_ptr<const TDib>> callsignPictures;
};
