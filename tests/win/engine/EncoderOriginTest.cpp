// Where the encoder comes from when no encoder path is set: ffmpeg.exe
// beside the program, else the first on the PATH, never the current folder.
// Each case runs a copy of this test program from a folder of its own (so
// that what lies beside "the program" is the test's choice), in a current
// folder of the test's choosing; the copy converts one file and reports.
#include <gtest/gtest.h>

#include "engine/ConvertThread.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

constexpr char kReport[] = "MFVC_ORIGIN_REPORT";
constexpr char kInput[] = "MFVC_ORIGIN_INPUT";
constexpr char kOutput[] = "MFVC_ORIGIN_OUTPUT";

std::string Env(const char* name) {
    char value[MAX_PATH * 4];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// The copy's part: converts the input with the default encoder and writes
// "converted", "failed: <reason>" or "error: <text>" to the report.
TEST(EncoderOrigin, ConvertAsACopy) {
    const std::string report = Env(kReport);
    if (report.empty()) GTEST_SKIP() << "only in a copy that the cases below start";
    NoteSink sink;
    TConvertProcess process;
    process.InputFile = Env(kInput);
    process.OutputFile = Env(kOutput);
    process.NotifyWindow = sink.Handle();
    process.Arguments = "-f mpeg ";
    process.Running = true;
    std::string result;
    try {
        process.Start();
        if (!WaitForEnd(sink)) result = "no end";
        else if (sink.End().Elapsed == "some") result = "converted";
        else result = "failed: " + sink.End().Reason;
    } catch (const rt::Error& e) {
        result = std::string("error: ") + e.what();
    }
    process.Stop(0);
    wintest::WriteTextFile(report, result);
}

class EncoderOriginTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        program = folder + "program\\";
        current = folder + "current\\";
        onPath = folder + "on path\\";
        for (const std::string& dir : {program, current, onPath}) CreateDirectoryA(dir.c_str(), nullptr);
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        copy = program + "copy.exe";
        ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
        input = Script(folder, "in.avi", "cmdline " + folder + "ran.txt\n" + ProgressLine("1.00") + "create\n");
    }

    // A stand-in encoder that records its run: the test encoder.
    void PutEncoder(const std::string& dir) {
        ASSERT_TRUE(CopyFileA(TestEncoder().c_str(), (dir + "ffmpeg.exe").c_str(), FALSE));
    }
    // A file of that name that is no program: starting it fails.
    void PutNonProgram(const std::string& dir) { wintest::WriteTextFile(dir + "ffmpeg.exe", "not a program"); }

    // The system's own folders, after `first`, with relative entries that
    // name the current folder.
    static std::string PathWith(const std::string& first) {
        char system[MAX_PATH], windows[MAX_PATH];
        GetSystemDirectoryA(system, MAX_PATH);
        GetWindowsDirectoryA(windows, MAX_PATH);
        return first + ".;;" + system + ";" + windows;
    }

    // Runs the copy with this PATH in the current folder; its report.
    std::string RunCopy(const std::string& path) {
        const std::string report = folder + "report.txt";
        const std::string oldPath = Env("PATH");
        SetEnvironmentVariableA(kReport, report.c_str());
        SetEnvironmentVariableA(kInput, input.c_str());
        SetEnvironmentVariableA(kOutput, (folder + "out.mpg").c_str());
        SetEnvironmentVariableA("PATH", path.c_str());
        std::string line = "\"" + copy + "\" --gtest_filter=EncoderOrigin.ConvertAsACopy";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const BOOL started = CreateProcessA(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            current.c_str(), &si, &pi);
        SetEnvironmentVariableA("PATH", oldPath.c_str());
        for (const char* name : {kReport, kInput, kOutput}) SetEnvironmentVariableA(name, nullptr);
        if (!started) return "the copy did not start";
        const bool ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
        if (!ended) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return ended ? wintest::ReadTextFile(report) : "the copy never ended";
    }

    std::string folder, program, current, onPath, copy, input;
};

TEST_F(EncoderOriginTest, OneInTheCurrentFolderIsNeverRun) {
    PutEncoder(current);
    EXPECT_EQ(RunCopy(PathWith("")), "error: Error while creating convert process!2");
    EXPECT_FALSE(rt::FileExists(folder + "ran.txt")) << "the encoder of the current folder ran";
}

TEST_F(EncoderOriginTest, TheFirstOnThePathIsRunWithTheBareNameOnItsLine) {
    PutNonProgram(current);
    PutEncoder(onPath);
    EXPECT_EQ(RunCopy(PathWith(onPath + ";")), "converted");
    EXPECT_EQ(wintest::ReadTextFile(folder + "ran.txt"),
              "ffmpeg -i \"" + input + "\" -f mpeg \"" + folder + "out.mpg\"");
}

TEST_F(EncoderOriginTest, TheOneBesideTheProgramComesFirst) {
    PutNonProgram(current);
    PutNonProgram(onPath);
    PutEncoder(program);
    EXPECT_EQ(RunCopy(PathWith(onPath + ";")), "converted");
    EXPECT_TRUE(rt::FileExists(folder + "ran.txt"));
}

}  // namespace
