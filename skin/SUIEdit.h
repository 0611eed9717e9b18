#pragma once
// Skinned single-line edit: a flat box with a one-pixel border line.
#include "runtime/Controls.h"
#include "skin/ThemeTable.h"

using skin::TsuiUIStyle;

class TsuiEdit : public rt::Edit {
public:
    explicit TsuiEdit(rt::Component* owner);
    const char* ClassName() const override { return "TsuiEdit"; }
    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    rt::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(rt::TColor c);

private:
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    rt::TColor borderColor_ = rt::clBlack;
};
