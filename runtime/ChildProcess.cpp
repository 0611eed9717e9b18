#include "runtime/ChildProcess.h"

#include <vector>

#include "runtime/Application.h"

namespace rt {

namespace {

// How often a start that failed inside the platform is tried in all.
constexpr int kStartTries = 3;

}  // namespace

bool StartWithRetries(const std::function<bool()>& start, int tries) {
    for (int attempt = 1;; ++attempt) {
        if (start()) return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt >= tries) return false;
    }
}

bool CreateChildPipe(UniqueHandle& read, UniqueHandle& write, bool childReads, DWORD bufferBytes,
                     PipeStep& failed) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
    HANDLE r = nullptr, w = nullptr;
    if (!CreatePipe(&r, &w, &sa, bufferBytes)) {
        failed = PipeStep::Create;
        return false;
    }
    read.Reset(r);
    write.Reset(w);
    UniqueHandle& childEnd = childReads ? read : write;
    const HANDLE self = GetCurrentProcess();
    HANDLE copy = nullptr;
    // The source is closed by the call whether it succeeds or not.
    if (!DuplicateHandle(self, childEnd.Release(), self, &copy, 0, TRUE,
                         DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS)) {
        failed = PipeStep::Duplicate;
        return false;
    }
    childEnd.Reset(copy);
    return true;
}

bool ChildProcess::Start(const std::string& applicationName, const std::string& commandLine, HANDLE stdIn,
                         HANDLE stdOut, HANDLE stdErr) {
    End(0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = stdIn;
    si.hStdOutput = stdOut;
    si.hStdError = stdErr;
    PROCESS_INFORMATION& info = *this;
    const auto start = [&](DWORD flags) {
        return StartWithRetries(
            [&] {
                // The platform may write into the command line.
                std::vector<char> line(commandLine.begin(), commandLine.end());
                line.push_back('\0');
                if (CreateProcessA(applicationName.empty() ? nullptr : applicationName.c_str(), line.data(), nullptr,
                                   nullptr, TRUE, flags, nullptr, nullptr, &si, &info))
                    return true;
                const DWORD code = GetLastError();
                info = PROCESS_INFORMATION{};
                SetLastError(code);
                return false;
            },
            kStartTries);
    };
    job_.Reset(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_ && !SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        job_.Reset();
    if (!job_) return start(NORMAL_PRIORITY_CLASS);
    if (!start(NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED)) {
        const DWORD code = GetLastError();
        job_.Reset();
        SetLastError(code);
        return false;
    }
    if (!AssignProcessToJobObject(job_.Get(), hProcess)) job_.Reset();
    if (ResumeThread(hThread) == static_cast<DWORD>(-1)) {
        const DWORD code = GetLastError();
        End(1);
        SetLastError(code);
        return false;
    }
    return true;
}

void ChildProcess::End(UINT exitCode, DWORD waitMs) {
    // Closing the job would end its processes as well; ending them first
    // makes it certain before the handles go.
    if (job_) TerminateJobObject(job_.Get(), exitCode);
    else if (hProcess) TerminateProcess(hProcess, exitCode);
    if (waitMs && hProcess) WaitForSingleObject(hProcess, waitMs);
    job_.Reset();
    if (hProcess) CloseHandle(hProcess);
    if (hThread) CloseHandle(hThread);
    static_cast<PROCESS_INFORMATION&>(*this) = PROCESS_INFORMATION{};
}

bool ChildProcess::WaitFor(DWORD ms) const {
    return hProcess && WaitForSingleObject(hProcess, ms) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode(DWORD fallback) const {
    DWORD code = fallback;
    if (!hProcess || !GetExitCodeProcess(hProcess, &code)) return fallback;
    return code;
}

std::string FindProgram(const std::string& fileName) {
    const std::string own = ExecutableFolder() + fileName;
    if (FileExists(own)) return own;
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return std::string();
    std::string path(size, '\0');
    path.resize(GetEnvironmentVariableA("PATH", path.data(), size));
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find(';', pos);
        if (end == std::string::npos) end = path.size();
        std::string folder = path.substr(pos, end - pos);
        pos = end + 1;
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        // "C:\..." or "\\server\share\...": a relative entry ("", ".", "bin")
        // would name a folder below the current one.
        const bool full = (folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) ||
                          folder.compare(0, 2, "\\\\") == 0;
        if (!full) continue;
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
        if (FileExists(folder + fileName)) return folder + fileName;
    }
    return std::string();
}

std::optional<std::string> CaptureOutput(const std::string& applicationName, const std::string& commandLine,
                                         DWORD timeoutMs, const std::function<bool()>& keepWaiting) {
    UniqueHandle inRead, inWrite, outRead, outWrite, errRead, errWrite;
    PipeStep failed;
    if (!CreateChildPipe(inRead, inWrite, true, 0, failed) || !CreateChildPipe(outRead, outWrite, false, 0, failed) ||
        !CreateChildPipe(errRead, errWrite, false, 0, failed))
        return std::nullopt;
    ChildProcess child;
    if (!child.Start(applicationName, commandLine, inRead.Get(), outWrite.Get(), errWrite.Get()))
        return std::nullopt;
    // Nothing is ever written: an answer it waits for is end-of-file.
    inWrite.Reset();
    std::string output;
    // Exactly what each peek found, so no read blocks; true when either pipe had data.
    const auto readAvailable = [&] {
        bool found = false;
        for (const UniqueHandle* pipe : {&outRead, &errRead}) {
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
    const HANDLE process = child.hProcess;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    // The windows are served meanwhile: they repaint, and Stop or a close
    // can be pressed (keepWaiting tells).
    for (;;) {
        const DWORD waited = MsgWaitForMultipleObjects(1, &process, FALSE, readAvailable() ? 0 : 10, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) break;
        if (waited == WAIT_OBJECT_0 + 1 && Application) Application->ProcessMessages();
        if (GetTickCount64() >= deadline || (keepWaiting && !keepWaiting())) {
            child.End(1);
            return std::nullopt;
        }
    }
    // What it printed last is still in the pipes.
    while (readAvailable()) {
    }
    return output;
}

}  // namespace rt
