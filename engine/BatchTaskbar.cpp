#include "engine/BatchTaskbar.h"

#include <algorithm>

namespace engine {

HWND BatchTaskbar::Button(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOTOWNER) : nullptr;
    return root ? root : window;
}

void BatchTaskbar::Progress(HWND window, size_t fileIndex, int percent) {
    if (ended_ || fileCount_ == 0) return;
    const unsigned long long share = static_cast<unsigned long long>(std::clamp(percent, 0, 100));
    const unsigned long long done = std::min(fileIndex, fileCount_) * 100ULL + share;
    rt::Taskbar().SetProgressValue(Button(window), std::min(done, fileCount_ * 100ULL), fileCount_ * 100ULL);
}

void BatchTaskbar::FileFailed(HWND window) {
    if (ended_ || failed_) return;
    failed_ = true;
    rt::Taskbar().SetProgressState(Button(window), rt::TaskbarState::Error);
}

void BatchTaskbar::End(HWND window) {
    if (ended_) return;
    ended_ = true;
    const HWND button = Button(window);
    rt::Taskbar().SetProgressState(button, rt::TaskbarState::NoProgress);
    // The person is elsewhere: call them back to the result.
    DWORD foregroundProcess = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
    if (foregroundProcess != GetCurrentProcessId()) rt::Taskbar().Flash(button);
}

}  // namespace engine
