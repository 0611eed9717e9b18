#include "profiles/ManualConvert.h"

#include "profiles/Catalogue.h"
#include "resources/StringIds.h"

TfrmManualConvert::TfrmManualConvert(rt::Component* owner, const std::string& currentLine,
                                     const std::string& messageTitle)
    : rt::Form(owner), currentLine_(currentLine), messageTitle_(messageTitle) {
    SetName("frmManualConvert");
    SetCaption("Manual conversion");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(540, 363);

    Label10 = rt::MakeControl<rt::Label>(this, this, {8, 8},
                                         "Please input the command line and output file extension:");
    GroupBox2 =
        rt::MakeControl<rt::GroupBox>(this, this, {8, 27, 267, 65}, "Command Line (no -i or output file):");
    eCommandLine = rt::MakeControl<rt::Edit>(this, GroupBox2, {8, 24, 249, 21},
                                             "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1");
    GroupBox3 = rt::MakeControl<rt::GroupBox>(this, this, {284, 27, 152, 65}, "Output File Extension (no \".\")");
    eOutputFile = rt::MakeControl<rt::Edit>(this, GroupBox3, {16, 24, 121, 21}, "mov");
    GroupBox1 = rt::MakeControl<rt::GroupBox>(this, this, {8, 98, 429, 255}, "");
    Label9 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 12}, "The software will use the following (Read Only):");
    Edit1 = rt::MakeControl<rt::Edit>(this, GroupBox1, {16, 31, 398, 21},
                                      "ffmpeg -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov");
    Edit1->SetReadOnly(true);
    Label1 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 60}, "-i = Input file (%1 it's the file selected)");
    Label2 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 84}, "-s = Video size (Width x Height)");
    Label3 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 108}, "-r = Video frame rate (Fps)");
    Label4 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 132}, "-b = Video bitrate (b/s)");
    Label5 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 156}, "-ar = Audio sample rate (Hz)");
    Label6 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 180}, "-ab = Audio bitrate (b/s)");
    Label7 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 204}, "-ac = Audio channels (1 mono, 2 stereo)");
    Label8 = rt::MakeControl<rt::Label>(this, GroupBox1, {16, 228},
                                        "%1.xxx = Output file (.xxx the format to convert!)");
    bOK = rt::MakeControl<TsuiButton>(this, this, {449, 281, 80, 27}, "&OK");
    UsePlainButtonLook(*bOK);
    bOK->SetTransparent(false);
    bOK->OnClick = [this](rt::Component* s) { bOKClick(s); };
    bCancel = rt::MakeControl<TsuiButton>(this, this, {449, 325, 80, 27}, "&Cancel");
    UsePlainButtonLook(*bCancel);
    bCancel->SetTransparent(false);
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
    if (profiles::SplitManualCommandLine(currentLine_, options, extension)) {
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
        rt::Application->MessageBox(rt::ResString(IDS_CHECK_PARAMETERS), messageTitle_, MB_OK | MB_ICONINFORMATION);
    }
}
