#pragma once
// Forms (top-level windows, modal show with a modal result), the
// application object with its message loop and error display, and action
// lists for keyboard shortcuts.
#include "runtime/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace rt {

// Shortcut values: a virtual-key code plus these flags (Ctrl+P = 16464).
constexpr WORD scShift = 0x2000;
constexpr WORD scCtrl = 0x4000;
constexpr WORD scAlt = 0x8000;
std::string ShortCutToText(WORD shortcut);  // "Ctrl+P"

class Action : public Component {
public:
    explicit Action(Component* owner) : Component(owner) {}
    const char* ClassName() const override { return "TAction"; }
    std::string Caption;
    WORD ShortCut = 0;
    NotifyEvent OnExecute;
    bool Execute();  // runs OnExecute; false when there is none
};

class ActionList : public Component {
public:
    explicit ActionList(Component* owner) : Component(owner) {}
    const char* ClassName() const override { return "TActionList"; }
    void Add(Action* a) { actions_.push_back(a); }
    const std::vector<Action*>& Actions() const { return actions_; }
    bool IsShortCut(WORD shortcut);  // runs the matching action

private:
    std::vector<Action*> actions_;
};

enum class FormBorder { Single, Dialog };
enum class FormPosition { Designed, ScreenCenter, OwnerFormCenter };

class Form : public WinControl {
public:
    explicit Form(Component* owner);
    ~Form() override;
    const char* ClassName() const override { return "TForm"; }

    void SetClientSize(int width, int height);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    RECT ClientRect() const override { return RECT{0, 0, clientWidth_, clientHeight_}; }
    void SetBorder(FormBorder b) { border_ = b; }
    void SetPosition(FormPosition p) { position_ = p; }
    void SetWindowClassName(const std::string& name) { windowClassName_ = name; }
    void SetIcon(HICON icon) { icon_ = icon; }

    void Show();
    void Hide();
    int ShowModal();
    void Close();
    bool IsModal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }

    WinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(WinControl* c);
    void SelectFirst();
    void SelectNext(bool forward);
    std::vector<WinControl*> TabOrderList();

    void AddActionList(ActionList* list) { actionLists_.push_back(list); }
    bool IsShortCut(WORD shortcut);
    bool OfferDialogKey(WORD key, unsigned shift);
    bool OfferDialogChar(char ch, unsigned shift);
    void FocusedControlChanged(WinControl* focused);

    HWND TooltipHandle();  // the form's tooltip window (made on demand)

    // Ends the loading state of the form and of everything it owns.
    void EndLoading();

    NotifyEvent OnShow;
    NotifyEvent OnClose;

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void CreateParams(CreateParamsA& params) override;
    void AfterCreateHandle() override;
    void BoundsChanged() override;

private:
    void DoShow();
    void DoClose();
    void PlaceWindow();
    int clientWidth_ = 300, clientHeight_ = 200;
    FormBorder border_ = FormBorder::Single;
    FormPosition position_ = FormPosition::Designed;
    std::string windowClassName_;
    HICON icon_ = nullptr;
    bool modal_ = false;
    bool shown_ = false;
    bool placed_ = false;
    int modalResult_ = mrNone;
    WinControl* activeControl_ = nullptr;
    std::vector<ActionList*> actionLists_;
    HWND tooltip_ = nullptr;
    bool closing_ = false;
};

class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    std::string Title;
    Form* MainForm = nullptr;
    bool Terminated() const { return terminated_; }
    void Terminate();

    void Run();                // until the main form closes
    bool HandleMessage();      // waits for and handles one message; false after WM_QUIT
    void ProcessMessages();    // handles what is queued, without waiting
    bool ProcessMessage(MSG& msg);

    // The general error display: an error box titled with the application
    // title; a final "." is added when the text's last character sorts
    // after ".".
    void ShowException(const std::exception& e);
    void HandleException();    // inside a catch block: shows the current error
    std::function<void(const std::string& text)> OnShowException;  // tests listen here

    // A modal message box owned by the active window; the application's
    // other windows are disabled while it shows.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    HWND Handle() const;       // the application's own top-level window
    void Restore();
    void BringToFront();

    // Runs fn on the user-interface thread and waits for it; an error it
    // raises is raised again in the caller. Served inside modal loops and
    // message boxes as well, since it travels as a sent message.
    void Synchronize(const std::function<void()>& fn);
    HWND SyncWindow() const { return syncWindow_; }

private:
    static LRESULT CALLBACK SyncProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    bool HandleKeyboard(MSG& msg);
    HWND syncWindow_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;

// Disables every enabled top-level window of this thread except `except`,
// and enables them again when it goes away.
class TaskWindowsDisabler {
public:
    explicit TaskWindowsDisabler(HWND except);
    ~TaskWindowsDisabler();
    TaskWindowsDisabler(const TaskWindowsDisabler&) = delete;
    TaskWindowsDisabler& operator=(const TaskWindowsDisabler&) = delete;

private:
    std::vector<HWND> disabled_;
};

}  // namespace rt
