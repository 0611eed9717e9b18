// Files dropped onto the main window: a real WM_DROPFILES carrying a drop
// handle made here the way the shell makes it, converted by the scripted
// test encoder as if chosen in the Convert command's file dialog. Also the
// batch on the taskbar button, read through a recorder in place of the
// shell's taskbar.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <mutex>

#include "app/Main.h"
#include "engine/ConvertThread.h"
#include "runtime/Taskbar.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/shell/ShellTest.h"

namespace {

using Names = std::vector<std::string>;

// A drop handle as the shell hands it over: DROPFILES followed by the wide
// paths, each ended by a zero, and one more zero at the end.
HGLOBAL MakeDrop(const Names& paths) {
    std::wstring list;
    for (const std::string& p : paths) list += shelltest::Wide(p) + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(h);
    return h;
}

void Drop(HWND target, const Names& paths) {
    SendMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

// The inputs the test encoder was started with, in order: each script adds
// its command line to `log`.
Names InputsStarted(const std::string& log) {
    Names inputs;
    const std::string content = wintest::ReadTextFile(log);
    size_t at = 0;
    while ((at = content.find("-i \"", at)) != std::string::npos) {
        at += 4;
        const size_t end = content.find('"', at);
        inputs.push_back(content.substr(at, end - at));
        at = end;
    }
    return inputs;
}

// What the program asked of its taskbar button.
class TaskbarRecorder : public rt::TaskbarButton {
public:
    TaskbarRecorder() : previous_(rt::SetTaskbar(this)) {}
    ~TaskbarRecorder() override { rt::SetTaskbar(previous_); }
    void SetProgressValue(HWND window, unsigned long long completed, unsigned long long total) override {
        calls.push_back(Name(window) + " value " + std::to_string(completed) + "/" + std::to_string(total));
    }
    void SetProgressState(HWND window, rt::TaskbarState state) override {
        const char* names[] = {"none", "normal", "error"};
        calls.push_back(Name(window) + " state " + names[static_cast<int>(state)]);
    }
    void Flash(HWND window) override { calls.push_back(Name(window) + " flash"); }
    Names calls;

private:
    static std::string Name(HWND window) { return window == frmMain->Handle() ? "main" : "other"; }
    rt::TaskbarButton* previous_;
};

// Closes the progress windows still open after 30 s, and again every
// second while there are any: a test whose batch never ends fails instead
// of hanging.
void CALLBACK CloseBatches(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    bool found = false;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            char cls[64];
            GetClassNameA(h, cls, sizeof cls);
            if (lstrcmpA(cls, "TfrmConvert") == 0 && IsWindowVisible(h)) {
                *reinterpret_cast<bool*>(lp) = true;
                PostMessageA(h, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    if (found) {
        ADD_FAILURE() << "a batch did not end";
        SetTimer(nullptr, 0, 1000, CloseBatches);
    }
}

class Drops : public ::testing::Test {
protected:
    void TearDown() override { KillTimer(nullptr, watchdog); }
    UINT_PTR watchdog = SetTimer(nullptr, 0, 30000, CloseBatches);

    void SetUp() override {
        folder = wintest::MakeCleanFolder(std::string("shell_") +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
        output = folder + "out\\";
        CreateDirectoryA(output.c_str(), nullptr);
        log = folder + "started.log";
        if (!frmMain) new TfrmMain(nullptr);
        frmMain->Show();
        frmMain->cbSameInput->SetChecked(false);
        frmMain->eOutputFolder->SetText(output);
        frmMain->fpType->SetCaption("WAV - Waveform Audio");
        frmMain->FAnotherFFmpeg = shelltest::TestEncoder();
        frmMain->FInputDirectory.clear();
        wintest::ShownErrors().clear();
    }

    // A script input file that logs its start and converts.
    std::string Input(const std::string& name, const std::string& gate = "") {
        wintest::WriteTextFile(folder + name, "append " + log + "\n" + shelltest::ConvertingScript(gate));
        return folder + name;
    }

    std::string folder, output, log;
};

TEST_F(Drops, OneFileIsConvertedLikeAChosenOne) {
    const std::string input = Input("one.avi");
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    Drop(frmMain->Handle(), {input});
    EXPECT_EQ(InputsStarted(log), (Names{input}));
    EXPECT_TRUE(rt::FileExists(output + "one.wav"));
    EXPECT_EQ(frmMain->FInputDirectory, folder);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_FALSE(ConvertProcess->Running);
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(Drops, SeveralFilesInTheOrderDroppedEachOnce) {
    const std::string c = Input("c.avi"), a = Input("a.avi"), b = Input("b.avi");
    // Two that fail: no output and no progress line.
    const std::string bad = folder + "bad.avi";
    wintest::WriteTextFile(bad, "append " + log + "\nexit 1\n");
    CreateDirectoryA((folder + "elsewhere").c_str(), nullptr);
    const std::string bad2 = folder + "elsewhere\\bad2.avi";
    wintest::WriteTextFile(bad2, "append " + log + "\nexit 1\n");
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    Drop(frmMain->Handle(), {c, a, folder + "missing.avi", bad, b, folder + "A.AVI", bad2});
    EXPECT_EQ(InputsStarted(log), (Names{c, a, bad, b, bad2}));
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) EXPECT_TRUE(rt::FileExists(output + name)) << name;
    EXPECT_EQ(boxes.Seen(), (Names{"bad.avi, bad2.avi, file conversion failed.\r\n\r\n"
                                   "bad.avi: the encoder stopped with code 1\r\n"
                                   "bad2.avi: the encoder stopped with code 1"}));
    EXPECT_EQ(frmMain->FInputDirectory, folder) << "the first file's folder";
}

TEST_F(Drops, AFolderAddsTheFilesDirectlyInsideItSortedByName) {
    const std::string inner = folder + "clips\\";
    CreateDirectoryA(inner.c_str(), nullptr);
    CreateDirectoryA((inner + "sub").c_str(), nullptr);
    for (const char* name : {"z.avi", "B.avi", "a.avi", "sub\\deep.avi", "hidden.avi"})
        wintest::WriteTextFile(inner + name, "append " + log + "\n" + shelltest::ConvertingScript());
    SetFileAttributesA((inner + "hidden.avi").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::string loose = Input("loose.avi");
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    // The folder named with its trailing delimiter, and one of its files
    // dropped on its own as well: still once.
    Drop(frmMain->Handle(), {inner, loose, inner + "z.avi"});
    EXPECT_EQ(InputsStarted(log), (Names{inner + "a.avi", inner + "B.avi", inner + "z.avi", loose}));
    EXPECT_FALSE(rt::FileExists(output + "deep.wav"));
    EXPECT_EQ(frmMain->FInputDirectory, inner);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Drops, NoProfileChosenIsReportedAfterTheFolderQuestion) {
    const std::string input = Input("one.avi");
    frmMain->fpType->SetCaption("");
    const std::string missing = folder + "new";
    frmMain->eOutputFolder->SetText(missing);
    wintest::DialogWatcher boxes([](HWND, const std::string& text) { return text.find('?') != std::string::npos ? IDYES : IDOK; });
    Drop(frmMain->Handle(), {input});
    EXPECT_EQ(boxes.Seen(), (Names{missing + ", the output directory does not exist.\r\ncreates a new directory?",
                                   "Please choose the output format!"}));
    EXPECT_TRUE(rt::DirectoryExists(missing));
    EXPECT_FALSE(rt::FileExists(log)) << "nothing converted";
    EXPECT_TRUE(frmMain->FInputDirectory.empty());
}

TEST_F(Drops, NothingCanBeDroppedWhileABatchRuns) {
    const std::string gate = folder + "go";
    const std::string first = Input("first.avi", gate);
    const std::string late = Input("late.avi");
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    bool checked = false;
    LONG_PTR convertStyle = -1;
    wintest::RunSoon([&] {
        // Inside the batch's modal loop.
        HWND progress = wintest::FindProcessWindow("TfrmConvert", "");
        if (progress) convertStyle = GetWindowLongPtrA(progress, GWL_EXSTYLE);
        EXPECT_TRUE(frmMain->Busy());
        Drop(frmMain->Handle(), {late});
        checked = true;
        shelltest::Open(gate);
    }, 300);
    Drop(frmMain->Handle(), {first});
    EXPECT_TRUE(checked);
    EXPECT_EQ(InputsStarted(log), (Names{first}));
    EXPECT_FALSE(rt::FileExists(output + "late.wav"));
    ASSERT_NE(convertStyle, -1) << "the progress window was found";
    EXPECT_FALSE(convertStyle & WS_EX_ACCEPTFILES) << "the progress window takes no drops";
    EXPECT_TRUE(GetWindowLongPtrA(frmMain->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(frmMain->Busy());
}

TEST_F(Drops, TheBatchShowsOnTheTaskbarButton) {
    const std::string gate = folder + "go";
    const std::string one = Input("one.avi", gate);
    const std::string bad = folder + "bad.avi";
    wintest::WriteTextFile(bad, "exit 1\n");
    const std::string three = Input("three.avi");
    TaskbarRecorder recorder;
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    // The person stays with the program: no flash.
    wintest::RunSoon([&] {
        if (HWND progress = wintest::FindProcessWindow("TfrmConvert", "")) SetForegroundWindow(progress);
        shelltest::Open(gate);
    }, 200);
    Drop(frmMain->Handle(), {one, bad, three});
    EXPECT_EQ(recorder.calls, (Names{"main value 0/300", "main value 50/300", "main value 100/300",
                                     "main state error", "main value 200/300", "main value 250/300",
                                     "main state none"}));
}

TEST_F(Drops, ABatchEndingWhileAnotherProgramIsInFrontFlashesTheButton) {
    const std::string gate = folder + "go";
    const std::string one = Input("one.avi", gate);
    TaskbarRecorder recorder;
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    // Another program takes the front while the file converts.
    PROCESS_INFORMATION other{};
    wintest::RunSoon([&] {
        STARTUPINFOA si{sizeof si};
        char line[] = "notepad.exe";
        ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &other));
        WaitForInputIdle(other.hProcess, 10000);
        const bool elsewhere = wintest::PumpUntil(
            [&] {
                DWORD pid = 0;
                GetWindowThreadProcessId(GetForegroundWindow(), &pid);
                return pid == other.dwProcessId;
            },
            10000);
        EXPECT_TRUE(elsewhere) << "the other program came to the front";
        shelltest::Open(gate);
    }, 100);
    Drop(frmMain->Handle(), {one});
    if (other.hProcess) {
        TerminateProcess(other.hProcess, 0);
        WaitForSingleObject(other.hProcess, 10000);
        CloseHandle(other.hProcess);
        CloseHandle(other.hThread);
    }
    ASSERT_FALSE(recorder.calls.empty());
    EXPECT_EQ(recorder.calls.back(), "main flash");
    EXPECT_EQ(recorder.calls[recorder.calls.size() - 2], "main state none");
}

}  // namespace
