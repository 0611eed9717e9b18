#include <memory>

#include "app/AppTitle.h"
#include "app/BatchSummary.h"
#include "app/Main.h"
#include "engine/ConvertHint.h"
#include "engine/Global.h"
#include "profiles/Catalogue.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

// The Convert command and files from the shell share the checks and the
// batch; only the way the files are chosen differs. Each step may raise: the
// callers end quietly on any error of their own (kept in FConvertError),
// while errors of the conversion itself are shown by the progress window.

bool TfrmMain::CheckOutputFolder() {
    if (cbSameInput->Checked()) return true;
    FOutputDirectory = eOutputFolder->Text();
    if (rt::DirectoryExists(FOutputDirectory)) return true;
    const std::string question =
        FOutputDirectory + "," + rt::ResString(IDS_DIR_NOT_EXIST) + "\r\n" + rt::ResString(IDS_CREATE_DIR);
    if (rt::Application->MessageBox(question, kProgramTitle, MB_YESNO | MB_ICONINFORMATION) != IDYES) return false;
    if (!engine::ForceDirectories(FOutputDirectory)) {
        rt::Application->MessageBox(rt::ResString(IDS_CANNOT_CREATE) + FOutputDirectory, kProgramTitle,
                                    MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool TfrmMain::CheckProfile() {
    // A hand-edited settings file may hold a manual line whose extension
    // would leave the output folder or add encoder arguments.
    if (!fpType->Caption().empty() && !profiles::ManualExtensionRefused(fpType->Caption())) return true;
    rt::Application->MessageBox(rt::ResString(IDS_CHOOSE_FORMAT), kProgramTitle, MB_OK | MB_ICONINFORMATION);
    return false;
}

void TfrmMain::ConvertFiles(const std::vector<std::string>& files) {
    if (files.empty()) return;
    const std::string inputFolder = text::ExtractFilePath(files.front());
    if (cbSameInput->Checked()) FSameInputDirectory = inputFolder;
    FInputDirectory = inputFolder;

    auto frmConvert = std::make_unique<TfrmConvert>(this, files, *convertProcess_, cbSameInput->Checked(),
                                                    eOutputFolder->Text(), kProgramTitle);
    frmConvert->OutputExt = GetProfileExtension();
    frmConvert->Arguments = GetProfileArguments();
    frmConvert->EncoderPath = FAnotherFFmpeg;
    {
        // Drops and handed-over lists are refused while the batch runs.
        struct Running {
            bool& flag;
            explicit Running(bool& f) : flag(f) { flag = true; }
            ~Running() { flag = false; }
        } running(converting_);
        frmConvert->ShowModal();
    }
    // A batch ended by the program's own close shows no summary.
    if (!frmConvert->Failures.empty() && !rt::Application->Terminated())
        rt::Application->MessageBox(summary::BatchSummary(frmConvert->Failures, rt::ResString(IDS_CONVERSION_FAILED)),
                                    kProgramTitle, MB_OK | MB_ICONINFORMATION);
}

// Runs one of the commands, keeping the text of an error of its own.
void TfrmMain::RunQuietly(const std::function<void()>& command) {
    FConvertError.clear();
    try {
        command();
    } catch (const std::exception& e) {
        FConvertError = e.what();
    } catch (...) {
        FConvertError = "Unknown error";
    }
}

void TfrmMain::bConvertClick(rt::Component* /*Sender*/) {
    RunQuietly([this] {
        if (!CheckOutputFolder() || !CheckProfile()) return;
        OpenDialog1->Title = "Select one or more video files";
        OpenDialog1->FileName.clear();
        if (rt::DirectoryExists(FInputDirectory)) OpenDialog1->InitialDir = FInputDirectory;
        if (!OpenDialog1->Execute()) return;
        ConvertFiles(OpenDialog1->Files);
    });
}

void TfrmMain::ConvertDroppedFiles(const std::vector<std::string>& files) {
    RunQuietly([this, &files] {
        if (!CheckOutputFolder() || !CheckProfile()) return;
        ConvertFiles(files);
    });
}
