#pragma once
// Lists of input files handed to the program from outside its file dialog:
// dropped onto the window, or named on the command line of a start and
// passed on to the running copy. No Windows API here.
#include <string>
#include <vector>

namespace filelist {

// Adds `path` unless the list already holds it; names differing only in
// the case of A to Z are the same file.
void AddOnce(std::vector<std::string>& list, const std::string& path);

// Sorts names the way a folder listing by name does: A to Z without regard
// to case, then by the bytes, so the order is the same on every machine.
void SortByName(std::vector<std::string>& names);

// The list as one text handed from one copy of the program to another: the
// paths one per line (a file name cannot hold a line break).
std::string Join(const std::vector<std::string>& list);
// Back from that text; empty lines (and a final line break) are dropped,
// and a CR before the LF is not part of the path.
std::vector<std::string> Split(const std::string& joined);

}  // namespace filelist
