#include "dialogs/Useanother.h"

#include "resources/StringIds.h"
#include "runtime/Strings.h"

TfrmUseFFmpeg::TfrmUseFFmpeg(rt::Component* owner, const std::string& messageTitle)
    : rt::Form(owner), messageTitle_(messageTitle) {
    SetName("frmUseFFmpeg");
    SetCaption("Use another FFmpeg");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(368, 139);

    GroupBox1 = rt::MakeControl<rt::GroupBox>(this, this, {8, 8, 351, 81}, "Select FFmpeg path");

    Edit1 = rt::MakeControl<TsuiEdit>(this, GroupBox1, {8, 33, 300, 20}, "");
    Edit1->SetUIStyle(skin::TsuiUIStyle::WinXP);
    Edit1->SetBorderColor(0x686868);
    Edit1->SetTabOrder(0);

    bBrowser = rt::MakeControl<TsuiButton>(this, GroupBox1, {313, 31, 30, 23}, "...");
    UsePlainButtonLook(*bBrowser);
    bBrowser->SetTabOrder(1);
    bBrowser->OnClick = [this](rt::Component* s) { bBrowserClick(s); };

    bDefault = rt::MakeControl<TsuiButton>(this, this, {94, 102, 80, 27}, "&Default");
    UsePlainButtonLook(*bDefault);
    bDefault->OnClick = [this](rt::Component* s) { bDefaultClick(s); };
    bOK = rt::MakeControl<TsuiButton>(this, this, {186, 102, 80, 27}, "&OK");
    UsePlainButtonLook(*bOK);
    bOK->OnClick = [this](rt::Component* s) { bOKClick(s); };
    bCancel = rt::MakeControl<TsuiButton>(this, this, {279, 102, 80, 27}, "&Cancel");
    UsePlainButtonLook(*bCancel);
    bCancel->SetModalResult(rt::mrCancel);
    // Cancel, Default, OK, then the path group.
    bCancel->SetTabOrder(0);
    bDefault->SetTabOrder(1);
    bOK->SetTabOrder(2);
    GroupBox1->SetTabOrder(3);

    OpenDialog1 = new rt::OpenDialog(this);
    OpenDialog1->Filter = "ffmpeg.exe|ffmpeg.exe";
    OpenDialog1->HideReadOnly = true;
    OpenDialog1->EnableSizing = true;

    OnShow = [this](rt::Component* s) { FormShow(s); };

    EndLoading();
}

void TfrmUseFFmpeg::FormShow(rt::Component* /*Sender*/) {
    // With no path yet the focus stays on the first button, Cancel.
    if (!Edit1->Text().empty()) Edit1->SetFocus();
}

void TfrmUseFFmpeg::bBrowserClick(rt::Component* /*Sender*/) {
    if (OpenDialog1->Execute()) Edit1->SetText(OpenDialog1->FileName);
}

void TfrmUseFFmpeg::bDefaultClick(rt::Component* /*Sender*/) {
    Edit1->SetText(text::IncludeTrailingPathDelimiter(rt::ExecutableFolder()) + "ffmpeg.exe");
}

void TfrmUseFFmpeg::bOKClick(rt::Component* /*Sender*/) {
    // Any existing file will do: its name is not compared and it is not run.
    if (rt::FileExists(Edit1->Text()))
        SetModalResult(rt::mrOk);
    else
        rt::Application->MessageBox(rt::ResString(IDS_FFMPEG_NOT_EXIST), messageTitle_, MB_OK | MB_ICONINFORMATION);
}
