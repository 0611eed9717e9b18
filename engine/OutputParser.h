#pragma once
// Reads the encoder's console text for the input's duration ("duration:")
// and the current position ("time="), and turns each position into a
// progress note. No Windows API here: the process runner owns one parser,
// feeds it every chunk it reads from either pipe and posts what comes back.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace engine {

struct ProgressNote {
    int32_t Percent = 0;    // 1 to 100
    std::string Elapsed;    // minutes ":" seconds, e.g. "03:07" or "125:40"
    std::string Estimated;  // estimated total time of the file, same form
};

class OutputParser {
public:
    // The clock returns the current local date-time as fractional days; only
    // differences of it are used, so any epoch will do.
    explicit OutputParser(std::function<double()> clock);

    // Each chunk stands alone: a line cut by a chunk boundary is read as two
    // fragments, the way the program has always read it.
    std::vector<ProgressNote> Parse(const char* bytes, size_t count);

    // A new file: no duration known, no progress seen. StartTime stays; it
    // only ever moves when a duration line is read.
    void Reset();

    int64_t Duration = 0;       // whole seconds; 0 while no duration was read
    double StartTime = 0;       // when the last duration line was read
    bool ProgressSeen = false;  // a "time=" line was seen for this file

private:
    std::function<double()> clock_;
};

}  // namespace engine
