#pragma once
// Skinned single-line edit: a flat box whose outer pixel line is drawn in
// BorderColor and whose second line in the edit's own colour, both in the
// two-pixel frame around the text area.
#include "runtime/StdControls.h"
#include "skin/SUIThemes.h"

class TsuiEdit : public rt::Edit {
public:
    explicit TsuiEdit(rt::Component* owner);
    const char* ClassName() const override { return "TsuiEdit"; }

    // Setting a style also sets BorderColor, overwriting one set before.
    skin::TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(skin::TsuiUIStyle style);
    rt::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(rt::TColor c);

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    HBRUSH CtlColor(HDC dc) override;

private:
    void ApplyStyle();
    void RedrawFrame();
    void DrawBorder();

    skin::TsuiUIStyle uiStyle_;
    rt::TColor borderColor_ = rt::clBlack;
    rt::GdiObject<HBRUSH> brush_;  // the text area's background, in Color()
    COLORREF brushColor_ = 0;
};
