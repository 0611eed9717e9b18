#include "app/FileList.h"

#include <algorithm>

#include "runtime/Strings.h"

namespace filelist {

bool UniqueList::Add(const std::string& path) {
    if (!keys_.insert(text::LowerAZ(path)).second) return false;
    names_.push_back(path);
    return true;
}

std::vector<std::string> UniqueList::Take() {
    keys_.clear();
    std::vector<std::string> names;
    names.swap(names_);
    return names;
}

std::vector<std::string> WithoutDuplicates(const std::vector<std::string>& names) {
    UniqueList list;
    for (const std::string& name : names) list.Add(name);
    return list.Take();
}

void SortByName(std::vector<std::string>& names) {
    // Each name is lowered once, not once per comparison.
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(text::LowerAZ(name), std::move(name));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    for (size_t i = 0; i < keyed.size(); ++i) names[i] = std::move(keyed[i].second);
}

std::string Join(const std::vector<std::string>& list) {
    std::string joined;
    for (const std::string& p : list) joined += p + "\n";
    return joined;
}

std::vector<std::string> Split(const std::string& joined) {
    std::vector<std::string> list;
    size_t start = 0;
    while (start < joined.size()) {
        size_t end = joined.find('\n', start);
        if (end == std::string::npos) end = joined.size();
        std::string line = joined.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) list.push_back(line);
        start = end + 1;
    }
    return list;
}

namespace {
bool IsDelimiter(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
}  // namespace

bool IsAbsolutePath(const std::string& path) {
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsDelimiter(path[2])) return true;
    // "\\server\share", and the long forms "\\?\..." and "\\.\...".
    return path.size() >= 3 && IsDelimiter(path[0]) && IsDelimiter(path[1]) && !IsDelimiter(path[2]);
}

std::optional<std::vector<std::string>> ParseHandOver(const std::string& payload) {
    if (payload.size() > kMaxHandOverBytes || !text::IsValidUtf8(payload)) return std::nullopt;
    for (size_t i = 0; i < payload.size(); ++i) {
        const auto c = static_cast<unsigned char>(payload[i]);
        if (c == '\n') continue;
        if (c == '\r' && i + 1 < payload.size() && payload[i + 1] == '\n') continue;
        if (c < 0x20 || c == 0x7F) return std::nullopt;
    }
    std::vector<std::string> names = Split(payload);
    if (names.size() > kMaxHandOverNames) return std::nullopt;
    for (const std::string& name : names)
        if (!IsAbsolutePath(name)) return std::nullopt;
    return names;
}

}  // namespace filelist
