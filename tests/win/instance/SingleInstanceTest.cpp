// Two real copies of the program: the second hands the front to the first
// and ends with exit code 0, leaving the settings file alone.
#include <gtest/gtest.h>

#include "app/AppTitle.h"
#include "tests/win/common/WinTest.h"

namespace {

struct Process {
    PROCESS_INFORMATION pi{};
    bool Start(const std::string& exe) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string line = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    DWORD Wait(DWORD ms) {
        if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    ~Process() {
        if (pi.hProcess) CloseHandle(pi.hProcess);
        if (pi.hThread) CloseHandle(pi.hThread);
    }
};

HWND WaitForMainWindow(int ms) {
    HWND h = nullptr;
    for (int i = 0; i < ms / 50 && !(h = FindWindowA(kMainWindowClass, nullptr)); ++i) Sleep(50);
    return h;
}

int CountMainWindows() {
    int n = 0;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            char cls[128];
            GetClassNameA(h, cls, sizeof cls);
            if (lstrcmpA(cls, kMainWindowClass) == 0) ++*reinterpret_cast<int*>(lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
    return d.ftLastWriteTime;
}

TEST(SingleInstance, ASecondStartActivatesTheFirstAndExitsWithZero) {
    // A copy of the program in a folder of its own, with its own settings.
    const std::string folder = wintest::MakeCleanFolder("instance");
    const std::string exe = folder + "MarbexVideoConverter.exe";
    ASSERT_TRUE(CopyFileA((rt::ExecutableFolder() + "..\\bin\\MarbexVideoConverter.exe").c_str(), exe.c_str(), FALSE));
    wintest::WriteTextFile(folder + "settings.ini", "[Options]\r\nOutputFormat=AVI (*.avi)\r\n");
    const FILETIME before = LastWrite(folder + "settings.ini");

    Process first;
    ASSERT_TRUE(first.Start(exe));
    HWND main = WaitForMainWindow(15000);
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    Sleep(300);
    ASSERT_TRUE(IsIconic(main));

    Process second;
    ASSERT_TRUE(second.Start(exe));
    EXPECT_EQ(second.Wait(15000), 0u);
    EXPECT_EQ(CountMainWindows(), 1);
    // The running copy came back from the taskbar.
    for (int i = 0; i < 40 && IsIconic(main); ++i) Sleep(50);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
    const FILETIME after = LastWrite(folder + "settings.ini");
    EXPECT_EQ(CompareFileTime(&before, &after), 0) << "the second start never touches the settings";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(15000), 0u);
    // The first copy saved its settings on closing.
    EXPECT_NE(wintest::ReadTextFile(folder + "settings.ini").find("OutputFormat=AVI (*.avi)"), std::string::npos);
}

}  // namespace
