#pragma once
// Helpers for the tests of the small custom controls: a host window and
// painting a windowed control into a memory bitmap.
#include "runtime/Forms.h"

namespace controltest {

// A plain form with a known background colour, made but not shown.
class HostForm : public rt::Form {
public:
    explicit HostForm(rt::TColor color);
};

// The control's whole painting (background, frame, text, children without
// a window) into `out`, sized to the control.
void Render(rt::WinControl& control, rt::Bitmap& out);

// A mouse message as the window would receive it, at a client point.
void SendMouse(rt::WinControl& window, UINT msg, WPARAM keys, int x, int y);

}  // namespace controltest
