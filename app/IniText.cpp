#include "app/IniText.h"

#include "runtime/Strings.h"

namespace settings {

namespace {
std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}
}  // namespace

std::optional<std::string> FindRawIniValue(const std::string& content, const std::string& section,
                                           const std::string& key) {
    const std::string wantSection = text::LowerAZ(section);
    const std::string wantKey = text::LowerAZ(key);
    bool inSection = false;
    bool sectionSeen = false;
    size_t pos = 0;
    while (pos <= content.size()) {
        size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = content.size();
        const std::string line = TrimBlanks(content.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const std::string name = text::LowerAZ(TrimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            if (sectionSeen && inSection) return std::nullopt;  // only the first such section
            inSection = name == wantSection;
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (text::LowerAZ(TrimBlanks(line.substr(0, eq))) != wantKey) continue;
        std::string value = TrimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

}  // namespace settings
