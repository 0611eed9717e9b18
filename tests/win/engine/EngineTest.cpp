#include "tests/win/engine/EngineTest.h"

#include <tlhelp32.h>

#include <map>

#include "app/Main.h"
#include "tests/win/common/WinTest.h"

namespace enginetest {

std::string TestEncoder() { return wintest::TestProgramFolder() + "testencoder.exe"; }

std::string Folder(const std::string& name) { return wintest::MakeCleanFolder("engine_" + name); }

std::string Script(const std::string& folder, const std::string& name, const std::string& lines) {
    const std::string path = folder + name;
    wintest::WriteTextFile(path, lines);
    return path;
}

std::string DurationLine(const std::string& hms) {
    return "err   Duration: " + hms + ", start: 0.000000, bitrate: 1205 kb/s\\r\\n\n";
}

std::string ProgressLine(const std::string& time) {
    return "err frame=   12 fps=0.0 q=2.0 size=     100kB time=" + time + " bitrate= 202.1kbits/s\\r\n";
}

// ---- NoteSink ----

NoteSink::NoteSink() {
    handle_ = rt::CreateHelperWindow("EngineTestNoteSink", Proc, true);
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NoteSink::~NoteSink() {
    MSG msg;
    while (PeekMessageA(&msg, handle_, WM_CONVERTPROGRESS, WM_CONVERTPROGRESS, PM_REMOVE))
        delete reinterpret_cast<TProcessInfo*>(msg.lParam);
    DestroyWindow(handle_);
}

LRESULT CALLBACK NoteSink::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CONVERTPROGRESS) {
        auto* self = reinterpret_cast<NoteSink*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        auto* info = reinterpret_cast<TProcessInfo*>(lp);
        if (self) self->notes_.push_back(*info);
        delete info;
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

bool NoteSink::Ended() const {
    for (const TProcessInfo& n : notes_)
        if (n.Percent == kEndOfFilePercent) return true;
    return false;
}

std::vector<int> NoteSink::Percents() const {
    std::vector<int> result;
    for (const TProcessInfo& n : notes_)
        if (n.Percent != kEndOfFilePercent) result.push_back(n.Percent);
    return result;
}

const TProcessInfo& NoteSink::End() const {
    for (const TProcessInfo& n : notes_)
        if (n.Percent == kEndOfFilePercent) return n;
    static const TProcessInfo none;
    return none;
}

bool WaitForEnd(const NoteSink& sink, int timeoutMs) {
    return wintest::PumpUntil([&] { return sink.Ended(); }, timeoutMs);
}

namespace {

bool PollUntil(const std::function<bool()>& pred, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!pred()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

bool WaitForQueuedStep(int timeoutMs) {
    return PollUntil([] { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; }, timeoutMs);
}

bool WaitForFile(const std::string& path, int timeoutMs) {
    return PollUntil([&] { return rt::FileExists(path); }, timeoutMs);
}

// ---- main window ----

void UseMainWindow(bool sameAsInput, const std::string& outputFolder) {
    if (!frmMain) new TfrmMain(nullptr);
    frmMain->cbSameInput->SetChecked(sameAsInput);
    frmMain->eOutputFolder->SetText(outputFolder);
}

// ---- timers ----

namespace {

std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end()) return;
    std::function<void()> fn = std::move(it->second);
    Pending().erase(it);
    fn();
}

std::map<UINT_PTR, ModalGuard*>& Guards() {
    static std::map<UINT_PTR, ModalGuard*> guards;
    return guards;
}

}  // namespace

void After(int ms, std::function<void()> fn) {
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), RunPending);
    Pending()[id] = std::move(fn);
}

ModalGuard::ModalGuard(rt::Form& form, int ms)
    : form_(form), timer_(SetTimer(nullptr, 0, static_cast<UINT>(ms), Tick)) {
    Guards()[timer_] = this;
}

ModalGuard::~ModalGuard() {
    KillTimer(nullptr, timer_);
    Guards().erase(timer_);
}

void CALLBACK ModalGuard::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Guards().find(id);
    if (it == Guards().end()) return;
    it->second->fired_ = true;
    it->second->form_.SetModalResult(rt::mrAbort);
}

// ---- processes ----

bool ProcessEnded(DWORD pid, int timeoutMs) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!h) return true;
    const bool ended = WaitForSingleObject(h, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
    CloseHandle(h);
    return ended;
}

int ThreadCount() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snap, &entry); more; more = Thread32Next(snap, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snap);
    return count;
}

}  // namespace enginetest
