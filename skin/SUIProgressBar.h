#pragma once
// Skinned progress bar with its percentage as caption.
#include "runtime/Controls.h"
#include "skin/ThemeTable.h"

using skin::TsuiUIStyle;

enum TsuiProgressBarOrientation { suiHorizontal, suiVertical };

class TsuiProgressBar : public rt::CustomControl {
public:
    explicit TsuiProgressBar(rt::Component* owner);
    const char* ClassName() const override { return "TsuiProgressBar"; }
    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);
    void SetOrientation(TsuiProgressBarOrientation o) { orientation_ = o; Invalidate(); }
    rt::Bitmap& Picture() { return picture_; }
    rt::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(rt::TColor c) { borderColor_ = c; Invalidate(); }
    rt::TColor CaptionColor() const { return captionColor_; }
    void SetCaptionColor(rt::TColor c) { captionColor_ = c; Invalidate(); }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool on) { showCaption_ = on; Invalidate(); }
    bool SmartShowCaption() const { return smartShowCaption_; }
    void SetSmartShowCaption(bool on) { smartShowCaption_ = on; Invalidate(); }

protected:
    void Paint(rt::Canvas& canvas) override;

private:
    void UpdateCaption();
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    int min_ = 0, max_ = 100, position_ = 50;
    TsuiProgressBarOrientation orientation_ = suiHorizontal;
    rt::Bitmap picture_;
    rt::TColor borderColor_ = rt::clBlack;
    rt::TColor captionColor_ = rt::clBlack;
    bool showCaption_ = true;
    bool smartShowCaption_ = false;
};
