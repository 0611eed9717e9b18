#include "runtime/Win.h"

#include "runtime/Strings.h"

namespace rt {

void RaiseLastError(const std::string& text) {
    const DWORD code = GetLastError();
    throw Error(text + std::to_string(code));
}

std::string ExecutableFolder() {
    char path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return text::ExtractFilePath(std::string(path, n));
}

HWND CreateHelperWindow(const char* className, WNDPROC proc, bool messageOnly) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
    return CreateWindowExA(0, className, "", messageOnly ? 0 : WS_POPUP, 0, 0, 0, 0,
                           messageOnly ? HWND_MESSAGE : nullptr, nullptr, wc.hInstance, nullptr);
}

std::string ResString(UINT id) {
    char buffer[1024];
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string ReadFileBytes(const std::string& path) {
    UniqueHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return std::string();
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    return content;
}

std::wstring Wide(const std::string& utf8, UINT codePage) {
    if (utf8.empty()) return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace rt
