#pragma once
// One running copy of the program per session. A named mutex decides which
// start runs: the window search alone let two starts at the same moment both
// run, since the main window appears long after the start. The copy that
// runs says when its main window can take other starts' files; a start
// that loses waits for that (up to kWaitForRunningCopyMs) and then hands
// over to that window.
#include "runtime/Win.h"

namespace instance {

inline constexpr DWORD kWaitForRunningCopyMs = 10000;

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this start is the running copy.
    bool Runs() const { return owner_; }
    // The running copy: its main window takes hand-overs from now on.
    void MainWindowReady();
    // A start that lost: the running copy's main window once it is ready, or
    // nullptr when none came in time. When the running copy ended meanwhile
    // this start becomes the running copy instead (Runs() turns true).
    HWND WaitForRunningCopy();

private:
    rt::UniqueHandle mutex_;
    rt::UniqueHandle ready_;
    bool owner_ = false;
};

}  // namespace instance
