// stampencoder.exe: a stand-in encoder for the latency figure of the engine
// benchmark. Started like the real one,
//
//     "...\stampencoder.exe" -i "SETTINGS" <arguments> "OUTPUT"
//
// it reads "count interval_ms" from SETTINGS, prints a duration line of
// 100 seconds and then `count` progress lines on standard error, each
// `interval_ms` after the previous one, with positions 1, 2, ... 100, 1, ...
// seconds (so each line is worth one notification of that percent). Just
// before each write it takes the time from the performance counter, which
// every process of the machine shares; at the end it writes the counter's
// frequency and then one time per line, as decimal numbers on lines of
// their own, to OUTPUT.
//
// With "flood MB" in SETTINGS it prints that many megabytes of lines that
// are no progress instead, as fast as it can, and one progress line at the
// end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

void WriteErr(const std::string& s) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::string(argv[1]) != "-i") return 97;
    int count = 0, interval = 0;
    std::string first;
    {
        std::ifstream settings(argv[2]);
        if (!(settings >> first)) return 97;
        // "flood <MB>": that many megabytes of 100-byte lines that are no
        // progress, in writes of 10,000 bytes, then one progress line.
        if (first == "flood") {
            if (!(settings >> count)) return 97;
            WriteErr("  Duration: 00:01:40.00, start: 0.000000, bitrate: 1205 kb/s\r\n");
            std::string block;
            for (int i = 0; i < 100; ++i) block += std::string(98, 'x') + "\r\n";
            for (long long i = 0; i < count * 100LL; ++i) WriteErr(block);
            WriteErr("frame=    1 fps=25 q=2.0 size=  100kB time=00:00:50.00 bitrate= 1.0kbits/s\r");
            std::ofstream out(argv[argc - 1], std::ios::binary);
            out << "flood\n";
            return out ? 0 : 98;
        }
        count = std::atoi(first.c_str());
        if (!(settings >> interval)) return 97;
    }
    const std::string output = argv[argc - 1];

    WriteErr("  Duration: 00:01:40.00, start: 0.000000, bitrate: 1205 kb/s\r\n");
    std::vector<long long> stamps;
    stamps.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        char line[128];
        const int seconds = k % 100 + 1;
        std::snprintf(line, sizeof line, "frame=%5d fps=25 q=2.0 size=  100kB time=00:%02d:%02d.00 bitrate= 1.0kbits/s\r",
                      k + 1, seconds / 60, seconds % 60);
        stamps.push_back(Now());
        WriteErr(line);
        Sleep(static_cast<DWORD>(interval));
    }

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::ofstream out(output, std::ios::binary);
    out << frequency.QuadPart << "\n";
    for (long long s : stamps) out << s << "\n";
    return out ? 0 : 98;
}
