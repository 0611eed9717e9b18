#pragma once
// An image that swaps its picture as the pointer enters and leaves it, and
// sinks two pixels right and down while a mouse button is held on it.
#include "runtime/StdControls.h"

class TWlmShiftImage : public rt::Image {
public:
    explicit TWlmShiftImage(rt::Component* owner);
    const char* ClassName() const override { return "TWlmShiftImage"; }

    // Shown under the pointer, and after it leaves. Nothing puts the
    // leave picture into Picture() before the first leave, so a form gives
    // Picture() the same image.
    rt::Bitmap& FocusedPicture() { return focused_; }
    rt::Bitmap& NoFocusedPicture() { return noFocused_; }
    // Copies: the caller keeps its own bitmap.
    void SetFocusedPicture(const rt::Bitmap& b) { focused_.Assign(b); }
    void SetNoFocusedPicture(const rt::Bitmap& b) { noFocused_.Assign(b); }

    rt::NotifyEvent OnMouseEnter;
    rt::NotifyEvent OnMouseLeave;

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(rt::MouseButton button, unsigned shift, int x, int y) override;
    void MouseUp(rt::MouseButton button, unsigned shift, int x, int y) override;

private:
    void ShowPicture(const rt::Bitmap& b);
    rt::Bitmap focused_;
    rt::Bitmap noFocused_;
};
