#include "controls/WlmShiftImage.h"

TWlmShiftImage::TWlmShiftImage(rt::Component* owner) : rt::Image(owner) {}

void TWlmShiftImage::MouseEnter() {
    rt::Image::MouseEnter();
    if (OnMouseEnter) OnMouseEnter(this);
    if (Enabled()) {
        Picture().Assign(focused_);
        Invalidate();
    }
}

void TWlmShiftImage::MouseLeave() {
    rt::Image::MouseLeave();
    if (OnMouseLeave) OnMouseLeave(this);
    if (Enabled()) {
        Picture().Assign(noFocused_);
        Invalidate();
    }
}

void TWlmShiftImage::MouseDown(rt::MouseButton button, unsigned shift, int x, int y) {
    rt::Image::MouseDown(button, shift, x, y);
    SetBounds(Left() + 2, Top() + 2, Width(), Height());
}

void TWlmShiftImage::MouseUp(rt::MouseButton button, unsigned shift, int x, int y) {
    rt::Image::MouseUp(button, shift, x, y);
    SetBounds(Left() - 2, Top() - 2, Width(), Height());
}
