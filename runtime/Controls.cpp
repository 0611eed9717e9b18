#include "runtime/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "runtime/Forms.h"
#include "runtime/Strings.h"

namespace rt {

namespace {
const char kObjectProp[] = "MfvcControl";
}

unsigned KeyboardShift() {
    unsigned s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// ---- Component ----

Component::Component(Component* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
    DestroyComponents();
    if (owner_) {
        auto& v = owner_->components_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        owner_->Notification(this, Operation::Remove);
    }
}

void Component::DestroyComponents() {
    while (!components_.empty()) {
        Component* c = components_.back();
        delete c;  // its destructor takes it off the list
    }
}

void Component::AnnounceInsertion() {
    if (owner_) owner_->Notification(this, Operation::Insert);
}

void Component::Notification(Component* component, Operation op) {
    const std::vector<Component*> copy = components_;
    for (Component* c : copy)
        if (c != component) c->Notification(component, op);
}

bool Component::Loading() const {
    for (const Component* c = this; c; c = c->owner_)
        if (c->loading_) return true;
    return false;
}

// ---- Control ----

Control::Control(Component* owner) : Component(owner) {}

Control::~Control() {
    if (parent_) parent_->RemoveChild(this);
}

void Control::SetParent(WinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveChild(this);
    parent_ = parent;
    if (parent_) parent_->AddChild(this);
}

Form* Control::ParentForm() const {
    const Control* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<Form*>(const_cast<Control*>(c));
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (!IsWindowed() && parent_) Invalidate();  // the old place
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
}

void Control::BoundsChanged() {
    Invalidate();
    UpdateHintTool();
}

POINT Control::ClientToScreen(POINT p) const {
    if (IsWindowed()) {
        auto* self = static_cast<WinControl*>(const_cast<Control*>(this));
        ::ClientToScreen(self->Handle(), &p);
        return p;
    }
    p.x += left_;
    p.y += top_;
    return parent_ ? parent_->ClientToScreen(p) : p;
}

POINT Control::ScreenToClient(POINT p) const {
    if (IsWindowed()) {
        auto* self = static_cast<WinControl*>(const_cast<Control*>(this));
        ::ScreenToClient(self->Handle(), &p);
        return p;
    }
    if (parent_) p = parent_->ScreenToClient(p);
    p.x -= left_;
    p.y -= top_;
    return p;
}

void Control::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    CaptionChanged();
}

void Control::CaptionChanged() { Invalidate(); }

void Control::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    UpdateHintTool();
}

void Control::SetShowHint(bool on) {
    showHint_ = on;
    UpdateHintTool();
}

void Control::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    EnabledChanged();
}

void Control::EnabledChanged() { Invalidate(); }

void Control::SetVisible(bool on) {
    if (on == visible_) return;
    if (!on) Invalidate();
    visible_ = on;
    VisibleChanged();
}

void Control::VisibleChanged() { Invalidate(); }

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

Font Control::GetFont() const {
    if (parentFont_ && parent_) return parent_->GetFont();
    return font_;
}

void Control::SetFont(const Font& f) {
    font_ = f;
    parentFont_ = false;
    FontChanged();
}

void Control::SetParentFont(bool on) {
    if (!on && parentFont_) font_ = GetFont();
    parentFont_ = on;
    FontChanged();
}

void Control::FontChanged() { Invalidate(); }

TColor Control::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void Control::SetColor(TColor c) {
    color_ = c;
    parentColor_ = false;
    ColorChanged();
}

void Control::SetParentColor(bool on) {
    if (!on && parentColor_) color_ = Color();
    parentColor_ = on;
    ColorChanged();
}

void Control::ColorChanged() { Invalidate(); }

void Control::Invalidate() {}

void Control::Repaint() {
    Invalidate();
    WinControl* w = IsWindowed() ? static_cast<WinControl*>(this) : parent_;
    if (w && w->HandleAllocated()) UpdateWindow(w->HandleIfAllocated());
}

void Control::Click() {
    if (OnClick) OnClick(this);
}

void Control::MouseDown(MouseButton button, unsigned shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void Control::MouseUp(MouseButton button, unsigned shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void Control::MouseMove(unsigned shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void Control::UpdateHintTool() {
    Form* form = ParentForm();
    if (!form || !form->HandleAllocated()) return;
    HWND host = IsWindowed() ? static_cast<WinControl*>(this)->HandleIfAllocated()
                             : (parent_ ? parent_->HandleIfAllocated() : nullptr);
    if (!host) return;
    HWND tip = form->TooltipHandle();
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = IsWindowed() ? GetParent(host) : host;
    ti.uId = IsWindowed() ? reinterpret_cast<UINT_PTR>(host) : reinterpret_cast<UINT_PTR>(this);
    if (IsWindowed() && !ti.hwnd) ti.hwnd = host;
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!showHint_ || hint_.empty()) return;
    ti.uFlags = TTF_SUBCLASS | (IsWindowed() ? TTF_IDISHWND : 0);
    if (!IsWindowed()) ti.rect = BoundsRect();
    std::string text = hint_;
    ti.lpszText = text.data();
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// ---- GraphicControl ----

void GraphicControl::Invalidate() {
    WinControl* p = Parent();
    if (p && p->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(p->HandleIfAllocated(), &r, FALSE);
    }
}

// ---- WinControl ----

WinControl::WinControl(Component* owner) : Control(owner) {}

WinControl::~WinControl() {
    if (Form* f = ParentForm(); f && f->ActiveControl() == this) f->SetActiveControl(nullptr);
    for (Control* c : children_) c->parent_ = nullptr;
    children_.clear();
    DestroyHandle();
}

WinControl* WinControl::FromHandle(HWND h) {
    return h ? static_cast<WinControl*>(GetPropA(h, kObjectProp)) : nullptr;
}

void WinControl::AddChild(Control* c) {
    int order = 0;
    for (Control* k : children_)
        if (k->IsWindowed()) ++order;
    children_.push_back(c);
    if (c->IsWindowed()) {
        auto* w = static_cast<WinControl*>(c);
        w->tabOrder_ = order;
        if (handle_) w->Handle();
    } else {
        c->Invalidate();
        c->UpdateHintTool();
    }
}

void WinControl::RemoveChild(Control* c) {
    if (hover_ == c) hover_ = nullptr;
    if (capture_ == c) capture_ = nullptr;
    if (!c->IsWindowed()) c->Invalidate();
    children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
}

void WinControl::SetTabOrder(int order) { tabOrder_ = order; }

void WinControl::SetTabStop(bool on) {
    tabStop_ = on;
    if (handle_) {
        LONG_PTR s = GetWindowLongPtrA(handle_, GWL_STYLE);
        SetWindowLongPtrA(handle_, GWL_STYLE, on ? (s | WS_TABSTOP) : (s & ~WS_TABSTOP));
    }
}

bool WinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool WinControl::CanFocus() const {
    for (const Control* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void WinControl::SetFocus() {
    if (Form* f = ParentForm()) f->SetActiveControl(this);
    ::SetFocus(Handle());
}

void WinControl::BringToFront() {
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND WinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void WinControl::CreateParams(CreateParamsA& p) {
    p.ClassName = ClassName();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.ExStyle = WS_EX_CONTROLPARENT;
    p.Caption = Caption();
    if (Parent()) p.Parent = Parent()->Handle();
}

namespace {
struct ClassInfoEntry {
    WNDPROC baseProc = nullptr;
};
std::map<std::string, ClassInfoEntry>& RegisteredClasses() {
    static std::map<std::string, ClassInfoEntry> classes;
    return classes;
}
}  // namespace

void WinControl::CreateHandle() {
    CreateParamsA p;
    CreateParams(p);
    auto& classes = RegisteredClasses();
    auto it = classes.find(p.ClassName);
    if (it == classes.end()) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        ClassInfoEntry entry;
        if (p.BaseClass) {
            if (!GetClassInfoExA(nullptr, p.BaseClass, &wc)) RaiseLastError("Cannot find window class: ");
            entry.baseProc = wc.lpfnWndProc;
            wc.cbSize = sizeof wc;
        } else {
            wc.style = p.ClassStyle;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        }
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = p.ClassName.c_str();
        if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            RaiseLastError("Cannot register window class: ");
        it = classes.emplace(p.ClassName, entry).first;
    }
    baseProc_ = it->second.baseProc;
    int x = Left(), y = Top(), w = Width(), h = Height();
    HWND created = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), p.Caption.c_str(), p.Style, x, y, w, h,
                                   p.Parent, nullptr, GetModuleHandleA(nullptr), this);
    if (!created) RaiseLastError("Error creating window: ");
    handle_ = created;
    // Later controls lie above earlier ones, as they are painted.
    if (p.Style & WS_CHILD) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), FALSE);
    AfterCreateHandle();
    for (Control* c : children_) {
        if (c->IsWindowed())
            static_cast<WinControl*>(c)->Handle();
        else
            c->UpdateHintTool();
    }
    UpdateHintTool();
}

void WinControl::DestroyHandle() {
    if (handle_) {
        HWND h = handle_;
        DestroyWindow(h);
        handle_ = nullptr;
    }
}

LRESULT CALLBACK WinControl::StaticWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    WinControl* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<WinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetPropA(h, kObjectProp, self);
        self->handle_ = h;
    } else {
        self = FromHandle(h);
    }
    if (!self) {
        return DefWindowProcA(h, msg, wp, lp);
    }
    LRESULT result = 0;
    try {
        result = self->WndProc(msg, wp, lp);
    } catch (...) {
        if (Application) Application->HandleException();
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(h, kObjectProp);
        self->handle_ = nullptr;
    }
    return result;
}

LRESULT WinControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
    if (baseProc_) return CallWindowProcA(baseProc_, handle_, msg, wp, lp);
    return DefWindowProcA(handle_, msg, wp, lp);
}

Control* WinControl::GraphicChildAt(int x, int y, bool allowDisabled) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Control* c = *it;
        if (c->IsWindowed() || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (x >= c->Left() && x < c->Left() + c->Width() && y >= c->Top() && y < c->Top() + c->Height()) return c;
    }
    return nullptr;
}

void WinControl::SetHover(Control* c) {
    if (c == hover_) return;
    Control* old = hover_;
    hover_ = c;
    if (old) old->MouseLeave();
    if (c) c->MouseEnter();
}

bool WinControl::SetControlCursor(Control* c) {
    if (c->Cursor() == CursorKind::Hand) {
        ::SetCursor(LoadCursor(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

static MouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return MouseButton::Right;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return MouseButton::Middle;
        default: return MouseButton::Left;
    }
}

static unsigned ShiftOf(WPARAM wp) {
    unsigned s = 0;
    if (wp & MK_SHIFT) s |= ssShift;
    if (wp & MK_CONTROL) s |= ssCtrl;
    if (wp & MK_LBUTTON) s |= ssLeft;
    if (wp & MK_RBUTTON) s |= ssRight;
    if (wp & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// Mouse input of this window: to the control without a window under the
// pointer (or holding the mouse), else to this control itself. A click is a
// left press and release on the same control, released inside it.
void WinControl::RouteMouse(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    handled = false;
    if (msg == WM_MOUSEMOVE) {
        if (!tracking_) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
            tracking_ = TrackMouseEvent(&t) != FALSE;
        }
        if (!mouseInside_) {
            mouseInside_ = true;
            MouseEnter();
        }
        if (capture_) {
            capture_->MouseMove(ShiftOf(wp), x - capture_->Left(), y - capture_->Top());
            handled = true;
            return;
        }
        Control* hit = GraphicChildAt(x, y, true);
        SetHover(hit);
        if (hit) {
            if (hit->Enabled()) hit->MouseMove(ShiftOf(wp), x - hit->Left(), y - hit->Top());
            handled = true;
            return;
        }
        MouseMove(ShiftOf(wp), x, y);
        return;
    }
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                      msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    const MouseButton button = ButtonOf(msg);
    if (down) {
        Control* hit = GraphicChildAt(x, y, false);
        if (hit) {
            capture_ = hit;
            SetCapture(handle_);
            hit->MouseDown(button, ShiftOf(wp), x - hit->Left(), y - hit->Top());
            handled = true;
            return;
        }
        if (button == MouseButton::Left) {
            clicked_ = true;
            SetCapture(handle_);
        }
        MouseDown(button, ShiftOf(wp), x, y);
        return;
    }
    // a button went up
    if (capture_) {
        Control* c = capture_;
        if (!(wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            capture_ = nullptr;
            ReleaseCapture();
        }
        // The click comes before the button-up, as it always has: a sunk
        // image stays sunk while the menu its click opens is showing.
        if (button == MouseButton::Left && x >= c->Left() && x < c->Left() + c->Width() && y >= c->Top() &&
            y < c->Top() + c->Height())
            c->Click();
        c->MouseUp(button, ShiftOf(wp), x - c->Left(), y - c->Top());
        handled = true;
        return;
    }
    const bool wasClicked = clicked_ && button == MouseButton::Left;
    if (wasClicked) {
        clicked_ = false;
        ReleaseCapture();
    }
    if (wasClicked && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
    MouseUp(button, ShiftOf(wp), x, y);
}

void WinControl::PaintWindow(Canvas& canvas) {
    RECT r = ClientRect();
    canvas.FillRect(r, Color());
}

void WinControl::PaintTo(HDC dc) {
    RECT client;
    GetClientRect(handle_, &client);
    OffscreenBuffer buffer(dc, client.right, client.bottom);
    {
        Canvas& canvas = buffer.GetCanvas();
        canvas.SetFont(GetFont());
        PaintWindow(canvas);
    }
    for (Control* c : children_) {
        if (c->IsWindowed() || !c->Visible()) continue;
        HDC bdc = buffer.Buffer().DC();
        const int saved = SaveDC(bdc);
        IntersectClipRect(bdc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        SetViewportOrgEx(bdc, c->Left(), c->Top(), nullptr);
        {
            Canvas canvas(bdc);
            canvas.SetFont(c->GetFont());
            c->Paint(canvas);
        }
        RestoreDC(bdc, saved);
    }
    buffer.Present();
}

LRESULT WinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            if (selfPainted_) return 1;
            break;
        case WM_PAINT:
            if (!selfPainted_) break;
            if (wp) {
                PaintTo(reinterpret_cast<HDC>(wp));
                return 0;
            } else {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(handle_, &ps);
                PaintTo(dc);
                EndPaint(handle_, &ps);
                return 0;
            }
        case WM_PRINTCLIENT:
            if (!selfPainted_) break;
            PaintTo(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: {
            bool handled = false;
            RouteMouse(msg, wp, lp, handled);
            if (handled) return 0;
            break;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            SetHover(nullptr);
            if (mouseInside_) {
                mouseInside_ = false;
                MouseLeave();
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != handle_) {
                capture_ = nullptr;
                if (clicked_) clicked_ = false;
            }
            break;
        case WM_CANCELMODE:
            clicked_ = false;
            capture_ = nullptr;
            if (GetCapture() == handle_) ReleaseCapture();
            DefaultHandler(msg, wp, lp);
            CancelMode();
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) == handle_ && LOWORD(lp) == HTCLIENT) {
                POINT p;
                GetCursorPos(&p);
                ::ScreenToClient(handle_, &p);
                Control* c = GraphicChildAt(p.x, p.y, true);
                if (SetControlCursor(c ? c : this)) return TRUE;
            }
            break;
        case WM_SETFOCUS: {
            LRESULT r = DefaultHandler(msg, wp, lp);
            if (Form* f = ParentForm()) f->FocusedControlChanged(this);
            DoEnter();
            return r;
        }
        case WM_KILLFOCUS: {
            LRESULT r = DefaultHandler(msg, wp, lp);
            DoExit();
            return r;
        }
        case WM_KEYDOWN: case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(wp);
            KeyDown(key, KeyboardShift());
            if (key == 0) return 0;
            break;
        }
        case WM_KEYUP: case WM_SYSKEYUP: {
            WORD key = static_cast<WORD>(wp);
            KeyUp(key, KeyboardShift());
            if (key == 0) return 0;
            break;
        }
        case WM_CHAR: {
            char ch = static_cast<char>(wp);
            KeyPress(ch);
            if (ch == 0) return 0;
            break;
        }
        case WM_COMMAND:
            if (lp) {
                if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp))) {
                    child->CommandNotify(HIWORD(wp));
                    return 0;
                }
            }
            break;
        case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX:
            if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp))) {
                if (HBRUSH b = child->CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
            }
            break;
        case WM_ENABLE:
            Invalidate();
            break;
        default:
            break;
    }
    return DefaultHandler(msg, wp, lp);
}

void WinControl::KeyDown(WORD& key, unsigned shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void WinControl::KeyUp(WORD& key, unsigned shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void WinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void WinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void WinControl::CaptionChanged() {
    // Setting the same text again would move an edit's caret to the start
    // on every keystroke.
    if (handle_) {
        const int n = GetWindowTextLengthA(handle_);
        std::string current(static_cast<size_t>(n) + 1, '\0');
        current.resize(static_cast<size_t>(std::max(0, GetWindowTextA(handle_, current.data(), n + 1))));
        if (current != Caption()) SetWindowTextA(handle_, Caption().c_str());
    }
    Invalidate();
}

void WinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
    Invalidate();
}

void WinControl::FontChanged() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), TRUE);
    for (Control* c : children_)
        if (c->ParentFont()) c->FontChanged();
    Invalidate();
}

void WinControl::ColorChanged() {
    for (Control* c : children_)
        if (c->ParentColor()) c->ColorChanged();
    Invalidate();
}

void WinControl::BoundsChanged() {
    if (handle_) SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Control::BoundsChanged();
}

void WinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void WinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

// ---- CustomControl ----

void CustomControl::PaintWindow(Canvas& canvas) {
    RECT r = ClientRect();
    canvas.FillRect(r, Color());
    Paint(canvas);
}

// ---- Label ----

Label::Label(Component* owner) : GraphicControl(owner) {
    SetParentColor(true);
    SetBounds(0, 0, 65, 13);
}

void Label::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void Label::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void Label::SetAlignment(Alignment a) {
    alignment_ = a;
    Invalidate();
}

void Label::SetWordWrap(bool on) {
    wordWrap_ = on;
    AdjustSize();
}

void Label::SetShowAccelChar(bool on) {
    showAccelChar_ = on;
    AdjustSize();
    Invalidate();
}

void Label::CaptionChanged() {
    AdjustSize();
    Invalidate();
}

void Label::FontChanged() {
    AdjustSize();
    Invalidate();
}

void Label::AdjustSize() {
    if (!autoSize_) return;
    // Measured on the same kind of surface the label is painted on (an
    // off-screen bitmap), whose glyphs may be wider than the screen's.
    Bitmap surface(1, 1);
    int w, h;
    {
        Canvas canvas(surface.DC());
        canvas.SetFont(GetFont());
        RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
        UINT flags = DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0) | (showAccelChar_ ? 0 : DT_NOPREFIX);
        std::string text = Caption().empty() ? std::string(" ") : Caption();
        canvas.DrawText(text, r, flags);
        w = r.right;
        h = r.bottom;
    }
    SetBounds(Left(), Top(), wordWrap_ ? Width() : w, h);
}

void Label::Paint(Canvas& canvas) {
    RECT r = ClientRect();
    if (!transparent_) canvas.FillRect(r, Color());
    canvas.SetBrushClear();
    UINT flags = (wordWrap_ ? DT_WORDBREAK : 0) | (showAccelChar_ ? 0 : DT_NOPREFIX);
    if (alignment_ == Alignment::Right) flags |= DT_RIGHT;
    if (alignment_ == Alignment::Center) flags |= DT_CENTER;
    const Font f = GetFont();
    if (Enabled()) {
        canvas.SetFont(f);
        canvas.DrawText(Caption(), r, flags);
    } else {
        // Disabled text is embossed: a light copy one pixel down and right,
        // the grey text in place.
        canvas.SetFont(f);
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        canvas.SetTextColor(clBtnHighlight);
        canvas.DrawText(Caption(), shifted, flags);
        canvas.SetTextColor(clBtnShadow);
        canvas.DrawText(Caption(), r, flags);
    }
}

// ---- Image ----

Image::Image(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void Image::PictureChanged() {
    if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void Image::SetStretch(bool on) {
    stretch_ = on;
    Invalidate();
}

void Image::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void Image::SetAutoSize(bool on) {
    autoSize_ = on;
    PictureChanged();
}

void Image::SetCenter(bool on) {
    center_ = on;
    Invalidate();
}

void Image::Paint(Canvas& canvas) {
    if (picture_.Empty()) return;
    if (stretch_) {
        RECT r = ClientRect();
        if (transparent_) {
            TransparentBlt(canvas.Handle(), 0, 0, Width(), Height(), picture_.DC(), 0, 0, picture_.Width(),
                           picture_.Height(), ColorToRGB(picture_.BottomLeftColor()));
        } else {
            canvas.StretchDraw(r, picture_);
        }
        return;
    }
    int x = 0, y = 0;
    if (center_) {
        x = (Width() - picture_.Width()) / 2;
        y = (Height() - picture_.Height()) / 2;
    }
    if (transparent_)
        canvas.DrawTransparent(x, y, picture_, picture_.BottomLeftColor());
    else
        canvas.Draw(x, y, picture_);
}

// ---- Panel ----

Panel::Panel(Component* owner) : CustomControl(owner) { SetBounds(0, 0, 185, 41); }

void Panel::SetBevelOuter(Bevel b) {
    outer_ = b;
    Invalidate();
}

void Panel::SetBevelInner(Bevel b) {
    inner_ = b;
    Invalidate();
}

void Panel::CreateParams(CreateParamsA& p) { CustomControl::CreateParams(p); }

static void DrawBevel(Canvas& canvas, RECT& r, Bevel b) {
    if (b == Bevel::None) return;
    const TColor topLeft = b == Bevel::Lowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = b == Bevel::Lowered ? clBtnHighlight : clBtnShadow;
    canvas.SetPenColor(topLeft);
    canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
    canvas.SetPenColor(bottomRight);
    canvas.Polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
    InflateRect(&r, -1, -1);
}

void Panel::Paint(Canvas& canvas) {
    RECT r = ClientRect();
    DrawBevel(canvas, r, outer_);
    DrawBevel(canvas, r, inner_);
    if (!Caption().empty()) {
        canvas.SetBrushClear();
        canvas.SetFont(GetFont());
        UINT flags = DT_SINGLELINE | DT_VCENTER |
                     (alignment_ == Alignment::Center ? DT_CENTER : alignment_ == Alignment::Right ? DT_RIGHT : 0);
        canvas.DrawText(Caption(), r, flags);
    }
}

// ---- GroupBox ----

GroupBox::GroupBox(Component* owner) : CustomControl(owner) { SetBounds(0, 0, 185, 105); }

void GroupBox::CreateParams(CreateParamsA& p) { CustomControl::CreateParams(p); }

void GroupBox::Paint(Canvas& canvas) {
    canvas.SetFont(GetFont());
    const int th = canvas.TextHeight("0");
    RECT frame{0, th / 2, Width(), Height()};
    // An etched frame: shadow line, highlight line one pixel inside.
    RECT outer{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
    canvas.FrameRect(outer, clBtnShadow);
    RECT inner{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
    canvas.SetPenColor(clBtnHighlight);
    canvas.Polyline({{inner.left, inner.bottom - 2}, {inner.left, inner.top}, {inner.right - 2, inner.top}});
    canvas.Polyline({{inner.left - 1, inner.bottom - 1}, {inner.right - 1, inner.bottom - 1},
                     {inner.right - 1, inner.top - 2}});
    if (!Caption().empty()) {
        RECT tr{8, 0, 0, 0};
        canvas.DrawText(Caption(), tr, DT_CALCRECT | DT_SINGLELINE);
        RECT bg{tr.left - 1, tr.top, tr.right + 1, tr.bottom};
        canvas.FillRect(bg, Color());
        canvas.SetBrushClear();
        canvas.SetFont(GetFont());
        if (!Enabled()) canvas.SetTextColor(clBtnShadow);
        canvas.DrawText(Caption(), tr, DT_SINGLELINE);
    }
}

// ---- Edit ----

Edit::Edit(Component* owner) : WinControl(owner) {
    SetSelfPainted(false);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void Edit::CreateParams(CreateParamsA& p) {
    WinControl::CreateParams(p);
    p.BaseClass = "EDIT";
    p.Style |= ES_AUTOHSCROLL;
    p.Style &= ~WS_CLIPCHILDREN;
    if (readOnly_) p.Style |= ES_READONLY;
    p.ExStyle = border_ ? WS_EX_CLIENTEDGE : 0;
}

std::string Edit::Text() const {
    HWND h = HandleIfAllocated();
    if (!h) return Caption();
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return s;
}

void Edit::SetText(const std::string& s) {
    if (HandleIfAllocated()) {
        SetCaption(s);
        if (Text() != s) SetWindowTextA(HandleIfAllocated(), s.c_str());
    } else {
        const bool changed = s != Caption();
        SetCaption(s);
        if (changed) Change();
    }
}

void Edit::SetReadOnly(bool on) {
    readOnly_ = on;
    if (HandleIfAllocated()) SendMessageA(HandleIfAllocated(), EM_SETREADONLY, on, 0);
}

void Edit::CommandNotify(WORD code) {
    if (code == EN_CHANGE) {
        SetCaption(Text());
        Change();
    }
}

void Edit::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace rt
