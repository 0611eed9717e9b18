#include "engine/ConvertThread.h"

#include "resources/StringIds.h"

namespace {

rt::UniqueHandle DuplicateForWorker(HANDLE h) {
    HANDLE copy = nullptr;
    const HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, h, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) return rt::UniqueHandle();
    return rt::UniqueHandle(copy);
}

}  // namespace

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
        if (!Current()) {
            step();
            return;
        }
        Process->inWorkerStep_ = true;
        Process->ErrorCode = 0;
        try {
            step();
        } catch (...) {
            // The file ends as failed; the error still ends this worker.
            uint32_t code = Process->ErrorCode;
            if (!code) code = ERROR_INTERNAL_ERROR;
            try {
                Process->WorkerFailed(code);
            } catch (...) {
                // Ending the file must not hide the error that ends the worker.
            }
            Process->inWorkerStep_ = false;
            throw;
        }
        Process->inWorkerStep_ = false;
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
