#include "skin/SUIEdit.h"

namespace {

// The text area sits this far inside the window on every side: one line
// for the border colour, one for the edit's colour.
constexpr int kBorderWidth = 2;

}  // namespace

TsuiEdit::TsuiEdit(rt::Component* owner) : rt::Edit(owner), uiStyle_(skin::DefaultStyleFor(owner)) {
    border_ = false;
    ApplyStyle();
}

void TsuiEdit::ApplyStyle() {
    borderColor_ = skin::StyleColor(skin::BuiltInStyle(uiStyle_), skin::entry::Border);
    RedrawFrame();
}

void TsuiEdit::SetUIStyle(skin::TsuiUIStyle style) {
    uiStyle_ = style;
    ApplyStyle();
}

void TsuiEdit::SetBorderColor(rt::TColor c) {
    borderColor_ = c;
    RedrawFrame();
}

void TsuiEdit::RedrawFrame() {
    if (HWND h = HandleIfAllocated()) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TsuiEdit::DrawBorder() {
    HWND h = HandleIfAllocated();
    if (!h) return;
    const rt::WindowDC dc(h, rt::WindowDC::Whole);
    if (!dc) return;
    RECT r;
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    rt::Canvas canvas(dc.Get());
    canvas.FrameRect(r, borderColor_);
    InflateRect(&r, -1, -1);
    canvas.FrameRect(r, Color());
}

HBRUSH TsuiEdit::CtlColor(HDC dc) {
    // The text area takes the edit's colour also while disabled or read-only,
    // so that it meets the inner frame line without a seam.
    const COLORREF colour = rt::ColorToRGB(Color());
    if (!brush_ || brushColor_ != colour) {
        brush_.Reset(CreateSolidBrush(colour));
        brushColor_ = colour;
    }
    SetBkColor(dc, colour);
    if (Enabled()) SetTextColor(dc, rt::ColorToRGB(GetFont().Color));
    return brush_.Get();
}

LRESULT TsuiEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCALCSIZE: {
            const LRESULT result = rt::Edit::WndProc(msg, wp, lp);
            // Both forms of the message start with the proposed client rectangle.
            InflateRect(reinterpret_cast<RECT*>(lp), -kBorderWidth, -kBorderWidth);
            return result;
        }
        case WM_NCPAINT: case WM_PAINT: case WM_ERASEBKGND: {
            // The standard painting knows nothing of the frame: draw it after.
            const LRESULT result = rt::Edit::WndProc(msg, wp, lp);
            DrawBorder();
            return result;
        }
        default:
            return rt::Edit::WndProc(msg, wp, lp);
    }
}
