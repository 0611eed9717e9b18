#pragma once
// The encoder location dialog: names another encoder program file instead
// of the ffmpeg.exe the program finds by itself.
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "skin/SUIButton.h"
#include "skin/SUIEdit.h"

#include <string>

class TfrmUseFFmpeg : public rt::Form {
public:
    // messageTitle: the caption of the dialog's message boxes.
    TfrmUseFFmpeg(rt::Component* owner, const std::string& messageTitle);
    const char* ClassName() const override { return "TfrmUseFFmpeg"; }

    rt::GroupBox* GroupBox1;
    TsuiEdit* Edit1;  // the path being edited
    TsuiButton* bBrowser;
    TsuiButton* bDefault;
    TsuiButton* bOK;
    TsuiButton* bCancel;
    rt::OpenDialog* OpenDialog1;

    void FormShow(rt::Component* Sender);
    void bBrowserClick(rt::Component* Sender);
    void bDefaultClick(rt::Component* Sender);
    void bOKClick(rt::Component* Sender);

private:
    std::string messageTitle_;
};
