// What a run may do to the file at its output: an old file confirmed for
// overwriting survives until its replacement is complete, and only what
// the run's own encoder created is ever removed.
#include <gtest/gtest.h>

#include <set>

#include "engine/ConvertThread.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

// Bytes no encoder would write: zeros, line ends of both kinds, high bytes.
std::string OldBytes() {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 37) % 256);
    return bytes + "\r\n\n\r" + std::string(5, '\0');
}

class OutputSafetyTest : public RunnerTest {
protected:
    void SetUp() override {
        RunnerTest::SetUp();
        output = folder + "out.mpg";
        wintest::WriteTextFile(output, OldBytes());
        attributes = GetFileAttributesA(output.c_str());
    }
    void TearDown() override {
        RunnerTest::TearDown();
        EXPECT_TRUE(wintest::ShownErrors().empty());
    }

    // The names in the folder, hidden ones included.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        WIN32_FIND_DATAA data;
        const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") names.insert(name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }

    // The hidden files of the folder.
    std::vector<std::string> Hidden() const {
        std::vector<std::string> hidden;
        for (const std::string& name : Names())
            if (GetFileAttributesA((folder + name).c_str()) & FILE_ATTRIBUTE_HIDDEN) hidden.push_back(folder + name);
        return hidden;
    }

    // Converts the script into the existing output, answering Yes.
    void BeginOverwrite(const std::string& script) {
        watcher = std::make_unique<wintest::DialogWatcher>([](HWND, const std::string&) { return IDYES; });
        Begin(Script(folder, "in.avi", script), output);
    }

    std::string output;
    DWORD attributes = 0;
    std::unique_ptr<wintest::DialogWatcher> watcher;
};

TEST_F(OutputSafetyTest, AFailedRunPutsTheOldFileBackByteForByte) {
    const std::string written = folder + "written";
    BeginOverwrite("create\ncmdline " + written + "\nerr Conversion failed!\\r\\n\nexit 1\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    ASSERT_TRUE(rt::FileExists(written)) << "the encoder never wrote its output";
    EXPECT_TRUE(rt::ReadFileBytes(output) == OldBytes()) << "the old file is lost";
    EXPECT_EQ(GetFileAttributesA(output.c_str()), attributes);
    EXPECT_EQ(Names(), (std::set<std::string>{"in.avi", "out.mpg", "written"})) << "a file was left aside";
}

TEST_F(OutputSafetyTest, AStoppedRunPutsTheOldFileBack) {
    const std::string written = folder + "written";
    BeginOverwrite("create\ncmdline " + written + "\nhang\n");
    ASSERT_TRUE(WaitForFile(written));
    // Meanwhile the old file waits aside, hidden, whole: a crash of the
    // program now would leave it there.
    const std::vector<std::string> hidden = Hidden();
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_TRUE(rt::ReadFileBytes(hidden[0]) == OldBytes());
    EXPECT_EQ(rt::ReadFileBytes(output), "testencoder output\r\n");

    process.Stop(0);
    EXPECT_TRUE(rt::ReadFileBytes(output) == OldBytes()) << "the old file is lost";
    EXPECT_EQ(Names(), (std::set<std::string>{"in.avi", "out.mpg", "written"}));
    wintest::PumpFor(200);
    EXPECT_TRUE(sink.Notes().empty());
}

TEST_F(OutputSafetyTest, ASuccessfulRunReplacesTheOldFileAndLeavesNothingAside) {
    BeginOverwrite(ProgressLine("1.00") + "create\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "some");
    EXPECT_EQ(rt::ReadFileBytes(output), "testencoder output\r\n");
    EXPECT_EQ(Names(), (std::set<std::string>{"in.avi", "out.mpg"}));
}

TEST_F(OutputSafetyTest, AnEncoderThatCannotStartLeavesTheOldFileInPlace) {
    watcher = std::make_unique<wintest::DialogWatcher>([](HWND, const std::string&) { return IDYES; });
    process.InputFile = Script(folder, "in.avi", "create\n");
    process.OutputFile = output;
    process.NotifyWindow = sink.Handle();
    process.EncoderPath = folder + "missing.exe";
    process.Running = true;
    EXPECT_THROW(process.Start(), rt::Error);
    EXPECT_TRUE(rt::ReadFileBytes(output) == OldBytes()) << "the old file is lost";
    EXPECT_EQ(Names(), (std::set<std::string>{"in.avi", "out.mpg"}));
}

// The output did not exist when the question was settled, but another
// program made it while the encoder was asked for its version: the encoder
// (without -y) refuses it, and the run fails without touching it.
TEST(OutputOwnership, AFileThatAppearsDuringTheVersionQuestionIsNeverRemoved) {
    const std::string folder = Folder("appears");
    const std::string output = folder + "out.mpg";
    // A copy of its own, so that this run asks it for its version.
    const std::string encoder = folder + "appearing encoder.exe";
    ASSERT_TRUE(CopyFileA(TestEncoder().c_str(), encoder.c_str(), FALSE));
    SetEnvironmentVariableA("MFVC_TESTENCODER_VERSION_SCRIPT",
                            Script(folder, "version.txt", "cmdline " + output + "\n").c_str());
    NoteSink sink;
    TConvertProcess process;
    process.InputFile = Script(folder, "in.avi", "err File exists, not overwriting\\r\\n\nexit 1\n");
    process.OutputFile = output;
    process.NotifyWindow = sink.Handle();
    process.EncoderPath = encoder;
    process.Running = true;
    process.Start();
    SetEnvironmentVariableA("MFVC_TESTENCODER_VERSION_SCRIPT", nullptr);
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(rt::ReadFileBytes(output), "\"" + encoder + "\" -version") << "another program's file was touched";
}

}  // namespace
