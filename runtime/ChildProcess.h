#pragma once
// A console child run hidden with pipes for its standard handles: its pipes,
// its start (inside a job that ends everything in it), waiting for it and
// ending it, and a whole run whose output is captured.
#include <functional>
#include <optional>
#include <string>

#include "runtime/Win.h"

namespace rt {

// Runs start (a process start that leaves its error as the last error)
// until it succeeds, up to `tries` times while it fails with
// ERROR_INTERNAL_ERROR: under Wine a new process now and then dies before
// it has started (about one start in 5,000: its heap was laid where the
// shared user data must go), and the next one is laid out anew. Any other
// error is final at once. The last error is the last try's.
bool StartWithRetries(const std::function<bool()>& start, int tries);

enum class PipeStep { Create, Duplicate };

// An anonymous pipe whose child's end (the read end when childReads, else
// the write end) is inheritable and whose own end is not: a child holding
// the write end of its own standard input would never see its end. The
// child's end is duplicated into its own field, inheritable, the original
// closed. False with the last error set and `failed` naming the step; what
// was made is then held by read and write.
bool CreateChildPipe(UniqueHandle& read, UniqueHandle& write, bool childReads, DWORD bufferBytes,
                     PipeStep& failed);

// A child process as process creation fills it in, and the job it runs in.
// Its handles are closed once, by the owner; closing the job ends the child
// and whatever it started.
class ChildProcess : public PROCESS_INFORMATION {
public:
    ChildProcess() : PROCESS_INFORMATION{} {}
    ~ChildProcess() { End(0); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts commandLine hidden with the given standard handles (which must
    // be inheritable), normal priority, the environment and folder of this
    // program. applicationName empty: none is given, and the platform
    // searches for the line's first word. The child starts suspended and
    // runs only once it is in a job of its own, so nothing it starts can
    // escape the job; where no job can be had (a program that itself runs
    // in a job that allows no other), it runs without one. False with the
    // last error set when it cannot be started; nothing is held then.
    bool Start(const std::string& applicationName, const std::string& commandLine, HANDLE stdIn, HANDLE stdOut,
               HANDLE stdErr);
    // Ends the child and everything in its job with exitCode (nothing when
    // no child is held), waits up to waitMs until the child has let go of
    // what it held, closes the handles and zeroes every field.
    void End(UINT exitCode, DWORD waitMs = 0);
    // Waits up to ms for the child's end: true once it has ended.
    bool WaitFor(DWORD ms) const;
    // The child's exit code; `fallback` when it cannot be read.
    DWORD ExitCode(DWORD fallback) const;

private:
    UniqueHandle job_;
};

// The full path of `fileName` ("ffmpeg.exe") in the folder of this program,
// else in the first folder of the PATH variable that holds it. Only full
// paths of PATH count: never the current folder. Empty when none has it.
std::string FindProgram(const std::string& fileName);

// Runs commandLine as ChildProcess::Start does (applicationName empty: the
// platform searches) and returns everything it writes to standard output
// and error until it ends. No value when it cannot be started or is still
// running after timeoutMs or once keepWaiting (when given) says no (it is
// ended then). Messages are handled while it waits, so the windows stay
// alive.
std::optional<std::string> CaptureOutput(const std::string& applicationName, const std::string& commandLine,
                                         DWORD timeoutMs, const std::function<bool()>& keepWaiting = nullptr);

}  // namespace rt
