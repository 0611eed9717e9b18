#include "engine/EncoderVersion.h"

namespace engine {
namespace {

constexpr int kFirstModernMajor = 57;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

int ParseLibavcodecMajor(const std::string& versionOutput) {
    const std::string name = "libavcodec";
    for (size_t at = versionOutput.find(name); at != std::string::npos; at = versionOutput.find(name, at + 1)) {
        // The library name starts its line, after the banner's indent; a
        // configuration line mentioning it ("--enable-libavcodec") does not count.
        size_t lineStart = at;
        while (lineStart > 0 && IsBlank(versionOutput[lineStart - 1])) --lineStart;
        if (lineStart > 0 && versionOutput[lineStart - 1] != '\n' && versionOutput[lineStart - 1] != '\r') continue;
        size_t i = at + name.size();
        const size_t blanksStart = i;
        while (i < versionOutput.size() && IsBlank(versionOutput[i])) ++i;
        if (i == blanksStart) continue;
        const size_t digitsStart = i;
        int major = 0;
        // Six digits are more than any release will reach and keep the sum in range.
        while (i < versionOutput.size() && IsDigit(versionOutput[i]) && i - digitsStart < 6)
            major = major * 10 + (versionOutput[i++] - '0');
        if (i > digitsStart && i < versionOutput.size() && versionOutput[i] == '.') return major;
    }
    return -1;
}

bool UsesModernDialect(int libavcodecMajor) {
    return libavcodecMajor >= kFirstModernMajor;
}

bool ConfiguredWithout(const std::string& versionOutput, const std::string& library) {
    const std::string label = "configuration:";
    size_t at = versionOutput.find(label);
    // Only at the start of a line.
    while (at != std::string::npos && at > 0 && versionOutput[at - 1] != '\n' && versionOutput[at - 1] != '\r')
        at = versionOutput.find(label, at + 1);
    if (at == std::string::npos) return false;
    const size_t end = versionOutput.find_first_of("\r\n", at);
    const std::string line = versionOutput.substr(at, end == std::string::npos ? std::string::npos : end - at);
    const std::string wanted = "--enable-" + library;
    for (size_t found = line.find(wanted); found != std::string::npos; found = line.find(wanted, found + 1)) {
        const size_t after = found + wanted.size();
        if (IsBlank(line[found - 1]) && (after == line.size() || IsBlank(line[after]))) return false;
    }
    return true;
}

}  // namespace engine
