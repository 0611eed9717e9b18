#include "dialogs/Useanother.h"

#include "app/AppTitle.h"
#include "app/Main.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

namespace {

TsuiButton* MakeButton(TfrmUseFFmpeg* form, rt::WinControl* parent, int l, int t, int w, int h, const char* caption) {
    auto* b = new TsuiButton(form);
    b->SetParent(parent);
    b->SetBounds(l, t, w, h);
    b->SetUIStyle(TsuiUIStyle::WinXP);
    rt::Font f = b->GetFont();
    f.Height = -11;
    f.Color = rt::clBlack;
    b->SetFont(f);
    b->SetCaption(caption);
    return b;
}

}  // namespace

TfrmUseFFmpeg::TfrmUseFFmpeg(rt::Component* owner) : rt::Form(owner) {
    SetName("frmUseFFmpeg");
    SetCaption("Use another FFmpeg");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(368, 139);

    GroupBox1 = new rt::GroupBox(this);
    GroupBox1->SetParent(this);
    GroupBox1->SetBounds(8, 8, 351, 81);
    GroupBox1->SetCaption("Select FFmpeg path");

    Edit1 = new TsuiEdit(this);
    Edit1->SetParent(GroupBox1);
    Edit1->SetBounds(8, 33, 300, 20);
    Edit1->SetUIStyle(TsuiUIStyle::WinXP);
    Edit1->SetBorderColor(0x686868);
    Edit1->SetTabOrder(0);

    bBrowser = MakeButton(this, GroupBox1, 313, 31, 30, 23, "...");
    bBrowser->SetTabOrder(1);
    bBrowser->OnClick = [this](rt::Component* s) { bBrowserClick(s); };

    bDefault = MakeButton(this, this, 94, 102, 80, 27, "&Default");
    bDefault->OnClick = [this](rt::Component* s) { bDefaultClick(s); };
    bOK = MakeButton(this, this, 186, 102, 80, 27, "&OK");
    bOK->OnClick = [this](rt::Component* s) { bOKClick(s); };
    bCancel = MakeButton(this, this, 279, 102, 80, 27, "&Cancel");
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
        rt::Application->MessageBox(rt::ResString(IDS_FFMPEG_NOT_EXIST), kProgramTitle, MB_OK | MB_ICONINFORMATION);
}

void TfrmMain::UseanotherFFMpeg1Click(rt::Component* /*Sender*/) {
    TfrmUseFFmpeg dialog(this);
    dialog.Edit1->SetText(FAnotherFFmpeg);
    if (dialog.ShowModal() == rt::mrOk) FAnotherFFmpeg = dialog.Edit1->Text();
}
