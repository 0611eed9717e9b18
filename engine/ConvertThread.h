#pragma once
// The encoder child process, the worker thread that watches it, and the
// progress notification.
//
// How the two threads share the work:
// - The process object owns its worker (TConvertThread) for the worker's
//   whole life: it asks it to stop and waits for its end (serving sent
//   messages meanwhile, so a step the worker is waiting for still runs and
//   cannot deadlock) before it starts the next file, on Stop and when it is
//   destroyed. A step that the worker runs on the user-interface thread may
//   end the worker's watch but never waits for it.
// - The worker only peeks at the child's two output pipes and waits up to
//   100 ms on the child's process handle. It does so on copies of those
//   handles that it took when it was made and closes when it ends, so
//   closing the originals (Stop, the end of a file) can never leave it
//   peeking at a handle value that the platform has since given to the pipe
//   of the next file.
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
//   the receiver frees them. A progress note whose post fails is dropped;
//   an end notification is posted again from a timer until it is taken, its
//   window is gone, or the file is stopped, so a batch never waits for an
//   end that was lost.
// - Every encoder runs in a job object of its own that kills everything in
//   it when it is closed (rt::ChildProcess): Stop, a failed start, the end
//   of a run and the end of this program (however it ends) take the
//   encoder's own children too.
// - Before an encoder's first file, Start asks it for its version, with no
//   worker and within a time limit, keeping the window alive meanwhile.
// - An output that existed (confirmed for overwriting) is set aside under a
//   hidden name until its replacement is complete (engine::OutputGuard).
// - An error inside a step of the worker ends the file as failed, and the
//   batch goes on.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/EncoderDialect.h"
#include "engine/FailureReason.h"
#include "engine/OutputGuard.h"
#include "engine/OutputParser.h"
#include "runtime/ChildProcess.h"
#include "runtime/Thread.h"
#include "runtime/Win.h"

// wParam 0, lParam a TProcessInfo that the receiver frees.
constexpr UINT WM_CONVERTPROGRESS = 0x1702;

// The Percent of an end notification; progress has 1 to 100.
constexpr int32_t kEndOfFilePercent = 1000;

// Percent 1 to 100 for progress, kEndOfFilePercent for the end of a file.
class TProcessInfo {
public:
    int32_t Percent = 0;
    // Progress: minutes ":" seconds since the duration was read. End: "some"
    // for a converted file, empty for a failed one.
    std::string Elapsed;
    std::string Estimated;  // progress only: the file's estimated total time
    int32_t Status = 0;     // 2 when the output file was in use
    // End of a failed file: why, as one short line ("" when not known).
    std::string Reason;
};

class TConvertThread;

class TConvertProcess {
public:
    // The current local date-time as fractional days; only differences of it are used.
    using Clock = std::function<double()>;
    using Poster = std::function<BOOL(HWND, UINT, WPARAM, LPARAM)>;

    // A null clock is a steady one (GetTickCount64); a null poster is
    // PostMessageA, which fails when the receiver's queue is full (on
    // Windows at 10,000 waiting messages).
    explicit TConvertProcess(Clock clock = nullptr, Poster poster = nullptr);
    ~TConvertProcess();
    TConvertProcess(const TConvertProcess&) = delete;
    TConvertProcess& operator=(const TConvertProcess&) = delete;

    rt::UniqueHandle StdInRead;    // the child's standard input; closed on our side once it runs
    rt::UniqueHandle StdInWrite;
    rt::UniqueHandle StdOutRead;
    rt::UniqueHandle StdOutWrite;  // the child's standard output
    rt::UniqueHandle StdErrRead;
    rt::UniqueHandle StdErrWrite;  // the child's standard error
    uint32_t BytesAvailable = 0;   // what the worker's last peek found; the next read's size
    rt::ChildProcess ProcessInformation;      // all zero while no child is held
    std::unique_ptr<TConvertThread> Thread;   // the current worker, until it has ended
    double StartTime = 0;          // days on a steady clock when the last duration line was read
    int64_t Duration = 0;          // whole seconds; 0 while no duration was read
    bool ProgressSeen = false;     // a "time=" line was seen for the current file
    HWND NotifyWindow = nullptr;
    std::string InputFile;
    std::string OutputFile;
    bool Running = false;          // set by the progress window before each Start; only Stop clears it
    std::string Arguments;         // as the catalogue or the manual line has them; adapted to the encoder
    std::string EncoderPath;       // empty: "ffmpeg", found beside the program
    // The system error code of the last error raised (by Start, or a read).
    uint32_t ErrorCode = 0;
    // How every notification is posted.
    const Poster PostNotification;

    // Returns once an end notification is posted (the output is the input
    // or a folder, overwrite declined, output in use), once the child and
    // its worker run, or at once when Stop was called while Start waited
    // (for the question or the version). Pipe or process creation errors
    // are raised to the caller.
    void Start();
    // Kills the child and everything it started; posts nothing.
    void Stop(UINT exitCode);
    // Run for the worker on the user-interface thread.
    void ProcessFinished();
    void ReadStdOut();
    void ReadStdErr();

    // The line of a failed file for a verdict, in the program's own words
    // (or the encoder's).
    static std::string ReasonFor(const engine::FileVerdict& verdict);

private:
    friend class TConvertThread;
    void CreatePipes();
    void ClosePipes();
    // Asks the worker to stop and waits for it to end.
    void EndWorker();
    // Asks the worker to stop without waiting (from a step it waits for).
    void ReleaseWorker();
    // The whole encoder command line: the one place where the arguments go
    // in, in the dialect of the encoder (which may be asked for its version
    // here, before its first file).
    std::string EncoderCommandLine(bool overwrite);
    // The encoder's own version answer, asked while this process waits for
    // Start (a Stop meanwhile ends it).
    std::optional<std::string> AskVersion(const std::string& encoderPath) const;
    void CreateChild(const std::string& commandLine);
    // Ends the current file after an error in a step of its worker.
    void WorkerFailed(uint32_t code);
    void ReadPipe(const rt::UniqueHandle& pipe, engine::OutputTail& tail, int stream, UINT errorText);
    void PostNotes(const std::vector<engine::ProgressNote>& notes);
    void PostFinished(int32_t status, bool converted, const std::string& reason = std::string());
    void Fail(engine::FailureKind kind, int32_t status = 0);
    void Post(std::unique_ptr<TProcessInfo> info);
    // Posts the held end notification again until it is taken.
    void RetryEndNotification();
    // Forgets an end notification still waiting for its retry: a stopped
    // file has none, and the next file must not get this one's.
    void DropUnsentEnd();
    // The timer's id is the process object it retries for.
    static void CALLBACK RetryTimer(HWND, UINT, UINT_PTR id, DWORD);
    // The message textId followed by the last-error code.
    [[noreturn]] void RaiseError(UINT textId);

    engine::OutputParser parser_;
    engine::OutputTail stdOutTail_;
    engine::OutputTail stdErrTail_;
    std::unique_ptr<TProcessInfo> unsentEnd_;  // an end notification whose post failed
    HWND retryWindow_ = nullptr;  // whose timer retries it (the receiver's own)
    engine::OutputGuard output_;
    bool inWorkerStep_ = false; // a step of the worker runs right now
};

extern TConvertProcess* ConvertProcess;

class TConvertThread : public rt::Thread {
public:
    // Runs at once. The handles are copied now, on the user-interface
    // thread, while they certainly belong to this process's child.
    explicit TConvertThread(TConvertProcess* process);
    // Only once Execute has ended (TConvertProcess waits for that).
    ~TConvertThread() override;

    TConvertProcess* Process;  // not owned

protected:
    void Execute() override;

private:
    // One pass over both pipes, stdout first; true when either had data.
    bool Poll();
    bool PeekAndRead(const rt::UniqueHandle& pipe, void (TConvertProcess::*read)(), UINT readError);
    // Runs step on the user-interface thread, marked as a step of the worker.
    void RunStep(const std::function<void()>& step);
    // Only on the user-interface thread.
    bool Current() const;

    rt::UniqueHandle stdOut_;
    rt::UniqueHandle stdErr_;
    rt::UniqueHandle process_;
};
