#include "runtime/WinControl.h"

#include <algorithm>
#include <map>

#include "runtime/Application.h"
#include "runtime/Forms.h"

namespace rt {

namespace {
const char kObjectProp[] = "MfvcControl";
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

}  // namespace rt
