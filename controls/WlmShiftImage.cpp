#include "controls/WlmShiftImage.h"

namespace {
constexpr int kSink = 2;
}

TWlmShiftImage::TWlmShiftImage(rt::Component* owner) : rt::Image(owner) {}

void TWlmShiftImage::ShowPicture(const rt::Bitmap& b) {
    // A disabled image still reports the pointer but keeps its picture.
    if (!Enabled()) return;
    Picture().Assign(b);
    PictureChanged();
}

void TWlmShiftImage::MouseEnter() {
    rt::Image::MouseEnter();
    if (OnMouseEnter) OnMouseEnter(this);
    ShowPicture(focused_);
}

void TWlmShiftImage::MouseLeave() {
    rt::Image::MouseLeave();
    if (OnMouseLeave) OnMouseLeave(this);
    ShowPicture(noFocused_);
}

void TWlmShiftImage::MouseDown(rt::MouseButton button, unsigned shift, int x, int y) {
    rt::Image::MouseDown(button, shift, x, y);
    SetBounds(Left() + kSink, Top() + kSink, Width(), Height());
}

void TWlmShiftImage::MouseUp(rt::MouseButton button, unsigned shift, int x, int y) {
    rt::Image::MouseUp(button, shift, x, y);
    SetBounds(Left() - kSink, Top() - kSink, Width(), Height());
}
