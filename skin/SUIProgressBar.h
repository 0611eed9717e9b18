#pragma once
// Skinned progress bar: the style's fill picture stretched over the filled
// part, the percentage as its caption.
#include "runtime/StdControls.h"
#include "skin/SUIThemes.h"

enum TsuiProgressBarOrientation { suiHorizontal, suiVertical };

class TsuiProgressBar : public rt::CustomControl {
public:
    explicit TsuiProgressBar(rt::Component* owner);
    const char* ClassName() const override { return "TsuiProgressBar"; }

    // Setting a style (or the orientation) loads the style's fill picture,
    // background and border colours.
    skin::TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(skin::TsuiUIStyle style);
    TsuiProgressBarOrientation Orientation() const { return orientation_; }
    // A vertical bar shows no caption.
    void SetOrientation(TsuiProgressBarOrientation o);

    // Each change makes the caption the percentage done ("33%"). Position
    // is not clamped.
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);

    // Drawn stretched over the filled part, in its horizontal form (a
    // vertical bar turns it a quarter). After changing it in place, call
    // PictureChanged.
    rt::Bitmap& Picture() { return picture_; }
    void SetPicture(const rt::Bitmap& picture);
    void PictureChanged() { Invalidate(); }

    rt::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(rt::TColor c);
    rt::TColor CaptionColor() const { return captionColor_; }
    void SetCaptionColor(rt::TColor c);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool on);
    // Hides the caption while Position equals Min.
    bool SmartShowCaption() const { return smartShowCaption_; }
    void SetSmartShowCaption(bool on);

protected:
    void Paint(rt::Canvas& canvas) override;

private:
    void ApplyStyle();
    void UpdateCaption();

    skin::TsuiUIStyle uiStyle_;
    TsuiProgressBarOrientation orientation_ = suiHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 50;
    rt::Bitmap picture_;
    rt::TColor borderColor_ = rt::clBlack;
    rt::TColor captionColor_ = rt::clBlack;
    bool showCaption_ = true;
    bool smartShowCaption_ = false;
};
