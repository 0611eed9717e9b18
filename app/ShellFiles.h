#pragma once
// Input files that come from the shell rather than the file dialog: a drop
// onto the main window, or the arguments of a start ("Open with", "Send
// to", a drop onto the program's icon). The lists are full paths as UTF-8,
// the program's code page, in the order given, each file once.
#include <string>
#include <vector>

#include "runtime/Win.h"

namespace shellfiles {

// The existing files named by the arguments of a command line (the
// program's name, first, is not an argument). Relative names are taken from
// the current folder; anything that is not an existing file is left out.
std::vector<std::string> CommandLineFiles(const wchar_t* commandLine);

// The files of a drop: each dropped file, and for a dropped folder the
// files directly inside it, sorted by name.
std::vector<std::string> DroppedFiles(HDROP drop);

// The files directly inside `folder`, full paths sorted by name. Hidden and
// system files (a folder's own settings and thumbnails) are not media the
// person meant to drop.
std::vector<std::string> FilesInFolder(const std::string& folder);

}  // namespace shellfiles
