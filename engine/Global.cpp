#include "engine/Global.h"

#include <shlobj.h>

#include "runtime/Forms.h"
#include "runtime/Strings.h"

namespace engine {

bool IsFileInUse(const std::string& path) {
    if (!rt::FileExists(path)) return false;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    return false;
}

namespace {

// The program's paths are in the system code page (UTF-8 by its manifest).
std::wstring Wide(const std::string& s) {
    if (s.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) return path;
    full.resize(got);
    return full;
}

// Opened for nothing but its identity, sharing everything, so that neither
// a file another program holds nor a folder stops it.
rt::UniqueHandle OpenForIdentity(const std::wstring& path) {
    return rt::UniqueHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    const std::wstring fullA = FullPath(Wide(a));
    const std::wstring fullB = FullPath(Wide(b));
    if (CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                             static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL)
        return true;
    const rt::UniqueHandle fileB = OpenForIdentity(fullB);
    if (!fileB) return false;
    const rt::UniqueHandle fileA = OpenForIdentity(fullA);
    if (!fileA) return false;
    BY_HANDLE_FILE_INFORMATION infoA, infoB;
    if (!GetFileInformationByHandle(fileA.Get(), &infoA) || !GetFileInformationByHandle(fileB.Get(), &infoB))
        return false;
    return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber && infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
           infoA.nFileIndexLow == infoB.nFileIndexLow;
}

bool ForceDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::string dir = path;
    while (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
    if (rt::DirectoryExists(dir) || text::ExtractFilePath(dir) == dir) return true;
    const std::string parent = text::ExtractFilePath(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return CreateDirectoryA(dir.c_str(), nullptr) || rt::DirectoryExists(dir);
}

namespace {

int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM /*param*/, LPARAM data) {
    if (msg == BFFM_INITIALIZED) {
        RECT r;
        int x = 0, y = 0;
        if (GetClientRect(wnd, &r)) {
            x = (GetSystemMetrics(SM_CXSCREEN) - r.right) / 2;
            y = (GetSystemMetrics(SM_CYSCREEN) - r.bottom) / 2;
        }
        SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The browser walks its tree to the folder comparing each level's
        // identity, times included. A folder read for the first time since
        // it changed gets a new access time while the tree fills, and the
        // walk then misses it once; the second walk finds it.
        for (int tries = 0; tries < 3; ++tries)
            if (SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data)) break;
    }
    return 0;
}

// The shell's allocator, released once.
class ShellAllocator {
public:
    ShellAllocator() {
        if (FAILED(SHGetMalloc(&malloc_))) malloc_ = nullptr;
    }
    ~ShellAllocator() {
        if (malloc_) malloc_->Release();
    }
    ShellAllocator(const ShellAllocator&) = delete;
    ShellAllocator& operator=(const ShellAllocator&) = delete;
    IMalloc* Get() const { return malloc_; }

private:
    IMalloc* malloc_ = nullptr;
};

// A block from the shell's allocator (an item list or a buffer), freed once
// by its owner.
template <typename T>
class ShellMemory {
public:
    explicit ShellMemory(IMalloc* malloc, T* block = nullptr) : malloc_(malloc), block_(block) {}
    ~ShellMemory() { Reset(); }
    ShellMemory(const ShellMemory&) = delete;
    ShellMemory& operator=(const ShellMemory&) = delete;
    T* Get() const { return block_; }
    T** Receive() {
        Reset();
        return &block_;
    }
    void Reset(T* block = nullptr) {
        if (block_) malloc_->Free(block_);
        block_ = block;
    }

private:
    IMalloc* malloc_;
    T* block_;
};

}  // namespace

bool BrowseForFolder(const std::string& title, const std::wstring& root, std::string& folder) {
    if (!rt::DirectoryExists(folder)) folder.clear();
    ShellAllocator allocator;
    IMalloc* malloc = allocator.Get();
    if (!malloc) return false;
    ShellMemory<char> buffer(malloc, static_cast<char*>(malloc->Alloc(MAX_PATH)));
    if (!buffer.Get()) return false;
    ShellMemory<ITEMIDLIST> rootList(malloc);
    if (!root.empty()) {
        IShellFolder* desktop = nullptr;
        if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
            desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(root.c_str()), nullptr,
                                      rootList.Receive(), nullptr);
            desktop->Release();
        }
    }
    BROWSEINFOA bi{};
    bi.hwndOwner = rt::Application ? rt::Application->Handle() : nullptr;
    bi.pidlRoot = rootList.Get();
    bi.pszDisplayName = buffer.Get();
    bi.lpszTitle = title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    if (!folder.empty()) {
        bi.lpfn = BrowseCallback;
        bi.lParam = reinterpret_cast<LPARAM>(folder.c_str());
    }
    ShellMemory<ITEMIDLIST> chosen(malloc);
    {
        rt::TaskWindowsDisabler disabler(nullptr);
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        chosen.Reset(SHBrowseForFolderA(&bi));
        SetErrorMode(oldMode);
    }
    if (!chosen.Get()) return false;
    SHGetPathFromIDListA(chosen.Get(), buffer.Get());
    folder = buffer.Get();
    return true;
}

}  // namespace engine
