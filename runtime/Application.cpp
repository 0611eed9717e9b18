#include "runtime/Application.h"

#include "runtime/Forms.h"

namespace rt {

TApplication* Application = nullptr;

TApplication::TApplication() {
    Application = this;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

TApplication::~TApplication() {
    if (Application == this) Application = nullptr;
}

void TApplication::Synchronize(const std::function<void()>& fn) { crossing_.Run(fn); }

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
