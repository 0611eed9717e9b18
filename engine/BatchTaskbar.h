#pragma once
// The whole batch on the program's taskbar button: files done plus the
// current file's share, over the number of files; the error state from the
// first failed file on; cleared at the end, with a flash when the batch ends
// while the person is looking at another program.
#include <cstddef>

#include "runtime/Taskbar.h"

namespace engine {

class BatchTaskbar {
public:
    explicit BatchTaskbar(size_t fileCount) : fileCount_(fileCount) {}

    // `window` is any window of the batch; the button is its root owner's.
    // `percent` (0..100) is how far the file at `fileIndex` has got.
    void Progress(HWND window, size_t fileIndex, int percent);
    void FileFailed(HWND window);
    void End(HWND window);

private:
    static HWND Button(HWND window);
    size_t fileCount_;
    bool failed_ = false;
    bool ended_ = false;
};

}  // namespace engine
