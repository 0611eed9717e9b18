#include "tests/win/skin/SkinTest.h"

namespace skintest {

void FormTest::SetUp() {
    form_ = std::make_unique<rt::Form>(nullptr);
    form_->SetClientSize(320, 140);
    form_->SetColor(0x00C8D0D4);
    form_->SetLeft(100);
    form_->SetTop(100);
    form_->EndLoading();
    form_->Show();
    wintest::PumpFor(30);
}

void FormTest::TearDown() {
    form_.reset();
    MouseMoveTo({1, 1});
    wintest::PumpFor(30);
}

TsuiButton* FormTest::AddButton(int left, int top, int width, int height, const std::string& caption,
                                skin::TsuiUIStyle style) {
    auto* b = new TsuiButton(form_.get());
    b->SetParent(form_.get());
    b->SetBounds(left, top, width, height);
    b->SetUIStyle(style);
    b->SetCaption(caption);
    b->Handle();
    return b;
}

void Render(rt::WinControl& control, rt::Bitmap& out) {
    out.SetSize(control.Width(), control.Height());
    SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(out.DC()), PRF_CLIENT);
    GdiFlush();
}

int DifferingPixels(const rt::Bitmap& a, const rt::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) ++n;
    return n;
}

int CountColour(const rt::Bitmap& b, rt::TColor c, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (b.Pixel(x, y) == c) ++n;
    return n;
}

namespace {

POINT& LastMousePoint() {
    static POINT p{1, 1};
    return p;
}

// Under Wine a button event without a position is reported where the X
// pointer was, which can lag behind moves sent just before; so every event
// carries the position.
void SendMouse(DWORD flags) {
    const POINT p = LastMousePoint();
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &in, sizeof in);
}

}  // namespace

void MouseMoveTo(POINT p) {
    LastMousePoint() = p;
    SendMouse(0);
}

void MouseLeftButton(bool down) { SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

POINT ScreenCentre(rt::WinControl& control) {
    RECT r;
    GetWindowRect(control.Handle(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace skintest
