#include "app/FileList.h"

#include <algorithm>

#include "runtime/Strings.h"

namespace filelist {

void AddOnce(std::vector<std::string>& list, const std::string& path) {
    const std::string key = text::LowerAZ(path);
    for (const std::string& p : list)
        if (text::LowerAZ(p) == key) return;
    list.push_back(path);
}

void SortByName(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = text::LowerAZ(a), lb = text::LowerAZ(b);
        return la != lb ? la < lb : a < b;
    });
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

}  // namespace filelist
