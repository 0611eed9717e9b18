#pragma once
// A thread object: Execute runs on its own thread; Synchronize runs a step
// on the user-interface thread and waits for it. An error that ends Execute
// ends the thread and is never shown. The owner waits for the end (WaitFor)
// before it destroys the object.
#include "runtime/Win.h"

#include <atomic>
#include <functional>

namespace rt {

class Thread {
public:
    Thread() = default;
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Start();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Waits for the end of Execute. Messages sent to this thread are served
    // meanwhile, so a thread blocked in Synchronize can still finish.
    void WaitFor();

protected:
    virtual void Execute() = 0;
    void Synchronize(const std::function<void()>& fn);

private:
    static DWORD WINAPI Entry(void* self);
    UniqueHandle handle_;
    std::atomic<bool> terminated_{false};
};

}  // namespace rt
