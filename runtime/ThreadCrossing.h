#pragma once
// The crossing from a worker thread to the user-interface thread.
//
// The user-interface thread makes one crossing: a hidden message-only
// window. Run sends it a message carrying the step and waits until the step
// has run there; a sent message is served inside modal loops and message
// boxes as well, so the worker never waits on a loop that does not pump. An
// error the step raises travels back and is raised again in the caller. A
// step run on the user-interface thread itself runs at once.
#include "runtime/Win.h"

#include <functional>

namespace rt {

class ThreadCrossing {
public:
    ThreadCrossing();  // on the user-interface thread
    ~ThreadCrossing();
    ThreadCrossing(const ThreadCrossing&) = delete;
    ThreadCrossing& operator=(const ThreadCrossing&) = delete;

    void Run(const std::function<void()>& fn);
    HWND Handle() const { return window_; }

    // The crossing of the user-interface thread, or null when there is none.
    static ThreadCrossing* Current();

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND window_ = nullptr;
};

}  // namespace rt
