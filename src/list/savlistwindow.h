#pragma once

#include "list/savlistowner.h"
#include "support/diskname.h"
#include "support/strutil.h"
#include "toolkit/toolkit.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The list of the SAV folder's files on the left of the main window: one item per label (a
// file name without its ".sav" or ".dvw"), the edit mark on labels that have a working copy
// (label + ".dvw"), and the selection logic that tells the owner when another file is to be
// opened. The callsign and date columns are the owner's (LvnGetDispInfo).
//
// It also keeps the names of the folder's SAV files and working copies as it last saw them,
// so that the owner finds a file's spelling on disk without reading a folder of thousands.
class TSavListWindow : public TListWindow, public TFolderNames {
  public:
    // Item images: the plain mark and the edit mark (a working copy exists).
    static constexpr int kPlainImage = 0;
    static constexpr int kEditImage = 1;
    // The owner's mark of a SAV file that Save would change beyond its fields.
    static constexpr int kOddImage = 2;

    // Widths of the label and callsign columns; with four items or more the vertical scroll
    // bar takes its room from them.
    static constexpr int kFewItems = 4;
    static constexpr int kLabelWidth = 128;
    static constexpr int kCallsignWidth = 141;
    static constexpr int kLabelWidthScrolled = 120;
    static constexpr int kCallsignWidthScrolled = 133;
    static constexpr int kDateWidth = 75; // the date column the widths above leave room for

    // The longest label and file name the program can hold (its file-name texts).
    static constexpr std::size_t kMaxNameLength = kFileNameCapacity - 1;

    TSavListWindow(TWindow* parent, TSavListOwner& owner, int id, int x, int y, int w, int h);
    ~TSavListWindow() override;

    // The SAV folder, ending with the path separator.
    void setSavPath(const char* path);
    const std::string& getSavPath() const { return savPath; }

    // Rebuilds every item from the SAV folder: working copies first (edit mark), then the
    // SAV files whose label is not listed yet. The dirty-file list becomes exactly the labels
    // listed from working copies.
    void fillListWindow();
    // The owner wrote, renamed or removed files of this label: its item is added, replaced or
    // removed where it stands, so that the list is what a fill would make of the folder now,
    // without reading the folder. The selection stays on the items that keep their place.
    void updateLabel(const std::string& label);
    // The next updateList reports the selection even when its label is the one reported last:
    // the owner changed that label's files under its open record.
    void reportSelectionAgain() { reportNextSelection = true; }
    // Reads the selection and, when it moved to another label, reports the file to the owner.
    // When the list is empty, an open file is reported gone (an empty name).
    void updateList();
    // Selects the item of a file name or path (extension optional); falls back to
    // "raptor.sav", then to the first item.
    void selectFile(const char* name);
    // Selects the item at an index alone; an index outside the list does nothing.
    void selectIndex(int index);
    int getSelected() const; // the first selected index, -1 when none
    const char* getCurrentFileName() const { return currentFileName.c_str(); }
    bool itemExists(const char* label) const; // ignoring case, as the list compares labels

    // The owner has deleted the selected files: updates their items and selects the item that
    // took the place of the first deleted one, or the last item when the deleted ones were at
    // the end. An emptied list reports that no file is open.
    void deleteCurrentItem();

    // The labels with a working copy, in byte order.
    void addDirtyFile(const char* label);
    void removeDirtyFile(const char* label);
    // Whether the name is a label with a working copy; stripExtension first cuts ".sav" or
    // ".dvw" off it.
    bool doesDirtyFileExist(const char* name, bool stripExtension) const;
    const std::vector<std::string>& getDirtyFiles() const { return dirtyFiles; }

    // While set, keys pressed on the list go to the editor (through the owner).
    void flagEvents(bool editorTakesKeys);
    bool editorTakesKeys() const { return editorHasKeys; }

    // Mouse and keys.
    void EvLButtonDown(uint modKeys, const TPoint& point);
    void EvLButtonUp(uint modKeys, const TPoint& point);
    void EvRButtonDown(uint modKeys, const TPoint& point);
    void EvMouseMove(uint modKeys, const TPoint& point);
    void EvKeyDown(uint key, uint repeatCount, uint flags);
    void EvKeyUp(uint key, uint repeatCount, uint flags);
    void EvChar(uint ch, uint repeatCount, uint flags);

    // The SAV folder's names (TFolderNames): the name itself when it is on disk, else the
    // spelling of a SAV file or working copy the list knows, else the name. When the folder
    // changed behind the list's back since it last looked, it is read again first.
    const std::string& folderPath() const override { return savPath; }
    std::string diskNameOr(const std::string& name) const override;

    DECLARE_RESPONSE_TABLE(TSavListWindow);

  private:
    struct TShown {
        std::string label;
        int image;
    };
    // The item index of a label (ignoring case), -1 when none; the items are sorted.
    int findLabel(std::string_view label) const;
    // What a fill shows for a label, from the names known for it.
    std::optional<TShown> shownFor(std::string_view label) const;
    void fitColumns();
    // Reads the names of the folder's SAV files and working copies, and notes the folder's
    // time of change, which tells later whether anyone else changed it.
    void scanNames() const;
    void noteFolderTime() const;
    bool folderChangedElsewhere() const;
    void clearSelection();

    TSavListOwner& owner;
    bool editorHasKeys = false;
    std::string currentFileName; // label of the first selected item at the last updateList
    std::string lastFileName;    // label last reported to the owner
    std::string savPath;
    std::vector<std::string> dirtyFiles; // byte order
    // Every listed file name, ordered ignoring case and then byte by byte, and the folder's
    // time of change when they were last known to be all of them.
    mutable std::vector<std::string> names;
    mutable std::optional<std::filesystem::file_time_type> namesTime;
    // Set by a rebuild: the files may have changed, so the next selection is reported even
    // when its label is the one reported last.
    bool reportNextSelection = false;
};
