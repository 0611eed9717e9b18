#include "skin/SUIButton.h"

#include "runtime/Forms.h"

// Plain stand-in look until the themed painting lands.

TsuiCustomButton::TsuiCustomButton(rt::Component* owner) : rt::CustomControl(owner), uiStyle_(TsuiUIStyle::DeepBlue) {
    SetTabStop(true);
    SetParentColor(true);
}

TsuiCustomButton::~TsuiCustomButton() = default;

void TsuiCustomButton::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    StyleChanged();
    Invalidate();
}

void TsuiCustomButton::SetAutoSize(bool on) {
    autoSize_ = on;
    Invalidate();
}

void TsuiCustomButton::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void TsuiCustomButton::SetDefault(bool on) { default_ = on; }

void TsuiCustomButton::Click() {
    if (rt::Form* f = ParentForm()) f->SetModalResult(modalResult_);
    rt::CustomControl::Click();
}

void TsuiCustomButton::MouseEnter() {
    hovering_ = true;
    Invalidate();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TsuiCustomButton::MouseLeave() {
    hovering_ = false;
    Invalidate();
    if (OnMouseExit) OnMouseExit(this);
}

void TsuiCustomButton::Paint(rt::Canvas& canvas) {
    RECT r = ClientRect();
    DrawEdge(canvas.Handle(), &r, EDGE_RAISED, BF_RECT);
    canvas.SetBrushClear();
    canvas.SetFont(GetFont());
    if (!Enabled()) canvas.SetTextColor(rt::clGray);
    canvas.DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        RECT f{2, 2, Width() - 2, Height() - 2};
        canvas.DrawFocusRect(f);
    }
}

TsuiButton::TsuiButton(rt::Component* owner) : TsuiCustomButton(owner) { SetBounds(0, 0, 80, 27); }

void TsuiButton::StyleChanged() {
    transparent_ = skin::StyleFlag(uiStyle_, 2);
    rt::Font f = GetFont();
    f.Color = rt::clBlack;
    SetFont(f);
}

TsuiArrowButton::TsuiArrowButton(rt::Component* owner) : TsuiCustomButton(owner) {}

void TsuiArrowButton::SetArrow(TsuiArrowButtonType a) {
    arrow_ = a;
    Invalidate();
}

void TsuiArrowButton::StyleChanged() { transparent_ = skin::StyleFlag(uiStyle_, 2); }

void TsuiArrowButton::Paint(rt::Canvas& canvas) {
    RECT r = ClientRect();
    DrawEdge(canvas.Handle(), &r, EDGE_RAISED, BF_RECT);
    const int x = (Width() - 6) / 2, y = (Height() - 3) / 2;
    canvas.SetPenColor(rt::clBlack);
    canvas.SetBrushColor(rt::clBlack);
    if (arrow_ == suiDown)
        canvas.Polygon({{x, y}, {x + 3, y + 3}, {x + 6, y}});
    else
        canvas.Polygon({{x, y + 3}, {x + 3, y}, {x + 6, y + 3}});
}
