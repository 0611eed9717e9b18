// The real program, started as a process of its own, told to close from
// outside while it converts or asks a question: it stops the batch, writes
// its settings, leaves no encoder running and ends with exit code 0.
#include <gtest/gtest.h>

#include "runtime/Win.h"

#include "app/AppTitle.h"
#include "tests/win/common/WinTest.h"

namespace {

constexpr char kFileDialogTitle[] = "Select one or more video files";

bool WaitFor(const std::function<bool()>& pred, int ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!pred()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(50);
    }
    return true;
}

struct FindData {
    DWORD pid;
    std::string cls;
    std::string text;  // part of the window text, or of a dialog's static text
    HWND found = nullptr;
};

// A visible top-level window of process pid with that class whose caption
// or static text holds `text`.
HWND FindTopWindow(DWORD pid, const std::string& cls, const std::string& text) {
    FindData data{pid, cls, text};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* d = reinterpret_cast<FindData*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            char name[64];
            GetClassNameA(h, name, sizeof name);
            if (owner != d->pid || !IsWindowVisible(h) || d->cls != name) return TRUE;
            const std::string all = wintest::WindowText(h) + "|" + wintest::DialogText(h);
            if (all.find(d->text) == std::string::npos) return TRUE;
            d->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&data));
    return data.found;
}

HWND FindChildByText(HWND parent, const std::string& text) {
    FindData data{0, "", text};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* d = reinterpret_cast<FindData*>(lp);
            if (wintest::WindowText(h) != d->text) return TRUE;
            d->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&data));
    return data.found;
}

class Shutdown : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(wintest::ProcessesNamed("testencoder.exe"), 0);
        folder = wintest::MakeCleanFolder(std::string("shutdown_") +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
        exe = folder + "MarbexVideoConverter.exe";
        ASSERT_TRUE(
            CopyFileA((rt::ExecutableFolder() + "..\\bin\\MarbexVideoConverter.exe").c_str(), exe.c_str(), FALSE));
        out = folder + "out\\";
        CreateDirectoryA(out.c_str(), nullptr);
        // No SameInput key: the program writes one when it closes.
        wintest::WriteTextFile(folder + "settings.ini", "[Options]\r\nOutputDirectory=" + out +
                                                            "\r\nOutputFormat=WAV - Waveform Audio\r\nAnotherFFmpeg=" +
                                                            wintest::TestProgramFolder() + "testencoder.exe\r\n");
        wintest::WriteTextFile(folder + "clip.avi", "hang\n");
    }
    void TearDown() override {
        if (pi.hProcess && WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        if (pi.hProcess) CloseHandle(pi.hProcess);
        if (pi.hThread) CloseHandle(pi.hThread);
    }

    void StartProgram() {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string line = "\"" + exe + "\"";
        ASSERT_TRUE(CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                                   &pi));
        ASSERT_TRUE(WaitFor([&] { return (main = FindTopWindow(pi.dwProcessId, kMainWindowClass, "")) != nullptr; },
                            15000));
    }

    // Presses Convert... and picks clip.avi in the file dialog.
    void ConvertClip() {
        HWND convert = FindChildByText(main, "Convert...");
        ASSERT_NE(convert, nullptr);
        PostMessageA(convert, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(convert, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = FindTopWindow(pi.dwProcessId, "#32770", kFileDialogTitle)); },
                            15000));
        HWND box = GetDlgItem(dialog, 0x47c);
        if (!box) box = GetDlgItem(dialog, 0x480);
        ASSERT_NE(box, nullptr);
        const std::string name = folder + "clip.avi";
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    // The program ended by itself with code 0, wrote its settings and left
    // no encoder behind.
    void ExpectCleanEnd() {
        ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0) << "the program did not end";
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(code, 0u);
        const std::string settings = wintest::ReadTextFile(folder + "settings.ini");
        EXPECT_NE(settings.find("SameInput=0"), std::string::npos) << settings;
        EXPECT_NE(settings.find("OutputFormat=WAV - Waveform Audio"), std::string::npos) << settings;
        EXPECT_TRUE(WaitFor([] { return wintest::ProcessesNamed("testencoder.exe") == 0; }, 5000)) << "an encoder is left";
    }

    std::string folder, exe, out;
    PROCESS_INFORMATION pi{};
    HWND main = nullptr;
};

TEST_F(Shutdown, ACloseDuringABatchStopsItAndEndsCleanly) {
    StartProgram();
    ConvertClip();
    ASSERT_TRUE(WaitFor([] { return wintest::ProcessesNamed("testencoder.exe") == 1; }, 15000)) << "no conversion started";
    ASSERT_NE(FindTopWindow(pi.dwProcessId, "TfrmConvert", ""), nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    ExpectCleanEnd();
}

TEST_F(Shutdown, ACloseDuringTheOverwriteQuestionEndsCleanlyWithoutAnEncoder) {
    wintest::WriteTextFile(out + "clip.wav", "old");
    StartProgram();
    ConvertClip();
    ASSERT_TRUE(WaitFor([&] { return FindTopWindow(pi.dwProcessId, "#32770", "overite") != nullptr; }, 15000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ExpectCleanEnd();
    EXPECT_EQ(wintest::ReadTextFile(out + "clip.wav"), "old");
}

TEST_F(Shutdown, TheEndOfTheSessionDuringABatchEndsCleanly) {
    StartProgram();
    ConvertClip();
    ASSERT_TRUE(WaitFor([] { return wintest::ProcessesNamed("testencoder.exe") == 1; }, 15000)) << "no conversion started";
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 10000, &answer);
    ExpectCleanEnd();
}

TEST_F(Shutdown, AnEncoderDoesNotOutliveTheProgramEndedAbruptly) {
    StartProgram();
    ConvertClip();
    ASSERT_TRUE(WaitFor([] { return wintest::ProcessesNamed("testencoder.exe") == 1; }, 15000)) << "no conversion started";
    // As a crash ends it: no close handler, no destructor runs.
    ASSERT_TRUE(TerminateProcess(pi.hProcess, 3));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(WaitFor([] { return wintest::ProcessesNamed("testencoder.exe") == 0; }, 5000)) << "the encoder lives on";
}

}  // namespace
