#pragma once
// Windowed controls: one object per HWND, attached at WM_NCCREATE and
// detached at WM_NCDESTROY. The window procedure hands each message to the
// object; the controls without a window on it are painted into the same
// buffer and get their mouse input from it.
#include "runtime/Control.h"

#include <string>
#include <vector>

namespace rt {

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

}  // namespace rt
