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

std::string ResString(UINT id) {
    char buffer[1024];
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
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
