#pragma once

#include <string>
#include <vector>

// Pilot files are named without regard to case, as on the system the game was made for, while
// this file system keeps case. These find the name a file actually has on disk.

// Whether a bare file name stays inside its folder and shows in the program's lists: not
// empty, no path separator, and not hidden (a leading '.', which also rules out "." and "..").
bool isPlainFileName(const std::string& name);

// Whether two names are equal when ASCII letters are compared without case.
bool sameNameIgnoringCase(const std::string& a, const std::string& b);

// The name on disk in folder of the entry whose name equals name without regard to case: name
// itself when that entry exists as typed, else the first other spelling in byte order, else
// the empty text. An empty folder text means the current folder.
std::string findNameOnDisk(const std::string& folder, const std::string& name);

// name as it is on disk in folder when such an entry exists, else name unchanged: the name to
// read, write or delete, so that a file is never doubled by a second spelling.
std::string diskNameOr(const std::string& folder, const std::string& name);

// Every entry of folder whose name equals one of names without regard to case, found in one
// pass over the folder, in the order the folder gives them.
std::vector<std::string> findNamesOnDisk(const std::string& folder,
                                         const std::vector<std::string>& names);

// A folder whose names someone already keeps (the SAV list): it answers diskNameOr without
// reading the whole folder each time.
class TFolderNames {
  public:
    virtual ~TFolderNames() = default;
    // The folder, ending with the path separator, as the settings spell it.
    virtual const std::string& folderPath() const = 0;
    // diskNameOr(folderPath(), name).
    virtual std::string diskNameOr(const std::string& name) const = 0;
};
