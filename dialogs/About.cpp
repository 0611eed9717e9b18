#include "dialogs/About.h"

#include <shellapi.h>

#include "Version.h"

namespace {

// The version is the build's one definition, the same as in the version
// resource; the build date is the day the build was configured.
std::string VersionLine() { return std::string("Version: ") + MFVC_VERSION_TEXT + "   Build " + MFVC_BUILD_DATE; }

}  // namespace

TfrmAbout::TfrmAbout(rt::Component* owner, const AboutDetails& details) : rt::Form(owner), details_(details) {
    SetName("frmAbout");
    SetCaption("About Free Video Converter");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(360, 249);

    Image2 = rt::MakeControl<rt::Image>(this, this, {0, 0, 360, 50}, "");
    Image2->Picture().LoadJpegResource("BANNER_ABOUT");

    Image1 = rt::MakeControl<rt::Image>(this, this, {20, 61, 32, 32}, "");
    Image1->Picture().LoadFromResourceName("LOGO");
    Image1->SetTransparent(true);

    Label1 = rt::MakeControl<rt::Label>(this, this, {80, 62}, details_.title);
    Label2 = rt::MakeControl<rt::Label>(this, this, {80, 84}, VersionLine());
    lCopywrite =
        rt::MakeControl<rt::Label>(this, this, {80, 129}, "Copyright (C) Marbex Software. All rights reserved.");
    Label3 = rt::MakeControl<rt::Label>(this, this, {80, 152}, "Email: " + details_.supportEmail);

    Panel2 = rt::MakeControl<rt::Panel>(this, this, {80, 176, 262, 2}, "");
    Panel2->SetBevelOuter(rt::Bevel::Lowered);

    lbEAddress = rt::MakeControl<rt::Label>(this, this, {80, 186}, "");
    rt::Font linkFont = lbEAddress->GetFont();
    linkFont.Style |= rt::fsUnderline;
    linkFont.Color = rt::clBlue;
    lbEAddress->SetFont(linkFont);
    lbEAddress->SetCursor(rt::CursorKind::Hand);
    lbEAddress->SetCaption(details_.linkText);
    // The link spans the separator above it: a measured width can fall a
    // few pixels short of the drawn text with substituted fonts.
    lbEAddress->SetAutoSize(false);
    lbEAddress->SetWidth(262);
    lbEAddress->OnClick = [this](rt::Component* s) { lbEAddressClick(s); };

    bOK = rt::MakeControl<TsuiButton>(this, this, {260, 211, 79, 23}, "&OK");
    UsePlainButtonLook(*bOK);
    bOK->SetModalResult(rt::mrOk);

    OnShow = [this](rt::Component* s) { FormShow(s); };

    EndLoading();
}

void TfrmAbout::FormShow(rt::Component* /*Sender*/) { Label1->SetCaption(details_.title); }

void TfrmAbout::lbEAddressClick(rt::Component* /*Sender*/) {
    // The shell's answer is not reported.
    ShellExecuteA(Handle(), "Open", details_.linkTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
