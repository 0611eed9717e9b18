// The encoder's dialect: the version question the engine asks before an
// encoder's first file, and what the child then gets on its command line.
// The verdicts last for the whole run of the program, so every test works
// with a copy of the test encoder at a path of its own.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/Win.h"  // before the tool-help header, which needs its types
#include <tlhelp32.h>

#include "app/Main.h"
#include "engine/ConvertHint.h"
#include "engine/ConvertThread.h"
#include "profiles/Catalogue.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

constexpr char kVersionText[] = "MFVC_TESTENCODER_VERSION";
constexpr char kVersionScript[] = "MFVC_TESTENCODER_VERSION_SCRIPT";

// What the shipped encoder prints, cut short.
std::string Banner(int libavcodecMajor) {
    const std::string v = std::to_string(libavcodecMajor);
    return "ffmpeg version 4.1 Copyright (c) 2000-2018 the FFmpeg developers\\r\\n"
           "configuration: --enable-gpl --enable-libx264 --enable-libxvid\\r\\n"
           "libavutil      56. 22.100 / 56. 22.100\\r\\n"
           "libavcodec     " + v + ". 35.100 / " + v + ". 35.100\\r\\n";
}

class EncoderDialectTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        wintest::ShownErrors().clear();
    }
    void TearDown() override {
        process.Stop(0);
        SetEnvironmentVariableA(kVersionText, nullptr);
        SetEnvironmentVariableA(kVersionScript, nullptr);
    }

    // A copy of the test encoder that no other test has used, in a folder
    // with a blank in its name.
    std::string NewEncoder(const std::string& name, const std::string& exeName = "testencoder.exe") {
        const std::string dir = folder + name + " encoder\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA(TestEncoder().c_str(), (dir + exeName).c_str(), FALSE));
        return dir + exeName;
    }

    // Readies the process for one file, with a new sink; Start is the caller's.
    void Prepare(const std::string& input, const std::string& output, const std::string& arguments,
                 const std::string& encoder) {
        process.InputFile = input;
        process.OutputFile = output;
        sink = std::make_unique<NoteSink>();
        process.NotifyWindow = sink->Handle();
        process.Arguments = arguments;
        process.EncoderPath = encoder;
        process.Running = true;
    }

    // Converts a script that records its command line into `outputName` with
    // `encoder`; the command line the child got.
    std::string LineSeen(const std::string& encoder, const std::string& arguments, const std::string& outputName) {
        const std::string received = folder + outputName + ".cmdline";
        Prepare(Script(folder, outputName + ".avi", "cmdline " + received + "\n"), folder + outputName, arguments,
                encoder);
        process.Start();
        EXPECT_TRUE(WaitForEnd(*sink));
        return wintest::ReadTextFile(received);
    }

    std::string Line(const std::string& encoder, const std::string& arguments, const std::string& outputName) {
        return "\"" + encoder + "\" -i \"" + folder + outputName + ".avi\" " + arguments + "\"" + folder + outputName +
               "\"";
    }

    std::string folder;
    std::unique_ptr<NoteSink> sink;  // a fresh one for each file
    TConvertProcess process;
};

TEST_F(EncoderDialectTest, AModernEncoderGetsTheArgumentsInItsDialect) {
    SetEnvironmentVariableA(kVersionText, Banner(58).c_str());
    const std::string encoder = NewEncoder("modern");
    EXPECT_EQ(LineSeen(encoder, "-vn -acodec libfaac -ab 112kb -ac 2 -ar 48000 ", "a.m4a"),
              Line(encoder, "-vn -acodec aac -ab 112k -ac 2 -ar 48000 ", "a.m4a"));
    // The output file's extension decides what the container takes.
    EXPECT_EQ(LineSeen(encoder, "-vcodec libxvid -vtag XVID -b 1200k ", "b.mp4"),
              Line(encoder, "-vcodec libxvid -b 1200k ", "b.mp4"));
    EXPECT_EQ(LineSeen(encoder, "-vcodec libxvid -vtag XVID -b 1200k ", "c.avi"),
              Line(encoder, "-vcodec libxvid -vtag XVID -b 1200k ", "c.avi"));
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(EncoderDialectTest, EncodersOfOtherDialectsGetTheArgumentsVerbatim) {
    const std::string legacy = "-vn -acodec libfaac -ab 112kb -ac 2 -ar 48000 ";

    SetEnvironmentVariableA(kVersionText, Banner(56).c_str());
    const std::string older = NewEncoder("older");
    EXPECT_EQ(LineSeen(older, legacy, "older.m4a"), Line(older, legacy, "older.m4a"));

    // Prints nothing and ends with 1.
    SetEnvironmentVariableA(kVersionText, nullptr);
    const std::string silent = NewEncoder("silent");
    EXPECT_EQ(LineSeen(silent, legacy, "silent.m4a"), Line(silent, legacy, "silent.m4a"));

    SetEnvironmentVariableA(kVersionText, "Usage: convert [options] file\\r\\nlibavcodec is not used here\\r\\n");
    const std::string other = NewEncoder("other");
    EXPECT_EQ(LineSeen(other, legacy, "other.m4a"), Line(other, legacy, "other.m4a"));
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(EncoderDialectTest, TheAnswerIsReadUntilTheEncoderEnds) {
    // The version line comes in a later chunk than the banner.
    SetEnvironmentVariableA(kVersionScript,
                            Script(folder, "version.txt",
                                   "out ffmpeg version 4.1 Copyright (c) 2000-2018\\r\\n\nsleep 400\n"
                                   "err \\r\\n\nout libavcodec     58. 35.100 / 58. 35.100\\r\\n\n")
                                .c_str());
    const std::string encoder = NewEncoder("slow");
    EXPECT_EQ(LineSeen(encoder, "-b 1000kb ", "a.avi"), Line(encoder, "-b 1000k ", "a.avi"));
}

TEST_F(EncoderDialectTest, EachEncoderIsAskedOnceInARunOfTheProgram) {
    const std::string asks = folder + "asks.txt";
    SetEnvironmentVariableA(kVersionScript,
                            Script(folder, "version.txt", "append " + asks + "\nout " + Banner(58) + "\n").c_str());
    const std::string encoder = NewEncoder("batch");

    // A batch of three in the progress window with a manual command line,
    // whose options arrive as an argument string like any other.
    const std::string caption = "ffmpeg -i %1 -s 320x240 -r 14 -b 50kb -ar 22050 -ab 56kb -ac 1 %1.mov";
    const std::string out = folder + "out\\";
    CreateDirectoryA(out.c_str(), nullptr);
    UseMainWindow(false, out);
    std::vector<std::string> files;
    for (const std::string name : {"one", "two", "three"})
        files.push_back(Script(folder, name + ".avi", "cmdline " + out + name + ".cmdline\n"));
    auto window = std::make_unique<TfrmConvert>(frmMain, files, *ConvertProcess, false, out,
                                                "Marbex Free Video Converter");
    window->OutputExt = profiles::GetProfileExtension(caption);
    window->Arguments = profiles::GetProfileArguments(caption);
    window->EncoderPath = encoder;
    {
        ModalGuard guard(*window, 20000);
        window->ShowModal();
        EXPECT_FALSE(guard.Fired()) << "the batch never ended";
    }
    for (const std::string name : {"one", "two", "three"})
        EXPECT_EQ(wintest::ReadTextFile(out + name + ".cmdline"),
                  "\"" + encoder + "\" -i \"" + folder + name + ".avi\" -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k "
                  "-ac 1 \"" + out + name + ".mov\"");
    EXPECT_EQ(wintest::ReadTextFile(asks), "\"" + encoder + "\" -version\r\n");

    // The verdict is kept per path: another copy is asked again, the first
    // one still not.
    const std::string second = NewEncoder("second");
    EXPECT_EQ(LineSeen(second, "-ab 56kb ", "second.mov"), Line(second, "-ab 56k ", "second.mov"));
    EXPECT_EQ(LineSeen(encoder, "-ab 56kb ", "again.mov"), Line(encoder, "-ab 56k ", "again.mov"));
    EXPECT_EQ(wintest::ReadTextFile(asks), "\"" + encoder + "\" -version\r\n\"" + second + "\" -version\r\n");
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(EncoderDialectTest, AnEncoderThatHangsOnTheQuestionIsEndedAndAskedAgainNextTime) {
    const std::string asks = folder + "asks.txt";
    SetEnvironmentVariableA(kVersionScript,
                            Script(folder, "version.txt", "append " + asks + "\nout libavcodec 58.\\r\\n\nhang\n").c_str());
    const std::string encoder = NewEncoder("hanging", "hangingencoder.exe");

    // The window lives on while the question waits: a timer of this thread
    // still fires.
    bool servedMeanwhile = false;
    After(300, [&] { servedMeanwhile = rt::FileExists(asks) && ProcessesNamed("hangingencoder.exe") == 1; });
    const std::string seen = LineSeen(encoder, "-b 1000kb ", "a.avi");
    EXPECT_TRUE(servedMeanwhile);
    // What it printed before it was ended does not count.
    EXPECT_EQ(seen, Line(encoder, "-b 1000kb ", "a.avi"));
    EXPECT_TRUE(wintest::PumpUntil([] { return ProcessesNamed("hangingencoder.exe") == 0; }, 3000))
        << "the asked encoder lives on";

    // No answer was no verdict: the next file asks again, and this time
    // hears of a modern encoder.
    SetEnvironmentVariableA(kVersionScript,
                            Script(folder, "version2.txt", "append " + asks + "\nout " + Banner(58) + "\n").c_str());
    EXPECT_EQ(LineSeen(encoder, "-b 1000kb ", "b.avi"), Line(encoder, "-b 1000k ", "b.avi"));
    EXPECT_EQ(wintest::ReadTextFile(asks), "\"" + encoder + "\" -version\r\n\"" + encoder + "\" -version\r\n");
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(EncoderDialectTest, StopWhileTheQuestionWaitsEndsItAndStartsNothing) {
    SetEnvironmentVariableA(kVersionScript, Script(folder, "version.txt", "hang\n").c_str());
    const std::string encoder = NewEncoder("stopped", "stoppedencoder.exe");
    const std::string received = folder + "a.cmdline";
    Prepare(Script(folder, "a.avi", "cmdline " + received + "\n"), folder + "a.mpg", "-b 1000kb ", encoder);
    After(300, [&] { process.Stop(0); });
    process.Start();
    EXPECT_FALSE(process.Running);
    EXPECT_FALSE(process.Thread);
    EXPECT_EQ(process.ProcessInformation.hProcess, nullptr);
    EXPECT_TRUE(wintest::PumpUntil([] { return ProcessesNamed("stoppedencoder.exe") == 0; }, 3000));
    wintest::PumpFor(200);
    EXPECT_FALSE(rt::FileExists(received));
    EXPECT_TRUE(sink->Notes().empty());
}

TEST_F(EncoderDialectTest, AnEncoderThatCouldNotBeStartedIsAskedWhenItIsThere) {
    SetEnvironmentVariableA(kVersionText, Banner(58).c_str());
    const std::string dir = folder + "later encoder\\";
    const std::string encoder = dir + "testencoder.exe";
    Prepare(Script(folder, "in.avi", "exit 0\n"), folder + "out.avi", "-b 1000kb ", encoder);
    EXPECT_THROW(process.Start(), rt::Error);

    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(TestEncoder().c_str(), encoder.c_str(), FALSE));
    EXPECT_EQ(LineSeen(encoder, "-b 1000kb ", "a.avi"), Line(encoder, "-b 1000k ", "a.avi"));
}

}  // namespace
