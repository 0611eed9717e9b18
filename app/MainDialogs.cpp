// The main window's commands that open a dialog: each gives the dialog what
// it shows and takes back what the user chose.
#include "app/AppTitle.h"
#include "app/Links.h"
#include "app/Main.h"
#include "dialogs/About.h"
#include "dialogs/Useanother.h"
#include "profiles/ManualConvert.h"

void TfrmMain::About1Click(rt::Component* /*Sender*/) {
    TfrmAbout dialog(this, {kProgramTitle, links::kSupportEmail, links::kMakerDomain, links::kHomePage});
    dialog.ShowModal();
}

void TfrmMain::UseanotherFFMpeg1Click(rt::Component* /*Sender*/) {
    TfrmUseFFmpeg dialog(this, kProgramTitle);
    dialog.Edit1->SetText(FAnotherFFmpeg);
    if (dialog.ShowModal() == rt::mrOk) FAnotherFFmpeg = dialog.Edit1->Text();
}

void TfrmMain::miManualConvertClick(rt::Component* /*Sender*/) {
    TfrmManualConvert dialog(this, fpType->Caption(), kProgramTitle);
    if (dialog.ShowModal() == rt::mrOk) {
        fpType->SetCaption(dialog.Edit1->Text());
        fpType->SetHint(fpType->Caption());
        // A stale extension label would be plainly wrong.
        UpdateExtensionLabel();
    }
}
