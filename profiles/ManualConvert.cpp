#include "profiles/ManualConvert.h"

#include "app/AppTitle.h"
#include "app/Main.h"
#include "profiles/Catalogue.h"
#include "resources/StringIds.h"

namespace {

rt::Label* AddLabel(rt::Component* owner, rt::WinControl* parent, int left, int top, const char* caption) {
    auto* l = new rt::Label(owner);
    l->SetParent(parent);
    l->SetBounds(left, top, l->Width(), l->Height());
    l->SetCaption(caption);
    return l;
}

rt::GroupBox* AddGroup(rt::Component* owner, rt::WinControl* parent, int l, int t, int w, int h,
                       const char* caption) {
    auto* g = new rt::GroupBox(owner);
    g->SetParent(parent);
    g->SetBounds(l, t, w, h);
    g->SetCaption(caption);
    return g;
}

rt::Edit* AddEdit(rt::Component* owner, rt::WinControl* parent, int l, int t, int w, int h, const char* text) {
    auto* e = new rt::Edit(owner);
    e->SetParent(parent);
    e->SetBounds(l, t, w, h);
    e->SetText(text);
    return e;
}

TsuiButton* AddButton(rt::Component* owner, rt::WinControl* parent, int l, int t, const char* caption) {
    auto* b = new TsuiButton(owner);
    b->SetParent(parent);
    b->SetBounds(l, t, 80, 27);
    b->SetUIStyle(TsuiUIStyle::WinXP);
    rt::Font f = b->GetFont();
    f.Color = rt::clBlack;
    b->SetFont(f);
    b->SetTransparent(false);
    b->SetCaption(caption);
    return b;
}

}  // namespace

TfrmManualConvert::TfrmManualConvert(rt::Component* owner) : rt::Form(owner) {
    SetName("frmManualConvert");
    SetCaption("Manual conversion");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(540, 363);

    Label10 = AddLabel(this, this, 8, 8, "Please input the command line and output file extension:");
    GroupBox2 = AddGroup(this, this, 8, 27, 267, 65, "Command Line (no -i or output file):");
    eCommandLine = AddEdit(this, GroupBox2, 8, 24, 249, 21, "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1");
    GroupBox3 = AddGroup(this, this, 284, 27, 152, 65, "Output File Extension (no \".\")");
    eOutputFile = AddEdit(this, GroupBox3, 16, 24, 121, 21, "mov");
    GroupBox1 = AddGroup(this, this, 8, 98, 429, 255, "");
    Label9 = AddLabel(this, GroupBox1, 16, 12, "The software will use the following (Read Only):");
    Edit1 = AddEdit(this, GroupBox1, 16, 31, 398, 21,
                    "ffmpeg -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov");
    Edit1->SetReadOnly(true);
    Label1 = AddLabel(this, GroupBox1, 16, 60, "-i = Input file (%1 it's the file selected)");
    Label2 = AddLabel(this, GroupBox1, 16, 84, "-s = Video size (Width x Height)");
    Label3 = AddLabel(this, GroupBox1, 16, 108, "-r = Video frame rate (Fps)");
    Label4 = AddLabel(this, GroupBox1, 16, 132, "-b = Video bitrate (b/s)");
    Label5 = AddLabel(this, GroupBox1, 16, 156, "-ar = Audio sample rate (Hz)");
    Label6 = AddLabel(this, GroupBox1, 16, 180, "-ab = Audio bitrate (b/s)");
    Label7 = AddLabel(this, GroupBox1, 16, 204, "-ac = Audio channels (1 mono, 2 stereo)");
    Label8 = AddLabel(this, GroupBox1, 16, 228, "%1.xxx = Output file (.xxx the format to convert!)");
    bOK = AddButton(this, this, 449, 281, "&OK");
    bOK->OnClick = [this](rt::Component* s) { bOKClick(s); };
    bCancel = AddButton(this, this, 449, 325, "&Cancel");
    bCancel->SetModalResult(rt::mrCancel);

    // Tab order: the read-only line, OK, Cancel, then the two fields.
    GroupBox1->SetTabOrder(0);
    bOK->SetTabOrder(1);
    bCancel->SetTabOrder(2);
    GroupBox2->SetTabOrder(3);
    GroupBox3->SetTabOrder(4);

    eCommandLine->OnChange = [this](rt::Component* s) { eCommandLineChange(s); };
    eOutputFile->OnChange = [this](rt::Component* s) { eCommandLineChange(s); };
    OnShow = [this](rt::Component* s) { FormShow(s); };
    EndLoading();
}

void TfrmManualConvert::FormShow(rt::Component* /*Sender*/) {
    std::string options, extension;
    // Only a manual line this dialog could have written is taken apart.
    if (frmMain && profiles::SplitManualCommandLine(frmMain->fpType->Caption(), options, extension)) {
        eCommandLine->SetText(options);
        eOutputFile->SetText(extension);
    }
}

void TfrmManualConvert::eCommandLineChange(rt::Component* /*Sender*/) {
    Edit1->SetText(profiles::ComposeManualCommandLine(eCommandLine->Text(), eOutputFile->Text()));
}

void TfrmManualConvert::bOKClick(rt::Component* /*Sender*/) {
    // An extension that is no plain file-name ending is refused like an empty one.
    if (!eCommandLine->Text().empty() && profiles::IsAcceptableExtension(eOutputFile->Text())) {
        SetModalResult(rt::mrOk);
    } else {
        rt::Application->MessageBox(rt::ResString(IDS_CHECK_PARAMETERS), kProgramTitle, MB_OK | MB_ICONINFORMATION);
    }
}

void TfrmMain::miManualConvertClick(rt::Component* /*Sender*/) {
    TfrmManualConvert dialog(this);
    if (dialog.ShowModal() == rt::mrOk) {
        fpType->SetCaption(dialog.Edit1->Text());
        fpType->SetHint(fpType->Caption());
        // A stale extension label would be plainly wrong.
        UpdateExtensionLabel();
    }
}
