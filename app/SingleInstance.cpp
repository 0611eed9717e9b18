#include "app/SingleInstance.h"

#include <string>

#include "app/AppTitle.h"

namespace instance {

namespace {
// Named in the session's own namespace: each signed-in person runs a copy.
std::string ObjectName(const char* what) { return std::string("Local\\") + kMainWindowClass + " " + what; }
}  // namespace

SingleInstance::SingleInstance()
    : mutex_(CreateMutexA(nullptr, FALSE, ObjectName("running").c_str())),
      ready_(CreateEventA(nullptr, TRUE, FALSE, ObjectName("ready").c_str())) {
    // Without the objects the copy runs, as the program did before them.
    if (!mutex_ || !ready_) {
        owner_ = true;
        return;
    }
    const DWORD r = WaitForSingleObject(mutex_.Get(), 0);
    owner_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    // A copy that ended without saying so left the event set.
    if (owner_) ResetEvent(ready_.Get());
}

SingleInstance::~SingleInstance() {
    if (!owner_ || !mutex_) return;
    // Later starts no longer wait for this copy's window.
    if (ready_) ResetEvent(ready_.Get());
    ReleaseMutex(mutex_.Get());
}

void SingleInstance::MainWindowReady() {
    if (ready_) SetEvent(ready_.Get());
}

HWND SingleInstance::WaitForRunningCopy() {
    const DWORD start = GetTickCount();
    bool windowAnnounced = false;
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= kWaitForRunningCopyMs) return nullptr;
        // Once the window was announced and is gone, the running copy is
        // ending: only the mutex is worth waiting for.
        const HANDLE both[] = {mutex_.Get(), ready_.Get()};
        const DWORD r = WaitForMultipleObjects(windowAnnounced ? 1 : 2, both, FALSE, kWaitForRunningCopyMs - waited);
        if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED_0) {
            owner_ = true;
            ResetEvent(ready_.Get());
            return nullptr;
        }
        if (r != WAIT_OBJECT_0 + 1) return nullptr;
        if (HWND window = FindWindowA(kMainWindowClass, nullptr)) return window;
        windowAnnounced = true;
    }
}

}  // namespace instance
