#include "skin/SUIProgressBar.h"

#include "skin/SkinGeometry.h"

TsuiProgressBar::TsuiProgressBar(rt::Component* owner) : rt::CustomControl(owner) {
    SetBounds(0, 0, 150, 12);
    SetCaption("50%");
}

void TsuiProgressBar::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    SetColor(skin::StyleColor(style, 26));
    borderColor_ = skin::StyleColor(style, 25);
    Invalidate();
}

void TsuiProgressBar::SetMin(int v) { min_ = v; UpdateCaption(); }
void TsuiProgressBar::SetMax(int v) { max_ = v; UpdateCaption(); }
void TsuiProgressBar::SetPosition(int v) { position_ = v; UpdateCaption(); }

void TsuiProgressBar::UpdateCaption() {
    const int percent = max_ == min_ ? 0 : static_cast<int>((static_cast<long long>(position_) - min_) * 100 / (max_ - min_));
    SetCaption(std::to_string(percent) + "%");
    Invalidate();
}

void TsuiProgressBar::Paint(rt::Canvas& canvas) {
    RECT r = ClientRect();
    int e = 0;
    if (max_ > min_ && position_ > min_) e = position_ > max_ ? Width() - 1 : static_cast<int>((static_cast<long long>(position_) - min_) * (Width() - 1) / (max_ - min_));
    if (e == 0) e = 1;
    RECT fill{1, 1, e, Height() - 1};
    canvas.FillRect(fill, 0x00C000);
    canvas.SetBrushClear();
    canvas.SetTextColor(captionColor_);
    if (showCaption_ && (!smartShowCaption_ || position_ != min_)) {
        SIZE s = canvas.TextExtent(Caption());
        canvas.TextOut((Width() - s.cx) / 2, (Height() - s.cy) / 2, Caption());
    }
    canvas.FrameRect(r, borderColor_);
}
