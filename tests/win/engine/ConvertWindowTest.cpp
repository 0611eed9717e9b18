// The progress window converting a batch with the scripted test encoder.
#include <gtest/gtest.h>

#include <memory>

#include "engine/ConvertHint.h"
#include "engine/FailureReason.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

// A time line with no duration known posts nothing, but the file counts as
// converted.
const std::string kConverts = "err frame=  1 time=00:00:01.00 bitrate=1\\r\ncreate\n";

// The window converts through a process of the test's own, with a clock
// and a queue the test controls, stored as the program's one process.
class ConvertWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        out = folder + "out\\";
        CreateDirectoryA(out.c_str(), nullptr);
        wintest::ShownErrors().clear();
        previous_ = ConvertProcess;
        ConvertProcess = &process_;
    }
    void TearDown() override { ConvertProcess = previous_; }

    // Builds the window for the named scripts, as the Convert command does.
    std::unique_ptr<TfrmConvert> Window(const std::vector<std::pair<std::string, std::string>>& scripts) {
        std::vector<std::string> files;
        for (const auto& [name, lines] : scripts) files.push_back(Script(folder, name, lines));
        auto window = std::make_unique<TfrmConvert>(nullptr, files, *ConvertProcess, false, out,
                                                    "Marbex Free Video Converter");
        window->OutputExt = ".mpg";
        window->Arguments = "-f mpeg ";
        window->EncoderPath = TestEncoder();
        return window;
    }

    int Run(TfrmConvert& window) {
        ModalGuard guard(window, 20000);
        const int result = window.ShowModal();
        EXPECT_FALSE(guard.Fired()) << "the batch never ended";
        return result;
    }

    // Checks pred from a timer until it holds, then runs action once.
    static void When(std::function<bool()> pred, std::function<void()> action) {
        After(50, [pred = std::move(pred), action = std::move(action)]() mutable {
            if (pred())
                action();
            else
                When(std::move(pred), std::move(action));
        });
    }

    std::string folder;
    std::string out;
    FakeClock clock;
    FullQueue queue;

private:
    TConvertProcess process_{clock.Clock(), queue.Poster()};
    TConvertProcess* previous_ = nullptr;
};

TEST_F(ConvertWindowTest, BatchOfThreeWhereTheSecondFails) {
    // Two seconds pass between the duration and the progress line of the
    // first file, halfway through it.
    const std::string gate = folder + "gate";
    auto window = Window({
        {"first.avi", DurationLine("00:00:10.00") + "await " + gate + "\n" + ProgressLine("00:00:05.00") + "create\n"},
        {"second.avi", "exit 0\n"},
        {"third.avi", kConverts},
    });
    std::string captionDuringFirst, nameDuringFirst;
    int positionAtStart = -1;
    When([&] { return ConvertProcess->Duration != 0; },
         [&] {
             captionDuringFirst = window->Caption();
             nameDuringFirst = window->lConvertName->Caption();
             positionAtStart = window->suiProgressBar2->Position();
             clock.Advance(2);
             wintest::WriteTextFile(gate, "");
         });
    EXPECT_EQ(Run(*window), rt::mrCancel);

    EXPECT_EQ(captionDuringFirst, "Marbex Free Video Converter (1/3)");
    EXPECT_EQ(nameDuringFirst, "first.mpg");
    EXPECT_EQ(positionAtStart, 0);
    EXPECT_EQ(window->FailedFiles, "second.avi, ");
    ASSERT_EQ(window->Failures.size(), 1u);
    EXPECT_EQ(window->Failures[0].Name, "second.avi");
    EXPECT_EQ(window->Failures[0].Reason, "the encoder printed no progress");
    EXPECT_EQ(window->Caption(), "Marbex Free Video Converter (3/3)");
    EXPECT_EQ(window->lConvertName->Caption(), "third.mpg");
    EXPECT_EQ(window->lConvertName->Hint(), "third.mpg");
    EXPECT_EQ(window->FileIndex, 3);
    // Nothing resets the times between files, nor fills the bar at the end.
    EXPECT_EQ(window->lTimeElapsed->Caption(), "00:02");
    EXPECT_EQ(window->lTimeEstimated->Caption(), "00:04");
    EXPECT_EQ(window->suiProgressBar2->Position(), 0);
    EXPECT_TRUE(rt::FileExists(out + "first.mpg"));
    EXPECT_FALSE(rt::FileExists(out + "second.mpg"));
    EXPECT_TRUE(rt::FileExists(out + "third.mpg"));
    EXPECT_FALSE(ConvertProcess->Running);
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(ConvertWindowTest, EndsThatFindTheQueueFullStillMoveTheBatchOn) {
    // Each file's end is refused twice before the queue takes it.
    int attempts = 0;
    queue.Full = [&] { return ++attempts % 3 != 0; };
    auto window = Window({{"one.avi", kConverts}, {"two.avi", kConverts}, {"three.avi", kConverts}});
    Run(*window);
    EXPECT_EQ(queue.Refused, 6);
    EXPECT_EQ(window->FileIndex, 3);
    EXPECT_EQ(window->FailedFiles, "");
    EXPECT_TRUE(rt::FileExists(out + "three.mpg"));
}

TEST_F(ConvertWindowTest, DeclinedOverwriteFailsThatFileAndTheBatchGoesOn) {
    wintest::WriteTextFile(out + "two.mpg", "old");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDNO; });
    auto window = Window({{"one.avi", kConverts}, {"two.avi", kConverts}, {"three.avi", kConverts}});
    Run(*window);
    EXPECT_EQ(watcher.Seen(), (std::vector<std::string>{out + "two.mpg has existed,overite it?"}));
    EXPECT_EQ(window->FailedFiles, "two.avi, ");
    EXPECT_EQ(wintest::ReadTextFile(out + "two.mpg"), "old");
    EXPECT_TRUE(rt::FileExists(out + "three.mpg"));
}

TEST_F(ConvertWindowTest, OutputInUseIsReportedAndListed) {
    wintest::WriteTextFile(out + "one.mpg", "old");
    rt::UniqueHandle held(CreateFileA((out + "one.mpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    wintest::DialogWatcher watcher([](HWND, const std::string& text) {
        return text.find("overite") != std::string::npos ? IDYES : IDOK;
    });
    auto window = Window({{"one.avi", kConverts}, {"two.avi", kConverts}});
    Run(*window);
    EXPECT_EQ(watcher.Seen(), (std::vector<std::string>{out + "one.mpg has existed,overite it?",
                                                        out + "one.mpg may be used, convert process failed!"}));
    EXPECT_EQ(window->FailedFiles, "one.avi, ");
    EXPECT_TRUE(rt::FileExists(out + "two.mpg"));
}

TEST_F(ConvertWindowTest, AnEncoderThatCannotBeStartedFailsEveryFileAndClosesTheWindow) {
    auto window = Window({{"one.avi", kConverts}, {"two.avi", kConverts}, {"three.avi", kConverts}});
    window->EncoderPath = folder + "missing.exe";
    EXPECT_EQ(Run(*window), rt::mrCancel);
    EXPECT_EQ(wintest::ShownErrors(), (std::vector<std::string>{"Error while creating convert process!2."}));
    EXPECT_EQ(window->FailedFiles, "one.avi, two.avi, three.avi, ");
    ASSERT_EQ(window->Failures.size(), 3u);
    for (const engine::FailedFile& f : window->Failures)
        EXPECT_EQ(f.Reason, "the encoder could not be started (code 2)") << f.Name;
    EXPECT_FALSE(rt::FileExists(out + "one.mpg"));
    EXPECT_FALSE(ConvertProcess->Running);
}

TEST_F(ConvertWindowTest, AStartErrorLaterInTheBatchFailsThatFileAndTheRest) {
    // The first file converts; then the encoder is gone.
    const std::string encoder = folder + "vanishing.exe";
    ASSERT_TRUE(CopyFileA(TestEncoder().c_str(), encoder.c_str(), FALSE));
    auto window = Window({{"one.avi", kConverts + "sleep 300\n"}, {"two.avi", kConverts}, {"three.avi", kConverts}});
    window->EncoderPath = encoder;
    When([&] { return ConvertProcess->ProcessInformation.dwProcessId != 0; },
         [&] {
             // Moved away while it runs, so the next start finds nothing.
             MoveFileA(encoder.c_str(), (folder + "moved.exe").c_str());
         });
    EXPECT_EQ(Run(*window), rt::mrCancel);
    EXPECT_EQ(wintest::ShownErrors(), (std::vector<std::string>{"Error while creating convert process!2."}));
    EXPECT_EQ(window->FailedFiles, "two.avi, three.avi, ");
    EXPECT_TRUE(rt::FileExists(out + "one.mpg"));
}

TEST_F(ConvertWindowTest, StopDuringTheSecondOfThreeEndsTheBatch) {
    const std::string ran = folder + "ran3.txt";
    auto window = Window({{"one.avi", kConverts}, {"two.avi", "hang\n"}, {"three.avi", "cmdline " + ran + "\n"}});
    DWORD pid = 0;
    When([&] { return window->Caption() == "Marbex Free Video Converter (2/3)"; },
         [&] {
             pid = ConvertProcess->ProcessInformation.dwProcessId;
             window->bStop->Click();
         });
    EXPECT_EQ(Run(*window), rt::mrAbort);
    ASSERT_NE(pid, 0u);
    EXPECT_TRUE(ProcessEnded(pid, 3000));
    wintest::PumpFor(300);
    EXPECT_EQ(window->FailedFiles, "");
    EXPECT_TRUE(rt::FileExists(out + "one.mpg"));
    EXPECT_FALSE(rt::FileExists(ran));
    EXPECT_FALSE(ConvertProcess->Running);
}

TEST_F(ConvertWindowTest, TheCloseBoxActsLikeStop) {
    auto window = Window({{"one.avi", "hang\n"}});
    DWORD pid = 0;
    int position = -1;
    std::string elapsed, estimated;
    When([&] { return ConvertProcess->ProcessInformation.dwProcessId != 0; },
         [&] {
             pid = ConvertProcess->ProcessInformation.dwProcessId;
             auto* note = new TProcessInfo{37, "00:12", "00:32", 0};
             PostMessageA(window->Handle(), WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(note));
             After(200, [&] {
                 position = window->suiProgressBar2->Position();
                 elapsed = window->lTimeElapsed->Caption();
                 estimated = window->lTimeEstimated->Caption();
                 PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
             });
         });
    EXPECT_EQ(Run(*window), rt::mrCancel);
    EXPECT_EQ(position, 37);
    EXPECT_EQ(elapsed, "00:12");
    EXPECT_EQ(estimated, "00:32");
    ASSERT_NE(pid, 0u);
    EXPECT_TRUE(ProcessEnded(pid, 3000));
    EXPECT_EQ(window->FailedFiles, "");
    EXPECT_FALSE(ConvertProcess->Running);
}

TEST_F(ConvertWindowTest, NotificationsStillQueuedAtStopStartNothing) {
    const std::string ran = folder + "ran2.txt";
    auto window = Window({{"one.avi", "hang\n"}, {"two.avi", "cmdline " + ran + "\n"}});
    When([&] { return ConvertProcess->ProcessInformation.dwProcessId != 0; },
         [&] {
             // An end notification already on its way when Stop is pressed.
             PostMessageA(window->Handle(), WM_CONVERTPROGRESS, 0,
                          reinterpret_cast<LPARAM>(new TProcessInfo{kEndOfFilePercent, "", "", 0}));
             window->bStop->Click();
         });
    EXPECT_EQ(Run(*window), rt::mrAbort);
    wintest::PumpFor(500);
    EXPECT_EQ(window->FailedFiles, "");
    EXPECT_EQ(window->FileIndex, 0);
    EXPECT_FALSE(rt::FileExists(ran));
    EXPECT_FALSE(ConvertProcess->Running);
}

}  // namespace
