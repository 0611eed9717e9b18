#pragma once
// Skinned check box: a windowed control that draws its glyph from the
// style's four-glyph strip and its caption beside it.
#include "runtime/StdControls.h"
#include "skin/SUIThemes.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TsuiCheckBox : public rt::CustomControl {
public:
    explicit TsuiCheckBox(rt::Component* owner);
    const char* ClassName() const override { return "TsuiCheckBox"; }

    skin::TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(skin::TsuiUIStyle style);
    // OnClick fires on every change of Checked, by the user or by code,
    // except while the form is loading.
    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    // There is no third state: cbGrayed unchecks.
    TCheckBoxState State() const { return checked_ ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState s) { SetChecked(s == cbChecked); }
    // Sized to glyph and caption, once it has its window, whenever either
    // or the place changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // Glyph on the right, caption right-aligned; only on a system that runs
    // right-to-left.
    bool RightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool on);

    // A click toggles.
    void Click() override;
    void MouseDown(rt::MouseButton button, unsigned shift, int x, int y) override;
    bool DialogChar(char ch, unsigned shift) override;
    void FocusChanged(rt::WinControl* focused) override;

protected:
    void CreateParams(rt::CreateParamsA& params) override;
    void AfterCreateHandle() override;
    void Paint(rt::Canvas& canvas) override;
    void KeyUp(WORD& key, unsigned shift) override;
    void FontChanged() override;
    void CaptionChanged() override;
    void BoundsChanged() override;

    // What a derived box (a radio button) changes.
    virtual bool ShowsFocus() const { return TabStop() && Focused(); }
    virtual bool GlyphTransparent() const { return false; }
    virtual int GlyphEntry() const { return skin::entry::CheckBox; }
    virtual void CheckedChanged();
    virtual void BeforeToggle() {}
    virtual void Toggle();
    virtual bool KeyToggles() const { return true; }

private:
    // The glyph for the current state, cut from the style's strip.
    void LoadGlyph(rt::Bitmap& glyph) const;
    void ApplyAutoSize();

    skin::TsuiUIStyle uiStyle_;
    bool checked_ = false;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool rightToLeft_ = false;
};
