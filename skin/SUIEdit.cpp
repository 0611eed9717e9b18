#include "skin/SUIEdit.h"

TsuiEdit::TsuiEdit(rt::Component* owner) : rt::Edit(owner) {}

void TsuiEdit::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    borderColor_ = skin::StyleColor(style, 25);
    Invalidate();
}

void TsuiEdit::SetBorderColor(rt::TColor c) {
    borderColor_ = c;
    Invalidate();
}
