#pragma once

#include <string>
#include <string_view>
#include <vector>

// The names of the plain files in a folder whose names end with one of the extensions
// (".sav", ".dvw"), one list per extension, each sorted in byte order so that a list built from
// them does not depend on the order the file system keeps. Hidden files (names starting with '.')
// and folders are left out. A folder that is missing or cannot be read holds no files. An empty
// folder text means the current folder, as a bare file name would.
std::vector<std::vector<std::string>>
findFolderFiles(const std::string& folder, const std::vector<std::string_view>& extensions);

// Whether a file name ends with the extension the way the program names its files.
bool hasExtension(std::string_view name, std::string_view extension);
