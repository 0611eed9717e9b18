#include "runtime/Thread.h"

#include "runtime/ThreadCrossing.h"

namespace rt {

Thread::~Thread() = default;

void Thread::Start() {
    HANDLE h = CreateThread(nullptr, 0, Entry, this, 0, nullptr);
    if (!h) RaiseLastError("Thread creation error: ");
    handle_.Reset(h);
}

void Thread::WaitFor() {
    if (!handle_) return;
    const HANDLE h = handle_.Get();
    // Only sent messages: posted ones would run window handlers in the
    // middle of whatever asked for the wait. Those already waiting are
    // served first, since a wait only wakes for what arrives later.
    for (;;) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (MsgWaitForMultipleObjectsEx(1, &h, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0 + 1)
            return;
    }
}

DWORD WINAPI Thread::Entry(void* p) {
    auto* self = static_cast<Thread*>(p);
    // The thread's whole work is Execute: an error it raises has nowhere
    // to go, and ends it quietly.
    try {
        self->Execute();
    } catch (...) {
    }
    return 0;
}

void Thread::Synchronize(const std::function<void()>& fn) {
    ThreadCrossing* crossing = ThreadCrossing::Current();
    if (!crossing) throw Error("The user interface is gone");
    crossing->Run(fn);
}

}  // namespace rt
