// Two real copies of the program: the second hands the front to the first
// and ends with exit code 0, leaving the settings file alone.
#include <gtest/gtest.h>

#include <functional>

#include "app/AppTitle.h"
#include "tests/win/common/WinTest.h"

namespace {

struct Process {
    PROCESS_INFORMATION pi{};
    DWORD Id() const { return pi.dwProcessId; }
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

bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 15000) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (pred()) return true;
        Sleep(20);
    }
    return pred();
}

// Returns once the running copy has handled what was posted to `main`
// before: it has answered two sent messages in turn. The first is answered
// as its loop looks at the queue, the second only after what that look
// found has been dispatched.
void WaitUntilHandled(HWND main) {
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    }
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
    ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }));

    Process second;
    ASSERT_TRUE(second.Start(exe));
    EXPECT_EQ(second.Wait(15000), 0u);
    EXPECT_EQ(wintest::CountTopWindows(kMainWindowClass), 1);
    // The running copy came back from the taskbar.
    WaitUntilHandled(main);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
    const FILETIME after = LastWrite(folder + "settings.ini");
    EXPECT_EQ(CompareFileTime(&before, &after), 0) << "the second start never touches the settings";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(15000), 0u);
    // The first copy saved its settings on closing.
    EXPECT_NE(wintest::ReadTextFile(folder + "settings.ini").find("OutputFormat=AVI (*.avi)"), std::string::npos);
}


// A visible window of another process, by its class and, when given, its
// caption; top-level windows, or the children of `parent`.
HWND FindWindowOf(DWORD pid, const std::string& cls, const std::string& text = "", HWND parent = nullptr) {
    struct Ctx {
        DWORD pid;
        const std::string* cls;
        const std::string* text;
        HWND found;
    } ctx{pid, &cls, &text, nullptr};
    auto visit = [](HWND h, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        char name[256], caption[256];
        GetClassNameA(h, name, sizeof name);
        GetWindowTextA(h, caption, sizeof caption);
        if (owner == c->pid && IsWindowVisible(h) && *c->cls == name && (c->text->empty() || *c->text == caption)) {
            c->found = h;
            return FALSE;
        }
        return TRUE;
    };
    if (parent)
        EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&ctx));
    else
        EnumWindows(visit, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

void PressKeys(std::initializer_list<WORD> keys, bool withCtrl = false) {
    std::vector<INPUT> in;
    auto key = [&](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (withCtrl) key(VK_CONTROL, false);
    for (WORD vk : keys) {
        key(vk, false);
        key(vk, true);
    }
    if (withCtrl) key(VK_CONTROL, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// A plain window of the test that takes the front away from the program,
// as any other program the person switches to would.
class OtherWindow {
public:
    OtherWindow()
        : h_(CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~OtherWindow() { DestroyWindow(h_); }
    bool TakeTheFront() {
        SetForegroundWindow(h_);
        return WaitFor([this] { return GetForegroundWindow() == h_; }, 5000);
    }

private:
    HWND h_;
};

// A copy of the program in a folder of its own, started, with its main
// window up and in front.
class RunningCopy : public testing::Test {
protected:
    void StartFirst(const std::string& settings) {
        folder = wintest::MakeCleanFolder("instance front");
        exe = folder + "MarbexVideoConverter.exe";
        ASSERT_TRUE(
            CopyFileA((rt::ExecutableFolder() + "..\\bin\\MarbexVideoConverter.exe").c_str(), exe.c_str(), FALSE));
        wintest::WriteTextFile(folder + "settings.ini", settings);
        ASSERT_TRUE(first.Start(exe));
        main = WaitForMainWindow(15000);
        ASSERT_NE(main, nullptr);
        SetForegroundWindow(main);
        ASSERT_TRUE(WaitFor([this] { return GetForegroundWindow() == main; }));
    }
    // Another program takes the front, then the program is started again:
    // the window that comes to the front.
    HWND StartSecondFromBehind(HWND expected) {
        OtherWindow other;
        EXPECT_TRUE(other.TakeTheFront());
        Process second;
        EXPECT_TRUE(second.Start(exe));
        EXPECT_EQ(second.Wait(15000), 0u);
        // Once the running copy has handled the activation, the front no
        // longer changes.
        WaitUntilHandled(main);
        WaitFor([expected] { return GetForegroundWindow() == expected; }, 5000);
        return GetForegroundWindow();
    }
    void TearDown() override {
        if (!first.pi.hProcess) return;
        if (first.Wait(0) == STILL_ACTIVE) TerminateProcess(first.pi.hProcess, 1);
        first.Wait(15000);
    }
    std::string folder, exe;
    Process first;
    HWND main = nullptr;
};

TEST_F(RunningCopy, ASecondStartBringsTheOpenManualConversionDialogToTheFront) {
    StartFirst("[Options]\r\nOutputFormat=AVI (*.avi)\r\n");
    // Ctrl+P, then Up to "Manual conversion" and Enter, as a person opens it.
    PressKeys({'P'}, true);
    ASSERT_TRUE(WaitFor([this] { return FindWindowOf(first.Id(), "#32768") != nullptr; }));
    PressKeys({VK_UP, VK_RETURN});
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowOf(first.Id(), "TfrmManualConvert")) != nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }));

    // The running copy's own part: asked to come forward, it fronts the
    // dialog.
    {
        OtherWindow other;
        ASSERT_TRUE(other.TakeTheFront());
        PostMessageA(main, WM_ACTIVATEINSTANCE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 5000));
    }
    // And with a second start, which aims at the same window.
    EXPECT_EQ(StartSecondFromBehind(dialog), dialog) << "the dialog, not the disabled main window";
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(GetLastActivePopup(main), dialog);

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main); }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(15000), 0u);
}

TEST_F(RunningCopy, ASecondStartBringsTheProgressWindowToTheFrontAndTheConversionGoesOn) {
    // The scripted encoder stands in for the real one and takes its time.
    const std::string testFolder = wintest::TestProgramFolder();
    const std::string encoderFolder = wintest::MakeCleanFolder("instance encoder");
    ASSERT_TRUE(CopyFileA((testFolder + "testencoder.exe").c_str(), (encoderFolder + "testencoder.exe").c_str(), FALSE));
    const std::string script = encoderFolder + "slow clip.txt";
    wintest::WriteTextFile(script, "out Duration: 00:01:00.00, start\r\nsleep 60000\r\n");
    StartFirst("[Options]\r\nOutputFormat=AVI (*.avi)\r\nSameInput=1\r\nAnotherFFmpeg=" + encoderFolder +
               "testencoder.exe\r\n");

    // "Convert..." has the focus when the window opens: Space presses it.
    HWND convert = FindWindowOf(first.Id(), "TsuiButton", "Convert...", main);
    ASSERT_NE(convert, nullptr);
    ASSERT_TRUE(WaitFor([&] {
        GUITHREADINFO gui{sizeof gui};
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui) && gui.hwndFocus == convert;
    }));
    PressKeys({VK_SPACE});
    HWND files = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (files = FindWindowOf(first.Id(), "#32770", "Select one or more video files")); }));
    HWND name = GetDlgItem(files, 0x47c);
    if (!name) name = GetDlgItem(files, 0x480);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(script.c_str()));
    PostMessageA(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND progress = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (progress = FindWindowOf(first.Id(), "TfrmConvert")) != nullptr; }));

    EXPECT_EQ(StartSecondFromBehind(progress), progress) << "the progress window, not the disabled main window";
    EXPECT_EQ(GetLastActivePopup(main), progress);
    EXPECT_TRUE(IsWindowVisible(progress)) << "the conversion goes on";

    // Stop ends the batch; the window closes and the main window is usable.
    HWND stop = FindWindowOf(first.Id(), "TsuiButton", "Stop", progress);
    ASSERT_NE(stop, nullptr);
    ASSERT_TRUE(WaitFor([&] {
        GUITHREADINFO gui{sizeof gui};
        return GetGUIThreadInfo(GetWindowThreadProcessId(progress, nullptr), &gui) && gui.hwndFocus == stop;
    }));
    PressKeys({VK_SPACE});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(progress) || !IsWindowVisible(progress); }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(15000), 0u);
}

}  // namespace
