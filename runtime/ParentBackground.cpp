#include "runtime/ParentBackground.h"

namespace rt {

void PaintParentBackground(Control& control, HDC dc) {
    WinControl* parent = control.Parent();
    if (!parent) return;
    HWND parentWindow = parent->Handle();
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -control.Left(), -control.Top(), nullptr);
    RECT client;
    GetClientRect(parentWindow, &client);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    SendMessageA(parentWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parentWindow, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

}  // namespace rt
