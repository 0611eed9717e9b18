#pragma once
// The encoder child process, the worker thread that watches it, and the
// progress notification.
//
// How the two threads share the work:
// - The worker (TConvertThread) only peeks at the child's two output pipes
//   and waits up to 100 ms on the child's process handle. It does so on
//   copies of those handles that it took when it was made and closes when
//   it ends, so closing the originals (Stop, the end of a file) can never
//   leave it peeking at a handle value that the platform has since given to
//   the pipe of the next file.
// - Whenever a pipe holds data or the child has ended, the worker has the
//   read or the end handled on the user-interface thread (a sent message,
//   served inside modal loops and message boxes too) and waits for it. Every
//   read, parse, post and end runs there, so no lock is needed.
// - A step scheduled by a worker that is no longer the current one (it was
//   asked to terminate, or another worker has replaced it) touches nothing:
//   its read fails like a read on a cleared handle, and the error ends that
//   worker without a message. The byte count a read uses is set inside the
//   scheduled step, so an old worker can never change the size of a new
//   worker's read.
// - Notifications travel to the progress window only as posted messages;
//   the receiver frees them, and a post that fails frees its payload here.
// - Before an encoder's first file, Start asks it for its version on the
//   user-interface thread, with no worker and within a time limit.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/Thread.h"
#include "runtime/Win.h"

// wParam 0, lParam a TProcessInfo that the receiver frees.
constexpr UINT WM_CONVERTPROGRESS = 0x1702;

// Percent 1 to 100 for progress, 1000 for the end of a file.
class TProcessInfo {
public:
    int32_t Percent = 0;
    // Progress: minutes ":" seconds since the duration was read. End: "some"
    // for a converted file, empty for a failed one.
    std::string Elapsed;
    std::string Estimated;  // progress only: the file's estimated total time
    int32_t Status = 0;     // 2 when the output file was in use
};

class TConvertThread;

class TConvertProcess {
public:
    TConvertProcess() = default;
    ~TConvertProcess();
    TConvertProcess(const TConvertProcess&) = delete;
    TConvertProcess& operator=(const TConvertProcess&) = delete;

    rt::UniqueHandle StdInRead;    // the child's standard input; never written
    rt::UniqueHandle StdInWrite;
    rt::UniqueHandle StdOutRead;
    rt::UniqueHandle StdOutWrite;  // the child's standard output
    rt::UniqueHandle StdErrRead;
    rt::UniqueHandle StdErrWrite;  // the child's standard error
    uint32_t BytesAvailable = 0;   // what the worker's last peek found; the next read's size
    PROCESS_INFORMATION ProcessInformation{};  // all zero while no child is held
    TConvertThread* Thread = nullptr;          // the current worker; it frees itself
    double StartTime = 0;          // local date-time in days when the last duration line was read
    int64_t Duration = 0;          // whole seconds; 0 while no duration was read
    bool ProgressSeen = false;     // a "time=" line was seen for the current file
    HWND NotifyWindow = nullptr;
    std::string InputFile;
    std::string OutputFile;
    bool Running = false;          // set by the progress window before each Start; only Stop clears it
    std::string Arguments;         // as the catalogue or the manual line has them; adapted to the encoder
    std::string EncoderPath;       // empty: "ffmpeg", found beside the program

    // Returns once an end notification is posted (overwrite declined, output
    // in use or the output is the input), or once the child and its worker
    // run. Pipe or process creation errors are raised to the caller.
    void Start();
    // Kills the child; posts nothing.
    void Stop(UINT exitCode);
    // Run for the worker on the user-interface thread.
    void ProcessFinished();
    void ReadStdOut();
    void ReadStdErr();

    // Runs commandLine as a conversion's child is run (hidden, same pipes)
    // and returns everything it writes to standard output and error until
    // it ends. One still running after timeoutMs is killed and has said
    // nothing. No value when it cannot be started. Blocks the calling thread.
    static std::optional<std::string> CaptureOutput(const std::string& commandLine, DWORD timeoutMs);

private:
    void CreatePipes();
    void ClosePipes();
    void CloseChild();
    void DropThread();
    // The whole encoder command line: the one place where the arguments go
    // in, in the dialect of the encoder (which may be asked for its version
    // here, before its first file).
    std::string EncoderCommandLine(bool overwrite) const;
    // After a failed run: removes the output if this run created it and left
    // it empty.
    void RemoveEmptyOutput() const;
    void CreateChild(const std::string& commandLine);
    void ReadPipe(const rt::UniqueHandle& pipe, UINT errorText);
    void ParseOutput(const char* bytes, uint32_t count);
    void PostFinished(int32_t status, bool converted);
    void Post(std::unique_ptr<TProcessInfo> info);
    // The message textId followed by the last-error code.
    [[noreturn]] static void RaiseError(UINT textId);

    bool outputIsNew_ = false;  // OutputFile did not exist when the current child was started
};

extern TConvertProcess* ConvertProcess;

class TConvertThread : public rt::Thread {
public:
    // Runs at once. The handles are copied now, on the user-interface
    // thread, while they certainly belong to this process's child.
    explicit TConvertThread(TConvertProcess* process);

    TConvertProcess* Process;  // not owned

protected:
    void Execute() override;

private:
    // One pass over both pipes, stdout first; true when either had data.
    bool Poll();
    bool PeekAndRead(const rt::UniqueHandle& pipe, void (TConvertProcess::*read)(), UINT readError);
    // Only on the user-interface thread.
    bool Current() const;

    rt::UniqueHandle stdOut_;
    rt::UniqueHandle stdErr_;
    rt::UniqueHandle process_;
};
