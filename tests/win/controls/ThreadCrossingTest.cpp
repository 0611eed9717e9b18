// Steps a worker thread runs on the user-interface thread: where they run,
// and how an error they raise travels back to the worker.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "runtime/Thread.h"
#include "runtime/ThreadCrossing.h"
#include "tests/win/common/WinTest.h"

namespace {

// What the worker saw.
struct Seen {
    std::atomic<DWORD> workerThread{0};
    std::atomic<DWORD> stepThread{0};
    std::string error;
    std::atomic<bool> done{false};
};

class Worker : public rt::Thread {
public:
    explicit Worker(std::shared_ptr<Seen> seen) : seen_(std::move(seen)) {}

protected:
    void Execute() override {
        seen_->workerThread = GetCurrentThreadId();
        Synchronize([this] { seen_->stepThread = GetCurrentThreadId(); });
        try {
            Synchronize([] { throw rt::Error("Step failed"); });
        } catch (const rt::Error& e) {
            seen_->error = e.what();
        }
        seen_->done = true;
    }

private:
    std::shared_ptr<Seen> seen_;
};

TEST(ThreadCrossing, AWorkersStepRunsOnTheUserInterfaceThreadAndItsErrorComesBack) {
    ASSERT_NE(rt::ThreadCrossing::Current(), nullptr) << "the application makes the crossing";
    auto seen = std::make_shared<Seen>();
    Worker worker(seen);
    worker.Start();
    const bool done = wintest::PumpUntil([&] { return seen->done.load(); }, 10000);
    worker.WaitFor();
    ASSERT_TRUE(done);
    EXPECT_NE(seen->workerThread.load(), GetCurrentThreadId());
    EXPECT_EQ(seen->stepThread.load(), GetCurrentThreadId());
    EXPECT_EQ(seen->error, "Step failed");
}

TEST(ThreadCrossing, AStepFromTheUserInterfaceThreadRunsAtOnce) {
    rt::ThreadCrossing* crossing = rt::ThreadCrossing::Current();
    ASSERT_NE(crossing, nullptr);
    DWORD ranOn = 0;
    crossing->Run([&] { ranOn = GetCurrentThreadId(); });
    EXPECT_EQ(ranOn, GetCurrentThreadId());
    EXPECT_THROW(crossing->Run([] { throw rt::Error("x"); }), rt::Error);
}

}  // namespace
