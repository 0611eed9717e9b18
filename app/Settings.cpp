#include "app/Settings.h"

#include "app/AppTitle.h"
#include "app/IniText.h"
#include "runtime/Strings.h"
#include "runtime/Win.h"

#include <shlobj.h>

namespace settings {

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    // The function cuts a value that does not fit and says so only by
    // filling the buffer: read again into a larger one until it does not.
    std::string value(2048, '\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), value.data(),
                                                 static_cast<DWORD>(value.size()), fileName_.c_str());
        if (n + 1 < value.size()) {
            value.resize(n);
            break;
        }
        value.resize(value.size() * 2);
    }
    // A file written in the legacy code page (by an older version, or on a
    // system without UTF-8 as its code page) holds bytes that are not UTF-8.
    // The profile functions of a UTF-8 program cannot read them back, so
    // such a value is read from the file's bytes and converted.
    if (GetACP() == CP_UTF8) {
        if (const auto raw = FindRawIniValue(rt::ReadFileBytes(fileName_), section, key); raw && !text::IsValidUtf8(*raw))
            value = FromLegacyCodePage(*raw);
    }
    return value;
}

std::string IniFile::FromLegacyCodePage(const std::string& bytes) {
    char cp[16] = {};
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, cp, sizeof cp);
    UINT codePage = static_cast<UINT>(text::StrToIntDef(cp, 1252));
    if (codePage == 0 || codePage == CP_UTF8) codePage = 1252;
    const int wide = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), wide);
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
    return out;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    const std::string value = ReadString(section, key, "");
    return text::StrToIntDef(value, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str()))
        rt::RaiseLastError("Unable to write to " + fileName_ + " : ");
}

std::string SettingsFileIn(const std::string& programFolder) {
    const std::string beside = programFolder + "settings.ini";
    return CanWriteFile(beside) ? beside : PerUserSettingsFile();
}

std::string PerUserSettingsFile() {
    char appData[MAX_PATH * 4] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData)))
        rt::RaiseLastError("Unable to find the application data folder : ");
    const std::string folder = std::string(appData) + "\\" + kProgramTitle;
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        rt::RaiseLastError("Unable to create " + folder + " : ");
    return folder + "\\settings.ini";
}

bool CanWriteFile(const std::string& file) {
    if (rt::FileExists(file)) {
        rt::UniqueHandle h(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(h);
    }
    // A probe file of a name nobody else uses, gone again when closed.
    const std::string probe = file + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    rt::UniqueHandle h(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(h);
}

}  // namespace settings
