#pragma once
// The manual conversion dialog: encoder options and an output extension of
// the user's own, shown as the manual command line they make.
#include "runtime/Forms.h"
#include "skin/SUIButton.h"

#include <string>

class TfrmManualConvert : public rt::Form {
public:
    // currentLine: the profile line now chosen, taken apart into the two
    // fields when this dialog could have written it; messageTitle: the
    // caption of the dialog's message boxes.
    TfrmManualConvert(rt::Component* owner, const std::string& currentLine, const std::string& messageTitle);
    const char* ClassName() const override { return "TfrmManualConvert"; }

    rt::Label* Label10;
    rt::GroupBox* GroupBox2;
    rt::Edit* eCommandLine;
    rt::GroupBox* GroupBox3;
    rt::Edit* eOutputFile;
    rt::GroupBox* GroupBox1;
    rt::Label* Label9;
    rt::Edit* Edit1;
    rt::Label* Label1;
    rt::Label* Label2;
    rt::Label* Label3;
    rt::Label* Label4;
    rt::Label* Label5;
    rt::Label* Label6;
    rt::Label* Label7;
    rt::Label* Label8;
    TsuiButton* bOK;
    TsuiButton* bCancel;

    void FormShow(rt::Component* Sender);
    void eCommandLineChange(rt::Component* Sender);
    void bOKClick(rt::Component* Sender);

private:
    std::string currentLine_;
    std::string messageTitle_;
};
