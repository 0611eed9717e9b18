#include "engine/ConvertThread.h"

#include <vector>

#include "app/AppTitle.h"
#include "engine/CommandLine.h"
#include "engine/EncoderDialect.h"
#include "engine/Global.h"
#include "engine/OutputParser.h"
#include "resources/StringIds.h"
#include "runtime/Forms.h"

TConvertProcess* ConvertProcess = nullptr;

namespace {

// Long enough for a slow first start of the encoder; an encoder that hangs
// on the question must not hold the user interface for ever.
constexpr DWORD kVersionTimeoutMs = 10000;

// One verdict per encoder path for the whole run of the program.
engine::EncoderDialects& Dialects() {
    static engine::EncoderDialects dialects([](const std::string& encoderPath) {
        return TConvertProcess::CaptureOutput(engine::EncoderVersionCommandLine(encoderPath), kVersionTimeoutMs);
    });
    return dialects;
}

// The current local date-time in days; only differences of it are used.
double LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    const ULARGE_INTEGER ticks{{ft.dwLowDateTime, ft.dwHighDateTime}};
    return static_cast<double>(ticks.QuadPart) / 864000000000.0;
}

std::string FullPathName(const std::string& path) {
    char buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (n == 0 || n >= sizeof buffer) return path;
    return std::string(buffer, n);
}

rt::UniqueHandle DuplicateForWorker(HANDLE h) {
    HANDLE copy = nullptr;
    const HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, h, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) return rt::UniqueHandle();
    return rt::UniqueHandle(copy);
}

}  // namespace

// ---- TConvertProcess ----

TConvertProcess::~TConvertProcess() {
    DropThread();
    Stop(0);
    CloseChild();
}

void TConvertProcess::RaiseError(UINT textId) {
    const DWORD code = GetLastError();
    const std::string text = rt::ResString(textId);
    SetLastError(code);
    rt::RaiseLastError(text);
}

void TConvertProcess::DropThread() {
    if (Thread) Thread->Terminate();
    Thread = nullptr;
}

void TConvertProcess::Start() {
    DropThread();
    ProgressSeen = false;

    // Writing over its own input would destroy the input before the encoder
    // has read it; such a file fails at once, without a question.
    if (engine::SamePath(FullPathName(InputFile), FullPathName(OutputFile))) {
        PostFinished(0, false);
        return;
    }

    bool overwrite = false;
    if (rt::FileExists(OutputFile)) {
        const int answer = rt::Application->MessageBox(OutputFile + rt::ResString(IDS_OVERWRITE), kProgramTitle,
                                                       MB_YESNO | MB_ICONINFORMATION);
        if (answer != IDYES) {
            PostFinished(0, false);
            return;
        }
        if (IsFileInUse(OutputFile)) {
            PostFinished(2, false);
            return;
        }
        overwrite = true;
    }

    // The encoder may be asked for its version first; that child must not
    // inherit this file's pipes, so the line is made before them.
    const std::string commandLine = EncoderCommandLine(overwrite);
    CreatePipes();
    Duration = 0;
    // Past the question, an output that existed is one confirmed for overwriting.
    outputIsNew_ = !overwrite;
    try {
        CreateChild(commandLine);
        Thread = new TConvertThread(this);
    } catch (...) {
        // A child without a worker would run unwatched.
        if (ProcessInformation.hProcess) TerminateProcess(ProcessInformation.hProcess, 0);
        ClosePipes();
        CloseChild();
        throw;
    }
}

std::string TConvertProcess::EncoderCommandLine(bool overwrite) const {
    return engine::BuildEncoderCommandLine(EncoderPath, overwrite, InputFile,
                                           Dialects().Arguments(EncoderPath, Arguments, OutputFile), OutputFile);
}

std::optional<std::string> TConvertProcess::CaptureOutput(const std::string& commandLine, DWORD timeoutMs) {
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
    while (WaitForSingleObject(process, readAvailable() ? 0 : 10) != WAIT_OBJECT_0) {
        if (GetTickCount64() >= deadline) {
            TerminateProcess(process, 1);
            return std::string();
        }
    }
    // What it printed last is still in the pipes.
    while (readAvailable()) {
    }
    return output;
}

void TConvertProcess::CreatePipes() {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    // The child's end is duplicated into its own field, inheritable, the
    // original closed; our ends stay inheritable as well.
    const auto makePipe = [&sa](rt::UniqueHandle& read, rt::UniqueHandle& write, bool childReads,
                                UINT createError, UINT duplicateError) {
        HANDLE r = nullptr, w = nullptr;
        if (!CreatePipe(&r, &w, &sa, 0)) RaiseError(createError);
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

void TConvertProcess::CloseChild() {
    if (ProcessInformation.hProcess) CloseHandle(ProcessInformation.hProcess);
    if (ProcessInformation.hThread) CloseHandle(ProcessInformation.hThread);
    ProcessInformation = PROCESS_INFORMATION{};
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
    // The platform may write into the command line.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    // With the bare name "ffmpeg" no application is named, so the search
    // finds ffmpeg.exe beside the program first.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si,
                        &ProcessInformation)) {
        ProcessInformation = PROCESS_INFORMATION{};
        RaiseError(IDS_CREATE_PROCESS_ERROR);
    }
}

void TConvertProcess::Stop(UINT exitCode) {
    if (!Running) return;
    Running = false;
    DropThread();
    ClosePipes();
    if (ProcessInformation.hProcess) TerminateProcess(ProcessInformation.hProcess, exitCode);
    CloseChild();
}

void TConvertProcess::ProcessFinished() {
    DropThread();
    ClosePipes();
    // An encoder that refuses its options may still have printed progress
    // before it gave up; only a clean exit counts as a converted file.
    DWORD exitCode = 1;
    const bool cleanExit = GetExitCodeProcess(ProcessInformation.hProcess, &exitCode) && exitCode == 0;
    CloseChild();
    const bool converted = ProgressSeen && cleanExit;
    if (!converted) RemoveEmptyOutput();
    PostFinished(0, converted);
}

void TConvertProcess::RemoveEmptyOutput() const {
    // An encoder that refuses its options has often created the output
    // already; left behind, the empty file would only bring up the overwrite
    // question at the next try. Only a file that this run created goes: one
    // that existed before is never removed, not even one confirmed for
    // overwriting that the encoder has emptied, and a file with content may
    // hold what the encoder wrote before it failed. A stopped run is left as
    // it is: the person ended it, and the killed child may still hold the file.
    if (!outputIsNew_) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(OutputFile.c_str(), GetFileExInfoStandard, &data)) return;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || data.nFileSizeHigh != 0 || data.nFileSizeLow != 0)
        return;
    // A file that another program has opened meanwhile stays; nothing to tell.
    DeleteFileA(OutputFile.c_str());
}

void TConvertProcess::ReadStdOut() { ReadPipe(StdOutRead, IDS_READ_STDOUT); }

void TConvertProcess::ReadStdErr() { ReadPipe(StdErrRead, IDS_READ_STDERR); }

void TConvertProcess::ReadPipe(const rt::UniqueHandle& pipe, UINT errorText) {
    // Exactly what the peek found, so the read never blocks.
    std::vector<char> buffer(BytesAvailable);
    DWORD got = 0;
    if (!ReadFile(pipe.Get(), buffer.data(), BytesAvailable, &got, nullptr)) {
        DropThread();
        RaiseError(errorText);
    }
    ParseOutput(buffer.data(), got);
}

void TConvertProcess::ParseOutput(const char* bytes, uint32_t count) {
    // Only these three values live on from chunk to chunk.
    engine::OutputParser parser(LocalNow);
    parser.Duration = Duration;
    parser.StartTime = StartTime;
    parser.ProgressSeen = ProgressSeen;
    const std::vector<engine::ProgressNote> notes = parser.Parse(bytes, count);
    Duration = parser.Duration;
    StartTime = parser.StartTime;
    ProgressSeen = parser.ProgressSeen;
    for (const engine::ProgressNote& note : notes) {
        auto info = std::make_unique<TProcessInfo>();
        info->Percent = note.Percent;
        info->Elapsed = note.Elapsed;
        info->Estimated = note.Estimated;
        Post(std::move(info));
    }
}

void TConvertProcess::PostFinished(int32_t status, bool converted) {
    auto info = std::make_unique<TProcessInfo>();
    info->Percent = 1000;
    info->Status = status;
    if (converted) info->Elapsed = "some";
    Post(std::move(info));
}

void TConvertProcess::Post(std::unique_ptr<TProcessInfo> info) {
    // A window that is gone takes nothing; the note is dropped here then.
    if (PostMessageA(NotifyWindow, WM_CONVERTPROGRESS, 0, reinterpret_cast<LPARAM>(info.get()))) info.release();
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

bool TConvertThread::Current() const { return !Terminated() && Process->Thread == this; }

bool TConvertThread::PeekAndRead(const rt::UniqueHandle& pipe, void (TConvertProcess::*read)(), UINT readError) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe.Get(), nullptr, 0, nullptr, &available, nullptr) ||
        static_cast<int32_t>(available) <= 0)
        return false;
    Synchronize([&] {
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
    SetFreeOnTerminate(true);
    for (;;) {
        const bool idle = !Poll();
        if (idle && WaitForSingleObject(process_.Get(), 100) == WAIT_OBJECT_0) {
            // What the child printed last is still in the pipes.
            while (Poll()) {
            }
            if (!Terminated())
                Synchronize([this] {
                    if (Current()) Process->ProcessFinished();
                });
            return;
        }
        if (idle && Terminated()) return;
    }
}
