#include "dialogs/About.h"

#include <shellapi.h>

#include "Version.h"
#include "app/AppTitle.h"
#include "app/Links.h"
#include "app/Main.h"

namespace {

rt::Label* MakeLabel(TfrmAbout* form, int l, int t, const std::string& caption) {
    auto* lb = new rt::Label(form);
    lb->SetParent(form);
    lb->SetBounds(l, t, lb->Width(), lb->Height());
    lb->SetCaption(caption);
    return lb;
}

// The version is the build's one definition, the same as in the version
// resource; the build date is the day the build was configured.
std::string VersionLine() { return std::string("Version: ") + MFVC_VERSION_TEXT + "   Build " + MFVC_BUILD_DATE; }

}  // namespace

TfrmAbout::TfrmAbout(rt::Component* owner) : rt::Form(owner) {
    SetName("frmAbout");
    SetCaption("About Free Video Converter");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(360, 249);

    Image2 = new rt::Image(this);
    Image2->SetParent(this);
    Image2->SetBounds(0, 0, 360, 50);
    Image2->Picture().LoadJpegResource("BANNER_ABOUT");

    Image1 = new rt::Image(this);
    Image1->SetParent(this);
    Image1->SetBounds(20, 61, 32, 32);
    Image1->Picture().LoadFromResourceName("LOGO");
    Image1->SetTransparent(true);

    Label1 = MakeLabel(this, 80, 62, kProgramTitle);
    Label2 = MakeLabel(this, 80, 84, VersionLine());
    lCopywrite = MakeLabel(this, 80, 129, "Copyright (C) Marbex Software. All rights reserved.");
    Label3 = MakeLabel(this, 80, 152, std::string("Email: ") + links::kSupportEmail);

    Panel2 = new rt::Panel(this);
    Panel2->SetParent(this);
    Panel2->SetBounds(80, 176, 262, 2);
    Panel2->SetBevelOuter(rt::Bevel::Lowered);

    lbEAddress = MakeLabel(this, 80, 186, "");
    rt::Font linkFont = lbEAddress->GetFont();
    linkFont.Style |= rt::fsUnderline;
    linkFont.Color = rt::clBlue;
    lbEAddress->SetFont(linkFont);
    lbEAddress->SetCursor(rt::CursorKind::Hand);
    lbEAddress->SetCaption(links::kMakerDomain);
    // The link spans the separator above it: a measured width can fall a
    // few pixels short of the drawn text with substituted fonts.
    lbEAddress->SetAutoSize(false);
    lbEAddress->SetWidth(262);
    lbEAddress->OnClick = [this](rt::Component* s) { lbEAddressClick(s); };

    bOK = new TsuiButton(this);
    bOK->SetParent(this);
    bOK->SetBounds(260, 211, 79, 23);
    bOK->SetUIStyle(TsuiUIStyle::WinXP);
    rt::Font buttonFont = bOK->GetFont();
    buttonFont.Height = -11;
    buttonFont.Color = rt::clBlack;
    bOK->SetFont(buttonFont);
    bOK->SetCaption("&OK");
    bOK->SetModalResult(rt::mrOk);

    OnShow = [this](rt::Component* s) { FormShow(s); };

    EndLoading();
}

void TfrmAbout::FormShow(rt::Component* /*Sender*/) { Label1->SetCaption(kProgramTitle); }

void TfrmAbout::lbEAddressClick(rt::Component* /*Sender*/) {
    // The shell's answer is not reported.
    ShellExecuteA(Handle(), "Open", links::kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
}

void TfrmMain::About1Click(rt::Component* /*Sender*/) {
    TfrmAbout dialog(this);
    dialog.ShowModal();
}
