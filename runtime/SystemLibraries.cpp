#include "runtime/SystemLibraries.h"

#include <string>

namespace rt {

void LoadLibrariesFromSystemFolderOnly() {
    // Not there before the 2011 loader update of Windows 7: the explicit
    // loads below still name the system folder.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    if (auto set = reinterpret_cast<SetDefault>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"))))
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC SystemLibraryProc(const wchar_t* dll, const char* name) {
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        // A loader without the search flags: the full path says the same.
        wchar_t folder[MAX_PATH];
        const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return nullptr;
        module = LoadLibraryExW((std::wstring(folder, n) + L"\\" + dll).c_str(), nullptr, 0);
    }
    return module ? GetProcAddress(module, name) : nullptr;
}

bool TransparentBlit(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int swidth,
                     int sheight, COLORREF key) {
    using Blit = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    static const auto blit = SystemLibraryFunction<Blit>(L"msimg32.dll", "TransparentBlt");
    return blit && blit(dest, x, y, width, height, source, sx, sy, swidth, sheight, key);
}

}  // namespace rt
