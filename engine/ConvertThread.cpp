#include "engine/ConvertThread.h"

#include <vector>

#include "engine/CommandLine.h"
#include "engine/EncoderDialect.h"
#include "engine/Global.h"
#include "resources/StringIds.h"
#include "runtime/Forms.h"

TConvertProcess* ConvertProcess = nullptr;

namespace {

// Long enough for a slow first start of the encoder; an encoder that hangs
// on the question must not hold the user interface for ever.
constexpr DWORD kVersionTimeoutMs = 10000;

// The process object whose Start asks the version right now: a Stop while
// the question runs ends the question too.
const TConvertProcess* asking = nullptr;

// One verdict per encoder path for the whole run of the program.
engine::EncoderDialects& Dialects() {
    static engine::EncoderDialects dialects([](const std::string& encoderPath) {
        return TConvertProcess::CaptureOutput(engine::EncoderVersionCommandLine(encoderPath), kVersionTimeoutMs,
                                              [] { return !asking || asking->Running; });
    });
    return dialects;
}

// Days on a clock that only moves forward: a change of the wall clock or of
// daylight-saving time mid-file must not garble the times shown. Only
// differences of it are used.
double SteadyNow() { return static_cast<double>(GetTickCount64()) / 86400000.0; }

// What each output pipe holds before the encoder's writes wait for us.
constexpr DWORD kOutputPipeBytes = 1 << 20;

// How often a start that failed inside the platform is tried in all.
constexpr int kStartTries = 3;

// An end notification that could not be posted, retried this often.
constexpr UINT kRetryMs = 50;

// The one process object whose end notification waits for a retry.
TConvertProcess* retrying = nullptr;

// What the encoder left at the output: true for a file with something in it.
bool IsNonEmptyFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

UINT ReasonTextId(engine::FailureKind kind) {
    switch (kind) {
        case engine::FailureKind::OutputIsInput: return IDS_REASON_OUTPUT_IS_INPUT;
        case engine::FailureKind::OutputIsFolder: return IDS_REASON_OUTPUT_IS_FOLDER;
        case engine::FailureKind::OverwriteDeclined: return IDS_REASON_OVERWRITE_DECLINED;
        case engine::FailureKind::OutputInUse: return IDS_REASON_OUTPUT_IN_USE;
        case engine::FailureKind::StartFailed: return IDS_REASON_START_FAILED;
        case engine::FailureKind::Crashed: return IDS_REASON_CRASHED;
        case engine::FailureKind::ExitCode: return IDS_REASON_EXIT_CODE;
        case engine::FailureKind::NoProgress: return IDS_REASON_NO_PROGRESS;
        case engine::FailureKind::EmptyOutput: return IDS_REASON_EMPTY_OUTPUT;
        default: return 0;
    }
}

rt::UniqueHandle DuplicateForWorker(HANDLE h) {
    HANDLE copy = nullptr;
    const HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, h, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) return rt::UniqueHandle();
    return rt::UniqueHandle(copy);
}

}  // namespace

// ---- TConvertProcess ----

TConvertProcess::TConvertProcess() : parser_(SteadyNow) {}

TConvertProcess::~TConvertProcess() {
    EndWorker();
    EndChild(0);
    ClosePipes();
    DropUnsentEnd();
}

void TConvertProcess::RaiseError(UINT textId) {
    const DWORD code = GetLastError();
    ErrorCode = code;
    const std::string text = rt::ResString(textId);
    SetLastError(code);
    rt::RaiseLastError(text);
}

std::string TConvertProcess::ReasonFor(const engine::FileVerdict& verdict) {
    return engine::ReasonText(verdict, [](engine::FailureKind kind) {
        const UINT id = ReasonTextId(kind);
        return id ? rt::ResString(id) : std::string();
    });
}

void TConvertProcess::EndWorker() {
    if (!Thread) return;
    Thread->Terminate();
    // From inside one of its own steps the worker cannot end yet; the next
    // Start, Stop or the destructor waits for it.
    if (inWorkerStep_) return;
    Thread->WaitFor();
    Thread.reset();
}

void TConvertProcess::ReleaseWorker() {
    if (Thread) Thread->Terminate();
}

void TConvertProcess::EndChild(UINT exitCode) {
    // Closing the job would end its processes as well; ending them first
    // makes it certain before the handles go.
    if (job_) TerminateJobObject(job_.Get(), exitCode);
    else if (ProcessInformation.hProcess) TerminateProcess(ProcessInformation.hProcess, exitCode);
    job_.Reset();
    ProcessInformation.Reset();
}

void TConvertProcess::Fail(engine::FailureKind kind, int32_t status) {
    engine::FileVerdict verdict;
    verdict.Kind = kind;
    PostFinished(status, false, ReasonFor(verdict));
}

void TConvertProcess::Start() {
    EndWorker();
    DropUnsentEnd();
    ProgressSeen = false;
    ErrorCode = 0;
    parser_.Reset();
    stdOutTail_.Clear();
    stdErrTail_.Clear();

    // Writing over its own input would destroy the input before the encoder
    // has read it; such a file fails at once, without a question.
    if (SameFile(InputFile, OutputFile)) {
        Fail(engine::FailureKind::OutputIsInput);
        return;
    }
    // Given a folder, the encoder would ask on its own whether to overwrite.
    if (rt::DirectoryExists(OutputFile)) {
        Fail(engine::FailureKind::OutputIsFolder);
        return;
    }

    bool overwrite = false;
    if (rt::FileExists(OutputFile)) {
        const std::string title = rt::Application ? rt::Application->Title : std::string();
        const int answer =
            rt::Application->MessageBox(OutputFile + rt::ResString(IDS_OVERWRITE), title, MB_YESNO | MB_ICONINFORMATION);
        // Stopped (or the program closed) while the question showed.
        if (!Running) return;
        if (answer != IDYES) {
            Fail(engine::FailureKind::OverwriteDeclined);
            return;
        }
        if (IsFileInUse(OutputFile)) {
            Fail(engine::FailureKind::OutputInUse, 2);
            return;
        }
        overwrite = true;
    }

    // The encoder may be asked for its version first; that child must not
    // inherit this file's pipes, so the line is made before them.
    const std::string commandLine = EncoderCommandLine(overwrite);
    if (!Running) return;
    CreatePipes();
    Duration = 0;
    // Past the question, an output that existed is one confirmed for overwriting.
    outputIsNew_ = !overwrite;
    try {
        CreateChild(commandLine);
        // Nothing is ever written to the child: with our end closed, an
        // encoder that reads an answer gets end-of-file instead of waiting.
        StdInWrite.Reset();
        Thread = std::make_unique<TConvertThread>(this);
    } catch (...) {
        // A child without a worker would run unwatched.
        if (!ErrorCode) ErrorCode = GetLastError();
        Thread.reset();
        EndChild(0);
        ClosePipes();
        throw;
    }
}

std::string TConvertProcess::EncoderCommandLine(bool overwrite) const {
    asking = this;
    std::string arguments;
    try {
        arguments = Dialects().Arguments(EncoderPath, Arguments, OutputFile);
    } catch (...) {
        asking = nullptr;
        throw;
    }
    asking = nullptr;
    return engine::BuildEncoderCommandLine(EncoderPath, overwrite, InputFile, arguments, OutputFile);
}

std::optional<std::string> TConvertProcess::CaptureOutput(const std::string& commandLine, DWORD timeoutMs,
                                                          const std::function<bool()>& keepWaiting) {
    TConvertProcess child;
    try {
        child.CreatePipes();
        child.CreateChild(commandLine);
    } catch (const rt::Error&) {
        return std::nullopt;
    }
    std::string output;
    // Exactly what each peek found, so no read blocks; true when either pipe had data.
    const auto readAvailable = [&] {
        bool found = false;
        for (const rt::UniqueHandle* pipe : {&child.StdOutRead, &child.StdErrRead}) {
            DWORD available = 0;
            if (!PeekNamedPipe(pipe->Get(), nullptr, 0, nullptr, &available, nullptr) || available == 0) continue;
            std::vector<char> buffer(available);
            DWORD got = 0;
            if (!ReadFile(pipe->Get(), buffer.data(), available, &got, nullptr)) continue;
            output.append(buffer.data(), got);
            found = true;
        }
        return found;
    };
    const HANDLE process = child.ProcessInformation.hProcess;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    // The windows are served meanwhile: they repaint, and Stop or a close
    // can be pressed (the caller looks at Running afterwards).
    for (;;) {
        const DWORD waited = MsgWaitForMultipleObjects(1, &process, FALSE, readAvailable() ? 0 : 10, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) break;
        if (waited == WAIT_OBJECT_0 + 1 && rt::Application) rt::Application->ProcessMessages();
        if (GetTickCount64() >= deadline || (keepWaiting && !keepWaiting())) {
            // No answer is no verdict: the next file asks again.
            child.EndChild(1);
            return std::nullopt;
        }
    }
    // What it printed last is still in the pipes.
    while (readAvailable()) {
    }
    return output;
}

void TConvertProcess::CreatePipes() {
    // Our own ends are not inheritable: a child holding the write end of its
    // own standard input would never see its end. The child's end is
    // duplicated into its own field, inheritable, the original closed.
    //
    // The two output pipes hold a megabyte each. The worker rests 100 ms
    // whenever it finds both empty; with the default few kilobytes an encoder
    // that prints a lot (a warning for every frame of a damaged input) would
    // wait on its full pipe for most of each rest, and convert at the pace
    // of our polls. Standard input carries nothing and keeps the default.
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
    const auto makePipe = [this, &sa](rt::UniqueHandle& read, rt::UniqueHandle& write, bool childReads,
                                UINT createError, UINT duplicateError) {
        HANDLE r = nullptr, w = nullptr;
        if (!CreatePipe(&r, &w, &sa, childReads ? 0 : kOutputPipeBytes)) RaiseError(createError);
        read.Reset(r);
        write.Reset(w);
        rt::UniqueHandle& childEnd = childReads ? read : write;
        const HANDLE self = GetCurrentProcess();
        HANDLE copy = nullptr;
        // The source is closed by the call whether it succeeds or not.
        if (!DuplicateHandle(self, childEnd.Release(), self, &copy, 0, TRUE,
                             DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS))
            RaiseError(duplicateError);
        childEnd.Reset(copy);
    };
    makePipe(StdInRead, StdInWrite, true, IDS_STDIN_CREATE, IDS_STDIN_DUPLICATE);
    makePipe(StdOutRead, StdOutWrite, false, IDS_STDOUT_CREATE, IDS_STDOUT_DUPLICATE);
    makePipe(StdErrRead, StdErrWrite, false, IDS_STDERR_CREATE, IDS_STDERR_DUPLICATE);
}

void TConvertProcess::ClosePipes() {
    StdInRead.Reset();
    StdInWrite.Reset();
    StdOutRead.Reset();
    StdOutWrite.Reset();
    StdErrRead.Reset();
    StdErrWrite.Reset();
}

void TConvertProcess::CreateChild(const std::string& commandLine) {
    // The record's own size (68 bytes in a 32-bit build).
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = StdInRead.Get();
    si.hStdOutput = StdOutWrite.Get();
    si.hStdError = StdErrWrite.Get();
    // With the bare name "ffmpeg" no application is named, so the search
    // finds ffmpeg.exe beside the program first.
    const auto start = [&](DWORD flags) {
        return engine::StartWithRetries(
            [&] {
                // The platform may write into the command line.
                std::vector<char> line(commandLine.begin(), commandLine.end());
                line.push_back('\0');
                if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si,
                                   &ProcessInformation))
                    return true;
                const DWORD code = GetLastError();
                ProcessInformation.Reset();
                SetLastError(code);
                return false;
            },
            kStartTries);
    };
    // The child starts suspended and runs only once it is in its job, so
    // that nothing it starts can escape the job.
    //
    // The job is a safety net, not a condition of converting: where it
    // cannot be had (a program that itself runs in a job that allows no
    // other, on systems without nested jobs), the encoder runs without one,
    // and Stop still ends the encoder itself.
    job_.Reset(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_ && !SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        job_.Reset();
    if (!job_) {
        if (!start(NORMAL_PRIORITY_CLASS)) RaiseError(IDS_CREATE_PROCESS_ERROR);
        return;
    }
    if (!start(NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED)) RaiseError(IDS_CREATE_PROCESS_ERROR);
    if (!AssignProcessToJobObject(job_.Get(), ProcessInformation.hProcess)) job_.Reset();
    if (ResumeThread(ProcessInformation.hThread) == static_cast<DWORD>(-1)) {
        const DWORD code = GetLastError();
        TerminateProcess(ProcessInformation.hProcess, 1);
        ProcessInformation.Reset();
        SetLastError(code);
        RaiseError(IDS_CREATE_PROCESS_ERROR);
    }
}

void TConvertProcess::Stop(UINT exitCode) {
    if (!Running) return;
    Running = false;
    EndWorker();
    DropUnsentEnd();
    ClosePipes();
    EndChild(exitCode);
}

void TConvertProcess::ProcessFinished() {
    ReleaseWorker();
    DWORD exitCode = 1;
    if (!GetExitCodeProcess(ProcessInformation.hProcess, &exitCode)) exitCode = 1;
    // What is left of an unfinished last line counts as well.
    PostNotes(parser_.Finish());
    ProgressSeen = parser_.ProgressSeen;
    ClosePipes();
    // Whatever the encoder started and left running goes with its job, and
    // lets go of the output.
    EndChild(0);

    engine::FinishedRun run;
    run.ExitCode = exitCode;
    run.ProgressSeen = ProgressSeen;
    run.OutputIsNonEmptyFile = IsNonEmptyFile(OutputFile);
    run.StdErrTail = stdErrTail_.Text();
    run.StdOutTail = stdOutTail_.Text();
    const engine::FileVerdict verdict = engine::JudgeRun(run);
    const bool converted = verdict.Kind == engine::FailureKind::Converted;
    if (!converted) RemoveCreatedOutput();
    PostFinished(0, converted, ReasonFor(verdict));
}

void TConvertProcess::RemoveCreatedOutput() const {
    // A half-written file under the real name looks like a finished
    // conversion, and an empty one only brings up the overwrite question at
    // the next try. Only a file that this run created goes: one that existed
    // before (confirmed for overwriting) is never removed. A stopped run is
    // left as it is: the person ended it.
    if (!outputIsNew_ || !rt::FileExists(OutputFile)) return;
    // A file that another program has opened meanwhile stays; nothing to tell.
    DeleteFileA(OutputFile.c_str());
}

void TConvertProcess::ReadStdOut() { ReadPipe(StdOutRead, stdOutTail_, 0, IDS_READ_STDOUT); }

void TConvertProcess::ReadStdErr() { ReadPipe(StdErrRead, stdErrTail_, 1, IDS_READ_STDERR); }

void TConvertProcess::ReadPipe(const rt::UniqueHandle& pipe, engine::OutputTail& tail, int stream, UINT errorText) {
    // Exactly what the peek found, so the read never blocks.
    std::vector<char> buffer(BytesAvailable);
    DWORD got = 0;
    if (!ReadFile(pipe.Get(), buffer.data(), BytesAvailable, &got, nullptr)) {
        ReleaseWorker();
        RaiseError(errorText);
    }
    tail.Append(buffer.data(), got);
    PostNotes(parser_.Parse(buffer.data(), got, stream));
    Duration = parser_.Duration;
    StartTime = parser_.StartTime;
    ProgressSeen = parser_.ProgressSeen;
}

void TConvertProcess::PostNotes(const std::vector<engine::ProgressNote>& notes) {
    for (const engine::ProgressNote& note : notes) {
        auto info = std::make_unique<TProcessInfo>();
        info->Percent = note.Percent;
        info->Elapsed = note.Elapsed;
        info->Estimated = note.Estimated;
        Post(std::move(info));
    }
}

void TConvertProcess::PostFinished(int32_t status, bool converted, const std::string& reason) {
    auto info = std::make_unique<TProcessInfo>();
    info->Percent = 1000;
    info->Status = status;
    if (converted) info->Elapsed = "some";
    else info->Reason = reason;
    if (PostNotification(NotifyWindow, WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(info.get()))) {
        info.release();
        return;
    }
    // The batch waits for this one: a full queue must not lose it.
    if (!IsWindow(NotifyWindow)) return;
    unsentEnd_ = std::move(info);
    retrying = this;
    if (!retryTimer_) retryTimer_ = SetTimer(nullptr, 0, kRetryMs, RetryTimer);
}

void CALLBACK TConvertProcess::RetryTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (retrying) retrying->RetryEndNotification();
}

void TConvertProcess::RetryEndNotification() {
    if (unsentEnd_ && IsWindow(NotifyWindow)) {
        if (!PostNotification(NotifyWindow, WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(unsentEnd_.get())))
            return;
        unsentEnd_.release();  // the window's now
    }
    DropUnsentEnd();  // taken, or its window is gone
}

void TConvertProcess::DropUnsentEnd() {
    unsentEnd_.reset();
    if (retryTimer_) KillTimer(nullptr, retryTimer_);
    retryTimer_ = 0;
    if (retrying == this) retrying = nullptr;
}

void TConvertProcess::Post(std::unique_ptr<TProcessInfo> info) {
    // A window that is gone takes nothing; the note is dropped here then.
    if (PostNotification(NotifyWindow, WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(info.get()))) info.release();
}

bool engine::StartWithRetries(const std::function<bool()>& start, int tries) {
    for (int attempt = 1;; ++attempt) {
        if (start()) return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt >= tries) return false;
    }
}

// ---- TConvertThread ----

TConvertThread::TConvertThread(TConvertProcess* process)
    : Process(process),
      stdOut_(DuplicateForWorker(process->StdOutRead.Get())),
      stdErr_(DuplicateForWorker(process->StdErrRead.Get())),
      process_(DuplicateForWorker(process->ProcessInformation.hProcess)) {
    if (!stdOut_ || !stdErr_ || !process_) rt::RaiseLastError(rt::ResString(IDS_CREATE_PROCESS_ERROR));
    Start();
}

TConvertThread::~TConvertThread() = default;

bool TConvertThread::Current() const { return !Terminated() && Process->Thread.get() == this; }

void TConvertThread::RunStep(const std::function<void()>& step) {
    Synchronize([this, &step] {
        // Only the current worker's process is looked at: an old worker's
        // process object may be busy with the next file.
        const bool current = Current();
        if (current) Process->inWorkerStep_ = true;
        try {
            step();
        } catch (...) {
            if (current) Process->inWorkerStep_ = false;
            throw;
        }
        if (current) Process->inWorkerStep_ = false;
    });
}

bool TConvertThread::PeekAndRead(const rt::UniqueHandle& pipe, void (TConvertProcess::*read)(), UINT readError) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe.Get(), nullptr, 0, nullptr, &available, nullptr) ||
        static_cast<int32_t>(available) <= 0)
        return false;
    RunStep([&] {
        if (!Current()) {
            // The pipe this worker peeked is no longer the process's: fail
            // as a read on a cleared handle does.
            const std::string text = rt::ResString(readError);
            SetLastError(ERROR_INVALID_HANDLE);
            rt::RaiseLastError(text);
        }
        Process->BytesAvailable = available;
        (Process->*read)();
    });
    return true;
}

bool TConvertThread::Poll() {
    bool found = PeekAndRead(stdOut_, &TConvertProcess::ReadStdOut, IDS_READ_STDOUT);
    found = PeekAndRead(stdErr_, &TConvertProcess::ReadStdErr, IDS_READ_STDERR) || found;
    return found;
}

void TConvertThread::Execute() {
    for (;;) {
        const bool idle = !Poll();
        if (idle && WaitForSingleObject(process_.Get(), 100) == WAIT_OBJECT_0) {
            // What the child printed last is still in the pipes.
            while (Poll()) {
            }
            if (!Terminated())
                RunStep([this] {
                    if (Current()) Process->ProcessFinished();
                });
            return;
        }
        if (idle && Terminated()) return;
    }
}
