#include "skin/SUICheckBox.h"

TsuiCheckBox::TsuiCheckBox(rt::Component* owner) : rt::CustomControl(owner) {
    SetTabStop(true);
    SetParentColor(true);
    SetBounds(0, 0, 93, 17);
}

void TsuiCheckBox::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    Invalidate();
}

void TsuiCheckBox::SetChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    Invalidate();
    CheckedChanged();
}

void TsuiCheckBox::CheckedChanged() {
    if (!Loading() && OnClick) OnClick(this);
}

void TsuiCheckBox::Click() { SetChecked(!checked_); }

void TsuiCheckBox::SetAutoSize(bool on) {
    autoSize_ = on;
    Invalidate();
}

void TsuiCheckBox::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void TsuiCheckBox::Paint(rt::Canvas& canvas) {
    RECT box{1, (Height() - 13) / 2, 14, (Height() - 13) / 2 + 13};
    DrawFrameControl(canvas.Handle(), &box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
    canvas.SetBrushClear();
    canvas.SetFont(GetFont());
    RECT r{17, 0, Width(), Height()};
    canvas.DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER);
}
