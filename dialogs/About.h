#pragma once
// The About window: title, version and build, notice, support address and
// a link to the product's home page.
#include "runtime/Forms.h"
#include "skin/SUIButton.h"

class TfrmAbout : public rt::Form {
public:
    explicit TfrmAbout(rt::Component* owner);
    const char* ClassName() const override { return "TfrmAbout"; }

    rt::Image* Image2;  // banner
    rt::Image* Image1;  // logo
    rt::Label* Label1;  // program title
    rt::Label* Label2;  // version and build
    rt::Label* lCopywrite;
    rt::Label* Label3;  // support address
    rt::Panel* Panel2;
    rt::Label* lbEAddress;
    TsuiButton* bOK;

    void FormShow(rt::Component* Sender);
    void lbEAddressClick(rt::Component* Sender);
};
