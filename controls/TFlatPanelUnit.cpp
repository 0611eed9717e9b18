#include "controls/TFlatPanelUnit.h"

TFlatPanel::TFlatPanel(rt::Component* owner) : rt::CustomControl(owner) {
    SetParentColor(true);
    SetBounds(0, 0, 185, 41);
}

void TFlatPanel::SetColors(int index, rt::TColor c) {
    colors_[index & 1] = c;
    Invalidate();
}

void TFlatPanel::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void TFlatPanel::SetAlignment(rt::Alignment a) {
    alignment_ = a;
    Invalidate();
}

void TFlatPanel::Paint(rt::Canvas& canvas) {
    RECT r = ClientRect();
    canvas.FillRect(r, Color());
    canvas.FrameRect(r, colors_[0]);
    canvas.SetBrushClear();
    canvas.SetFont(GetFont());
    canvas.DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}
