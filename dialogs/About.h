#pragma once
// The About window: title, version and build, notice, support address and
// a link to the product's home page.
#include "runtime/Forms.h"
#include "skin/SUIButton.h"

#include <string>

// What the About window shows, given by the window that opens it.
struct AboutDetails {
    std::string title;         // the program title
    std::string supportEmail;  // shown after "Email: "
    std::string linkText;      // the address shown as a link
    std::string linkTarget;    // the page the link opens
};

class TfrmAbout : public rt::Form {
public:
    TfrmAbout(rt::Component* owner, const AboutDetails& details);
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

private:
    AboutDetails details_;
};
