#include "tests/win/common/WinTest.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "runtime/Strings.h"

namespace wintest {

std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

void PumpFor(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        rt::Application->ProcessMessages();
    }
}

bool PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    while (!pred()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        rt::Application->ProcessMessages();
    }
    return true;
}

namespace {
std::function<void()>& SoonCall() {
    static std::function<void()> fn;
    return fn;
}
void CALLBACK SoonTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    std::function<void()> fn = std::move(SoonCall());
    SoonCall() = nullptr;
    if (fn) fn();
}
}  // namespace

void RunSoon(std::function<void()> fn, int delayMs) {
    SoonCall() = std::move(fn);
    SetTimer(nullptr, 0, static_cast<UINT>(delayMs), SoonTimer);
}

std::string WindowText(HWND h) {
    char buffer[4096];
    const int n = GetWindowTextA(h, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

HWND FindProcessWindow(const std::string& cls, const std::string& title) {
    struct Ctx {
        const std::string* cls;
        const std::string* title;
        HWND found;
    } ctx{&cls, &title, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid != GetCurrentProcessId() || !IsWindowVisible(h)) return TRUE;
            char name[256];
            GetClassNameA(h, name, sizeof name);
            if (!c->cls->empty() && *c->cls != name) return TRUE;
            if (!c->title->empty() && *c->title != WindowText(h)) return TRUE;
            c->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::string DialogText(HWND dialog) {
    std::string text;
    EnumChildWindows(
        dialog,
        [](HWND h, LPARAM lp) -> BOOL {
            char name[64];
            GetClassNameA(h, name, sizeof name);
            if (lstrcmpiA(name, "Static") == 0) {
                const std::string t = WindowText(h);
                if (!t.empty()) {
                    auto* out = reinterpret_cast<std::string*>(lp);
                    if (!out->empty()) *out += "\n";
                    *out += t;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

struct DialogWatcher::State {
    Answer answer;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::vector<std::string> seen;
    std::set<HWND> handled;
    std::thread thread;
};

DialogWatcher::DialogWatcher(Answer answer) : state_(new State) {
    state_->answer = std::move(answer);
    state_->thread = std::thread([s = state_] {
        while (!s->stop) {
            HWND dialog = FindProcessWindow("#32770", "");
            if (dialog && !s->handled.count(dialog) && IsWindowEnabled(dialog)) {
                // The dialog has finished opening once its thread has
                // answered two sent messages in turn: the first is answered
                // when its modal loop first looks at the queue, the second
                // only after what that look found has been handled.
                for (int i = 0; i < 2; ++i) {
                    DWORD_PTR answer = 0;
                    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
                }
                const std::string text = DialogText(dialog);
                const int command = s->answer(dialog, text);
                {
                    std::lock_guard<std::mutex> lock(s->mutex);
                    s->seen.push_back(text);
                }
                s->handled.insert(dialog);
                if (command) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
            }
            Sleep(50);
        }
    });
}

DialogWatcher::~DialogWatcher() {
    state_->stop = true;
    state_->thread.join();
    delete state_;
}

std::vector<std::string> DialogWatcher::Seen() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->seen;
}

bool WaitForBrowserSelection(HWND dialog, const std::string& leaf, int timeoutMs) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    do {
        HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
        if (tree) {
            if (auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))) {
                char buffer[MAX_PATH * 4] = {};
                TVITEMA tv{};
                tv.mask = TVIF_TEXT;
                tv.hItem = item;
                tv.pszText = buffer;
                tv.cchTextMax = sizeof buffer;
                if (SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) && leaf == buffer)
                    return true;
            }
        }
        Sleep(50);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    return false;
}

int ProcessesNamed(const std::string& exeName) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) ++count;
    CloseHandle(snap);
    return count;
}

int CountTopWindows(const char* cls) {
    struct Search {
        const char* cls;
        int count;
    } search{cls, 0};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char name[256];
            GetClassNameA(h, name, sizeof name);
            if (lstrcmpA(name, s->cls) == 0) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

ProgramRun::ProgramRun(const std::string& exe) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = "\"" + exe + "\"";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        text::ExtractFilePath(exe).c_str(), &si, &pi_))
        ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
}

ProgramRun::~ProgramRun() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
}

HWND ProgramRun::WindowOfClass(const char* cls, int timeoutMs) {
    HWND found = nullptr;
    if (!pi_.hProcess) return found;
    PumpUntil(
        [&] {
            HWND h = FindWindowA(cls, nullptr);
            DWORD pid = 0;
            if (h) GetWindowThreadProcessId(h, &pid);
            if (h && pid == pi_.dwProcessId && IsWindowVisible(h)) found = h;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool ProgramRun::CloseAndWait(HWND window, int timeoutMs) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool ProgramRun::Ended() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }

DWORD ProgramRun::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

std::string TestProgramFolder() { return rt::ExecutableFolder(); }

std::string MakeCleanFolder(const std::string& name) {
    const std::string path = TestProgramFolder() + name;
    if (rt::DirectoryExists(path)) {
        std::string from = path;
        from.push_back('\0');
        SHFILEOPSTRUCTA op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&op);
    }
    CreateDirectoryA(path.c_str(), nullptr);
    return text::IncludeTrailingPathDelimiter(path);
}

void WriteTextFile(const std::string& path, const std::string& content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
}

std::string ReadTextFile(const std::string& path) { return rt::ReadFileBytes(path); }

}  // namespace wintest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    rt::TApplication app;
    app.Title = "Marbex Free Video Converter";
    app.OnShowException = [](const std::string& text) { wintest::ShownErrors().push_back(text); };
    return RUN_ALL_TESTS();
}
