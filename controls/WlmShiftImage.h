#pragma once
// An image that swaps its picture under the pointer and sinks while held.
#include "runtime/Controls.h"

class TWlmShiftImage : public rt::Image {
public:
    explicit TWlmShiftImage(rt::Component* owner);
    const char* ClassName() const override { return "TWlmShiftImage"; }

    rt::Bitmap& FocusedPicture() { return focused_; }
    rt::Bitmap& NoFocusedPicture() { return noFocused_; }
    void SetFocusedPicture(const rt::Bitmap& b) { focused_.Assign(b); }
    void SetNoFocusedPicture(const rt::Bitmap& b) { noFocused_.Assign(b); }

    rt::NotifyEvent OnMouseEnter;
    rt::NotifyEvent OnMouseLeave;

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(rt::MouseButton button, unsigned shift, int x, int y) override;
    void MouseUp(rt::MouseButton button, unsigned shift, int x, int y) override;

private:
    rt::Bitmap focused_;
    rt::Bitmap noFocused_;
};
