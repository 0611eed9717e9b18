#pragma once
// The conversion progress window: converts a list of files one after
// another through ConvertProcess, showing the file, a bar and the times.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/BatchTaskbar.h"
#include "engine/ConvertThread.h"
#include "runtime/Forms.h"
#include "skin/SUIButton.h"
#include "skin/SUIProgressBar.h"

class TfrmConvert : public rt::Form {
public:
    // Keeps its own copy of the list.
    TfrmConvert(rt::Component* owner, const std::vector<std::string>& files);
    ~TfrmConvert() override;
    const char* ClassName() const override { return "TfrmConvert"; }

    rt::Image* Image2;
    rt::GroupBox* GroupBox2;
    rt::Label* lConvertName;
    TsuiProgressBar* suiProgressBar2;
    rt::Label* Label5;
    rt::Label* lTimeElapsed;
    rt::Label* Label6;
    rt::Label* lTimeEstimated;
    TsuiButton* bStop;

    std::vector<std::string> FileList;
    int32_t FileIndex = 0;
    std::string OutputExt;    // with its leading "."
    std::string Arguments;
    std::string FailedFiles;  // input file names, each followed by ", "
    std::string EncoderPath;  // empty for the default encoder

    void FormShow(rt::Component* Sender);
    void FormClose(rt::Component* Sender);
    void bStopClick(rt::Component* Sender);
    void WMConvertProgress(std::unique_ptr<TProcessInfo> info);

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void StartFile();
    engine::BatchTaskbar Taskbar{FileList.size()};
    // Frees the notifications still queued for this window.
    void DropQueuedNotifications();
};
