#pragma once
// Skinned check box, drawn from the style's check box glyphs.
#include "runtime/Controls.h"
#include "skin/ThemeTable.h"

using skin::TsuiUIStyle;

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TsuiCheckBox : public rt::CustomControl {
public:
    explicit TsuiCheckBox(rt::Component* owner);
    const char* ClassName() const override { return "TsuiCheckBox"; }
    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    TCheckBoxState State() const { return checked_ ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState s) { SetChecked(s == cbChecked); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // Fires on every change of Checked, by the user or by code, except
    // while the form is loading; a click toggles.
    void Click() override;

protected:
    void Paint(rt::Canvas& canvas) override;
    virtual void CheckedChanged();

private:
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    bool checked_ = false;
    bool autoSize_ = true;
    bool transparent_ = false;
};
