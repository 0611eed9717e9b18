#include "app/ShellFiles.h"

#include <shellapi.h>

#include "app/FileList.h"
#include "runtime/Strings.h"

namespace shellfiles {

using rt::Utf8;
using rt::Wide;

namespace {

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool IsFile(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY); }
bool IsFolder(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY); }

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n) return path;
    full.resize(written);
    return full;
}

}  // namespace

std::vector<std::string> CommandLineFiles(const wchar_t* commandLine) {
    filelist::UniqueList files;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
    if (!argv) return {};
    for (int i = 1; i < argc; ++i) {
        if (!argv[i][0]) continue;
        const std::wstring full = FullPath(argv[i]);
        if (IsFile(Attributes(full))) files.Add(Utf8(full));
    }
    LocalFree(argv);
    return files.Take();
}

std::vector<std::string> FilesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    const std::string base = text::IncludeTrailingPathDelimiter(folder);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Wide(base + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        names.push_back(Utf8(fd.cFileName));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    filelist::SortByName(names);
    for (std::string& name : names) name = base + name;
    return names;
}

std::vector<std::string> DroppedFiles(HDROP drop) {
    filelist::UniqueList files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        const DWORD a = Attributes(path);
        if (IsFolder(a)) {
            for (const std::string& f : FilesInFolder(Utf8(path))) files.Add(f);
        } else if (IsFile(a)) {
            files.Add(Utf8(path));
        }
    }
    return files.Take();
}

}  // namespace shellfiles
