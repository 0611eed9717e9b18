#pragma once
// Why a file failed: the encoder's own last words kept in a small ring, the
// verdict on a finished run, the reason line for each failed file and the
// summary shown after a batch. No Windows API here.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace engine {

// The last bytes the encoder printed on one pipe for the current file: a bounded ring.
class OutputTail {
public:
    explicit OutputTail(size_t capacity = 4096);
    void Append(const char* bytes, size_t count);
    std::string Text() const;  // oldest byte first, at most capacity bytes
    void Clear();

private:
    std::string ring_;    // grows to capacity_, then wraps
    size_t capacity_;
    size_t next_ = 0;     // where the next byte goes once the ring is full
};

// The encoder's own cause of a failure: the last line of `output` (lines end
// at CR or LF) that is not a progress line, not blank and not one of the
// encoder's generic closing lines, with the "[component @ address]" tags the
// encoder puts in front taken off, trimmed of blanks and, when longer than
// 160 bytes, cut on a UTF-8 character boundary and ended with "..." within
// those 160. Empty when there is none.
std::string EncoderCause(const std::string& output);

enum class FailureKind {
    Converted,  // not a failure
    OutputIsInput, OutputIsFolder, OverwriteDeclined, OutputInUse, StartFailed,  // the program's own
    Crashed,      // exit code 0xC0000000 up to (not with) 0xFFFF0000
    EncoderSaid,  // Cause holds the encoder's own line
    ExitCode,     // non-zero exit, no cause printed
    NoProgress,   // exit 0, no progress line seen, no cause printed
    EmptyOutput,  // exit 0, progress seen, output missing, a folder or empty, no cause printed
};

struct FileVerdict {
    FailureKind Kind = FailureKind::Converted;
    uint32_t Code = 0;   // exit code, exception status or system error code
    std::string Cause;   // EncoderSaid only
};

struct FinishedRun {
    uint32_t ExitCode = 0;
    bool ProgressSeen = false;
    bool OutputIsNonEmptyFile = false;
    std::string StdErrTail;  // OutputTail::Text() of standard error
    std::string StdOutTail;  // and of standard output
};

// Converted only when the exit code is 0, progress was seen, the output is a
// non-empty file and the encoder did not say that it encoded nothing (it
// still writes a container header then). Otherwise, in this order: Crashed,
// EncoderSaid (the cause on standard error, else on standard output),
// ExitCode, NoProgress, EmptyOutput.
FileVerdict JudgeRun(const FinishedRun& run);

// The reason line for one failed file. `textFor` gives the program's own text
// for a kind (EncoderSaid excepted: its text is Cause itself); "%1" in it is
// replaced by the code: in decimal for StartFailed and ExitCode, as "0x" and
// 8 upper-case hex digits for Crashed. Empty for Converted.
std::string ReasonText(const FileVerdict& verdict,
                       const std::function<std::string(FailureKind)>& textFor);

struct FailedFile {
    std::string Name;    // the input's file name, no folder
    std::string Reason;  // may be empty when unknown
};

// The box text after a batch: every name followed by ", ", then
// conversionFailed. When at least one reason is known: a blank line, then
// "Name: Reason" for the first 10 failed files in batch order and, when more
// failed, "and N more"; lines end with CR LF, the last one with nothing.
// Empty when `files` is empty.
std::string FailureSummary(const std::vector<FailedFile>& files, const std::string& conversionFailed);

}  // namespace engine
