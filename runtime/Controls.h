#pragma once
// The form and control layer: components with owners, controls with a
// parent, windowed controls with one object per HWND, and the standard
// controls the forms are built from.
//
// Ownership: an owner frees the components it owns, newest first. The parent
// is only the place on the screen. Properties set before a control has its
// window are kept and applied when the window is made; controls without a
// window (labels, images) are painted and fed mouse input by their parent.
#include "runtime/Graphics.h"

#include <functional>
#include <string>
#include <vector>

namespace rt {

class Component;
class Control;
class WinControl;
class Form;

using NotifyEvent = std::function<void(Component* sender)>;
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

enum class Operation { Insert, Remove };

unsigned KeyboardShift();  // the Shift, Ctrl and Alt keys held now

class Component {
public:
    explicit Component(Component* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    Component* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    const std::vector<Component*>& Components() const { return components_; }
    virtual const char* ClassName() const { return "TComponent"; }

    // True while the owning form is still being built; events that the
    // program raises on property changes stay quiet then.
    bool Loading() const;
    void SetLoading(bool on) { loading_ = on; }

    // Told of components inserted under (or removed from) this one's owner
    // chain; by default passed on to every owned component.
    virtual void Notification(Component* component, Operation op);

protected:
    // Called by subclasses at the end of their constructor, so that the
    // owner's components see the finished object.
    void AnnounceInsertion();
    void DestroyComponents();

private:
    Component* owner_;
    std::vector<Component*> components_;
    std::string name_;
    bool loading_ = false;
};

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

struct CreateParamsA {
    std::string ClassName;        // our window class
    const char* BaseClass = nullptr;  // a system class we superclass, or none
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND Parent = nullptr;
    std::string Caption;
    UINT ClassStyle = CS_DBLCLKS;
};

class WinControl : public Control {
public:
    explicit WinControl(Component* owner);
    ~WinControl() override;
    const char* ClassName() const override { return "TWinControl"; }
    bool IsWindowed() const override { return true; }

    HWND Handle();  // made when first needed
    HWND HandleIfAllocated() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    static WinControl* FromHandle(HWND h);

    const std::vector<Control*>& Children() const { return children_; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    bool Focused() const;
    virtual bool CanFocus() const;
    void SetFocus();
    void BringToFront();
    void Invalidate() override;

    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    KeyEvent OnKeyDown;
    KeyEvent OnKeyUp;

    // The whole painting of this control into dc: background, then the
    // controls without windows on it. WM_PAINT, WM_PRINTCLIENT and a
    // parent-background request all end here.
    virtual void PaintTo(HDC dc);

    // Dispatch of every message of this control's window.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

    // The deepest enabled-or-not control without a window at a client point.
    Control* GraphicChildAt(int x, int y, bool allowDisabled) const;

protected:
    virtual void CreateParams(CreateParamsA& params);
    virtual void CreateHandle();
    virtual void AfterCreateHandle() {}
    void DestroyHandle();
    // Fills the background; the default fills with Color().
    virtual void PaintWindow(Canvas& canvas);
    virtual void KeyDown(WORD& key, unsigned shift);
    virtual void KeyUp(WORD& key, unsigned shift);
    virtual void KeyPress(char& /*key*/) {}
    virtual void DoEnter();
    virtual void DoExit();
    // A WM_COMMAND notification the parent passed on to this control.
    virtual void CommandNotify(WORD /*code*/) {}
    // WM_CTLCOLOR* passed on by the parent: a brush, or null for the default.
    virtual HBRUSH CtlColor(HDC /*dc*/) { return nullptr; }
    // For windows we draw ourselves: paint on WM_PAINT through a buffer.
    bool SelfPainted() const { return selfPainted_; }
    void SetSelfPainted(bool on) { selfPainted_ = on; }

    void CaptionChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void BoundsChanged() override;
    void VisibleChanged() override;
    void ColorChanged() override;

private:
    friend class Control;
    friend class Form;
    static LRESULT CALLBACK StaticWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void AddChild(Control* c);
    void RemoveChild(Control* c);
    void RouteMouse(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    void SetHover(Control* c);
    bool SetControlCursor(Control* c);

    HWND handle_ = nullptr;
    WNDPROC baseProc_ = nullptr;
    std::vector<Control*> children_;
    int tabOrder_ = 0;
    bool tabStop_ = false;
    bool selfPainted_ = true;
    bool clicked_ = false;       // left button went down on this window
    bool tracking_ = false;      // leave notification requested
    bool mouseInside_ = false;
    Control* hover_ = nullptr;   // control without a window under the pointer
    Control* capture_ = nullptr; // control without a window holding the mouse
};

// A windowed control drawing itself with a canvas.
class CustomControl : public WinControl {
public:
    explicit CustomControl(Component* owner) : WinControl(owner) {}
    const char* ClassName() const override { return "TCustomControl"; }

protected:
    void PaintWindow(Canvas& canvas) override;
    // The whole look; the canvas is an off-screen buffer of the client size.
    virtual void Paint(Canvas& canvas) override { (void)canvas; }
};

// ---- standard controls ----

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
    void SetCenter(bool on);
    void Paint(Canvas& canvas) override;

private:
    Bitmap picture_;
    bool stretch_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
    bool center_ = false;
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
    void CreateParams(CreateParamsA& params) override;
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
    void CreateParams(CreateParamsA& params) override;
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
