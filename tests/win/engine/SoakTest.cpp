// A thousand files through one runner, mixing converted, failed and
// stopped ones: what the program holds (handles, threads, private memory)
// must not grow with the number of files. Long: it runs only when
// MFVC_SOAK is set (the "soak" CTest entry sets it).
#include <gtest/gtest.h>

#include "runtime/Win.h"  // before the process-status header, which needs its types
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "engine/ConvertThread.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

// Handles of this process counted one by one: every value the platform
// knows as a handle, up to 16,384 of them (GetProcessHandleCount says 0
// under Wine 8).
DWORD HandlesInUse() {
    DWORD count = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

struct Footprint {
    DWORD handles = 0;         // as the platform counts them (Wine 8 says 0)
    DWORD handlesInUse = 0;    // as counted one by one
    int threads = 0;
    SIZE_T privateBytes = 0;   // committed private memory
};

Footprint Measure() {
    Footprint f;
    GetProcessHandleCount(GetCurrentProcess(), &f.handles);
    f.handlesInUse = HandlesInUse();
    f.threads = ThreadCount();
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    // Wine 8 leaves PrivateUsage at 0; its page-file usage is the same charge.
    f.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return f;
}

void Print(int file, const Footprint& f) {
    std::printf("  file %4d: %lu handles (%lu counted), %d threads, %zu private bytes\n", file, f.handles,
                f.handlesInUse, f.threads, static_cast<size_t>(f.privateBytes));
}

TEST(Soak, AThousandFilesLeaveNoTrace) {
    if (!std::getenv("MFVC_SOAK")) GTEST_SKIP() << "set MFVC_SOAK to run the soak";
    const std::string folder = Folder("soak");
    const std::string converts = Script(folder, "converts.avi", DurationLine("00:00:10.00") +
                                                                     ProgressLine("00:00:05.00") + "create\n");
    const std::string fails = Script(folder, "fails.avi", "err Invalid data found when processing input\\r\\n\nexit 1\n");
    const std::string hangs = Script(folder, "hangs.avi", DurationLine("00:00:10.00") + "hang\n");

    TConvertProcess process;
    Footprint at100;
    int converted = 0, failed = 0, stopped = 0;
    for (int file = 1; file <= 1000; ++file) {
        NoteSink sink;
        const int kind = file % 3;
        process.InputFile = kind == 0 ? converts : kind == 1 ? fails : hangs;
        process.OutputFile = folder + "out" + std::to_string(file % 7) + ".mpg";
        DeleteFileA(process.OutputFile.c_str());
        process.NotifyWindow = sink.Handle();
        process.Arguments = "-f mpeg ";
        process.EncoderPath = TestEncoder();
        process.Running = true;
        try {
            process.Start();
        } catch (const std::exception& e) {
            const Footprint now = Measure();
            FAIL() << "file " << file << ": " << e.what() << " (" << now.threads << " threads, "
                   << ProcessesNamed("testencoder.exe") << " encoders running)";
        }
        if (kind == 2) {
            // Stop once the encoder has said something, then go on.
            ASSERT_TRUE(wintest::PumpUntil([&] { return process.Duration != 0; }, 10000)) << "file " << file;
            process.Stop(0);
            ++stopped;
        } else {
            ASSERT_TRUE(WaitForEnd(sink)) << "file " << file;
            (sink.End().Elapsed == "some" ? converted : failed) += 1;
        }
        if (file == 100) at100 = Measure();
    }
    wintest::PumpFor(200);
    const Footprint at1000 = Measure();
    Print(100, at100);
    Print(1000, at1000);
    EXPECT_EQ(converted, 333);
    EXPECT_EQ(failed, 334);
    EXPECT_EQ(stopped, 333);
    // A handle or a thread per file would add 900; a few may come and go
    // with the platform's own caches.
    EXPECT_LE(at1000.handles, at100.handles + 10);
    EXPECT_LE(at1000.handlesInUse, at100.handlesInUse + 10);
    EXPECT_LE(at1000.threads, at100.threads + 1);
    // 2 MB: the heap grows in steps; a leak of a few kilobytes per file (a
    // pipe buffer, a parser) would go past it.
    EXPECT_LE(at1000.privateBytes, at100.privateBytes + 2 * 1024 * 1024);
}

}  // namespace
