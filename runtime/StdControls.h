#pragma once
// The standard controls the forms are built from: label, image, panel,
// group box and edit.
#include "runtime/WinControl.h"

#include <string>

namespace rt {

class Label : public GraphicControl {
public:
    explicit Label(Component* owner);
    const char* ClassName() const override { return "TLabel"; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    void SetTransparent(bool on);
    bool Transparent() const { return transparent_; }
    void SetAlignment(Alignment a);
    void SetWordWrap(bool on);
    void SetShowAccelChar(bool on);
    void Paint(Canvas& canvas) override;
    void AdjustSize();

protected:
    void CaptionChanged() override;
    void FontChanged() override;

private:
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    Alignment alignment_ = Alignment::Left;
};

class Image : public GraphicControl {
public:
    explicit Image(Component* owner);
    const char* ClassName() const override { return "TImage"; }
    Bitmap& Picture() { return picture_; }
    void PictureChanged();  // after changing Picture(): size and repaint
    void SetStretch(bool on);
    void SetTransparent(bool on);
    void SetAutoSize(bool on);
    void Paint(Canvas& canvas) override;

private:
    Bitmap picture_;
    bool stretch_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};

enum class Bevel { None, Lowered, Raised };

class Panel : public CustomControl {
public:
    explicit Panel(Component* owner);
    const char* ClassName() const override { return "TPanel"; }
    void SetBevelOuter(Bevel b);
    void SetBevelInner(Bevel b);
    void SetAlignment(Alignment a) { alignment_ = a; Invalidate(); }
    Alignment GetAlignment() const { return alignment_; }

protected:
    void Paint(Canvas& canvas) override;

private:
    Bevel outer_ = Bevel::Raised;
    Bevel inner_ = Bevel::None;
    Alignment alignment_ = Alignment::Center;
};

class GroupBox : public CustomControl {
public:
    explicit GroupBox(Component* owner);
    const char* ClassName() const override { return "TGroupBox"; }

protected:
    void Paint(Canvas& canvas) override;
};

class Edit : public WinControl {
public:
    explicit Edit(Component* owner);
    const char* ClassName() const override { return "TEdit"; }
    std::string Text() const;
    void SetText(const std::string& s);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    NotifyEvent OnChange;

protected:
    void CreateParams(CreateParamsA& params) override;
    void CommandNotify(WORD code) override;
    virtual void Change();
    bool border_ = true;

private:
    bool readOnly_ = false;
};

}  // namespace rt
