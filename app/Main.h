#pragma once
// The main window: profile box, output folder, commands and the settings
// file beside the program.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FileList.h"
#include "controls/SUIURLLabel.h"
#include "controls/TFlatPanelUnit.h"
#include "controls/WlmShiftImage.h"
#include "engine/ConvertThread.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/Menus.h"
#include "skin/SUIButton.h"
#include "skin/SUICheckBox.h"
#include "skin/SUIEdit.h"
#include "skin/SUIPopupMenu.h"

class TfrmMain : public rt::Form {
public:
    explicit TfrmMain(rt::Component* owner);
    ~TfrmMain() override;
    const char* ClassName() const override { return "TfrmMain"; }

    // Controls, by their names on the form.
    rt::Image* imgTitle;
    rt::Image* Image1;
    rt::Label* lTitle;
    rt::Label* lTitleHint;
    rt::Image* iUpdate;
    TsuiURLLabel* lUpdate;
    rt::Panel* pSingleMode;
    rt::Label* lVideo;
    rt::Label* lUrl;
    rt::Panel* Panel2;
    rt::Label* lConvertTo;
    rt::Label* lExtName;
    TFlatPanel* fpType;
    TsuiArrowButton* suiArrowButton3;
    rt::Panel* Panel1;
    rt::Label* lOutputFolder;
    TsuiEdit* eOutputFolder;
    TsuiButton* bBrowser;
    TsuiCheckBox* cbSameInput;
    rt::Panel* pLine;
    TWlmShiftImage* WlmShiftImage1;
    rt::Label* lbEAddress;
    TsuiButton* bConvert;
    TsuiButton* bShowFiles;
    TsuiButton* bExit;
    rt::OpenDialog* OpenDialog1;
    TsuiPopupMenu* suiPopupMenu1;
    rt::MenuItem* Homepage1;
    rt::MenuItem* N1;
    rt::MenuItem* UseanotherFFMpeg1;
    rt::MenuItem* N3;
    rt::MenuItem* Donate1;
    rt::MenuItem* N2;
    rt::MenuItem* About1;
    TsuiPopupMenu* pmType;
    rt::MenuItem* miManualConvert;
    rt::ActionList* ActionList1;
    rt::Action* aTotal;
    rt::Action* Action1;

    // State kept by the window.
    std::string FOutputDirectory;
    std::string FInputDirectory;
    std::string FSameInputDirectory;
    std::string FAnotherFFmpeg;
    // The text of the last error the Convert command met; the command
    // itself shows none.
    std::string FConvertError;

    // Handlers.
    void FormCreate(rt::Component* Sender);
    void FormShow(rt::Component* Sender);
    void FormClose(rt::Component* Sender);
    void bExitClick(rt::Component* Sender);
    void bBrowserClick(rt::Component* Sender);
    void cbSameInputClick(rt::Component* Sender);
    void bShowFilesClick(rt::Component* Sender);
    void iAboutClick(rt::Component* Sender);
    void Homepage1Click(rt::Component* Sender);
    void Donate1Click(rt::Component* Sender);
    void About1Click(rt::Component* Sender);
    void lTitleClick(rt::Component* Sender);
    void UseanotherFFMpeg1Click(rt::Component* Sender);
    void bConvertClick(rt::Component* Sender);
    void fpTypeClick(rt::Component* Sender);
    void TypeMenuClick(rt::Component* Sender);
    void miManualConvertClick(rt::Component* Sender);

    // The Convert command's steps, shared with files from the shell: the
    // output folder (false: the command ends), the profile, and the batch.
    bool CheckOutputFolder();
    bool CheckProfile();
    void ConvertFiles(const std::vector<std::string>& files);
    // Files dropped onto the window or handed over by another start,
    // converted as if chosen in the Convert command's file dialog.
    void ConvertDroppedFiles(const std::vector<std::string>& files);
    // Runs one of the commands, keeping the text of an error of its own in
    // FConvertError.
    void RunQuietly(const std::function<void()>& command);
    // Files from another start (or this one's command line): they join the
    // waiting ones, each once, and convert as a batch of their own as soon
    // as the program is idle.
    void HandOver(const std::vector<std::string>& files);
    // Posted by the window to itself: handed-over files wait, and may
    // convert now.
    static constexpr UINT WM_CONVERTHANDEDOVER = 0x1704;
    // The files handed over that wait for the program to be idle.
    const std::vector<std::string>& WaitingFiles() const { return handedOver_.Names(); }
    // A batch runs, a dialog or box is open, or a menu is.
    bool Busy();

    void LoadSaveSettings(bool Load);
    // The catalogue lookups of the current profile caption.
    std::string GetProfileArguments() const;
    std::string GetProfileExtension() const;
    // The screen point where the profile menu opens.
    POINT ProfileMenuPoint();
    void UpdateExtensionLabel();
    std::string SettingsFileName() const;

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void AfterCreateHandle() override;

private:
    void ComeForward();
    void FilesHandedOver(const COPYDATASTRUCT& data);
    // Converts the waiting files when the program is idle; otherwise looks
    // again a little later.
    void ConvertHandedOver();
    filelist::UniqueList handedOver_;
    bool converting_ = false;
    void BuildProfileMenu();
    // Ends a batch and any other modal window, as their Stop or Cancel would.
    void EndModalWork();
    void OpenAddress(const char* address);

    // The program's one encoder runner (ConvertProcess points to it), for
    // the window's whole life.
    std::unique_ptr<TConvertProcess> convertProcess_;
};

extern TfrmMain* frmMain;
