#pragma once
// The platform layer: Windows headers, the error type every failure becomes,
// and move-only owners for handles and GDI objects.
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace rt {

// Every failure the program raises. The text is shown as it stands by the
// application's error display.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// Raises an Error whose text is `text` followed directly by the decimal
// last-error code of the calling thread ("Error on STDIN pipe creation : 5").
[[noreturn]] void RaiseLastError(const std::string& text);

// A kernel handle closed once, by its owner.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    HANDLE Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() { return std::exchange(h_, nullptr); }
    void Reset(HANDLE h = nullptr) {
        if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// A GDI object deleted by its owner. Whoever selects it into a DC must put
// the previous object back first (see Canvas).
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T h) : h_(h) {}
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }
    T Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset(T h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

private:
    T h_ = nullptr;
};

// A window destroyed by its owner.
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND h) : h_(h) {}
    UniqueWindow(UniqueWindow&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueWindow& operator=(UniqueWindow&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() { Reset(); }
    HWND Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset(HWND h = nullptr) {
        if (h_) DestroyWindow(h_);
        h_ = h;
    }

private:
    HWND h_ = nullptr;
};

// The program's text (UTF-8, its code page) as UTF-16 for the ...W calls,
// and back. Text in the system's code page is read with CP_ACP, which is the
// same where the program gets UTF-8 as its code page.
std::wstring Wide(const std::string& utf8, UINT codePage = CP_UTF8);
std::string Utf8(const std::wstring& wide);

// A window's device context, borrowed with GetDC (the client area) or
// GetWindowDC (the whole window, frame included) and given back once.
class WindowDC {
public:
    enum Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Client)
        : window_(window), dc_(area == Whole ? GetWindowDC(window) : GetDC(window)) {}
    WindowDC(WindowDC&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&&) = delete;
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The folder that holds the running executable, ending in "\\".
std::string ExecutableFolder();

// A hidden window of our own class `className` (registered on first use)
// with `proc` as its window procedure: a message-only window when
// messageOnly, else a hidden top-level popup (menus need a real owner).
HWND CreateHelperWindow(const char* className, WNDPROC proc, bool messageOnly);

// A message from the program's string table.
std::string ResString(UINT id);

// The whole content of a file, or "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);

bool FileExists(const std::string& path);       // an existing file, not a folder
bool DirectoryExists(const std::string& path);  // an existing folder

}  // namespace rt
