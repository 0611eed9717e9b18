#include "runtime/Forms.h"

#include <algorithm>

#include "runtime/Application.h"

namespace rt {

// ---- TaskWindowsDisabler ----

TaskWindowsDisabler::TaskWindowsDisabler(HWND except) {
    struct Ctx {
        HWND except;
        std::vector<HWND>* list;
    } ctx{except, &disabled_};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            if (h != c->except && IsWindowVisible(h) && IsWindowEnabled(h)) c->list->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    for (HWND h : disabled_) EnableWindow(h, FALSE);
}

TaskWindowsDisabler::~TaskWindowsDisabler() {
    for (HWND h : disabled_)
        if (IsWindow(h)) EnableWindow(h, TRUE);
}

// ---- Form ----

Form::Form(Component* owner) : WinControl(owner) {
    SetLoading(true);
    SetVisible(false);
    SetColor(clBtnFace);
    Font f;
    f.Name = "MS Sans Serif";
    f.Height = -11;
    f.Color = clWindowText;
    SetFont(f);
}

Form::~Form() {
    // The controls go first, while this is still a whole form.
    DestroyComponents();
    tooltip_.Reset();
    if (Application && Application->MainForm == this) Application->MainForm = nullptr;
}

void Form::EndLoading() {
    SetLoading(false);
    std::vector<Component*> stack(Components().begin(), Components().end());
    while (!stack.empty()) {
        Component* c = stack.back();
        stack.pop_back();
        c->SetLoading(false);
        stack.insert(stack.end(), c->Components().begin(), c->Components().end());
    }
}

void Form::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    if (HandleAllocated()) {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, GetWindowLongA(HandleIfAllocated(), GWL_STYLE), FALSE,
                           GetWindowLongA(HandleIfAllocated(), GWL_EXSTYLE));
        SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::CreateParams(CreateParamsA& p) {
    p.ClassName = windowClassName_.empty() ? std::string(ClassName()) : windowClassName_;
    p.Caption = Caption();
    if (border_ == FormBorder::Dialog) {
        p.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
        p.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
    } else {
        p.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
        p.ExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW;
    }
    // A dialog stays above the form that owns it.
    p.Parent = nullptr;
    for (Component* o = Owner(); o; o = o->Owner()) {
        if (auto* f = dynamic_cast<Form*>(o)) {
            p.Parent = f->Handle();
            break;
        }
    }
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    // The window's size comes from the client size; the position from
    // PlaceWindow when it is first shown.
    Control::SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void Form::AfterCreateHandle() {
    if (icon_) {
        SendMessageA(HandleIfAllocated(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(HandleIfAllocated(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    RECT r;
    GetClientRect(HandleIfAllocated(), &r);
    if (r.right != clientWidth_ || r.bottom != clientHeight_) SetClientSize(clientWidth_, clientHeight_);
}

void Form::BoundsChanged() {
    if (HandleAllocated())
        SetWindowPos(HandleIfAllocated(), nullptr, Left(), Top(), Width(), Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::PlaceWindow() {
    if (placed_) return;
    placed_ = true;
    RECT wr;
    GetWindowRect(Handle(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    int x = Left(), y = Top();
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (position_ == FormPosition::ScreenCenter) {
        x = (area.right - w) / 2;
        y = (area.bottom - h) / 2;
    } else if (position_ == FormPosition::OwnerFormCenter) {
        HWND owner = GetWindow(HandleIfAllocated(), GW_OWNER);
        RECT o = area;
        if (owner) GetWindowRect(owner, &o);
        x = o.left + ((o.right - o.left) - w) / 2;
        y = o.top + ((o.bottom - o.top) - h) / 2;
    }
    x = std::max(0L, std::min<LONG>(x, area.right - w));
    y = std::max(0L, std::min<LONG>(y, area.bottom - h));
    Control::SetBounds(x, y, w, h);
    SetWindowPos(HandleIfAllocated(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::DoShow() {
    // An error while showing goes to the error display; the window opens
    // all the same.
    try {
        if (OnShow) OnShow(this);
    } catch (...) {
        if (Application) Application->HandleException();
    }
}

void Form::Show() {
    Handle();
    PlaceWindow();
    if (!shown_) {
        shown_ = true;
        Control::SetVisible(true);
        DoShow();
        ShowWindow(HandleIfAllocated(), SW_SHOW);
        if (!activeControl_) SelectFirst();
        else ::SetFocus(activeControl_->Handle());
    } else {
        ShowWindow(HandleIfAllocated(), SW_SHOW);
    }
    SetForegroundWindow(HandleIfAllocated());
}

void Form::Hide() {
    if (HandleAllocated()) ShowWindow(HandleIfAllocated(), SW_HIDE);
    shown_ = false;
    Control::SetVisible(false);
}

void Form::DoClose() {
    if (OnClose) OnClose(this);
}

int Form::ShowModal() {
    if (modal_) throw Error("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    modal_ = true;
    modalResult_ = mrNone;
    HWND self = Handle();
    int result = mrCancel;
    {
        TaskWindowsDisabler disabler(self);
        Show();
        try {
            while (modalResult_ == mrNone) {
                if (!Application || !Application->HandleMessage()) {
                    modalResult_ = mrCancel;
                    break;
                }
            }
            // Closing runs the form's close handler, whatever ended the loop.
            DoClose();
        } catch (...) {
            modal_ = false;
            throw;
        }
        result = modalResult_;
    }
    // The other windows are enabled again before this one hides, so that
    // the activation goes back to them.
    Hide();
    modal_ = false;
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return result;
}

void Form::Close() {
    if (closing_) return;
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    closing_ = true;
    DoClose();
    closing_ = false;
    if (Application && Application->MainForm == this) {
        Application->Terminate();
    } else {
        Hide();
    }
}

void Form::SetActiveControl(WinControl* c) { activeControl_ = c; }

static void CollectTabOrder(WinControl* parent, std::vector<WinControl*>& out) {
    std::vector<WinControl*> kids;
    for (Control* c : parent->Children())
        if (c->IsWindowed()) kids.push_back(static_cast<WinControl*>(c));
    std::stable_sort(kids.begin(), kids.end(),
                     [](WinControl* a, WinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (WinControl* k : kids) {
        if (k->TabStop()) out.push_back(k);
        CollectTabOrder(k, out);
    }
}

std::vector<WinControl*> Form::TabOrderList() {
    std::vector<WinControl*> list;
    CollectTabOrder(this, list);
    return list;
}

void Form::SelectFirst() {
    for (WinControl* c : TabOrderList()) {
        if (c->CanFocus()) {
            c->SetFocus();
            return;
        }
    }
}

void Form::SelectNext(bool forward) {
    std::vector<WinControl*> list = TabOrderList();
    if (list.empty()) return;
    HWND focus = GetFocus();
    int current = -1;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i]->HandleIfAllocated() == focus) current = static_cast<int>(i);
    const int n = static_cast<int>(list.size());
    for (int step = 1; step <= n; ++step) {
        int i = current < 0 ? (forward ? step - 1 : n - step) : ((current + (forward ? step : -step)) % n + n) % n;
        if (list[i]->CanFocus()) {
            list[i]->SetFocus();
            return;
        }
    }
}

bool Form::IsShortCut(WORD shortcut) {
    for (ActionList* l : actionLists_)
        if (l->IsShortCut(shortcut)) return true;
    return false;
}

static bool OfferToAll(WinControl* parent, const std::function<bool(Control*)>& fn) {
    const std::vector<Control*> kids = parent->Children();
    for (Control* c : kids) {
        if (fn(c)) return true;
        if (c->IsWindowed() && OfferToAll(static_cast<WinControl*>(c), fn)) return true;
    }
    return false;
}

bool Form::OfferDialogKey(WORD key, unsigned shift) {
    return OfferToAll(this, [&](Control* c) { return c->DialogKey(key, shift); });
}

bool Form::OfferDialogChar(char ch, unsigned shift) {
    return OfferToAll(this, [&](Control* c) { return c->DialogChar(ch, shift); });
}

void Form::FocusedControlChanged(WinControl* focused) {
    if (focused != this) activeControl_ = focused;
    OfferToAll(this, [&](Control* c) {
        c->FocusChanged(focused);
        return false;
    });
}

HWND Form::TooltipHandle() {
    if (!tooltip_) {
        tooltip_.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                       GetModuleHandleA(nullptr), nullptr));
        SendMessageA(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 600);
    }
    return tooltip_.Get();
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && activeControl_ && activeControl_->HandleAllocated() &&
                !IsIconic(HandleIfAllocated())) {
                ::SetFocus(activeControl_->HandleIfAllocated());
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (activeControl_ && activeControl_->HandleAllocated()) {
                ::SetFocus(activeControl_->HandleIfAllocated());
                return 0;
            }
            break;
        default:
            break;
    }
    return WinControl::WndProc(msg, wp, lp);
}

}  // namespace rt
