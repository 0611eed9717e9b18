#pragma once
// Shared by the engine tests: scripts for the test encoder, a window that
// collects the notifications the engine posts, the one main window the
// progress window reads its output folder from, and a guard that ends a
// modal loop that would otherwise never end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/ConvertThread.h"
#include "runtime/Forms.h"
#include "tests/win/common/WinTest.h"

namespace enginetest {

// The scripted stand-in encoder beside the test program.
std::string TestEncoder();

// A fresh folder for one test, ending in "\\".
std::string Folder(const std::string& name);

// Writes a test-encoder script to folder + name and returns its path.
std::string Script(const std::string& folder, const std::string& name, const std::string& lines);

// Script lines printing on standard error what the real encoder prints
// there: the input's duration line (CR LF) and a progress line (a lone CR).
std::string DurationLine(const std::string& hms);   // "00:01:40.00"
std::string ProgressLine(const std::string& time);  // "00:00:50.00" or "50.00"

// A hidden window that keeps a copy of every notification posted to it and
// frees it, as the progress window does.
class NoteSink {
public:
    NoteSink();
    ~NoteSink();
    NoteSink(const NoteSink&) = delete;
    NoteSink& operator=(const NoteSink&) = delete;

    HWND Handle() const { return handle_; }
    const std::vector<TProcessInfo>& Notes() const { return notes_; }
    bool Ended() const;              // an end notification arrived
    std::vector<int> Percents() const;  // of the progress notifications, in order
    const TProcessInfo& End() const;    // the first end notification

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND handle_ = nullptr;
    std::vector<TProcessInfo> notes_;
};

// Wine's queues take any number of posted messages, where Windows refuses a
// post to a queue that already holds 10,000. A FullQueue, given to a
// process as its way of posting, refuses end notifications the way a full
// queue does while Full says so (never, until a test sets it), and posts
// everything else.
struct FullQueue {
    std::function<bool()> Full = [] { return false; };
    int Refused = 0;  // end notifications refused so far

    TConvertProcess::Poster Poster() {
        return [this](HWND window, UINT msg, WPARAM wp, LPARAM lp) -> BOOL {
            if (reinterpret_cast<const TProcessInfo*>(lp)->Percent == kEndOfFilePercent && Full()) {
                ++Refused;
                SetLastError(ERROR_NOT_ENOUGH_QUOTA);
                return FALSE;
            }
            return PostMessageA(window, msg, wp, lp);
        };
    }
};

// Pumps until the sink has its end notification.
bool WaitForEnd(const NoteSink& sink, int timeoutMs = 10000);

// A clock that moves only when the test moves it, in the days the process
// reads.
struct FakeClock {
    double Now = 1.0;
    void Advance(double seconds) { Now += seconds / 86400.0; }
    TConvertProcess::Clock Clock() {
        return [this] { return Now; };
    }
};

// Without handling any message: true once a thread waits for this one to
// run a step for it (a sent message is pending).
bool WaitForQueuedStep(int timeoutMs = 5000);

// Without handling any message: true once the file exists (a script made it).
bool WaitForFile(const std::string& path, int timeoutMs = 10000);

// The main window, made once for the whole test program (it also makes the
// one ConvertProcess). Each call sets its output choice.
void UseMainWindow(bool sameAsInput, const std::string& outputFolder);

// Ends the modal loop of `form` if it still runs after `ms`: a test that
// fails must not hang the program.
class ModalGuard {
public:
    ModalGuard(rt::Form& form, int ms);
    ~ModalGuard();
    ModalGuard(const ModalGuard&) = delete;
    ModalGuard& operator=(const ModalGuard&) = delete;
    bool Fired() const { return fired_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    rt::Form& form_;
    UINT_PTR timer_;
    bool fired_ = false;
};

// Runs fn once from a timer of this thread after `ms`; timers are served by
// every message loop, modal ones included.
void After(int ms, std::function<void()> fn);

// True once the process with this id has ended (or never existed).
bool ProcessEnded(DWORD pid, int timeoutMs);

// Threads of this process right now.
int ThreadCount();

// Processes of this Wine session whose program file is called `exeName`.
using wintest::ProcessesNamed;

// A test that runs the scripted encoder through one runner of its own, in a
// fresh folder named after the test, its notes collected by `sink`.
class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        wintest::ShownErrors().clear();
    }
    void TearDown() override { process.Stop(0); }

    void Begin(const std::string& input, const std::string& output, const std::string& arguments = "-f mpeg ") {
        process.InputFile = input;
        process.OutputFile = output;
        process.NotifyWindow = sink.Handle();
        process.Arguments = arguments;
        process.EncoderPath = TestEncoder();
        process.Running = true;
        process.Start();
    }
    // The script runs as the input "in.avi"; the output is "out.mpg".
    void Begin(const std::string& script) { Begin(Script(folder, "in.avi", script), folder + "out.mpg"); }

    std::string folder;
    NoteSink sink;
    FullQueue queue;
    TConvertProcess process{nullptr, queue.Poster()};
};

}  // namespace enginetest
