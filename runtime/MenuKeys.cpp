#include "runtime/MenuKeys.h"

#include "runtime/Strings.h"

namespace menukeys {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// "&&" is a plain ampersand; a single "&" marks the letter after it.
bool HasMarkedLetter(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return true;
        ++i;
    }
    return false;
}

}  // namespace

Choice FindMenuChar(const std::vector<Entry>& items, int current, char key) {
    std::vector<int> marked, initial;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const Entry& e = items[static_cast<size_t>(i)];
        if (!e.choosable || e.caption.empty()) continue;
        if (HasMarkedLetter(e.caption)) {
            if (text::IsAccel(key, e.caption)) marked.push_back(i);
        } else if (Upper(e.caption[0]) == Upper(key)) {
            initial.push_back(i);
        }
    }
    if (marked.size() == 1) return {Action::Execute, marked[0]};
    const std::vector<int>& pool = marked.empty() ? initial : marked;
    if (pool.empty()) return {};
    for (int i : pool)
        if (i > current) return {Action::Select, i};
    return {Action::Select, pool.front()};
}

}  // namespace menukeys
