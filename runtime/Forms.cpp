#include "runtime/Forms.h"

#include <algorithm>

#include "runtime/Strings.h"

namespace rt {

TApplication* Application = nullptr;

std::string ShortCutToText(WORD shortcut) {
    std::string s;
    if (shortcut & scShift) s += "Shift+";
    if (shortcut & scCtrl) s += "Ctrl+";
    if (shortcut & scAlt) s += "Alt+";
    const WORD key = shortcut & 0xFF;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        s += static_cast<char>(key);
    else if (key >= VK_F1 && key <= VK_F12)
        s += "F" + std::to_string(key - VK_F1 + 1);
    return s;
}

bool Action::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool ActionList::IsShortCut(WORD shortcut) {
    for (Action* a : actions_)
        if (a->ShortCut == shortcut && a->Execute()) return true;
    return false;
}

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
    if (tooltip_) DestroyWindow(tooltip_);
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
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    return tooltip_;
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

// ---- TApplication ----

namespace {
constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x100;
struct SyncCall {
    const std::function<void()>* fn;
    std::exception_ptr error;
    bool done = false;
};
}  // namespace

TApplication::TApplication() {
    Application = this;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    syncWindow_ = CreateHelperWindow("TApplicationSync", SyncProc, true);
}

TApplication::~TApplication() {
    if (syncWindow_) DestroyWindow(syncWindow_);
    if (Application == this) Application = nullptr;
}

LRESULT CALLBACK TApplication::SyncProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYNCHRONIZE) {
        auto* call = reinterpret_cast<SyncCall*>(lp);
        try {
            (*call->fn)();
        } catch (...) {
            call->error = std::current_exception();
        }
        call->done = true;
        return 1;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

void TApplication::Synchronize(const std::function<void()>& fn) {
    SyncCall call{&fn, nullptr, false};
    if (GetWindowThreadProcessId(syncWindow_, nullptr) == GetCurrentThreadId()) {
        SyncProc(syncWindow_, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
    } else {
        SendMessageA(syncWindow_, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
    }
    if (call.error) std::rethrow_exception(call.error);
    if (!call.done) throw Error("The user interface is gone");
}

void TApplication::Terminate() {
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(0);
    }
}

bool TApplication::HandleKeyboard(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    WinControl* target = WinControl::FromHandle(msg.hwnd);
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<Form*>(WinControl::FromHandle(root));
    if (!form) return false;
    const unsigned shift = KeyboardShift();
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        const WORD vk = static_cast<WORD>(msg.wParam);
        if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) return false;
        WORD shortcut = vk;
        if (shift & ssShift) shortcut |= scShift;
        if (shift & ssCtrl) shortcut |= scCtrl;
        if (shift & ssAlt) shortcut |= scAlt;
        if (form->IsShortCut(shortcut)) return true;
        if (vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE) {
            const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&msg));
            if (code & DLGC_WANTALLKEYS) return false;
            if (vk == VK_TAB) {
                if ((code & DLGC_WANTTAB) || (shift & (ssCtrl | ssAlt))) return false;
                form->SelectNext(!(shift & ssShift));
                return true;
            }
            if (form->OfferDialogKey(vk, shift)) return true;
        }
        return false;
    }
    const char ch = static_cast<char>(msg.wParam);
    if (msg.message == WM_SYSCHAR) return form->OfferDialogChar(ch, shift | ssAlt);
    // A plain character is offered for accelerators only when the focused
    // control does not take characters itself.
    const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return false;
    if (target && ch >= ' ') return form->OfferDialogChar(ch, shift);
    return false;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (HandleKeyboard(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

bool TApplication::HandleMessage() {
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
        terminated_ = true;
        return false;
    }
    return ProcessMessage(msg);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!ProcessMessage(msg)) {
            PostQuitMessage(0);
            break;
        }
    }
}

void TApplication::Run() {
    if (MainForm) MainForm->Show();
    while (!terminated_) {
        if (!HandleMessage()) break;
    }
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    if (OnShowException) {
        OnShowException(text);
        return;
    }
    MessageBox(text, Title, MB_OK | MB_ICONERROR);
}

void TApplication::HandleException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Error("Unknown error"));
    }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner && MainForm) owner = MainForm->HandleIfAllocated();
    TaskWindowsDisabler disabler(owner);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

HWND TApplication::Handle() const { return MainForm ? MainForm->HandleIfAllocated() : nullptr; }

void TApplication::Restore() {
    HWND h = Handle();
    if (h && IsIconic(h)) ShowWindow(h, SW_RESTORE);
}

void TApplication::BringToFront() {
    HWND h = Handle();
    if (!h) return;
    HWND top = GetLastActivePopup(h);
    if (!top || !IsWindowVisible(top) || !IsWindowEnabled(top)) top = h;
    SetForegroundWindow(top);
}

}  // namespace rt
