#include "engine/ConvertThread.h"

#include <vector>

#include "engine/CommandLine.h"
#include "engine/Global.h"
#include "resources/StringIds.h"
#include "runtime/Forms.h"

TConvertProcess* ConvertProcess = nullptr;

namespace {

// Long enough for a slow first start of the encoder; an encoder that hangs
// on the question must not hold the user interface for ever.
constexpr DWORD kVersionTimeoutMs = 10000;

// The encoder found when no encoder path is set.
constexpr char kEncoderFileName[] = "ffmpeg.exe";

// What each output pipe holds before the encoder's writes wait for us.
//
// The worker rests 100 ms whenever it finds both pipes empty; with the
// default few kilobytes an encoder that prints a lot (a warning for every
// frame of a damaged input) would wait on its full pipe for most of each
// rest, and convert at the pace of our polls. Standard input carries
// nothing and keeps the default.
constexpr DWORD kOutputPipeBytes = 1 << 20;

// An end notification that could not be posted, retried this often.
constexpr UINT kRetryMs = 50;

// How long a killed encoder may take to let go of its output before the
// old file is put back.
constexpr DWORD kLetGoMs = 5000;

// One verdict per encoder path for the whole run of the program.
engine::EncoderDialects& Dialects() {
    static engine::EncoderDialects dialects;
    return dialects;
}

// Days on a clock that only moves forward: a change of the wall clock or of
// daylight-saving time mid-file must not garble the times shown. Only
// differences of it are used.
double SteadyNow() { return static_cast<double>(GetTickCount64()) / 86400000.0; }

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

}  // namespace

TConvertProcess::TConvertProcess(Clock clock, Poster poster)
    : PostNotification(poster ? std::move(poster) : Poster(PostMessageA)),
      parser_(clock ? std::move(clock) : Clock(SteadyNow)) {}

TConvertProcess::~TConvertProcess() {
    EndWorker();
    // The program is closing mid-run: what the user had comes back.
    ProcessInformation.End(0, output_.Aside().empty() ? 0 : kLetGoMs);
    ClosePipes();
    output_.Failed(false);
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
    if (engine::SameFile(InputFile, OutputFile)) {
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
        if (engine::IsFileInUse(OutputFile)) {
            Fail(engine::FailureKind::OutputInUse, 2);
            return;
        }
        overwrite = true;
    }

    // The encoder may be asked for its version first; that child must not
    // inherit this file's pipes, so the line is made before them.
    const std::string commandLine = EncoderCommandLine(overwrite);
    if (!Running) return;
    // The old file waits aside until its replacement is complete; one that
    // cannot be moved is held by someone.
    if (!output_.Begin(OutputFile, overwrite)) {
        Fail(engine::FailureKind::OutputInUse, 2);
        return;
    }
    try {
        CreatePipes();
        Duration = 0;
        CreateChild(commandLine);
        // Nothing is ever written to the child: with our end closed, an
        // encoder that reads an answer gets end-of-file instead of waiting.
        StdInWrite.Reset();
        Thread = std::make_unique<TConvertThread>(this);
    } catch (...) {
        // A child without a worker would run unwatched.
        if (!ErrorCode) ErrorCode = GetLastError();
        Thread.reset();
        ProcessInformation.End(0, kLetGoMs);
        ClosePipes();
        output_.Failed();
        throw;
    }
}

std::string TConvertProcess::EncoderCommandLine(bool overwrite) {
    const std::string arguments = Dialects().Arguments(
        EncoderPath, Arguments, OutputFile, [this](const std::string& encoderPath) { return AskVersion(encoderPath); });
    return engine::BuildEncoderCommandLine(EncoderPath, overwrite, InputFile, arguments, OutputFile);
}

std::optional<std::string> TConvertProcess::AskVersion(const std::string& encoderPath) const {
    // The bare name is the encoder found beside the program or on the path.
    std::string program;
    if (encoderPath.empty()) {
        program = rt::FindProgram(kEncoderFileName);
        if (program.empty()) return std::nullopt;
    }
    return rt::CaptureOutput(program, engine::EncoderVersionCommandLine(encoderPath), kVersionTimeoutMs,
                             [this] { return Running; });
}

void TConvertProcess::CreatePipes() {
    rt::PipeStep failed;
    if (!rt::CreateChildPipe(StdInRead, StdInWrite, true, 0, failed))
        RaiseError(failed == rt::PipeStep::Create ? IDS_STDIN_CREATE : IDS_STDIN_DUPLICATE);
    if (!rt::CreateChildPipe(StdOutRead, StdOutWrite, false, kOutputPipeBytes, failed))
        RaiseError(failed == rt::PipeStep::Create ? IDS_STDOUT_CREATE : IDS_STDOUT_DUPLICATE);
    if (!rt::CreateChildPipe(StdErrRead, StdErrWrite, false, kOutputPipeBytes, failed))
        RaiseError(failed == rt::PipeStep::Create ? IDS_STDERR_CREATE : IDS_STDERR_DUPLICATE);
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
    // The line begins with the bare name "ffmpeg" when no encoder path is
    // set; the platform is then told which file that is, so that its search
    // never reaches the current folder.
    std::string program;
    if (EncoderPath.empty()) {
        program = rt::FindProgram(kEncoderFileName);
        if (program.empty()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            RaiseError(IDS_CREATE_PROCESS_ERROR);
        }
    }
    if (!ProcessInformation.Start(program, commandLine, StdInRead.Get(), StdOutWrite.Get(), StdErrWrite.Get()))
        RaiseError(IDS_CREATE_PROCESS_ERROR);
}

void TConvertProcess::Stop(UINT exitCode) {
    if (!Running) return;
    Running = false;
    EndWorker();
    DropUnsentEnd();
    ClosePipes();
    // The output is left as the person stopped it, unless an old file is to
    // come back in its place.
    ProcessInformation.End(exitCode, output_.Aside().empty() ? 0 : kLetGoMs);
    output_.Failed(false);
}

void TConvertProcess::ProcessFinished() {
    ReleaseWorker();
    const DWORD exitCode = ProcessInformation.ExitCode(1);
    // What is left of an unfinished last line counts as well.
    PostNotes(parser_.Finish());
    ProgressSeen = parser_.ProgressSeen;
    ClosePipes();
    // Whatever the encoder started and left running goes with its job, and
    // lets go of the output.
    ProcessInformation.End(0);

    engine::FinishedRun run;
    run.ExitCode = exitCode;
    run.ProgressSeen = ProgressSeen;
    run.OutputIsNonEmptyFile = IsNonEmptyFile(OutputFile);
    run.StdErrTail = stdErrTail_.Text();
    run.StdOutTail = stdOutTail_.Text();
    const engine::FileVerdict verdict = engine::JudgeRun(run);
    const bool converted = verdict.Kind == engine::FailureKind::Converted;
    // A half-written file under the real name looks like a finished
    // conversion, and an empty one only brings up the overwrite question at
    // the next try.
    if (converted) output_.Converted();
    else output_.Failed();
    PostFinished(0, converted, ReasonFor(verdict));
}

void TConvertProcess::WorkerFailed(uint32_t code) {
    ReleaseWorker();
    ClosePipes();
    ProcessInformation.End(1, kLetGoMs);
    output_.Failed();
    std::string reason = rt::ResString(IDS_REASON_READ_FAILED);
    const size_t mark = reason.find("%1");
    if (mark != std::string::npos) reason.replace(mark, 2, std::to_string(code));
    PostFinished(0, false, reason);
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
    info->Percent = kEndOfFilePercent;
    info->Status = status;
    if (converted) info->Elapsed = "some";
    else info->Reason = reason;
    if (PostNotification(NotifyWindow, WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(info.get()))) {
        info.release();
        return;
    }
    // The batch waits for this one: a full queue must not lose it. The timer
    // belongs to the receiver, so it ends with it.
    if (!IsWindow(NotifyWindow)) return;
    DropUnsentEnd();
    if (!SetTimer(NotifyWindow, reinterpret_cast<UINT_PTR>(this), kRetryMs, RetryTimer)) return;
    unsentEnd_ = std::move(info);
    retryWindow_ = NotifyWindow;
}

void CALLBACK TConvertProcess::RetryTimer(HWND, UINT, UINT_PTR id, DWORD) {
    reinterpret_cast<TConvertProcess*>(id)->RetryEndNotification();
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
    if (retryWindow_) KillTimer(retryWindow_, reinterpret_cast<UINT_PTR>(this));
    retryWindow_ = nullptr;
}

void TConvertProcess::Post(std::unique_ptr<TProcessInfo> info) {
    // A window that is gone takes nothing; the note is dropped here then.
    if (PostNotification(NotifyWindow, WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(info.get()))) info.release();
}
