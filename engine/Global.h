#pragma once
// Routines shared by the windows of the program.
#include <string>

#include "runtime/Win.h"

namespace engine {

// The folder browser: true and the chosen folder in `folder` when the user
// confirms; false otherwise (`folder` then keeps its value, emptied first
// when it named no existing folder).
bool BrowseForFolder(const std::string& title, const std::wstring& root, std::string& folder);

// True when an existing file cannot be opened for exclusive reading and
// writing.
bool IsFileInUse(const std::string& path);

// True when both paths name one file. The full paths are compared first,
// ignoring letter case the way the file system does (every script, not only
// ASCII); when they differ and the second exists, both are opened and their
// volume serial numbers and file indexes compared, which also sees through
// short 8.3 names, "\\?\" paths, shares, links, substituted drives and
// hard links.
bool SameFile(const std::string& a, const std::string& b);

// Creates a folder and every missing parent, outermost first. A drive root
// counts as existing; an empty path fails.
bool ForceDirectories(const std::string& path);

}  // namespace engine
