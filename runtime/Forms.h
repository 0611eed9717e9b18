#pragma once
// Forms: top-level windows, shown modeless or modal with a modal result,
// built from the standard controls and run by the application object.
#include "runtime/Actions.h"
#include "runtime/Application.h"
#include "runtime/StdControls.h"
#include "runtime/WinControl.h"

#include <string>
#include <vector>

namespace rt {

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
    UniqueWindow tooltip_;  // destroyed before the form's own window
    bool closing_ = false;
};

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
