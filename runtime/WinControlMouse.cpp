// Mouse routing of a windowed control: to the control without a window
// under the pointer (or holding the mouse), else to the control itself.
#include "runtime/WinControl.h"

#include <windowsx.h>

namespace rt {

Control* WinControl::GraphicChildAt(int x, int y, bool allowDisabled) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Control* c = *it;
        if (c->IsWindowed() || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (x >= c->Left() && x < c->Left() + c->Width() && y >= c->Top() && y < c->Top() + c->Height()) return c;
    }
    return nullptr;
}

void WinControl::SetHover(Control* c) {
    if (c == hover_) return;
    Control* old = hover_;
    hover_ = c;
    if (old) old->MouseLeave();
    if (c) c->MouseEnter();
}

bool WinControl::SetControlCursor(Control* c) {
    if (c->Cursor() == CursorKind::Hand) {
        ::SetCursor(LoadCursor(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

static MouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return MouseButton::Right;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return MouseButton::Middle;
        default: return MouseButton::Left;
    }
}

static unsigned ShiftOf(WPARAM wp) {
    unsigned s = 0;
    if (wp & MK_SHIFT) s |= ssShift;
    if (wp & MK_CONTROL) s |= ssCtrl;
    if (wp & MK_LBUTTON) s |= ssLeft;
    if (wp & MK_RBUTTON) s |= ssRight;
    if (wp & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// Mouse input of this window: to the control without a window under the
// pointer (or holding the mouse), else to this control itself. A click is a
// left press and release on the same control, released inside it.
void WinControl::RouteMouse(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    handled = false;
    if (msg == WM_MOUSEMOVE) {
        if (!tracking_) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
            tracking_ = TrackMouseEvent(&t) != FALSE;
        }
        if (!mouseInside_) {
            mouseInside_ = true;
            MouseEnter();
        }
        if (capture_) {
            capture_->MouseMove(ShiftOf(wp), x - capture_->Left(), y - capture_->Top());
            handled = true;
            return;
        }
        Control* hit = GraphicChildAt(x, y, true);
        SetHover(hit);
        if (hit) {
            if (hit->Enabled()) hit->MouseMove(ShiftOf(wp), x - hit->Left(), y - hit->Top());
            handled = true;
            return;
        }
        MouseMove(ShiftOf(wp), x, y);
        return;
    }
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                      msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    const MouseButton button = ButtonOf(msg);
    if (down) {
        Control* hit = GraphicChildAt(x, y, false);
        if (hit) {
            capture_ = hit;
            SetCapture(handle_);
            hit->MouseDown(button, ShiftOf(wp), x - hit->Left(), y - hit->Top());
            handled = true;
            return;
        }
        if (button == MouseButton::Left) {
            clicked_ = true;
            SetCapture(handle_);
        }
        MouseDown(button, ShiftOf(wp), x, y);
        return;
    }
    // a button went up
    if (capture_) {
        Control* c = capture_;
        if (!(wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            capture_ = nullptr;
            ReleaseCapture();
        }
        // The click comes before the button-up, as it always has: a sunk
        // image stays sunk while the menu its click opens is showing.
        if (button == MouseButton::Left && x >= c->Left() && x < c->Left() + c->Width() && y >= c->Top() &&
            y < c->Top() + c->Height())
            c->Click();
        c->MouseUp(button, ShiftOf(wp), x - c->Left(), y - c->Top());
        handled = true;
        return;
    }
    const bool wasClicked = clicked_ && button == MouseButton::Left;
    if (wasClicked) {
        clicked_ = false;
        ReleaseCapture();
    }
    if (wasClicked && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
    MouseUp(button, ShiftOf(wp), x, y);
}

}  // namespace rt
