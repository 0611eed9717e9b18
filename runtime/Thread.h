#pragma once
// A thread object: Execute runs on its own thread; Synchronize runs a step
// on the user-interface thread and waits for it. An error that ends Execute
// is kept in the object and never shown.
#include "runtime/Win.h"

#include <atomic>
#include <exception>
#include <functional>

namespace rt {

class Thread {
public:
    Thread() = default;
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts Execute. With FreeOnTerminate set, the object deletes itself
    // when Execute has returned; nobody may touch it after that.
    void Start();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    void SetFreeOnTerminate(bool on) { freeOnTerminate_ = on; }
    // Waits for the end of Execute (only for threads that do not free
    // themselves). Messages sent to this thread are served meanwhile, so a
    // thread blocked in Synchronize can still finish.
    void WaitFor();

protected:
    virtual void Execute() = 0;
    void Synchronize(const std::function<void()>& fn);

private:
    static DWORD WINAPI Entry(void* self);
    UniqueHandle handle_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> freeOnTerminate_{false};
    std::exception_ptr fatal_;
};

}  // namespace rt
