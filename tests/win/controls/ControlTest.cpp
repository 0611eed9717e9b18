#include "tests/win/controls/ControlTest.h"

namespace controltest {

HostForm::HostForm(rt::TColor color) : rt::Form(nullptr) {
    SetClientSize(300, 200);
    SetColor(color);
    EndLoading();
}

void Render(rt::WinControl& control, rt::Bitmap& out) {
    out.SetSize(control.Width(), control.Height());
    SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(out.DC()), PRF_CLIENT);
    GdiFlush();
}

void SendMouse(rt::WinControl& window, UINT msg, WPARAM keys, int x, int y) {
    SendMessageA(window.Handle(), msg, keys, MAKELPARAM(x, y));
}

}  // namespace controltest
