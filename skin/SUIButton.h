#pragma once
// Skinned push button and arrow button, drawn from the style bitmaps.
#include "runtime/Controls.h"
#include "skin/ThemeTable.h"

using skin::TsuiUIStyle;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TsuiArrowButtonType { suiUp, suiDown };

class TsuiCustomButton : public rt::CustomControl {
public:
    explicit TsuiCustomButton(rt::Component* owner);
    ~TsuiCustomButton() override;
    const char* ClassName() const override { return "TsuiCustomButton"; }

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    bool Default() const { return default_; }
    void SetDefault(bool on);
    int MouseContinuouslyDownInterval = 100;
    int FocusedRectMargin = 2;

    rt::NotifyEvent OnMouseEnter;
    rt::NotifyEvent OnMouseExit;
    rt::NotifyEvent OnMouseContinuouslyDown;

    void Click() override;
    bool Hovering() const { return hovering_; }
    bool Pressed() const { return pressed_; }

protected:
    void Paint(rt::Canvas& canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;
    virtual void StyleChanged() {}

    TsuiUIStyle uiStyle_;
    bool autoSize_ = false;
    bool transparent_ = false;
    int modalResult_ = 0;
    bool cancel_ = false;
    bool default_ = false;
    bool hovering_ = false;
    bool pressed_ = false;
};

class TsuiButton : public TsuiCustomButton {
public:
    explicit TsuiButton(rt::Component* owner);
    const char* ClassName() const override { return "TsuiButton"; }
    rt::Bitmap& Glyph() { return glyph_; }
    TButtonLayout Layout = blGlyphLeft;
    int Spacing = 4;

protected:
    void StyleChanged() override;

private:
    rt::Bitmap glyph_;
};

class TsuiArrowButton : public TsuiCustomButton {
public:
    explicit TsuiArrowButton(rt::Component* owner);
    const char* ClassName() const override { return "TsuiArrowButton"; }
    TsuiArrowButtonType Arrow() const { return arrow_; }
    void SetArrow(TsuiArrowButtonType a);

protected:
    void Paint(rt::Canvas& canvas) override;
    void StyleChanged() override;

private:
    TsuiArrowButtonType arrow_ = suiUp;
};
