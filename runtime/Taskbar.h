#pragma once
// The program's taskbar button: a progress value, an error state and a
// flash to call the person back. The shell draws them; everything else in
// the program talks to this small interface, so a test can put a recorder
// in place of the shell and read what the program asked for.
#include "runtime/Win.h"

namespace rt {

enum class TaskbarState { NoProgress, Normal, Error };

class TaskbarButton {
public:
    virtual ~TaskbarButton() = default;
    // The bar on the button of `window`: completed out of total.
    virtual void SetProgressValue(HWND window, unsigned long long completed, unsigned long long total) = 0;
    virtual void SetProgressState(HWND window, TaskbarState state) = 0;
    // Flashes the button until the window comes to the foreground.
    virtual void Flash(HWND window) = 0;
};

// The button in use: the shell's own unless a test put another in place.
TaskbarButton& Taskbar();
// Puts `button` in place (nullptr: the shell's again); returns the one that
// was in place.
TaskbarButton* SetTaskbar(TaskbarButton* button);

}  // namespace rt
