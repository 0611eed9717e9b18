#pragma once
// Reads the encoder's console text for the input's duration ("duration:")
// and the current position ("time="), and turns each position into a
// progress note. No Windows API here: the process runner keeps one parser for
// a whole file, feeds it every chunk it reads from either pipe and posts what
// comes back.
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

    // The encoder writes a line in pieces, so each stream (0 standard output,
    // 1 standard error) carries its unfinished last line over to the next
    // chunk: a line is parsed once, whole, when its CR or LF arrives. A
    // carried line that grows past MaxCarried bytes is dropped up to its end.
    std::vector<ProgressNote> Parse(const char* bytes, size_t count, int stream = 0);

    // The encoder has ended: what is still carried on either stream is parsed
    // as the last line of that stream, then dropped.
    std::vector<ProgressNote> Finish();

    // A new file: no duration known, no progress seen, nothing carried.
    // StartTime stays; it only ever moves when a duration line is read.
    void Reset();

    static constexpr size_t MaxCarried = 64 * 1024;

    int64_t Duration = 0;       // whole seconds; 0 while no duration was read
    double StartTime = 0;       // when the last duration line was read
    bool ProgressSeen = false;  // a "time=" line was seen for this file

private:
    struct Carried {
        std::string Line;         // the unfinished last line
        bool Discarding = false;  // skipping to the end of an overlong line
    };

    std::vector<ProgressNote> ParseLines(const std::string& text);

    std::function<double()> clock_;
    Carried carried_[2];
};

}  // namespace engine
