#pragma once
// Controls: a component with a parent, a place and the properties every
// control has. The parent is only the place on the screen. Properties set
// before a control has its window are kept and applied when the window is
// made; controls without a window (labels, images) are painted and fed
// mouse input by their parent.
#include "runtime/Component.h"
#include "runtime/Graphics.h"

#include <functional>
#include <string>

namespace rt {

class WinControl;
class Form;

enum class MouseButton { Left, Right, Middle };
enum ShiftFlags : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using MouseEvent = std::function<void(Component* sender, MouseButton, unsigned shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component* sender, unsigned shift, int x, int y)>;
using KeyEvent = std::function<void(Component* sender, WORD& key, unsigned shift)>;

enum class CursorKind { Default, Hand };
enum class Alignment { Left, Right, Center };

enum ModalResults : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7
};

unsigned KeyboardShift();  // the Shift, Ctrl and Alt keys held now

class Control : public Component {
public:
    explicit Control(Component* owner);
    ~Control() override;
    const char* ClassName() const override { return "TControl"; }

    WinControl* Parent() const { return parent_; }
    virtual void SetParent(WinControl* parent);
    Form* ParentForm() const;  // the top-level form this control sits on
    virtual bool IsWindowed() const { return false; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool Showing() const;  // visible, and every parent too

    Font GetFont() const;  // the parent's font while ParentFont is on
    void SetFont(const Font& f);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);
    TColor Color() const;  // the parent's colour while ParentColor is on
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);
    CursorKind Cursor() const { return cursor_; }
    void SetCursor(CursorKind c) { cursor_ = c; }

    virtual void Invalidate();
    void Repaint();  // invalidate and paint now

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    MouseMoveEvent OnMouseMove;

    // Input the framework delivers. Overrides call the base to keep the
    // standard handling (which fires the events).
    virtual void Click();
    virtual void MouseDown(MouseButton button, unsigned shift, int x, int y);
    virtual void MouseUp(MouseButton button, unsigned shift, int x, int y);
    virtual void MouseMove(unsigned shift, int x, int y);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void CancelMode() {}
    // Enter or Escape offered by the form; true when taken.
    virtual bool DialogKey(WORD /*key*/, unsigned /*shift*/) { return false; }
    // A typed character offered for accelerators; true when taken.
    virtual bool DialogChar(char /*ch*/, unsigned /*shift*/) { return false; }
    // The keyboard focus moved to `focused` (may be null) within the form.
    virtual void FocusChanged(WinControl* /*focused*/) {}
    // Painting of a control without a window, into its parent's canvas with
    // the origin moved to the control's top-left corner.
    virtual void Paint(Canvas& /*canvas*/) {}

protected:
    virtual void CaptionChanged();
    virtual void EnabledChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void BoundsChanged();
    virtual void VisibleChanged();
    void UpdateHintTool();
    friend class WinControl;
    friend class Form;

private:
    WinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    Font font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    CursorKind cursor_ = CursorKind::Default;
};

// A control painted by its parent (no window of its own).
class GraphicControl : public Control {
public:
    explicit GraphicControl(Component* owner) : Control(owner) {}
    void Invalidate() override;
};

// Where a new control goes on its parent. A width or height below zero
// keeps the control's own default size.
struct Bounds {
    int left = 0, top = 0, width = -1, height = -1;
};

// Makes a control of type T owned by `owner`, puts it on `parent` within
// `bounds` and gives it `caption`: how every form places its controls.
template <class T>
T* MakeControl(Component* owner, WinControl* parent, const Bounds& bounds, const std::string& caption) {
    auto* control = new T(owner);
    control->SetParent(parent);
    control->SetBounds(bounds.left, bounds.top, bounds.width < 0 ? control->Width() : bounds.width,
                       bounds.height < 0 ? control->Height() : bounds.height);
    control->SetCaption(caption);
    return control;
}

}  // namespace rt
