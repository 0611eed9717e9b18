#include "skin/SUICheckBox.h"

#include "runtime/Strings.h"
#include "skin/SkinGeometry.h"

TsuiCheckBox::TsuiCheckBox(rt::Component* owner) : rt::CustomControl(owner), uiStyle_(skin::DefaultStyleFor(owner)) {
    SetTabStop(true);
    SetParentColor(true);
    SetBounds(0, 0, 93, 17);
}

void TsuiCheckBox::CreateParams(rt::CreateParamsA& params) {
    rt::CustomControl::CreateParams(params);
    // A quick second click is a click of its own and toggles back.
    params.ClassStyle &= ~static_cast<UINT>(CS_DBLCLKS);
}

void TsuiCheckBox::AfterCreateHandle() {
    rt::CustomControl::AfterCreateHandle();
    ApplyAutoSize();
}

void TsuiCheckBox::SetUIStyle(skin::TsuiUIStyle style) {
    uiStyle_ = style;
    ApplyAutoSize();
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

void TsuiCheckBox::Toggle() {
    BeforeToggle();
    SetChecked(!checked_);
}

// The standard click handling would raise OnClick a second time; here
// OnClick belongs to the change of Checked.
void TsuiCheckBox::Click() { Toggle(); }

void TsuiCheckBox::MouseDown(rt::MouseButton button, unsigned shift, int x, int y) {
    rt::CustomControl::MouseDown(button, shift, x, y);
    // The toggle waits for the release over the box (Click).
    if (button == rt::MouseButton::Left && CanFocus()) {
        try {
            SetFocus();
        } catch (const rt::Error&) {
            // A box that cannot take the focus still toggles.
        }
    }
}

void TsuiCheckBox::KeyUp(WORD& key, unsigned shift) {
    rt::CustomControl::KeyUp(key, shift);
    if ((key == VK_SPACE || key == VK_RETURN) && KeyToggles() && Focused() && Enabled()) {
        Invalidate();
        Click();
    }
}

bool TsuiCheckBox::DialogChar(char ch, unsigned /*shift*/) {
    if (!text::IsAccel(ch, Caption()) || !Enabled() || !Visible() || !Parent() || !Parent()->Enabled()) return false;
    if (CanFocus()) SetFocus();
    Click();
    return true;
}

void TsuiCheckBox::FocusChanged(rt::WinControl* /*focused*/) { Invalidate(); }

void TsuiCheckBox::FontChanged() {
    rt::CustomControl::FontChanged();
    ApplyAutoSize();
    Invalidate();
}

void TsuiCheckBox::CaptionChanged() {
    rt::CustomControl::CaptionChanged();
    ApplyAutoSize();
}

void TsuiCheckBox::BoundsChanged() {
    rt::CustomControl::BoundsChanged();
    ApplyAutoSize();
}

void TsuiCheckBox::SetAutoSize(bool on) {
    autoSize_ = on;
    ApplyAutoSize();
    Invalidate();
}

void TsuiCheckBox::LoadGlyph(rt::Bitmap& glyph) const {
    skin::LoadStyleBitmap(skin::BuiltInStyle(uiStyle_), GlyphEntry(), &glyph, 4, skin::CheckBoxGlyphPiece(checked_, Enabled()));
}

void TsuiCheckBox::ApplyAutoSize() {
    // Measured as it is painted: on an off-screen bitmap in the control's
    // font. Before the window exists the size is left as set.
    if (!autoSize_ || !HandleAllocated()) return;
    rt::Bitmap glyph;
    LoadGlyph(glyph);
    rt::Bitmap surface(1, 1);
    rt::Canvas& canvas = surface.GetCanvas();
    canvas.SetFont(GetFont());
    const skin::Size size =
        skin::CheckBoxAutoSize({glyph.Width(), glyph.Height()}, canvas.TextHeight("W"), canvas.TextWidth(Caption()));
    if (size.width != Width() || size.height != Height()) SetBounds(Left(), Top(), size.width, size.height);
}

void TsuiCheckBox::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void TsuiCheckBox::SetRightToLeft(bool on) {
    rightToLeft_ = on;
    Invalidate();
}

void TsuiCheckBox::Paint(rt::Canvas& canvas) {
    rt::Bitmap glyph;
    LoadGlyph(glyph);
    const skin::Size glyphSize{glyph.Width(), glyph.Height()};
    canvas.SetFont(GetFont());
    const int textHeightW = canvas.TextHeight("W");
    const skin::Size client{Width(), Height()};
    const RECT all{0, 0, client.width, client.height};
    if (transparent_)
        skin::PaintParentBackground(canvas, this);
    else
        canvas.FillRect(all, Color());
    canvas.SetBrushClear();

    const bool mirrored = rightToLeft_ && GetSystemMetrics(SM_MIDEASTENABLED) != 0;
    const skin::CheckBoxLayout layout = skin::PlaceCheckBox(client, glyphSize, textHeightW, mirrored);
    if (GlyphTransparent())
        canvas.DrawTransparent(layout.glyph.x, layout.glyph.y, glyph, skin::kKeyColour);
    else
        canvas.Draw(layout.glyph.x, layout.glyph.y, glyph);
    RECT caption{layout.caption.left, layout.caption.top, layout.caption.right, layout.caption.bottom};
    canvas.DrawText(Caption(), caption,
                    DT_SINGLELINE | DT_TOP | (layout.captionRightAligned ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    if (ShowsFocus())
        canvas.DrawFocusRect(RECT{layout.focus.left, layout.focus.top, layout.focus.right, layout.focus.bottom});
}
