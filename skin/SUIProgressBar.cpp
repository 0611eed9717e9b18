#include "skin/SUIProgressBar.h"

#include "skin/SkinGeometry.h"

namespace {

// The fill picture of a vertical bar: turned a quarter to the left, so
// that its top row becomes its left column.
void TurnQuarter(const rt::Bitmap& source, rt::Bitmap& target) {
    target.SetSize(source.Height(), source.Width());
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) target.SetPixel(y, source.Width() - 1 - x, source.Pixel(x, y));
}

}  // namespace

TsuiProgressBar::TsuiProgressBar(rt::Component* owner) : rt::CustomControl(owner), uiStyle_(skin::DefaultStyleFor(owner)) {
    SetBounds(0, 0, 150, 12);
    SetCaption("50%");
    ApplyStyle();
}

void TsuiProgressBar::ApplyStyle() {
    const skin::TsuiUIStyle style = skin::BuiltInStyle(uiStyle_);
    rt::Bitmap fill;
    skin::LoadStyleBitmap(style, skin::entry::ProgressBar, &fill);
    picture_.Assign(fill);
    SetColor(skin::StyleColor(style, skin::entry::ProgressBackground));
    borderColor_ = skin::StyleColor(style, skin::entry::Border);
    Invalidate();
}

void TsuiProgressBar::SetUIStyle(skin::TsuiUIStyle style) {
    uiStyle_ = style;
    ApplyStyle();
}

void TsuiProgressBar::SetOrientation(TsuiProgressBarOrientation o) {
    orientation_ = o;
    if (o == suiVertical) showCaption_ = false;
    ApplyStyle();
}

void TsuiProgressBar::SetMin(int v) {
    min_ = v;
    UpdateCaption();
}

void TsuiProgressBar::SetMax(int v) {
    max_ = v;
    UpdateCaption();
}

void TsuiProgressBar::SetPosition(int v) {
    position_ = v;
    UpdateCaption();
}

void TsuiProgressBar::UpdateCaption() {
    SetCaption(skin::ProgressCaption(min_, max_, position_));
    Invalidate();
}

void TsuiProgressBar::SetPicture(const rt::Bitmap& picture) {
    picture_.Assign(picture);
    Invalidate();
}

void TsuiProgressBar::SetBorderColor(rt::TColor c) {
    borderColor_ = c;
    Invalidate();
}

void TsuiProgressBar::SetCaptionColor(rt::TColor c) {
    captionColor_ = c;
    Invalidate();
}

void TsuiProgressBar::SetShowCaption(bool on) {
    showCaption_ = on;
    Invalidate();
}

void TsuiProgressBar::SetSmartShowCaption(bool on) {
    smartShowCaption_ = on;
    Invalidate();
}

void TsuiProgressBar::Paint(rt::Canvas& canvas) {
    const int w = Width();
    const int h = Height();
    if (orientation_ == suiHorizontal) {
        int e = skin::FilledExtent(min_, max_, position_, w - 1);
        if (e == 0) e = 1;
        if (!picture_.Empty()) canvas.StretchDraw(RECT{1, 1, e, h - 1}, picture_);
        canvas.FillRect(RECT{e, 1, w - 1, h - 1}, Color());
    } else {
        // Filled from the bottom up.
        int e = skin::FilledExtent(min_, max_, position_, h - 1);
        if (e == 0) e = 1;
        if (!picture_.Empty()) {
            rt::Bitmap turned;
            TurnQuarter(picture_, turned);
            canvas.StretchDraw(RECT{1, h - e, w - 1, h - 1}, turned);
        }
        canvas.FillRect(RECT{1, 1, w - 1, h - e}, Color());
    }
    if (skin::ProgressShowsCaption(showCaption_, smartShowCaption_, position_, min_)) {
        // The bar writes in the canvas's own default font, not in its Font.
        canvas.SetFont(rt::Font{});
        canvas.SetTextColor(captionColor_);
        canvas.SetBrushClear();
        const SIZE text = canvas.TextExtent(Caption());
        const skin::Point at = skin::CentredOrigin({w, h}, {text.cx, text.cy});
        canvas.TextOut(at.x, at.y, Caption());
    }
    canvas.FrameRect(RECT{0, 0, w, h}, borderColor_);
}
