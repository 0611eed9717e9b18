#include "runtime/Thread.h"

#include "runtime/Forms.h"

namespace rt {

Thread::~Thread() = default;

void Thread::Start() {
    // Made suspended, so that the handle is stored before a thread that
    // frees itself can end.
    HANDLE h = CreateThread(nullptr, 0, Entry, this, CREATE_SUSPENDED, nullptr);
    if (!h) RaiseLastError("Thread creation error: ");
    handle_.Reset(h);
    ResumeThread(h);
}

void Thread::WaitFor() {
    if (handle_) WaitForSingleObject(handle_.Get(), INFINITE);
}

DWORD WINAPI Thread::Entry(void* p) {
    auto* self = static_cast<Thread*>(p);
    try {
        self->Execute();
    } catch (...) {
        self->fatal_ = std::current_exception();
    }
    if (self->freeOnTerminate_) delete self;
    return 0;
}

void Thread::Synchronize(const std::function<void()>& fn) { Application->Synchronize(fn); }

}  // namespace rt
