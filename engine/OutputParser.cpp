#include "engine/OutputParser.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "engine/CommandLine.h"
#include "runtime/Strings.h"

namespace engine {

namespace {

constexpr long long ToEnd = 0x7FFFFFFF;

// Blanks and a sign are fine; anything else, the hexadecimal marks the shared
// reader would accept included, reads as 0.
int32_t IntegerValue(const std::string& s) {
    if (s.find_first_of("$xX") != std::string::npos) return 0;
    return text::StrToIntDef(s, 0);
}

// Every break (CR LF, a lone CR, a lone LF) ends a line, so a progress line
// that the encoder rewrites in place with a bare CR is a line of its own.
std::vector<std::string> SplitLines(const std::string& s) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The encoder prints the position as plain seconds ("41.50") or, like every
// recent one, as hours, minutes and seconds ("00:00:41.50"); before the
// first frame it may print a negative one ("-00:00:00.05"), whose sign sits
// on the hours alone. More than three fields is no time at all.
int64_t PositionValue(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    const bool negative = first != std::string::npos && s[first] == '-';
    int64_t position = 0;
    size_t start = 0;
    for (int field = 0; field < 3; ++field) {
        const size_t colon = s.find(':', start);
        int64_t value = IntegerValue(s.substr(start, colon - start));
        if (field == 0 && negative) value = -value;
        position = position * 60 + value;
        if (colon == std::string::npos) return negative ? -position : position;
        start = colon + 1;
    }
    return 0;
}

}  // namespace

OutputParser::OutputParser(std::function<double()> clock) : clock_(std::move(clock)) {}

void OutputParser::Reset() {
    Duration = 0;
    ProgressSeen = false;
    for (Carried& c : carried_) c = Carried{};
}

std::vector<ProgressNote> OutputParser::Parse(const char* bytes, size_t count, int stream) {
    Carried& carried = carried_[stream == 1 ? 1 : 0];
    const void* zero = std::memchr(bytes, 0, count);
    if (zero) count = static_cast<size_t>(static_cast<const char*>(zero) - bytes);
    std::string_view chunk(bytes, count);

    if (carried.Discarding) {
        const size_t end = chunk.find_first_of("\r\n");
        if (end == std::string_view::npos) return {};
        carried.Discarding = false;
        chunk.remove_prefix(end);
    }

    // Whole lines are parsed now; what follows the last line end waits.
    std::string text;
    const size_t lastBreak = chunk.find_last_of("\r\n");
    if (lastBreak != std::string_view::npos) {
        text = std::move(carried.Line);
        text.append(chunk.substr(0, lastBreak + 1));
        carried.Line.clear();
        chunk.remove_prefix(lastBreak + 1);
    }
    carried.Line.append(chunk);
    if (carried.Line.size() > MaxCarried) {
        carried.Line = std::string();
        carried.Discarding = true;
    }
    return ParseLines(text);
}

std::vector<ProgressNote> OutputParser::Finish() {
    std::vector<ProgressNote> notes;
    for (Carried& carried : carried_) {
        const std::string text = std::move(carried.Line);
        carried = Carried{};
        for (ProgressNote& note : ParseLines(text)) notes.push_back(std::move(note));
    }
    return notes;
}

std::vector<ProgressNote> OutputParser::ParseLines(const std::string& text) {
    std::vector<ProgressNote> notes;
    if (text.empty()) return notes;

    // Kept from line to line among the lines one read completes: a duration
    // line without a separator reuses what an earlier line gave, and so does
    // a "time=" line without a ".".
    int32_t hours = 0, minutes = 0, seconds = 0;
    int64_t position = 0;

    for (const std::string& line : SplitLines(text)) {
        if (text::Trim(line).empty()) continue;
        const std::string lower = text::LowerAZ(line);

        const long long d = text::Pos("duration:", lower);
        if (d > 0) {
            std::string rest = text::Trim(text::Copy(line, d + 9, ToEnd));
            long long p = text::Pos(":", rest);
            if (p > 0) {
                hours = IntegerValue(text::Copy(rest, p - 2, 2));
                rest = text::Copy(rest, p + 1, ToEnd);
            }
            p = text::Pos(":", rest);
            if (p > 0) {
                minutes = IntegerValue(text::Copy(rest, p - 2, 2));
                rest = text::Copy(rest, p + 1, ToEnd);
            }
            p = text::Pos(".", rest);
            if (p > 0) seconds = IntegerValue(text::Copy(rest, p - 2, 2));
            // Formed in 32 bits, as it always was; fields of two characters
            // cannot overflow it.
            Duration = hours * 3600 + minutes * 60 + seconds;
            StartTime = clock_();
        }

        const long long t = text::Pos("time=", lower);
        if (t == 0) continue;
        ProgressSeen = true;
        const std::string rest = text::Copy(line, t + 5, ToEnd);
        const long long p = text::Pos(".", rest);
        if (p > 0) position = PositionValue(text::Copy(rest, 1, p - 1));
        if (position <= 0 || Duration <= 0) continue;
        const int64_t percent = position * 100 / Duration;
        if (percent < 1 || percent > 100) continue;

        ProgressNote note;
        note.Percent = static_cast<int32_t>(percent);
        const int64_t elapsed = RoundHalfEven((clock_() - StartTime) * 86400.0);
        note.Elapsed = MinutesSeconds(elapsed);
        note.Estimated = MinutesSeconds(RoundHalfEven(static_cast<double>(elapsed) * 100.0 / percent));
        notes.push_back(std::move(note));
    }
    return notes;
}

}  // namespace engine
