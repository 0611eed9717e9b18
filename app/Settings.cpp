#include "app/Settings.h"

#include "runtime/Strings.h"
#include "runtime/Win.h"

namespace settings {

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    char buffer[2048];
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer,
                                             fileName_.c_str());
    return std::string(buffer, n);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    const std::string value = ReadString(section, key, "");
    return text::StrToIntDef(value, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str()))
        rt::RaiseLastError("Unable to write to " + fileName_ + " : ");
}

}  // namespace settings
