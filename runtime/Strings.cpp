#include "runtime/Strings.h"

#include <climits>

namespace text {

std::string Copy(const std::string& s, long long start, long long count) {
    if (start < 1) start = 1;
    const long long len = static_cast<long long>(s.size());
    if (start > len || count < 1) return std::string();
    if (count > len - start + 1) count = len - start + 1;
    return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

long long Pos(const std::string& sub, const std::string& s) {
    if (sub.empty()) return 0;
    const size_t p = s.find(sub);
    return p == std::string::npos ? 0 : static_cast<long long>(p) + 1;
}

std::string LowerAZ(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

int32_t StrToIntDef(const std::string& s, int32_t def) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return def;
    long long value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return def;
        value = value * base + digit;
        // Hexadecimal text may name any 32-bit pattern; decimal must fit.
        if (value > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT32_MAX) + 1)) return def;
    }
    if (base == 10) {
        if (negative) value = -value;
        if (value > INT32_MAX || value < INT32_MIN) return def;
        return static_cast<int32_t>(value);
    }
    const int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(value));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
}

std::string RemoveFirstAmpersand(const std::string& s) {
    const size_t p = s.find('&');
    if (p == std::string::npos) return s;
    return s.substr(0, p) + s.substr(p + 1);
}

static size_t LastDelimiter(const std::string& path) {
    return path.find_last_of("\\:");
}

std::string ExtractFilePath(const std::string& path) {
    const size_t p = LastDelimiter(path);
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& path) {
    const size_t p = LastDelimiter(path);
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtractFileExt(const std::string& path) {
    const size_t p = path.find_last_of(".\\:");
    if (p == std::string::npos || path[p] != '.') return std::string();
    return path.substr(p);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    const size_t p = path.find_last_of(".\\:");
    if (p == std::string::npos || path[p] != '.') return path + ext;
    return path.substr(0, p) + ext;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + "\\";
}

bool IsAccel(char ch, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
        return upper(caption[i + 1]) == upper(ch);
    }
    return false;
}

bool IsValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t extra;
        uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace text
