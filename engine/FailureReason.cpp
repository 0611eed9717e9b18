#include "engine/FailureReason.h"

#include <cstdio>
#include <string_view>

namespace engine {

namespace {

constexpr size_t MaxCauseBytes = 160;
constexpr size_t MaxReasonLines = 10;
constexpr uint32_t FirstExceptionStatus = 0xC0000000u;
// Today's encoder ends with its own negative error number ("-22" for an
// invalid argument), which reads as 0xFFFFFFEA: an exit code, not a crash.
constexpr uint32_t FirstNegativeExitCode = 0xFFFF0000u;

bool IsExceptionStatus(uint32_t code) {
    return code >= FirstExceptionStatus && code < FirstNegativeExitCode;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The encoder names the part that speaks in front of its message:
// "[libx264 @ 0x55d0c8] Error setting option b to value abc." and, nested,
// "[mp4 @ 0x1] [Eval @ 0x2] Undefined constant". The address means nothing
// to a person, so every such tag goes.
std::string_view WithoutTags(std::string_view line) {
    for (;;) {
        line = TrimBlanks(line);
        if (line.empty() || line.front() != '[') return line;
        const size_t close = line.find(']');
        if (close == std::string_view::npos) return line;
        if (line.substr(0, close).find(" @ ") == std::string_view::npos) return line;
        line.remove_prefix(close + 1);
    }
}

// Progress lines: "frame=  25 fps=... time=00:00:01.00 ..." for video,
// "size=    12kB time=..." for audio.
bool IsProgress(std::string_view line) {
    return line.find("time=") != std::string_view::npos || StartsWith(line, "frame=") ||
           StartsWith(line, "size=");
}

// Lines that are never the cause: the closers the encoder prints after the
// line that says what went wrong, and what it prints on every run (banner,
// stream listings, the key help, the final size summary).
bool IsNoise(std::string_view line) {
    static constexpr std::string_view Closers[] = {
        "Conversion failed!",
        "Exiting normally, received signal",
        "Received > 3 system signals, hard exiting.",
        "Error splitting the argument list",
        "Error initializing output stream",  // "... - maybe incorrect parameters such as ..."
        "Error while opening encoder for output stream",
        "Error opening output file",         // "... out.avi." and "...s: Encoder not found"
        "Error opening input file",
        "Error opening input files",
        "Terminating thread with return code",
        "Press [q] to stop",
        "Stream mapping:",
        "Input #",
        "Output #",
        "ffmpeg version",
        "video:",
        // Today's encoder closes its threads one by one after the cause.
        "Task finished with error code",
        "Error sending frames to consumers",
        "Could not open encoder before EOF",
        "Nothing was written into output file",
        "Error while filtering",
        "Error applying encoder options",  // ": Invalid argument", after the option it refused
        "Error applying decoder options",
        "Error selecting an encoder",      // after "Unknown encoder 'x'"
        "Error closing file",
        // What encoders print as they close, whatever went wrong before:
        // the x264 statistics and the audio encoders' averages.
        "frame I:", "frame P:", "frame B:", "consecutive B-frames:", "mb I ", "mb P ", "mb B ",
        "8x8 transform", "coded y,", "i16 v,h,dc,p:", "i8 v,h,dc,", "i4 v,h,dc,", "i8c dc,h,v,p:",
        "Weighted P-Frames:", "ref P L0:", "ref B L0:", "ref B L1:", "kb/s:", "final ratefactor:",
        "direct mvs", "Qavg:",
    };
    for (std::string_view closer : Closers)
        if (StartsWith(line, closer)) return true;
    // An audio encoder's clean-up notice: "3 frames left in the queue on closing".
    constexpr std::string_view LeftInQueue = " frames left in the queue on closing";
    if (line.size() > LeftInQueue.size() && line.substr(line.size() - LeftInQueue.size()) == LeftInQueue) return true;
    return false;
}

// At most `limit` bytes, never ending inside a UTF-8 sequence; a line that
// had to be cut ends in "..." (within the limit), so a person sees it was.
std::string CutUtf8(std::string_view s, size_t limit) {
    if (s.size() <= limit) return std::string(s);
    constexpr std::string_view Ellipsis = "...";
    size_t end = limit - Ellipsis.size();
    // A continuation byte at the cut means the character started before it.
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return std::string(TrimBlanks(s.substr(0, end))) + std::string(Ellipsis);
}

std::string Replace(std::string text, std::string_view what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

}  // namespace

OutputTail::OutputTail(size_t capacity) : capacity_(capacity) {}

void OutputTail::Append(const char* bytes, size_t count) {
    if (capacity_ == 0) return;
    if (count >= capacity_) {
        ring_.assign(bytes + (count - capacity_), capacity_);
        next_ = 0;
        return;
    }
    while (count > 0 && ring_.size() < capacity_) {
        ring_ += *bytes++;
        --count;
    }
    for (; count > 0; --count) {
        ring_[next_] = *bytes++;
        next_ = (next_ + 1) % capacity_;
    }
}

std::string OutputTail::Text() const {
    if (ring_.size() < capacity_) return ring_;
    return ring_.substr(next_) + ring_.substr(0, next_);
}

void OutputTail::Clear() {
    ring_.clear();
    next_ = 0;
}

std::string EncoderCause(const std::string& output) {
    // Walk back from the end, one line at a time.
    std::string_view rest(output);
    while (!rest.empty()) {
        const size_t lineEnd = rest.find_last_not_of("\r\n");
        if (lineEnd == std::string_view::npos) break;
        rest = rest.substr(0, lineEnd + 1);
        const size_t brk = rest.find_last_of("\r\n");
        const size_t lineStart = brk == std::string_view::npos ? 0 : brk + 1;
        const std::string_view raw = rest.substr(lineStart);
        rest = rest.substr(0, lineStart);

        // Indented lines are the banner, stream and metadata listings.
        if (raw.empty() || IsBlank(raw.front())) continue;
        const std::string_view line = WithoutTags(raw);
        if (line.empty() || IsProgress(line) || IsNoise(line)) continue;
        return CutUtf8(line, MaxCauseBytes);
    }
    return {};
}

FileVerdict JudgeRun(const FinishedRun& run) {
    FileVerdict verdict;
    verdict.Code = run.ExitCode;
    // An output with nothing encoded still holds its container's header.
    constexpr std::string_view NothingEncoded = "Output file is empty, nothing was encoded";
    const bool nothingEncoded = run.StdErrTail.find(NothingEncoded) != std::string::npos ||
                                run.StdOutTail.find(NothingEncoded) != std::string::npos;
    if (run.ExitCode == 0 && run.ProgressSeen && run.OutputIsNonEmptyFile && !nothingEncoded) {
        verdict.Code = 0;
        return verdict;
    }
    if (IsExceptionStatus(run.ExitCode)) {
        verdict.Kind = FailureKind::Crashed;
        return verdict;
    }
    verdict.Cause = EncoderCause(run.StdErrTail);
    if (verdict.Cause.empty()) verdict.Cause = EncoderCause(run.StdOutTail);
    if (!verdict.Cause.empty()) {
        verdict.Kind = FailureKind::EncoderSaid;
        return verdict;
    }
    if (run.ExitCode != 0)
        verdict.Kind = FailureKind::ExitCode;
    else if (!run.ProgressSeen)
        verdict.Kind = FailureKind::NoProgress;
    else
        verdict.Kind = FailureKind::EmptyOutput;
    return verdict;
}

std::string ReasonText(const FileVerdict& verdict,
                       const std::function<std::string(FailureKind)>& textFor) {
    switch (verdict.Kind) {
    case FailureKind::Converted:
        return {};
    case FailureKind::EncoderSaid:
        return verdict.Cause;
    case FailureKind::StartFailed:
        return Replace(textFor(verdict.Kind), "%1", std::to_string(verdict.Code));
    case FailureKind::ExitCode:
        return Replace(textFor(verdict.Kind), "%1",
                       verdict.Code >= FirstNegativeExitCode ? std::to_string(static_cast<int32_t>(verdict.Code))
                                                             : std::to_string(verdict.Code));
    case FailureKind::Crashed: {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(verdict.Code));
        return Replace(textFor(verdict.Kind), "%1", hex);
    }
    default:
        return textFor(verdict.Kind);
    }
}

std::string FailureSummary(const std::vector<FailedFile>& files, const std::string& conversionFailed) {
    if (files.empty()) return {};
    std::string text;
    bool anyReason = false;
    for (const FailedFile& file : files) {
        text += file.Name + ", ";
        anyReason = anyReason || !file.Reason.empty();
    }
    text += conversionFailed;
    if (!anyReason) return text;

    text += "\r\n";
    const size_t listed = files.size() < MaxReasonLines ? files.size() : MaxReasonLines;
    for (size_t i = 0; i < listed; ++i) text += "\r\n" + files[i].Name + ": " + files[i].Reason;
    if (files.size() > listed) text += "\r\nand " + std::to_string(files.size() - listed) + " more";
    return text;
}

}  // namespace engine
