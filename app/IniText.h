#pragma once
// Reading a value straight from the bytes of an INI file, as the profile
// functions would find it. Used to recover values that an older version
// wrote in the legacy code page, which the profile functions of a UTF-8
// program can no longer read back.
#include <optional>
#include <string>

namespace settings {

// The value of key in section (both compared without regard to ASCII case;
// the first section and the first key of that name count), with blanks
// around it removed and one pair of enclosing double quotes dropped.
std::optional<std::string> FindRawIniValue(const std::string& content, const std::string& section,
                                           const std::string& key);

}  // namespace settings
