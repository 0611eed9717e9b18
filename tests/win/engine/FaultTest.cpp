// The runner against encoders that misbehave: each file ends counted right,
// with its reason, and nothing of the encoder is left running.
#include <gtest/gtest.h>

#include "engine/ConvertThread.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

class FaultTest : public RunnerTest {
protected:
    void TearDown() override {
        RunnerTest::TearDown();
        EXPECT_TRUE(wintest::PumpUntil([] { return ProcessesNamed("testencoder.exe") == 0; }, 5000))
            << "an encoder process is left";
        EXPECT_TRUE(wintest::ShownErrors().empty());
    }
};

TEST_F(FaultTest, ACrashAfterPartialOutputIsListedAndItsOutputRemoved) {
    Begin(DurationLine("00:01:40.00") + ProgressLine("00:00:20.00") + "create\ncrash\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.Percents(), (std::vector<int>{20}));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "the encoder crashed (exception 0xC0000005)");
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(FaultTest, AnEncoderWaitingForAnAnswerGetsEndOfFileAndEnds) {
    Begin(DurationLine("00:01:40.00") + "ask File 'out.mpg' already exists. Overwrite ? [y/N] \n");
    ASSERT_TRUE(WaitForEnd(sink, 20000)) << "the encoder still waits for its answer";
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "File 'out.mpg' already exists. Overwrite ? [y/N]");
}

TEST_F(FaultTest, WhatTheEncoderStartedEndsWithTheRun) {
    const std::string pidFile = folder + "child.pid";
    Begin(ProgressLine("1.00") + "spawn " + pidFile + "\ncreate\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "some");
    const DWORD child = std::stoul(wintest::ReadTextFile(pidFile));
    // It held the run's pipes and would have kept running for ever.
    EXPECT_TRUE(ProcessEnded(child, 5000));
}

TEST_F(FaultTest, StopEndsWhatTheEncoderStartedToo) {
    const std::string pidFile = folder + "child.pid";
    Begin("spawn " + pidFile + "\nhang\n");
    ASSERT_TRUE(wintest::PumpUntil([&] { return !wintest::ReadTextFile(pidFile).empty(); }, 5000));
    const DWORD child = std::stoul(wintest::ReadTextFile(pidFile));
    const DWORD encoder = process.ProcessInformation.dwProcessId;
    process.Stop(0);
    EXPECT_TRUE(ProcessEnded(encoder, 5000));
    EXPECT_TRUE(ProcessEnded(child, 5000));
    wintest::PumpFor(200);
    EXPECT_TRUE(sink.Notes().empty());
}

// Far more output than any ring or carried line holds, read through while
// the encoder writes it, without leaving the encoder waiting on a full pipe
// through each rest of the worker (that made 100 MB take minutes).
TEST_F(FaultTest, AHundredMegabytesOfOutputAreReadThrough) {
    Begin(DurationLine("00:01:40.00") + "flood 100\n" + ProgressLine("00:00:50.00") + "create\n");
    ASSERT_TRUE(WaitForEnd(sink, 30000));
    EXPECT_EQ(sink.Percents(), (std::vector<int>{50}));
    EXPECT_EQ(sink.End().Elapsed, "some");
    EXPECT_TRUE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(FaultTest, ALineWrittenInTwoPiecesIsReadWhole) {
    // Split inside the duration and inside the position: each piece comes
    // in a read of its own.
    Begin("err   Duration: 00:0\nsleep 300\nerr 1:23.45, start: 0.000000\\r\\n\n"
          "err frame=  5 time=41\nsleep 300\nerr .50 bitrate=1\\r\ncreate\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.Percents(), (std::vector<int>{49}));
    EXPECT_EQ(sink.End().Elapsed, "some");
}

TEST_F(FaultTest, AnEndThatFindsTheQueueFullArrivesOnceLater) {
    queue.Full = [&] { return queue.Refused < 3; };
    Begin(DurationLine("00:01:40.00") + ProgressLine("00:00:20.00") + "create\n");
    ASSERT_TRUE(WaitForEnd(sink)) << "the end was lost";
    EXPECT_EQ(queue.Refused, 3);
    EXPECT_EQ(sink.Percents(), (std::vector<int>{20}));
    EXPECT_EQ(sink.End().Elapsed, "some");
    wintest::PumpFor(300);
    EXPECT_EQ(sink.Notes().size(), 2u) << "posted again after it was taken";
}

TEST_F(FaultTest, AnEndWaitingForTheQueueIsForgottenAtStop) {
    bool full = true;
    queue.Full = [&] { return full; };
    Begin("create\n");
    ASSERT_TRUE(wintest::PumpUntil([&] { return queue.Refused >= 2; }, 10000));
    process.Stop(0);
    full = false;
    wintest::PumpFor(300);
    EXPECT_FALSE(sink.Ended()) << "a stopped file got its end";
}

TEST_F(FaultTest, AReadThatFailsEndsTheFileAsFailedAndTheNextOneRuns) {
    Begin("create\n" + DurationLine("00:01:40.00") + "hang\n");
    // Not pumping: the worker has peeked the duration and waits for this
    // thread to read it, from a pipe that is gone by then.
    ASSERT_TRUE(WaitForQueuedStep());
    const DWORD pid = process.ProcessInformation.dwProcessId;
    process.StdErrRead.Reset();
    ASSERT_TRUE(WaitForEnd(sink)) << "the file never ended";
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "the encoder's output could not be read (code 6)");
    EXPECT_TRUE(ProcessEnded(pid, 5000));
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg")) << "the run's own output stays";

    Begin(Script(folder, "next.avi", ProgressLine("1.00") + "create\n"), folder + "next.mpg");
    ASSERT_TRUE(wintest::PumpUntil([&] { return sink.Notes().size() == 2; }, 10000));
    EXPECT_EQ(sink.Notes().back().Percent, kEndOfFilePercent);
    EXPECT_EQ(sink.Notes().back().Elapsed, "some");
}

TEST_F(FaultTest, AnOutputThatIsAFolderFailsAtOnce) {
    const std::string ran = folder + "ran.txt";
    const std::string output = folder + "out.mpg";
    CreateDirectoryA(output.c_str(), nullptr);
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDYES; });
    Begin(Script(folder, "in.avi", "cmdline " + ran + "\n"), output);
    ASSERT_TRUE(WaitForEnd(sink));
    wintest::PumpFor(200);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(sink.End().Reason, "the output is a folder");
    EXPECT_FALSE(rt::FileExists(ran));
    EXPECT_TRUE(rt::DirectoryExists(output));
}

// The same file under another name: no question, no encoder, the input
// unchanged.
class SameFileTest : public FaultTest {
protected:
    void ExpectRefused(const std::string& input, const std::string& output) {
        const std::string before = wintest::ReadTextFile(input);
        wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDYES; });
        Begin(input, output);
        ASSERT_TRUE(WaitForEnd(sink));
        wintest::PumpFor(200);
        EXPECT_TRUE(watcher.Seen().empty());
        EXPECT_EQ(sink.End().Reason, "the output is the input file");
        EXPECT_EQ(wintest::ReadTextFile(input), before);
    }
    std::string Input(const std::string& dir) {
        CreateDirectoryA(dir.c_str(), nullptr);
        return Script(dir, "long clip name.mpg", "create\n" + ProgressLine("1.00"));
    }
};

TEST_F(SameFileTest, ThroughItsShortName) {
    const std::string input = Input(folder + "a long folder name\\");
    char shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameA(input.c_str(), shortPath, MAX_PATH);
    ASSERT_GT(n, 0u);
    ASSERT_NE(std::string(shortPath), input) << "no short name to test with";
    ExpectRefused(input, shortPath);
}

TEST_F(SameFileTest, ThroughAnotherCaseOfANonAsciiFolderName) {
    // The program's text is UTF-8: "Vidéos" and "VIDÉOS".
    const std::string input = Input(folder + "Vid\xC3\xA9os\\");
    ExpectRefused(input, folder + "VID\xC3\x89OS\\long clip name.mpg");
}

TEST_F(SameFileTest, ThroughALongPathPrefix) {
    const std::string input = Input(folder + "prefixed\\");
    ExpectRefused(input, "\\\\?\\" + input);
}

TEST_F(SameFileTest, AnotherFileOfTheSameNameElsewhereIsNotTheInput) {
    const std::string input = Input(folder + "one\\");
    const std::string other = folder + "two\\";
    CreateDirectoryA(other.c_str(), nullptr);
    wintest::WriteTextFile(other + "long clip name.mpg", "other");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDNO; });
    Begin(input, other + "long clip name.mpg");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(watcher.Seen().size(), 1u) << "an ordinary existing output is asked about";
    EXPECT_EQ(sink.End().Reason, "you chose not to overwrite the existing output");
}

}  // namespace
