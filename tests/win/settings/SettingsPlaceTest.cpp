// Where the settings live: beside the program when that folder can be
// written, otherwise in the user's application-data folder. The read-only
// folders are made with the system's own tools (as the superuser a folder
// is only read-only when it is immutable).
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "runtime/Strings.h"
#include "tests/win/common/SystemTools.h"
#include "tests/win/common/WinTest.h"

using wintest::ReadTextFile;
using wintest::UnixPath;

namespace {

constexpr char kMainClass[] = "Marbex Free Video Converter Made by Marbex Software";

std::string Env(const char* name) {
    char buffer[MAX_PATH * 4] = {};
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

// The per-user file, from the environment rather than the shell's folder
// lookup the program uses.
std::string ExpectedPerUserFile() { return Env("APPDATA") + "\\Marbex Free Video Converter\\settings.ini"; }

bool Shell(const std::string& script) { return wintest::RunShell(wintest::TestProgramFolder(), script); }

void MakeWritable(const std::string& path) {
    const std::string unix = UnixPath(path);
    Shell("chattr -i '" + unix + "' 2>/dev/null; chmod u+w '" + unix + "' 2>/dev/null; true");
}

// A folder or file read-only for everyone, the superuser included; false
// when the system does not allow it here.
bool MakeReadOnly(const std::string& path) {
    const std::string unix = UnixPath(path);
    Shell("chmod a-w '" + unix + "'; [ \"$(id -u)\" != 0 ] || chattr +i '" + unix + "'");
    const bool folder = rt::DirectoryExists(path);
    const std::string probe = folder ? path + "probe.txt" : path;
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, folder ? CREATE_NEW : OPEN_EXISTING,
                           folder ? FILE_FLAG_DELETE_ON_CLOSE : 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    return false;
}

int CountFiles(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do {
        if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..") ++n;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return n;
}

class SettingsPlace : public testing::Test {
protected:
    void SetUp() override {
        // A run that ended early may have left the folders read-only.
        for (const char* name : {"ro program", "ro program 2", "ro file\\settings.ini"})
            MakeWritable(wintest::TestProgramFolder() + name);
        DeleteFileA(ExpectedPerUserFile().c_str());
    }
    void TearDown() override {
        for (const std::string& f : readOnly_) MakeWritable(f);
        DeleteFileA(ExpectedPerUserFile().c_str());
    }
    std::string ReadOnlyFolder(const std::string& name, const std::function<void(const std::string&)>& fill = {}) {
        const std::string folder = wintest::MakeCleanFolder(name);
        if (fill) fill(folder);
        ReadOnly(folder);
        return folder;
    }
    void ReadOnly(const std::string& path) {
        readOnly_.push_back(path);
        if (!MakeReadOnly(path)) ADD_FAILURE() << "cannot make " << path << " read-only here";
    }
    std::vector<std::string> readOnly_;
};

TEST_F(SettingsPlace, AWritableFolderKeepsTheFileBesideTheProgramAndNoProbe) {
    const std::string folder = wintest::MakeCleanFolder("rw program");
    EXPECT_EQ(settings::SettingsFileIn(folder), folder + "settings.ini");
    EXPECT_EQ(CountFiles(folder), 0) << "the writability probe is gone";
    wintest::WriteTextFile(folder + "settings.ini", "[Options]\r\n");
    EXPECT_EQ(settings::SettingsFileIn(folder), folder + "settings.ini");
    EXPECT_EQ(ReadTextFile(folder + "settings.ini"), "[Options]\r\n");
    EXPECT_EQ(CountFiles(folder), 1);
}

TEST_F(SettingsPlace, AReadOnlyFolderOrFileSendsTheSettingsToTheUsersFolder) {
    const std::string folder = ReadOnlyFolder("ro program");
    const std::string perUser = ExpectedPerUserFile();
    ASSERT_NE(perUser, "\\Marbex Free Video Converter\\settings.ini") << "APPDATA is set under Wine";
    EXPECT_EQ(settings::SettingsFileIn(folder), perUser);
    EXPECT_TRUE(rt::DirectoryExists(text::ExtractFilePath(perUser))) << "its folder is made";

    // A writable folder whose settings file may not be written.
    const std::string other = wintest::MakeCleanFolder("ro file");
    wintest::WriteTextFile(other + "settings.ini", "[Options]\r\n");
    ReadOnly(other + "settings.ini");
    EXPECT_EQ(settings::SettingsFileIn(other), perUser);
}

std::string Text(HWND h) {
    char buffer[4096] = {};
    const LRESULT n = SendMessageA(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, static_cast<size_t>(n));
}

// The child window of `main` whose text is `text`.
HWND ChildWithText(HWND main, const std::string& text) {
    struct Ctx {
        const std::string* text;
        HWND found;
    } ctx{&text, nullptr};
    EnumChildWindows(
        main,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            if (Text(h) != *c->text) return TRUE;
            c->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

TEST_F(SettingsPlace, AReadOnlyProgramFolderKeepsItsSettingsAcrossARestart) {
    const std::string program = wintest::TestProgramFolder() + "..\\bin\\MarbexVideoConverter.exe";
    ASSERT_TRUE(rt::FileExists(program)) << program;
    const std::string folder = ReadOnlyFolder("ro program 2", [&](const std::string& f) {
        ASSERT_TRUE(CopyFileA(program.c_str(), (f + "MarbexVideoConverter.exe").c_str(), FALSE));
    });
    const std::string chosen = wintest::MakeCleanFolder("ro chosen output");
    const std::string perUser = ExpectedPerUserFile();
    {
        wintest::ProgramRun run(folder + "MarbexVideoConverter.exe");
        HWND main = run.WindowOfClass(kMainClass, 30000);
        ASSERT_TRUE(main);
        // First start: the edit box shows the program's folder.
        HWND edit = ChildWithText(main, folder);
        ASSERT_TRUE(edit) << "no control shows " << folder;
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        ASSERT_TRUE(run.CloseAndWait(main));
    }
    EXPECT_FALSE(rt::FileExists(folder + "settings.ini"));
    EXPECT_EQ(ReadTextFile(perUser), "[Options]\r\nOutputDirectory=" + chosen +
                                         "\r\nOutputFormat=\r\nSameInput=0\r\nAnotherFFmpeg=\r\n");
    {
        wintest::ProgramRun run(folder + "MarbexVideoConverter.exe");
        HWND main = run.WindowOfClass(kMainClass, 30000);
        ASSERT_TRUE(main);
        EXPECT_TRUE(ChildWithText(main, chosen)) << "the folder chosen in the first run is back";
        EXPECT_FALSE(ChildWithText(main, folder));
        ASSERT_TRUE(run.CloseAndWait(main));
    }
    EXPECT_NE(ReadTextFile(perUser).find("OutputDirectory=" + chosen + "\r\n"), std::string::npos);
}

}  // namespace
