#include "engine/Global.h"

#include <shlobj.h>

#include "runtime/Forms.h"
#include "runtime/Strings.h"

bool IsFileInUse(const std::string& path) {
    if (!rt::FileExists(path)) return false;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    return false;
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

int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM /*param*/, LPARAM data) {
    if (msg == BFFM_INITIALIZED) {
        RECT r;
        int x = 0, y = 0;
        if (GetClientRect(wnd, &r)) {
            x = (GetSystemMetrics(SM_CXSCREEN) - r.right) / 2;
            y = (GetSystemMetrics(SM_CYSCREEN) - r.bottom) / 2;
        }
        SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

namespace {

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
