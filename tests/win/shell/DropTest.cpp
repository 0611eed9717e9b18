// Files dropped onto the main window: a real WM_DROPFILES carrying a drop
// handle made here the way the shell makes it, converted by the scripted
// test encoder as if chosen in the Convert command's file dialog. Also the
// batch on the taskbar button, read through a recorder in place of the
// shell's taskbar.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <mutex>

#include "app/AppTitle.h"
#include "app/Main.h"
#include "engine/ConvertThread.h"
#include "runtime/Taskbar.h"
#include "tests/win/common/SystemTools.h"
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

// Another start's hand-over as the running copy receives it.
void HandOver(const std::string& payload) {
    COPYDATASTRUCT data{kCopyDataFileList, static_cast<DWORD>(payload.size()), const_cast<char*>(payload.data())};
    EXPECT_EQ(SendMessageA(frmMain->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
}

// Handles messages until the window has looked at what was handed over.
bool HandOverLookedAt() {
    return wintest::PumpUntil(
        [] {
            MSG m;
            return !PeekMessageA(&m, frmMain->Handle(), TfrmMain::WM_CONVERTHANDEDOVER,
                                 TfrmMain::WM_CONVERTHANDEDOVER, PM_NOREMOVE);
        },
        10000);
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

TEST_F(Drops, MoreThanTwentyFailuresNameTheFirstTwentyAndCountTheRest) {
    Names inputs;
    std::string names;
    for (int i = 1; i <= 25; ++i) {
        const std::string name = "bad" + std::to_string(i) + ".avi";
        wintest::WriteTextFile(folder + name, "exit 1\n");
        inputs.push_back(folder + name);
        if (i <= 20) names += name + ", ";
    }
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    Drop(frmMain->Handle(), inputs);
    std::string reasons;
    for (int i = 1; i <= 10; ++i) reasons += "\r\nbad" + std::to_string(i) + ".avi: the encoder stopped with code 1";
    EXPECT_EQ(boxes.Seen(), (Names{names + "and 5 more, file conversion failed.\r\n" + reasons + "\r\nand 15 more"}));
}

// Hand-overs from other starts: kept while the program is busy, converted
// as a batch of their own once it is idle.
TEST_F(Drops, FilesHandedOverDuringABatchConvertAfterItAsABatchOfTheirOwn) {
    const std::string gate = folder + "go";
    const std::string first = Input("first.avi", gate);
    const std::string late1 = Input("late1.avi"), late2 = Input("late2.avi"), late3 = Input("late3.avi");
    const std::string later = folder + "later\\";
    CreateDirectoryA(later.c_str(), nullptr);
    TaskbarRecorder recorder;
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    Names waiting;
    bool convertedMeanwhile = true;
    wintest::RunSoon([&] {
        // Inside the batch: two starts hand over, with a file twice and one
        // that does not exist; the output folder changes meanwhile.
        HandOver(late2 + "\n" + late1 + "\n");
        HandOver(late1 + "\n" + folder + "missing.avi\n" + late3 + "\n");
        frmMain->eOutputFolder->SetText(later);
        EXPECT_TRUE(HandOverLookedAt());
        waiting = frmMain->WaitingFiles();
        const Names started = InputsStarted(log);
        convertedMeanwhile = std::find_first_of(started.begin(), started.end(), waiting.begin(), waiting.end()) !=
                             started.end();
        shelltest::Open(gate);
    }, 300);
    Drop(frmMain->Handle(), {first});
    EXPECT_EQ(waiting, (Names{late2, late1, late3}));
    EXPECT_FALSE(convertedMeanwhile);
    ASSERT_TRUE(wintest::PumpUntil([&] { return InputsStarted(log).size() == 4 && !frmMain->Busy(); }, 20000));
    EXPECT_EQ(InputsStarted(log), (Names{first, late2, late1, late3}));
    EXPECT_TRUE(rt::FileExists(output + "first.wav"));
    for (const char* name : {"late1.wav", "late2.wav", "late3.wav"})
        EXPECT_TRUE(rt::FileExists(later + name)) << "the output folder of the moment they convert: " << name;
    EXPECT_TRUE(boxes.Seen().empty()) << "no busy box";
    EXPECT_TRUE(frmMain->WaitingFiles().empty());
    // Two batches: one file, then the three handed over.
    EXPECT_EQ(std::count(recorder.calls.begin(), recorder.calls.end(), "main value 0/100"), 1);
    EXPECT_EQ(std::count(recorder.calls.begin(), recorder.calls.end(), "main value 0/300"), 1);
}

TEST_F(Drops, FilesHandedOverWhileTheAboutWindowIsOpenConvertWhenItCloses) {
    const std::string input = Input("one.avi");
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    bool aboutSeen = false;
    Names waiting;
    bool busy = false;
    wintest::RunSoon([&] {
        HWND about = wintest::FindProcessWindow("TfrmAbout", "");
        aboutSeen = about != nullptr;
        HandOver(input + "\n");
        busy = frmMain->Busy();
        EXPECT_TRUE(HandOverLookedAt());
        waiting = frmMain->WaitingFiles();
        EXPECT_EQ(wintest::FindProcessWindow("TfrmConvert", ""), nullptr);
        PostMessageA(about, WM_CLOSE, 0, 0);
    }, 300);
    frmMain->About1Click(frmMain);
    EXPECT_TRUE(aboutSeen);
    EXPECT_TRUE(busy);
    EXPECT_EQ(waiting, (Names{input}));
    ASSERT_TRUE(wintest::PumpUntil([&] { return rt::FileExists(output + "one.wav") && !frmMain->Busy(); }, 20000));
    EXPECT_EQ(InputsStarted(log), (Names{input}));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Drops, AMalformedHandOverIsRefusedWholeWithoutABox) {
    const std::string a = Input("a.avi"), b = Input("b.avi"), good = Input("good.avi");
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    std::string tooMany;
    for (int i = 0; i < 10001; ++i) tooMany += a + "\n";
    const std::string refused[] = {
        // "C:\...\a.avi<NUL>zz.mkv" once became a.avi.
        a + std::string(1, '\0') + "zz.mkv\n" + b + "\n",
        b + "\nb.avi\n",                       // a name relative to the current folder
        tooMany,                                // more than 10,000 names
        a + "\n" + std::string(1024 * 1024, 'x'),  // more than 1 MiB
    };
    for (const std::string& payload : refused) {
        HandOver(payload);
        EXPECT_TRUE(frmMain->WaitingFiles().empty()) << payload.substr(0, 80);
    }
    // A good one after them converts just its own file.
    HandOver(good + "\n");
    ASSERT_TRUE(wintest::PumpUntil([&] { return rt::FileExists(output + "good.wav") && !frmMain->Busy(); }, 20000));
    EXPECT_EQ(InputsStarted(log), (Names{good}));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Drops, AFolderOfTwentyThousandFilesOpensItsProgressWindowInThreeSeconds) {
    const std::string inner = folder + "many\\";
    CreateDirectoryA(inner.c_str(), nullptr);
    // Made by the system's shell: far quicker than 20,000 creations here.
    // The first by name waits for the gate; the batch is stopped there.
    ASSERT_TRUE(wintest::RunShell(folder, "cd '" + wintest::UnixPath(inner) +
                                              "' && for i in $(seq 10001 29999); do : > clip$i.avi; done", 120000));
    const std::string gate = folder + "go";
    wintest::WriteTextFile(inner + "clip10000.avi", shelltest::ConvertingScript(gate));
    wintest::DialogWatcher boxes([](HWND, const std::string&) { return IDOK; });
    LARGE_INTEGER frequency, start, shown{};
    QueryPerformanceFrequency(&frequency);
    std::string caption;
    wintest::RunSoon([&] {
        // The first timer message the batch's loop handles.
        QueryPerformanceCounter(&shown);
        HWND progress = wintest::FindProcessWindow("TfrmConvert", "");
        caption = wintest::WindowText(progress);
        PostMessageA(progress, WM_CLOSE, 0, 0);
    }, 1);
    QueryPerformanceCounter(&start);
    Drop(frmMain->Handle(), {inner});
    const double seconds = static_cast<double>(shown.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    ASSERT_NE(shown.QuadPart, 0) << "the progress window was seen";
    std::printf("20,000 files dropped: progress window after %.2f s\n", seconds);
    EXPECT_EQ(caption, "Marbex Free Video Converter (1/20000)");
    EXPECT_LT(seconds, 3.0);
    shelltest::Open(gate);
    // Removed by the system's shell too: the next run's clean folder would
    // take long to delete them one by one here.
    EXPECT_TRUE(wintest::RunShell(folder, "rm -rf '" + wintest::UnixPath(inner) + "'", 120000));
}

}  // namespace
