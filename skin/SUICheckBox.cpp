#include "skin/SUICheckBox.h"

#include "runtime/Strings.h"
#include "skin/SkinGeometry.h"

TsuiCheckBox::TsuiCheckBox(rt::Component* owner) : rt::CustomControl(owner), uiStyle_(DefaultStyleFor(owner)) {
    SetTabStop(true);
    SetParentColor(true);
    SetBounds(0, 0, 93, 17);
}

void TsuiCheckBox::CreateParams(rt::CreateParamsA& params) {
    rt::CustomControl::CreateParams(params);
    // A quick second click is a click of its own and toggles back.
    params.ClassStyle &= ~static_cast<UINT>(CS_DBLCLKS);
}

void TsuiCheckBox::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    Invalidate();
}

void TsuiCheckBox::SetFileTheme(TsuiFileTheme* theme) {
    fileTheme_ = theme;
    Invalidate();
}

void TsuiCheckBox::Notification(rt::Component* component, rt::Operation op) {
    rt::CustomControl::Notification(component, op);
    if (op == rt::Operation::Remove && component == fileTheme_) {
        fileTheme_ = nullptr;
        SetUIStyle(TsuiUIStyle::DeepBlue);
    }
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
    Invalidate();
}

void TsuiCheckBox::SetAutoSize(bool on) {
    autoSize_ = on;
    Invalidate();
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
    LoadStyleBitmap(ResolvedBuiltInStyle(fileTheme_, uiStyle_), GlyphEntry(), &glyph, 4,
                    skin::CheckBoxGlyphPiece(checked_, Enabled()));
    const skin::Size glyphSize{glyph.Width(), glyph.Height()};
    canvas.SetFont(GetFont());
    const int textHeightW = canvas.TextHeight("W");
    if (autoSize_) {
        const skin::Size size = skin::CheckBoxAutoSize(glyphSize, textHeightW, canvas.TextWidth(Caption()));
        // A changed size brings a new paint of the new area; this one
        // already lays out for it.
        if (size.width != Width() || size.height != Height()) SetBounds(Left(), Top(), size.width, size.height);
    }
    const skin::Size client{Width(), Height()};
    const RECT all{0, 0, client.width, client.height};
    if (transparent_)
        PaintParentBackground(canvas, this);
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
