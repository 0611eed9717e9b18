#pragma once
// A flat, frame-drawn panel showing one line of text: the left and top edges
// in one colour, the right and bottom edges in another.
#include "runtime/StdControls.h"

class TFlatPanel : public rt::CustomControl {
public:
    explicit TFlatPanel(rt::Component* owner);
    const char* ClassName() const override { return "TFlatPanel"; }

    rt::TColor ColorHighLight() const { return colors_[0]; }
    rt::TColor ColorShadow() const { return colors_[1]; }
    void SetColorHighLight(rt::TColor c) { SetColors(0, c); }
    void SetColorShadow(rt::TColor c) { SetColors(1, c); }
    // Index 0 is the highlight, 1 the shadow.
    void SetColors(int index, rt::TColor c);
    // When on, the panel shows its parent's background instead of Color().
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    rt::Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(rt::Alignment a);

protected:
    // The whole look, into the off-screen buffer the window paints through.
    void PaintWindow(rt::Canvas& canvas) override;

private:
    rt::TColor colors_[2] = {0x8396A0, 0x8396A0};
    bool transparent_ = false;
    rt::Alignment alignment_ = rt::Alignment::Center;
};
