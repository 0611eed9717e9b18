#pragma once
// The settings file: a Windows INI file read and written key by key through
// the platform's profile functions.
#include <string>

namespace settings {

class IniFile {
public:
    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // At most 2047 characters of a value are read; def when the key is
    // missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // An integer in decimal or in hexadecimal after "$", "0x" or "0X";
    // non-zero is true; an empty or unreadable value gives def.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // Reaches the file at once; a failing write raises an error.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;

    // Bytes in the system's legacy ANSI code page, as UTF-8.
    static std::string FromLegacyCodePage(const std::string& bytes);

private:
    std::string fileName_;
};

}  // namespace settings
