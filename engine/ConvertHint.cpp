#include "engine/ConvertHint.h"

#include "engine/CommandLine.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

TfrmConvert::TfrmConvert(rt::Component* owner, const std::vector<std::string>& files, TConvertProcess& process,
                         bool sameAsInput, const std::string& outputFolder, const std::string& title)
    : rt::Form(owner),
      FileList(files),
      process_(process),
      sameAsInput_(sameAsInput),
      outputFolder_(outputFolder),
      title_(title) {
    SetName("frmConvert");
    SetCaption("frmConvert");
    SetBorder(rt::FormBorder::Dialog);
    SetPosition(rt::FormPosition::OwnerFormCenter);
    SetClientSize(345, 144);
    rt::Font font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    font.Color = rt::clWindowText;
    SetFont(font);

    Image2 = new rt::Image(this);
    Image2->SetParent(this);
    Image2->SetBounds(280, 32, 32, 32);
    Image2->Picture().LoadFromResourceName("CONVERT_IMAGE");
    Image2->SetTransparent(true);
    Image2->SetAutoSize(true);

    GroupBox2 = new rt::GroupBox(this);
    GroupBox2->SetParent(this);
    GroupBox2->SetBounds(8, 8, 239, 125);
    GroupBox2->SetCaption("Converting");

    lConvertName = rt::MakeControl<rt::Label>(this, GroupBox2, {12, 20}, "lConvertName");
    lConvertName->SetAutoSize(false);
    lConvertName->SetBounds(12, 20, 212, 13);
    lConvertName->SetShowHint(true);

    suiProgressBar2 = new TsuiProgressBar(this);
    suiProgressBar2->SetParent(GroupBox2);
    suiProgressBar2->SetBounds(12, 42, 212, 18);
    suiProgressBar2->SetUIStyle(skin::TsuiUIStyle::WinXP);
    suiProgressBar2->SetMin(0);
    suiProgressBar2->SetMax(100);
    suiProgressBar2->SetPosition(50);
    suiProgressBar2->SetShowCaption(true);
    suiProgressBar2->SetOrientation(suiHorizontal);
    suiProgressBar2->SetCaptionColor(rt::clBlack);
    suiProgressBar2->SetBorderColor(RGB(104, 104, 104));
    suiProgressBar2->SetColor(RGB(239, 235, 222));

    Label5 = rt::MakeControl<rt::Label>(this, GroupBox2, {12, 72}, "Time elapsed: ");
    lTimeElapsed = rt::MakeControl<rt::Label>(this, GroupBox2, {120, 72}, "00:00");
    Label6 = rt::MakeControl<rt::Label>(this, GroupBox2, {12, 96}, "Time estimated: ");
    lTimeEstimated = rt::MakeControl<rt::Label>(this, GroupBox2, {120, 96}, "00:00");

    bStop = new TsuiButton(this);
    bStop->SetParent(this);
    bStop->SetBounds(257, 104, 80, 27);
    bStop->SetUIStyle(skin::TsuiUIStyle::WinXP);
    bStop->SetCaption("Stop");
    bStop->OnClick = [this](rt::Component* s) { bStopClick(s); };

    OnShow = [this](rt::Component* s) { FormShow(s); };
    OnClose = [this](rt::Component* s) { FormClose(s); };
    EndLoading();
}

TfrmConvert::~TfrmConvert() { DropQueuedNotifications(); }

LRESULT TfrmConvert::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CONVERTPROGRESS) {
        WMConvertProgress(std::unique_ptr<TProcessInfo>(reinterpret_cast<TProcessInfo*>(lp)));
        return 0;
    }
    return rt::Form::WndProc(msg, wp, lp);
}

void TfrmConvert::DropQueuedNotifications() {
    if (!HandleAllocated()) return;
    MSG msg;
    while (PeekMessageA(&msg, HandleIfAllocated(), WM_CONVERTPROGRESS, WM_CONVERTPROGRESS, PM_REMOVE))
        delete reinterpret_cast<TProcessInfo*>(msg.lParam);
}

void TfrmConvert::StartFile() {
    process_.Running = true;
    process_.InputFile = FileList[FileIndex];
    process_.OutputFile = engine::MakeOutputPath(sameAsInput_, outputFolder_, process_.InputFile, OutputExt);
    process_.NotifyWindow = Handle();
    process_.Arguments = Arguments;
    process_.EncoderPath = EncoderPath;
    try {
        process_.Start();
    } catch (...) {
        // Shown once; without an encoder no later file can convert either,
        // so the batch ends here and the summary says why for each file.
        engine::FileVerdict verdict;
        verdict.Kind = engine::FailureKind::StartFailed;
        verdict.Code = process_.ErrorCode;
        rt::Application->HandleException();
        FailTheRest(TConvertProcess::ReasonFor(verdict));
        Close();
        return;
    }

    const std::string name = text::ExtractFileName(process_.OutputFile);
    lConvertName->SetCaption(name);
    lConvertName->SetHint(name);
    SetCaption(title_ + " (" + std::to_string(FileIndex + 1) + "/" + std::to_string(FileList.size()) + ")");
    // The time labels keep the last file's values until the first progress
    // of this one.
    suiProgressBar2->SetPosition(0);
    Taskbar.Progress(Handle(), FileIndex, 0);
}

void TfrmConvert::AddFailure(const std::string& inputFile, const std::string& reason) {
    const std::string name = text::ExtractFileName(inputFile);
    FailedFiles += name + ", ";
    Failures.push_back(engine::FailedFile{name, reason});
    Taskbar.FileFailed(Handle());
}

void TfrmConvert::FailTheRest(const std::string& reason) {
    for (; FileIndex < static_cast<int32_t>(FileList.size()); ++FileIndex) AddFailure(FileList[FileIndex], reason);
}

void TfrmConvert::FormShow(rt::Component* /*Sender*/) {
    FailedFiles.clear();
    Failures.clear();
    StartFile();
}

void TfrmConvert::WMConvertProgress(std::unique_ptr<TProcessInfo> info) {
    if (info->Percent != kEndOfFilePercent) {
        if (info->Status == 0) {
            suiProgressBar2->SetPosition(info->Percent);
            Taskbar.Progress(Handle(), FileIndex, info->Percent);
        }
        lTimeElapsed->SetCaption(info->Elapsed);
        lTimeEstimated->SetCaption(info->Estimated);
        return;
    }
    if (info->Elapsed.empty()) AddFailure(FileList[FileIndex], info->Reason);
    if (info->Status == 2)
        rt::Application->MessageBox(process_.OutputFile + rt::ResString(IDS_FILE_IN_USE), title_,
                                    MB_OK | MB_ICONERROR);
    ++FileIndex;
    // Closed (Stop, or the program closing) while the box showed.
    if (ModalResult() != rt::mrNone) return;
    if (FileIndex == static_cast<int32_t>(FileList.size()))
        Close();
    else
        StartFile();
}

void TfrmConvert::bStopClick(rt::Component* /*Sender*/) {
    if (process_.Running) process_.Stop(0);
    SetModalResult(rt::mrAbort);
}

void TfrmConvert::FormClose(rt::Component* /*Sender*/) {
    if (process_.Running) process_.Stop(0);
    Taskbar.End(Handle());
    // Whatever is still queued belongs to a batch that is over; left in the
    // queue, an end notification would start a file after the window closed.
    DropQueuedNotifications();
}
