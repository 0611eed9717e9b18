#pragma once
// Skinned push button and arrow button, drawn from the style bitmaps.
//
// TsuiCustomButton owns the states (normal, pointer over, pressed,
// disabled), the mouse and keyboard rules, the repeat-while-held timer and
// the painting order; TsuiButton adds a caption with an optional glyph,
// TsuiArrowButton a black triangle and no caption.
#include "runtime/StdControls.h"
#include "skin/SUIThemes.h"
#include "skin/SkinGeometry.h"

// Sent to the focused window by a skinned button deciding whether a plain
// letter (no Alt) may fire its accelerator: skinned buttons answer 1,
// every other window 0.
constexpr UINT SUIM_ISSKINNEDBUTTON = WM_APP + 0x2A1;

class TsuiCustomButton : public rt::CustomControl {
public:
    explicit TsuiCustomButton(rt::Component* owner);
    ~TsuiCustomButton() override;
    const char* ClassName() const override { return "TsuiCustomButton"; }

    skin::TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(skin::TsuiUIStyle style);
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
    int FocusedRectMargin() const { return focusedRectMargin_; }
    void SetFocusedRectMargin(int margin);
    // Period of OnMouseContinuouslyDown while the left button is held, in
    // milliseconds; negative counts as 0.
    int MouseContinuouslyDownInterval = 100;

    rt::NotifyEvent OnMouseEnter;
    rt::NotifyEvent OnMouseExit;
    rt::NotifyEvent OnMouseContinuouslyDown;

    void Click() override;
    bool Hovering() const { return hovering_; }
    bool Pressed() const { return pressed_; }
    // This button takes Enter now: the focused skinned button, or, while
    // none has focus, every Default button.
    bool ActiveDefault() const { return activeDefault_; }
    bool RepeatTimerRunning() const { return timerRunning_; }

    void MouseDown(rt::MouseButton button, unsigned shift, int x, int y) override;
    void MouseMove(unsigned shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelMode() override;
    bool DialogKey(WORD key, unsigned shift) override;
    bool DialogChar(char ch, unsigned shift) override;
    void FocusChanged(rt::WinControl* focused) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void CreateParams(rt::CreateParamsA& params) override;
    void AfterCreateHandle() override;
    void PaintWindow(rt::Canvas& canvas) override;
    void KeyDown(WORD& key, unsigned shift) override;
    void KeyUp(WORD& key, unsigned shift) override;
    void DoEnter() override;
    void DoExit() override;

    virtual void ApplyAutoSize();
    virtual void TransparentChanged();
    virtual void StyleChanged() {}
    virtual void DrawFace(rt::Canvas& canvas, const rt::Bitmap& face);
    virtual void DrawCaption(rt::Canvas& canvas, const std::string& caption);
    virtual void DrawFocus(rt::Canvas& canvas);

    // The look the style stands for.
    skin::TsuiUIStyle ResolvedStyle() const { return skin::BuiltInStyle(uiStyle_); }
    // Face masking: magenta in the face's corners shows the background.
    bool MaskFace() const { return maskFace_; }
    // True in the looks that mark focus with a bold caption instead of a
    // focus rectangle.
    virtual bool FocusShownBold() const { return false; }
    // Whether the focus shows now: focused and a tab stop.
    bool ShowsFocus() const { return Focused() && TabStop(); }
    // The caption's font: bold while the focus shows in bold.
    rt::Font CaptionFont() const;

private:
    void SetMouseState(bool hovering, bool pressed);
    void StartRepeatTimer();
    void StopRepeatTimer();
    void LoadFace(rt::Bitmap& face) const;

    skin::TsuiUIStyle uiStyle_ = skin::TsuiUIStyle::DeepBlue;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool maskFace_ = false;
    int modalResult_ = 0;
    bool cancel_ = false;
    bool default_ = false;
    bool activeDefault_ = false;
    int focusedRectMargin_ = 2;
    bool hovering_ = false;
    bool pressed_ = false;
    bool timerRunning_ = false;
};

class TsuiButton : public TsuiCustomButton {
public:
    explicit TsuiButton(rt::Component* owner);
    const char* ClassName() const override { return "TsuiButton"; }

    // A bitmap exactly twice as wide as high holds a normal and a disabled
    // image; its top-left pixel is the transparent colour.
    const rt::Bitmap& Glyph() const { return glyph_; }
    void SetGlyph(const rt::Bitmap& glyph);
    skin::TButtonLayout Layout() const { return layout_; }
    void SetLayout(skin::TButtonLayout layout);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

protected:
    void StyleChanged() override;
    void DrawFace(rt::Canvas& canvas, const rt::Bitmap& face) override;
    void DrawCaption(rt::Canvas& canvas, const std::string& caption) override;
    void DrawFocus(rt::Canvas& canvas) override;
    bool FocusShownBold() const override;

private:
    // Where glyph and caption go, the caption measured in the plain font.
    skin::GlyphPlacement PlaceGlyphAndCaption(rt::Canvas& canvas) const;
    void DrawGlyph(rt::Canvas& canvas);

    rt::Bitmap glyph_;
    skin::TButtonLayout layout_ = skin::TButtonLayout::blGlyphLeft;
    int spacing_ = 4;
};

class TsuiArrowButton : public TsuiCustomButton {
public:
    explicit TsuiArrowButton(rt::Component* owner);
    const char* ClassName() const override { return "TsuiArrowButton"; }
    skin::TsuiArrowButtonType Arrow() const { return arrow_; }
    void SetArrow(skin::TsuiArrowButtonType a);

protected:
    void StyleChanged() override;
    void DrawFace(rt::Canvas& canvas, const rt::Bitmap& face) override;
    void DrawCaption(rt::Canvas& /*canvas*/, const std::string& /*caption*/) override {}

private:
    // The arrow button keeps these at their construction values.
    using TsuiCustomButton::SetCancel;
    using TsuiCustomButton::SetDefault;
    using TsuiCustomButton::SetFocusedRectMargin;
    using TsuiCustomButton::SetModalResult;
    using TsuiCustomButton::SetTransparent;

    skin::TsuiArrowButtonType arrow_ = skin::TsuiArrowButtonType::suiUp;
};

// The look the program's push buttons share: WinXP, with black text of the
// usual height.
void UsePlainButtonLook(TsuiButton& button);
