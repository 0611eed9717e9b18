#pragma once
// The settings file: a Windows INI file read and written key by key through
// the platform's profile functions.
#include <string>

namespace settings {

class IniFile {
public:
    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // The whole value, however long; def when the key is missing.
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

// The settings file the program uses: "settings.ini" in programFolder (which
// ends in a path delimiter) when it can be written there, otherwise the
// per-user file. Settings are never lost to a folder the user may not write
// (a protected install folder, a read-only medium).
std::string SettingsFileIn(const std::string& programFolder);

// "<application data>\Marbex Free Video Converter\settings.ini"; its folder
// is made when missing.
std::string PerUserSettingsFile();

// True when `file` can be written: an existing file opens for writing, or a
// file can be made in the folder of a missing one (nothing is left behind).
bool CanWriteFile(const std::string& file);

}  // namespace settings
