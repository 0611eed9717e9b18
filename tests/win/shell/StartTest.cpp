// Files named on the command line: the parsing of a start's arguments, and
// real copies of the program started with them: the first converts them
// once it shows, a later start hands them to the running copy, which keeps
// them while it is busy and converts them once it is idle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

#include "app/AppTitle.h"
#include "app/ShellFiles.h"
#include "runtime/Strings.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/shell/ShellTest.h"

namespace {

using Names = std::vector<std::string>;

// "clip one é日.avi": blanks and characters outside any single-byte page.
const std::string kOddName = "clip one \xC3\xA9\xE6\x97\xA5.avi";

TEST(CommandLine, ExistingFilesOnlyEachOnceWithFullPaths) {
    const std::string folder = wintest::MakeCleanFolder("shell_cmdline");
    wintest::WriteTextFile(folder + kOddName, "x");
    wintest::WriteTextFile(folder + "plain.avi", "x");
    const std::string previous = [] {
        char cwd[MAX_PATH * 4];
        return std::string(cwd, GetCurrentDirectoryA(sizeof cwd, cwd));
    }();
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    const std::wstring line = shelltest::Wide("\"C:\\Program Files\\x\\MarbexVideoConverter.exe\" \"" + folder +
                                              kOddName + "\" plain.avi missing.avi \"" + folder.substr(0, folder.size() - 1) + "\" \"" +
                                              folder + kOddName + "\" \"\" PLAIN.AVI");
    const Names files = shellfiles::CommandLineFiles(line.c_str());
    SetCurrentDirectoryA(previous.c_str());
    EXPECT_EQ(files, (Names{folder + kOddName, folder + "plain.avi"}));
    EXPECT_TRUE(shellfiles::CommandLineFiles(L"MarbexVideoConverter.exe").empty());
    EXPECT_TRUE(shellfiles::CommandLineFiles(L"\"MarbexVideoConverter.exe\" nothing.avi").empty());
}

TEST(Manifest, DpiUnawareWithGdiScalingLongPathsAndTheNewestSystems) {
    // The test program carries the program's manifest; ask the loader what
    // it made of it.
    auto setting = [](const wchar_t* ns, const wchar_t* name) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, nullptr, ns, name, value, 64, &written)) return std::wstring(L"<none>");
        return std::wstring(value);
    };
    // DPI-unaware on every system: Wine reports its own default awareness
    // whatever the manifest says, so the loader's reading of it is checked.
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"false");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"), L"<none>");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2017/WindowsSettings", L"gdiScaling"), L"true");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"longPathAware"), L"true");
    // The compatibility entries are not settings; the manifest's text holds
    // the one for Windows 10 and 11.
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(res, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, res))),
                               SizeofResource(nullptr, res));
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);
}

// The libraries the program file imports, lower case, read from its import
// table.
Names ImportedLibraries(const std::string& exe) {
    const std::string image = rt::ReadFileBytes(exe);
    Names names;
    auto at = [&](size_t offset, size_t size) -> const char* {
        return offset + size <= image.size() ? image.data() + offset : nullptr;
    };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (!dos) return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
    if (!nt) return names;
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
           nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; sections && i < nt->FileHeader.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return image.size();
    };
    const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t d = fileOffset(imports);; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(d, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!entry || !entry->Name) break;
        if (const char* name = at(fileOffset(entry->Name), 1)) names.push_back(text::LowerAZ(name));
    }
    return names;
}

TEST(Libraries, TheProgramImportsOnlyLibrariesTheSystemProtects) {
    // Any other library named in the import table would be looked for
    // beside the program first, before the program could say otherwise.
    const Names imported = ImportedLibraries(rt::ExecutableFolder() + "..\\bin\\MarbexVideoConverter.exe");
    ASSERT_FALSE(imported.empty());
    const Names protectedOnes{"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",  "kernel32.dll",
                              "msvcrt.dll",   "ole32.dll",    "oleaut32.dll", "shell32.dll", "user32.dll"};
    for (const std::string& name : imported)
        EXPECT_NE(std::find(protectedOnes.begin(), protectedOnes.end(), name), protectedOnes.end()) << name;
}

// ---- real copies of the program ----

class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (pi_.hProcess) {
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
            CloseHandle(pi_.hProcess);
            CloseHandle(pi_.hThread);
        }
    }
    // Starts exe with `arguments` (UTF-8) in the folder `current`.
    bool Start(const std::string& exe, const std::string& arguments, const std::string& current) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring line = shelltest::Wide("\"" + exe + "\" " + arguments);
        return CreateProcessW(shelltest::Wide(exe).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              shelltest::Wide(current).c_str(), &si, &pi_);
    }
    // The exit code, or STILL_ACTIVE when it runs on after `ms`.
    DWORD Wait(DWORD ms) {
        if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }
    DWORD Id() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_{};
};

// A visible top-level window of process `pid` of class `cls` (any when
// empty) whose caption is `title` (any when empty).
HWND WindowOf(DWORD pid, const std::string& cls, const std::string& title) {
    struct Ctx {
        DWORD pid;
        const std::string *cls, *title;
        HWND found;
    } ctx{pid, &cls, &title, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != c->pid || !IsWindowVisible(h)) return TRUE;
            char name[256];
            GetClassNameA(h, name, sizeof name);
            if (!c->cls->empty() && *c->cls != name) return TRUE;
            if (!c->title->empty() && *c->title != wintest::WindowText(h)) return TRUE;
            c->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 20000) {
    for (int waited = 0; !condition(); waited += 20) {
        if (waited >= ms) return false;
        Sleep(20);
    }
    return true;
}

std::string Caption(int index, int count) {
    return std::string(kProgramTitle) + " (" + std::to_string(index) + "/" + std::to_string(count) + ")";
}

class Starts : public ::testing::Test {
protected:
    void SetUp() override {
        folder = wintest::MakeCleanFolder(std::string("shell_") +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
        exe = folder + "MarbexVideoConverter.exe";
        ASSERT_TRUE(CopyFileA((rt::ExecutableFolder() + "..\\bin\\MarbexVideoConverter.exe").c_str(), exe.c_str(),
                              FALSE));
        // Each output beside its input, with the scripted encoder.
        wintest::WriteTextFile(folder + "settings.ini", "[Options]\r\nOutputFormat=WAV - Waveform Audio\r\n"
                                                        "SameInput=1\r\nAnotherFFmpeg=" +
                                                            shelltest::TestEncoder() + "\r\n");
        ASSERT_EQ(wintest::CountTopWindows(kMainWindowClass), 0) << "no other copy runs";
    }

    std::string Input(const std::string& name, const std::string& gate = "") {
        wintest::WriteTextFile(folder + name, shelltest::ConvertingScript(gate));
        return folder + name;
    }

    // Ends the copy and sees it end well.
    void Close(Program& p) {
        HWND main = WindowOf(p.Id(), kMainWindowClass, "");
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(p.Wait(20000), 0u);
    }

    std::string folder, exe;
};

TEST_F(Starts, AStartWithThreeFilesConvertsThemOnceTheWindowShows) {
    const std::string gate = folder + "go";
    Input("first.avi", gate);
    Input(kOddName);
    Input("third.avi");
    Program first;
    // Quoted full paths, and a name relative to the start's own folder.
    ASSERT_TRUE(first.Start(exe, "\"" + folder + "first.avi\" \"" + folder + kOddName + "\" third.avi", folder));
    ASSERT_TRUE(WaitFor([&] { return WindowOf(first.Id(), "TfrmConvert", Caption(1, 3)) != nullptr; }))
        << "the batch of three started";
    EXPECT_NE(WindowOf(first.Id(), kMainWindowClass, ""), nullptr) << "the main window shows behind it";
    shelltest::Open(gate);
    ASSERT_TRUE(WaitFor([&] { return WindowOf(first.Id(), "TfrmConvert", "") == nullptr; })) << "the batch ended";
    for (const std::string& out : {"first.wav", "clip one \xC3\xA9\xE6\x97\xA5.wav", "third.wav"})
        EXPECT_TRUE(rt::FileExists(folder + out)) << out;
    EXPECT_EQ(WindowOf(first.Id(), "#32770", ""), nullptr) << "no failure summary";
    Close(first);
}

TEST_F(Starts, ALaterStartHandsItsFilesToTheRunningCopy) {
    Program first;
    // Arguments that are no files change nothing: a start like any other.
    // (A quoted argument must not end in a delimiter: it would quote the
    // closing quote.)
    ASSERT_TRUE(first.Start(exe, "nothere.avi \"" + folder.substr(0, folder.size() - 1) + "\"", folder));
    ASSERT_TRUE(WaitFor([&] { return WindowOf(first.Id(), kMainWindowClass, "") != nullptr; }));
    HWND main = WindowOf(first.Id(), kMainWindowClass, "");

    const std::string gate = folder + "go";
    Input("a.avi", gate);
    Input("b.avi");
    Input("c.avi");
    Program second;
    ASSERT_TRUE(second.Start(exe, "\"" + folder + "a.avi\" b.avi", folder));
    ASSERT_TRUE(WaitFor([&] { return WindowOf(first.Id(), "TfrmConvert", Caption(1, 2)) != nullptr; }))
        << "the running copy converts the two files";
    // The second start ended while the batch still waits: it was never held
    // up by the running copy (it would wait for an answer longer than this),
    // and made no window of its own.
    EXPECT_EQ(second.Wait(20000), 0u);
    EXPECT_EQ(wintest::CountTopWindows(kMainWindowClass), 1);

    // A start with no files while the batch runs: only the activation.
    Program third;
    ASSERT_TRUE(third.Start(exe, "nothere.avi", folder));
    EXPECT_EQ(third.Wait(20000), 0u);

    // Files while the batch runs: kept, not refused.
    Program fourth;
    ASSERT_TRUE(fourth.Start(exe, "c.avi", folder));
    EXPECT_EQ(fourth.Wait(20000), 0u);
    EXPECT_FALSE(rt::FileExists(folder + "c.wav"));

    shelltest::Open(gate);
    // Once the batch has ended, c.avi converts as a batch of its own.
    ASSERT_TRUE(WaitFor([&] { return rt::FileExists(folder + "c.wav"); })) << "kept and converted";
    ASSERT_TRUE(WaitFor([&] { return WindowOf(first.Id(), "TfrmConvert", "") == nullptr && IsWindowEnabled(main); }));
    EXPECT_TRUE(rt::FileExists(folder + "a.wav"));
    EXPECT_TRUE(rt::FileExists(folder + "b.wav"));
    EXPECT_EQ(WindowOf(first.Id(), "#32770", ""), nullptr) << "no busy box";

    // Idle again: the next hand-over converts just its own file.
    DeleteFileA((folder + "c.wav").c_str());
    Program fifth;
    ASSERT_TRUE(fifth.Start(exe, "c.avi", folder));
    EXPECT_EQ(fifth.Wait(20000), 0u);
    ASSERT_TRUE(WaitFor([&] { return rt::FileExists(folder + "c.wav"); }));
    ASSERT_TRUE(WaitFor([&] { return WindowOf(first.Id(), "TfrmConvert", "") == nullptr; }));
    EXPECT_EQ(WindowOf(first.Id(), "#32770", ""), nullptr);
    Close(first);
}

TEST_F(Starts, ThreeStartsAtTheSameMomentMakeOneCopyThatConvertsAllThree) {
    const std::string names[] = {"one.avi", "two.avi", "three.avi"};
    for (const std::string& name : names) Input(name);
    Program starts[3];
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(starts[i].Start(exe, "\"" + folder + names[i] + "\"", folder));
    for (const char* out : {"one.wav", "two.wav", "three.wav"})
        EXPECT_TRUE(WaitFor([&] { return rt::FileExists(folder + out); })) << out;
    // Two of the starts handed their file over and ended well; one runs.
    auto ended = [&] {
        int n = 0;
        for (Program& p : starts) n += p.Wait(0) != STILL_ACTIVE;
        return n;
    };
    EXPECT_TRUE(WaitFor([&] { return ended() >= 2; })) << "only one copy runs";
    int running = -1;
    for (int i = 0; i < 3; ++i) {
        const DWORD code = starts[i].Wait(0);
        if (code == STILL_ACTIVE)
            running = i;
        else
            EXPECT_EQ(code, 0u);
    }
    ASSERT_EQ(ended(), 2);
    ASSERT_NE(running, -1);
    EXPECT_EQ(wintest::CountTopWindows(kMainWindowClass), 1);
    ASSERT_TRUE(WaitFor([&] { return WindowOf(starts[running].Id(), "TfrmConvert", "") == nullptr; }));
    EXPECT_EQ(WindowOf(starts[running].Id(), "#32770", ""), nullptr);
    Close(starts[running]);
}

}  // namespace
