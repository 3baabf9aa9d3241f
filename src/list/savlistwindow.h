#pragma once

#include "list/savlistowner.h"
#include "support/strutil.h"
#include "toolkit/toolkit.h"

#include <string>
#include <vector>

// The list of the SAV folder's files on the left of the main window: one item per label (a
// file name without its ".sav" or ".dvw"), the edit mark on labels that have a working copy
// (label + ".dvw"), and the selection logic that tells the owner when another file is to be
// opened. The callsign and date columns are the owner's (LvnGetDispInfo).
class TSavListWindow : public TListWindow {
  public:
    // Item images: the plain mark and the edit mark (a working copy exists).
    static constexpr int kPlainImage = 0;
    static constexpr int kEditImage = 1;

    // Widths of the label and callsign columns; with four items or more the vertical scroll
    // bar takes its room from them.
    static constexpr int kFewItems = 4;
    static constexpr int kLabelWidth = 128;
    static constexpr int kCallsignWidth = 141;
    static constexpr int kLabelWidthScrolled = 120;
    static constexpr int kCallsignWidthScrolled = 133;

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

    // The open file got its working copy: the selected item gets the edit mark.
    void showEditIcon();
    // The label's working copy is gone: its item gets the plain mark and stays as selected as
    // it was.
    void resetEditIcon(const char* label);
    // The owner has deleted the selected files: rebuilds the list and selects the item that
    // took the place of the first deleted one, or the last item when the deleted ones were at
    // the end. An emptied list reports that no file is open.
    void deleteCurrentItem();

    // The labels with a working copy, in ascending order.
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

    DECLARE_RESPONSE_TABLE(TSavListWindow);

  private:
    void clearSelection();
    // Replaces the item of a label by one with another image (the list view keeps no other
    // way to change it); returns the new item's index, -1 when no item has the label.
    int replaceItemImage(int index, const std::string& label, int image);

    TSavListOwner& owner;
    bool editorHasKeys = false;
    int selectedIndex = -1;
    std::string currentFileName; // label of the first selected item at the last updateList
    std::string lastFileName;    // label last reported to the owner
    std::string savPath;
    std::vector<std::string> dirtyFiles; // ascending
    // Set by a rebuild: the files may have changed, so the next selection is reported even
    // when its label is the one reported last.
    bool reportNextSelection = false;
};
