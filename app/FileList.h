#pragma once
// Lists of input files handed to the program from outside its file dialog:
// dropped onto the window, or named on the command line of a start and
// passed on to the running copy. No Windows API here.
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace filelist {

// Files in the order first given, each once: names differing only in the
// case of A to Z are the same file. Looking a name up costs the same
// however long the list is, so a drop of many thousand files stays quick.
class UniqueList {
public:
    // False when the list already holds `path`.
    bool Add(const std::string& path);
    bool Empty() const { return names_.empty(); }
    size_t Size() const { return names_.size(); }
    const std::vector<std::string>& Names() const { return names_; }
    // Hands the names over and leaves the list empty.
    std::vector<std::string> Take();

private:
    std::vector<std::string> names_;
    std::unordered_set<std::string> keys_;
};

// The same for a plain list that is built once.
std::vector<std::string> WithoutDuplicates(const std::vector<std::string>& names);

// Sorts names the way a folder listing by name does: A to Z without regard
// to case, then by the bytes, so the order is the same on every machine.
void SortByName(std::vector<std::string>& names);

// The list as one text handed from one copy of the program to another: the
// paths one per line (a file name cannot hold a line break).
std::string Join(const std::vector<std::string>& list);
// Back from that text; empty lines (and a final line break) are dropped,
// and a CR before the LF is not part of the path.
std::vector<std::string> Split(const std::string& joined);

// What a running copy takes from another start at most.
inline constexpr size_t kMaxHandOverBytes = 1024 * 1024;
inline constexpr size_t kMaxHandOverNames = 10000;

// True for a full path of a drive ("C:\..." or "C:/...") or of a network
// share ("\\server\share..."); a name relative to the current folder or to
// the current drive's root is not.
bool IsAbsolutePath(const std::string& path);

// The names of a hand-over text (Join's form), or nothing when the text is
// refused whole: larger than kMaxHandOverBytes, more than kMaxHandOverNames
// names, not UTF-8, a zero byte or another control character inside it
// (a CR only before a LF), or a name that is not a full path.
std::optional<std::vector<std::string>> ParseHandOver(const std::string& payload);

}  // namespace filelist
