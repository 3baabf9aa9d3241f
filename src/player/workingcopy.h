#pragma once

#include "player/player.h"

#include <optional>
#include <string>

// Save only: the saved file no longer holds what was read from it, and it was left alone.
inline constexpr int kSaveChangedElsewhere = -4;

// A pilot as the editor keeps it: the record, its saved file LABEL.sav and, while it holds
// unsaved changes, its working copy LABEL.dvw beside it in the SAV folder. Writes go to a name
// of their own and leave the record's file name alone. The saved file is replaced only while it
// still holds the bytes last read or written through this object, since other programs (the
// command line, a file manager, a second copy of the program) write the same folder.
class TWorkingCopy {
  public:
    explicit TWorkingCopy(TPlayer& record) : player(record) {}

    static std::string savName(const std::string& label) { return label + ".sav"; }
    static std::string workingName(const std::string& label) { return label + ".dvw"; }
    // The record's file name without its extension; empty when nothing is open.
    std::string label() const;
    // The path of a file of the SAV folder, spelt as it is on disk; empty for a name that would
    // leave the folder.
    std::string pathOf(const std::string& name) const;
    // Whether the label's working copy is on disk, in any spelling.
    bool exists() const;

    // Writes the record under another name of the SAV folder; the record's name stays.
    int writeAs(const std::string& name) const;
    // The record into its working copy.
    int writeWorkingCopy() const { return writeAs(workingName(label())); }
    // The record into its saved file, which is then what was read, and the working copy goes.
    // A saved file that changed since it was read is replaced only when overwrite says so;
    // kSaveChangedElsewhere otherwise, and nothing is written.
    int save(bool overwrite);
    // Forgets the unsaved changes: the working copy goes. False when it is still there.
    bool discard() const;

    // Takes the saved file as it is on disk now as the one read (its bytes, or its absence).
    void noteRead();
    // Whether the saved file differs from what was read or written last through this object
    // for the open label; a label never read counts as changed when its file exists.
    bool changedElsewhere() const;

  private:
    // The saved file's first bytes, one more than a record so a longer file differs too;
    // nothing when it is not there.
    std::optional<std::string> savedBytes() const;

    TPlayer& player;
    std::string readLabel;
    std::optional<std::string> readBytes;
};
