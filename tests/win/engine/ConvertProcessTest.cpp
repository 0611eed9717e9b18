// The encoder runner and its worker, driven with the scripted test encoder
// and a window that collects what they post.
#include <gtest/gtest.h>

#include <memory>

#include "engine/ConvertThread.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

class ConvertProcessTest : public RunnerTest {};

TEST_F(ConvertProcessTest, LinesPrintedJustBeforeTheExitAreParsedBeforeTheEnd) {
    // The pause lets the worker settle into its waits; the lines then come
    // together with the exit.
    Begin("sleep 300\n" + DurationLine("00:01:40.00") + ProgressLine("00:00:50.00") +
          "err frame=  99 time=75.00 bitrate=1\\r\\n\ncreate\nexit 0\n");
    ASSERT_TRUE(WaitForEnd(sink));
    wintest::PumpFor(200);
    EXPECT_EQ(sink.Percents(), (std::vector<int>{50, 75}));
    ASSERT_EQ(sink.Notes().size(), 3u);
    EXPECT_EQ(sink.Notes().back().Percent, kEndOfFilePercent);
    EXPECT_EQ(sink.End().Elapsed, "some");
    EXPECT_EQ(sink.End().Status, 0);
    EXPECT_EQ(process.ProcessInformation.hProcess, nullptr);
    EXPECT_FALSE(process.StdOutRead);
    EXPECT_TRUE(process.Running) << "only Stop clears it";
}

TEST_F(ConvertProcessTest, AChildThatWritesNothingEndsAsFailed) {
    Begin("exit 0\n");
    ASSERT_TRUE(WaitForEnd(sink));
    wintest::PumpFor(100);
    ASSERT_EQ(sink.Notes().size(), 1u);
    EXPECT_EQ(sink.End().Percent, kEndOfFilePercent);
    EXPECT_EQ(sink.End().Status, 0);
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Estimated, "");
    EXPECT_EQ(sink.End().Reason, "the encoder printed no progress");
}

TEST_F(ConvertProcessTest, StdoutIsParsedBeforeStderrWithinOnePass) {
    // The worker waits for this thread to read the duration while the
    // encoder writes stderr, then stdout; its next pass finds both.
    const std::string gate = folder + "gate", written = folder + "written";
    Begin(DurationLine("00:01:40.00") + "await " + gate + "\nerr frame= 1 time=00:00:30.00 bitrate=1\\r\n"
          "out frame= 2 time=00:01:00.00 bitrate=1\\r\ncmdline " + written + "\ncreate\nexit 0\n");
    ASSERT_TRUE(WaitForQueuedStep());
    wintest::WriteTextFile(gate, "");
    ASSERT_TRUE(WaitForFile(written));
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.Percents(), (std::vector<int>{60, 30}));
    EXPECT_EQ(sink.End().Elapsed, "some");
}

TEST_F(ConvertProcessTest, NonZeroExitAfterProgressCountsAsFailed) {
    Begin(DurationLine("00:01:40.00") + ProgressLine("00:00:50.00") + "exit 1\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.Percents(), (std::vector<int>{50}));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Status, 0);
    EXPECT_EQ(sink.End().Reason, "the encoder stopped with code 1");
}

TEST_F(ConvertProcessTest, StopDuringTheWaitKillsTheChildAndPostsNothing) {
    const int threadsBefore = ThreadCount();
    Begin("hang\n");
    wintest::PumpFor(400);
    const DWORD pid = process.ProcessInformation.dwProcessId;
    ASSERT_NE(pid, 0u);
    EXPECT_GT(ThreadCount(), threadsBefore);

    process.Stop(0);
    EXPECT_FALSE(process.Running);
    EXPECT_EQ(process.ProcessInformation.hProcess, nullptr);
    EXPECT_FALSE(process.StdOutRead);
    EXPECT_FALSE(process.StdErrRead);
    EXPECT_TRUE(ProcessEnded(pid, 3000));
    EXPECT_TRUE(wintest::PumpUntil([&] { return ThreadCount() <= threadsBefore; }, 2000)) << "the worker lives on";
    wintest::PumpFor(300);
    EXPECT_TRUE(sink.Notes().empty());

    // Stopping again finds nothing to do.
    process.Stop(0);
    EXPECT_FALSE(process.Running);
}

TEST_F(ConvertProcessTest, StopWhileAReadIsQueuedReadsAndShowsNothing) {
    const int threadsBefore = ThreadCount();
    Begin(DurationLine("00:01:40.00") + ProgressLine("00:00:50.00") + "hang\n");
    // Not pumping: the worker has peeked the lines and waits for this thread.
    ASSERT_TRUE(WaitForQueuedStep());
    process.Stop(0);
    wintest::PumpFor(500);
    EXPECT_TRUE(sink.Notes().empty());
    EXPECT_TRUE(wintest::ShownErrors().empty());
    EXPECT_TRUE(wintest::PumpUntil([&] { return ThreadCount() <= threadsBefore; }, 2000)) << "the worker lives on";
}

TEST_F(ConvertProcessTest, AStoppedWorkerNeverReadsTheNextFilesPipes) {
    Begin("err x\\r\\n\nhang\n");
    ASSERT_TRUE(WaitForQueuedStep());  // the first worker waits to have its three bytes read
    process.Stop(0);

    // The next file starts before the first worker's read has run; its pipes
    // may well get the handle values the first file's had. Had the old read
    // taken its three bytes from them, the duration would be lost.
    Begin(Script(folder, "next.avi",
                 "sleep 300\nerr   Duration: 00:01:40.00, start: 0.000000\\r\\n"
                 "frame=  1 time=00:00:25.00 bitrate=1\\r\ncreate\nexit 0\n"),
          folder + "next.mpg");
    ASSERT_TRUE(WaitForEnd(sink));
    wintest::PumpFor(200);
    EXPECT_EQ(sink.Percents(), (std::vector<int>{25}));
    EXPECT_EQ(sink.End().Elapsed, "some");
    EXPECT_EQ(sink.Notes().size(), 2u);
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(ConvertProcessTest, TheChildGetsTheCommandLineAsBuilt) {
    const std::string received = folder + "received.txt";
    const std::string input = Script(folder, "my clip.avi", "cmdline " + received + "\n");
    const std::string output = folder + "my clip.wav";
    Begin(input, output, "-vn -ac 2 -ar 44100 ");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(wintest::ReadTextFile(received),
              "\"" + TestEncoder() + "\" -i \"" + input + "\" -vn -ac 2 -ar 44100 \"" + output + "\"");
}

TEST_F(ConvertProcessTest, OutputThatIsTheInputFailsWithoutAQuestionOrAChild) {
    const std::string ran = folder + "ran.txt";
    const std::string script = "cmdline " + ran + "\ncreate\n";
    const std::string input = Script(folder, "same.avi", script);
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDYES; });
    Begin(input, folder + ".\\SAME.AVI");
    ASSERT_TRUE(WaitForEnd(sink));
    wintest::PumpFor(400);
    EXPECT_TRUE(watcher.Seen().empty());
    ASSERT_EQ(sink.Notes().size(), 1u);
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Status, 0);
    EXPECT_FALSE(rt::FileExists(ran));
    EXPECT_EQ(wintest::ReadTextFile(input), script);
    EXPECT_EQ(sink.End().Reason, "the output is the input file");
}

TEST_F(ConvertProcessTest, DeclinedOverwriteStartsNothing) {
    const std::string ran = folder + "ran.txt";
    const std::string output = folder + "out.mpg";
    wintest::WriteTextFile(output, "old");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDNO; });
    Begin(Script(folder, "in.avi", "cmdline " + ran + "\ncreate\n"), output);
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(watcher.Seen(), (std::vector<std::string>{output + " has existed,overite it?"}));
    EXPECT_EQ(sink.End().Status, 0);
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "you chose not to overwrite the existing output");
    EXPECT_FALSE(rt::FileExists(ran));
    EXPECT_EQ(wintest::ReadTextFile(output), "old");
}

TEST_F(ConvertProcessTest, ConfirmedOverwriteTellsTheEncoderToOverwrite) {
    const std::string received = folder + "received.txt";
    const std::string input = Script(folder, "in.avi", "cmdline " + received + "\n" + ProgressLine("1.00") + "create\n");
    const std::string output = folder + "out.mpg";
    wintest::WriteTextFile(output, "old");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDYES; });
    Begin(input, output);
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(wintest::ReadTextFile(received),
              "\"" + TestEncoder() + "\" -y -i \"" + input + "\" -f mpeg \"" + output + "\"");
    EXPECT_EQ(wintest::ReadTextFile(output), "testencoder output\r\n");
    // A position without a known duration posts nothing but still counts.
    EXPECT_TRUE(sink.Percents().empty());
    EXPECT_EQ(sink.End().Elapsed, "some");
}

TEST_F(ConvertProcessTest, OutputHeldByAnotherProgramEndsWithStatus2) {
    const std::string ran = folder + "ran.txt";
    const std::string output = folder + "out.mpg";
    wintest::WriteTextFile(output, "old");
    rt::UniqueHandle held(CreateFileA(output.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDYES; });
    Begin(Script(folder, "in.avi", "cmdline " + ran + "\n"), output);
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(sink.End().Status, 2);
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "the output file is in use");
    EXPECT_FALSE(rt::FileExists(ran));
}

TEST_F(ConvertProcessTest, AFailedRunRemovesTheEmptyOutputItCreated) {
    // The encoder opened its output, then refused the options.
    Begin("hold 0\nexit 1\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(ConvertProcessTest, ARunThatFailsAfterProgressRemovesItsEmptyOutputToo) {
    Begin(ProgressLine("1.00") + "hold 0\nexit 1\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(ConvertProcessTest, ACleanExitWithProgressButAnEmptyOutputFailsAndLeavesNoFile) {
    Begin(ProgressLine("1.00") + "hold 0\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "the output is empty");
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(ConvertProcessTest, ACleanExitThatSaysItEncodedNothingFailsWithItsWords) {
    Begin(ProgressLine("1.00") + "create\nerr Output file is empty, nothing was encoded\\r\\n\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "Output file is empty, nothing was encoded");
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(ConvertProcessTest, AFailedRunRemovesTheOutputItCreatedWhateverItsSize) {
    Begin("create\nerr [mp4 @ 0x1] Could not write header\\r\\nConversion failed!\\r\\n\nexit 1\n");
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_EQ(sink.End().Reason, "Could not write header");
    EXPECT_FALSE(rt::FileExists(folder + "out.mpg"));
}

TEST_F(ConvertProcessTest, AFailedRunNeverRemovesAnOutputThatExistedBefore) {
    const std::string output = folder + "out.mpg";
    wintest::WriteTextFile(output, "");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDYES; });
    Begin(Script(folder, "in.avi", "hold 0\nexit 1\n"), output);
    ASSERT_TRUE(WaitForEnd(sink));
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(sink.End().Elapsed, "");
    EXPECT_TRUE(rt::FileExists(output));
}

TEST_F(ConvertProcessTest, AnEncoderThatCannotBeStartedRaisesWithTheSystemCode) {
    process.InputFile = Script(folder, "in.avi", "exit 0\n");
    process.OutputFile = folder + "out.mpg";
    process.NotifyWindow = sink.Handle();
    process.EncoderPath = folder + "missing.exe";
    process.Running = true;
    try {
        process.Start();
        FAIL() << "no error raised";
    } catch (const rt::Error& e) {
        EXPECT_STREQ(e.what(), "Error while creating convert process!2");
    }
    EXPECT_EQ(process.ErrorCode, 2u);
    EXPECT_EQ(process.ProcessInformation.hProcess, nullptr);
    EXPECT_EQ(process.ProcessInformation.dwProcessId, 0u);
    EXPECT_FALSE(process.StdInRead);
    EXPECT_FALSE(process.StdOutRead);
    EXPECT_FALSE(process.StdErrWrite);
    EXPECT_FALSE(process.Thread);
    wintest::PumpFor(200);
    EXPECT_TRUE(sink.Notes().empty());
}

// Only a start that failed inside the platform is tried again, three times
// in all; a missing program or a refusal is final at once.
TEST(StartWithRetries, OnlyAnInternalErrorIsTriedAgain) {
    struct Case {
        std::vector<DWORD> errors;  // what each try fails with; a try past them starts
        bool started;
        size_t tries;
        DWORD lastError;  // when not started
    };
    const std::vector<Case> cases = {
        {{}, true, 1, 0},
        {{ERROR_INTERNAL_ERROR}, true, 2, 0},
        {{ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR}, true, 3, 0},
        {{ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR}, false, 3, ERROR_INTERNAL_ERROR},
        {{ERROR_FILE_NOT_FOUND}, false, 1, ERROR_FILE_NOT_FOUND},
        {{ERROR_INTERNAL_ERROR, ERROR_ACCESS_DENIED}, false, 2, ERROR_ACCESS_DENIED},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        size_t tries = 0;
        const bool started = rt::StartWithRetries(
            [&] {
                if (tries < c.errors.size()) {
                    SetLastError(c.errors[tries++]);
                    return false;
                }
                ++tries;
                return true;
            },
            3);
        EXPECT_EQ(started, c.started) << "case " << i;
        EXPECT_EQ(tries, c.tries) << "case " << i;
        if (!started) EXPECT_EQ(GetLastError(), c.lastError) << "case " << i;
    }
}

TEST(ConvertProcessLifetime, DestroyingTheEngineStopsItsChild) {
    const std::string folder = Folder("destroy");
    NoteSink sink;
    auto process = std::make_unique<TConvertProcess>();
    process->InputFile = Script(folder, "in.avi", DurationLine("00:01:40.00") + "sleep 200\n" + "hang\n");
    process->OutputFile = folder + "out.mpg";
    process->NotifyWindow = sink.Handle();
    process->EncoderPath = TestEncoder();
    process->Running = true;
    process->Start();
    wintest::PumpFor(400);
    const DWORD pid = process->ProcessInformation.dwProcessId;
    process.reset();
    EXPECT_TRUE(ProcessEnded(pid, 3000));
    // The worker has ended with the engine and touches nothing more.
    wintest::PumpFor(400);
    EXPECT_TRUE(sink.Notes().empty());
}

}  // namespace
