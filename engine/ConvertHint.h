#pragma once
// The conversion progress window: converts a list of files one after
// another through the program's one process object, showing the file, a
// bar and the times.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/BatchTaskbar.h"
#include "engine/ConvertThread.h"
#include "engine/FailureReason.h"
#include "runtime/Forms.h"
#include "skin/SUIButton.h"
#include "skin/SUIProgressBar.h"

class TfrmConvert : public rt::Form {
public:
    // Where the outputs go and the title of its caption come from its
    // creator: the output folder, or each input's own folder when
    // sameAsInput. Keeps its own copy of the list; converts through process.
    TfrmConvert(rt::Component* owner, const std::vector<std::string>& files, TConvertProcess& process,
                bool sameAsInput, const std::string& outputFolder, const std::string& title);
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
    // The failed files in batch order, each with why it failed.
    std::vector<engine::FailedFile> Failures;

    void FormShow(rt::Component* Sender);
    void FormClose(rt::Component* Sender);
    void bStopClick(rt::Component* Sender);
    void WMConvertProgress(std::unique_ptr<TProcessInfo> info);

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void StartFile();
    engine::BatchTaskbar Taskbar{FileList.size()};
    void AddFailure(const std::string& inputFile, const std::string& reason);
    // After a start error: this file and every later one fail with reason.
    void FailTheRest(const std::string& reason);
    // Frees the notifications still queued for this window.
    void DropQueuedNotifications();

    TConvertProcess& process_;
    bool sameAsInput_;
    std::string outputFolder_;
    std::string title_;
};
