// engine_bench.exe [runs] [lines]: figures for the conversion engine, with
// the encoder beside the program (ffmpeg.exe) and no person at the keys.
//
//  (a) A generated 30-second clip converted with a catalogue profile, once
//      through the progress window (the real ConvertProcess, its worker and
//      the message loop) and once as the same encoder command run directly,
//      alternating, `runs` times each: the median of the engine / direct
//      ratios of wall time.
//  (b) The delay from the stand-in encoder writing a progress line to the
//      progress window handling its notification, over `lines` lines:
//      median and worst.
//  (c) The CPU time this process itself spends while conversions run.
//  (d) How fast the engine reads an encoder that prints a lot: 100 MB of
//      lines from the stand-in encoder, through the progress window and as
//      the same command run directly.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/AppTitle.h"
#include "engine/CommandLine.h"
#include "engine/ConvertHint.h"
#include "profiles/Catalogue.h"
#include "runtime/Strings.h"

namespace {

constexpr char kProfile[] = "MPEG-1 (*.mpg)";

long long Ticks() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double TicksPerSecond() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
}

double WallSeconds() { return static_cast<double>(Ticks()) / TicksPerSecond(); }

// User plus kernel time of this process.
double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs a command hidden, with standard input an empty pipe and its output
// read by two plain blocking readers and dropped: the same pipes as the
// engine's, without its polling, parsing and window. (Output sent to the NUL
// device instead costs the encoder more under Wine than the engine does.)
// False when it could not start or failed.
bool RunDirect(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE ends[6] = {};
    for (int i = 0; i < 3; ++i)
        if (!CreatePipe(&ends[2 * i], &ends[2 * i + 1], &sa, 0)) return false;
    rt::UniqueHandle inRead(ends[0]), inWrite(ends[1]), outRead(ends[2]), outWrite(ends[3]), errRead(ends[4]),
        errWrite(ends[5]);
    for (HANDLE own : {inWrite.Get(), outRead.Get(), errRead.Get()}) SetHandleInformation(own, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = inRead.Get();
    si.hStdOutput = outWrite.Get();
    si.hStdError = errWrite.Get();
    PROCESS_INFORMATION pi{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si,
                        &pi))
        return false;
    rt::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    // Only the child holds the write ends now, so the readers see the end.
    outWrite.Reset();
    errWrite.Reset();
    const auto drain = [](HANDLE pipe) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        }
    };
    std::thread outReader(drain, outRead.Get()), errReader(drain, errRead.Get());
    WaitForSingleObject(process.Get(), INFINITE);
    outReader.join();
    errReader.join();
    DWORD code = 1;
    GetExitCodeProcess(process.Get(), &code);
    return code == 0;
}

// The progress window, noting when each progress notification reaches it.
class TimedConvertWindow : public TfrmConvert {
public:
    using TfrmConvert::TfrmConvert;
    std::vector<long long> Handled;

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_CONVERTPROGRESS && reinterpret_cast<TProcessInfo*>(lp)->Percent != kEndOfFilePercent)
            Handled.push_back(Ticks());
        return TfrmConvert::WndProc(msg, wp, lp);
    }
};

struct WindowRun {
    double wall = 0;
    double cpu = 0;
    std::string failed;
    std::vector<long long> handled;
};

WindowRun ConvertThroughWindow(const std::string& input, const std::string& outputFolder,
                               const std::string& extension, const std::string& arguments,
                               const std::string& encoder) {
    TimedConvertWindow window(nullptr, {input}, *ConvertProcess, false, outputFolder, kProgramTitle);
    window.OutputExt = extension;
    window.Arguments = arguments;
    window.EncoderPath = encoder;
    WindowRun run;
    const double wall = WallSeconds(), cpu = CpuSeconds();
    window.ShowModal();
    run.wall = WallSeconds() - wall;
    run.cpu = CpuSeconds() - cpu;
    run.failed = window.FailedFiles;
    run.handled = std::move(window.Handled);
    return run;
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "engine_bench: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int lines = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;

    rt::TApplication app;
    app.Title = kProgramTitle;
    const std::string home = rt::ExecutableFolder();
    if (!rt::FileExists(home + "ffmpeg.exe")) return Fail("ffmpeg.exe must be beside the benchmark");
    const std::string work = home + "bench_work\\";
    CreateDirectoryA(work.c_str(), nullptr);

    const std::string clip = work + "clip30.avi";
    DeleteFileA(clip.c_str());
    if (!RunDirect("ffmpeg -v error -y -f lavfi -i testsrc=duration=30:size=640x360:rate=25 -f lavfi -i "
                   "sine=frequency=440:duration=30:sample_rate=44100 -shortest -c:v mpeg4 -q:v 4 -c:a pcm_s16le \"" +
                   clip + "\""))
        return Fail("the clip could not be made");

    TConvertProcess process;
    ConvertProcess = &process;

    // (a) and (c)
    const std::string arguments = profiles::GetProfileArguments(kProfile);
    const std::string extension = profiles::GetProfileExtension(kProfile);
    const std::string output = engine::MakeOutputPath(false, work, clip, extension);
    const std::string direct = engine::BuildEncoderCommandLine("", false, clip, arguments, output);
    std::vector<double> engineTimes, directTimes, ratios, cpuShares;
    double cpuTotal = 0;
    // Which of the two goes first alternates too, so neither always finds
    // the clip freshly read.
    const auto engineRun = [&](double& wall, double& cpu) {
        DeleteFileA(output.c_str());
        const WindowRun run = ConvertThroughWindow(clip, work, extension, arguments, "");
        wall = run.wall;
        cpu = run.cpu;
        return run.failed.empty() && rt::FileExists(output);
    };
    const auto directRun = [&](double& wall) {
        DeleteFileA(output.c_str());
        const double start = WallSeconds();
        const bool ok = RunDirect(direct);
        wall = WallSeconds() - start;
        return ok && rt::FileExists(output);
    };
    for (int i = 0; i < runs; ++i) {
        double engineTime = 0, engineCpu = 0, directTime = 0;
        const bool ok = i % 2 ? directRun(directTime) && engineRun(engineTime, engineCpu)
                              : engineRun(engineTime, engineCpu) && directRun(directTime);
        if (!ok) return Fail("a conversion of the clip failed");
        engineTimes.push_back(engineTime);
        directTimes.push_back(directTime);
        ratios.push_back(engineTime / directTime);
        cpuShares.push_back(engineCpu / engineTime);
        cpuTotal += engineCpu;
    }
    std::printf("(a) %s, 30 s clip 640x360, %d runs each, alternating\n", kProfile, runs);
    std::printf("    engine median %.3f s, direct median %.3f s, median ratio engine/direct %.3f\n",
                Median(engineTimes), Median(directTimes), Median(ratios));
    std::printf("(c) program CPU during an engine run: median %.1f %% of wall, %.0f ms per run on average\n",
                Median(cpuShares) * 100, cpuTotal * 1000 / runs);

    // (b)
    const std::string settings = work + "stamps.avi";
    {
        FILE* f = std::fopen(settings.c_str(), "wb");
        if (!f) return Fail("cannot write " + settings);
        std::fprintf(f, "%d 15\n", lines);
        std::fclose(f);
    }
    const std::string stampsFile = engine::MakeOutputPath(false, work, settings, ".txt");
    DeleteFileA(stampsFile.c_str());
    const WindowRun timed = ConvertThroughWindow(settings, work, ".txt", "", home + "stampencoder.exe");
    std::vector<long long> written;
    double frequency = 0;
    if (FILE* f = std::fopen(stampsFile.c_str(), "rb")) {
        long long value = 0;
        if (std::fscanf(f, "%lld", &value) == 1) frequency = static_cast<double>(value);
        while (std::fscanf(f, "%lld", &value) == 1) written.push_back(value);
        std::fclose(f);
    }
    if (frequency <= 0 || written.size() != timed.handled.size())
        return Fail("stand-in wrote " + std::to_string(written.size()) + " lines, the window handled " +
                    std::to_string(timed.handled.size()));
    std::vector<double> delays;
    for (size_t i = 0; i < written.size(); ++i)
        delays.push_back(static_cast<double>(timed.handled[i] - written[i]) * 1000 / frequency);
    std::printf("(b) line written -> progress window handles it, %zu lines 15 ms apart: median %.1f ms, worst %.1f ms\n",
                delays.size(), Median(delays), *std::max_element(delays.begin(), delays.end()));
    std::printf("(c) program CPU during that run: %.1f %% of %.2f s wall\n", timed.cpu / timed.wall * 100, timed.wall);

    // (d)
    constexpr int kFloodMegabytes = 100;
    const std::string floodSettings = work + "flood.avi";
    if (FILE* f = std::fopen(floodSettings.c_str(), "wb")) {
        std::fprintf(f, "flood %d\n", kFloodMegabytes);
        std::fclose(f);
    } else {
        return Fail("cannot write " + floodSettings);
    }
    const std::string floodOutput = engine::MakeOutputPath(false, work, floodSettings, ".txt");
    DeleteFileA(floodOutput.c_str());
    const WindowRun flood = ConvertThroughWindow(floodSettings, work, ".txt", "", home + "stampencoder.exe");
    if (!flood.failed.empty() || flood.handled.size() != 1) return Fail("the flood run failed");
    DeleteFileA(floodOutput.c_str());
    const double directStart = WallSeconds();
    if (!RunDirect(engine::BuildEncoderCommandLine(home + "stampencoder.exe", false, floodSettings, "", floodOutput)))
        return Fail("the flood could not be run directly");
    const double directFlood = WallSeconds() - directStart;
    std::printf("(d) %d MB of encoder output: engine %.2f s (%.0f MB/s), direct %.2f s (%.0f MB/s)\n",
                kFloodMegabytes, flood.wall, kFloodMegabytes / flood.wall, directFlood, kFloodMegabytes / directFlood);
    return 0;
}
