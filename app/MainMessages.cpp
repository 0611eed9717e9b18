// What reaches the main window from outside the program: another start's
// activation and files, files dropped from the shell, the end of the
// session.
//
// Files handed over wait in handedOver_, in the order they came, each once,
// until the program is idle: no batch runs, no dialog, box or menu is
// open. Then they convert as a batch of their own, with the profile and the
// output folder of that moment. The other start never waits for that: its
// WM_COPYDATA is answered as soon as the list is read.
#include "app/Main.h"

#include <shellapi.h>

#include "app/AppTitle.h"
#include "app/FileList.h"
#include "app/ShellFiles.h"
#include "runtime/Strings.h"

namespace {

// While handed-over files cannot convert, the window looks again on this timer.
constexpr UINT_PTR kHandOverTimer = 0x4846;
constexpr UINT kHandOverRetryMs = 250;

// True while a menu of this thread is open: its own message loop runs.
bool InMenu() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetCurrentThreadId(), &gui) && (gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
}

}  // namespace

void TfrmMain::ComeForward() {
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_SHOWNA : SW_SHOW);
    rt::Application->Restore();
    rt::Application->BringToFront();
}

LRESULT TfrmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends: as a close, before the process is ended.
            if (wp) Close();
            return 0;
        case WM_ACTIVATEINSTANCE:
            // Another start of the program asks this copy to come forward.
            ComeForward();
            return 0;
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            if (!data || data->dwData != kCopyDataFileList) break;
            FilesHandedOver(*data);
            return TRUE;
        }
        case WM_CONVERTHANDEDOVER:
            ConvertHandedOver();
            return 0;
        case WM_TIMER:
            if (wp != kHandOverTimer) break;
            ConvertHandedOver();
            return 0;
        case WM_ENABLE:
            // A batch or a dialog has ended: waiting files need not wait for
            // the timer.
            if (wp && !handedOver_.Empty()) PostMessageA(Handle(), WM_CONVERTHANDEDOVER, 0, 0);
            break;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wp);
            // While a batch runs nothing can be dropped; a dropped folder is
            // not even read then.
            std::vector<std::string> files;
            if (!Busy()) files = shellfiles::DroppedFiles(drop);
            DragFinish(drop);
            if (!files.empty()) ConvertDroppedFiles(files);
            return 0;
        }
        default:
            break;
    }
    return rt::Form::WndProc(msg, wp, lp);
}

void TfrmMain::AfterCreateHandle() {
    rt::Form::AfterCreateHandle();
    DragAcceptFiles(Handle(), TRUE);
}

void TfrmMain::FilesHandedOver(const COPYDATASTRUCT& data) {
    // Only the data is read here: the sender waits until this returns. A
    // list that is not what a start of this program sends is refused
    // whole, without a word: nothing of it is converted.
    ComeForward();
    if (!data.lpData || data.cbData > filelist::kMaxHandOverBytes) return;
    const auto names = filelist::ParseHandOver(std::string(static_cast<const char*>(data.lpData), data.cbData));
    if (!names) return;
    std::vector<std::string> files;
    for (const std::string& f : *names)
        if (rt::FileExists(f)) files.push_back(f);
    HandOver(files);
}

void TfrmMain::HandOver(const std::vector<std::string>& files) {
    for (const std::string& f : files) handedOver_.Add(f);
    if (!handedOver_.Empty()) PostMessageA(Handle(), WM_CONVERTHANDEDOVER, 0, 0);
}

void TfrmMain::ConvertHandedOver() {
    if (handedOver_.Empty()) {
        KillTimer(Handle(), kHandOverTimer);
        return;
    }
    if (Busy()) {
        SetTimer(Handle(), kHandOverTimer, kHandOverRetryMs, nullptr);
        return;
    }
    KillTimer(Handle(), kHandOverTimer);
    ConvertDroppedFiles(handedOver_.Take());
}

bool TfrmMain::Busy() { return converting_ || !IsWindowEnabled(Handle()) || InMenu(); }
