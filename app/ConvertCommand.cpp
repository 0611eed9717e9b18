#include <memory>

#include "app/AppTitle.h"
#include "app/Main.h"
#include "engine/ConvertHint.h"
#include "engine/FailureReason.h"
#include "engine/Global.h"
#include "profiles/Catalogue.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

void TfrmMain::bConvertClick(rt::Component* /*Sender*/) {
    // The command ends quietly on any error of its own (kept in
    // FConvertError); errors of the conversion itself are shown by the
    // progress window.
    FConvertError.clear();
    try {
        if (!cbSameInput->Checked()) {
            FOutputDirectory = eOutputFolder->Text();
            if (!rt::DirectoryExists(FOutputDirectory)) {
                const std::string question = FOutputDirectory + "," + rt::ResString(IDS_DIR_NOT_EXIST) + "\r\n" +
                                             rt::ResString(IDS_CREATE_DIR);
                if (rt::Application->MessageBox(question, kProgramTitle, MB_YESNO | MB_ICONINFORMATION) != IDYES)
                    return;
                if (!ForceDirectories(FOutputDirectory)) {
                    rt::Application->MessageBox(rt::ResString(IDS_CANNOT_CREATE) + FOutputDirectory, kProgramTitle,
                                                MB_OK | MB_ICONERROR);
                    return;
                }
            }
        }

        // A hand-edited settings file may hold a manual line whose extension
        // would leave the output folder or add encoder arguments.
        if (fpType->Caption().empty() || profiles::ManualExtensionRefused(fpType->Caption())) {
            rt::Application->MessageBox(rt::ResString(IDS_CHOOSE_FORMAT), kProgramTitle, MB_OK | MB_ICONINFORMATION);
            return;
        }

        OpenDialog1->Title = "Select one or more video files";
        OpenDialog1->FileName.clear();
        if (rt::DirectoryExists(FInputDirectory)) OpenDialog1->InitialDir = FInputDirectory;
        if (!OpenDialog1->Execute()) return;

        const std::string inputFolder = text::ExtractFilePath(OpenDialog1->FileName);
        if (cbSameInput->Checked()) FSameInputDirectory = inputFolder;
        FInputDirectory = inputFolder;

        auto frmConvert = std::make_unique<TfrmConvert>(this, OpenDialog1->Files, *convertProcess_,
                                                        cbSameInput->Checked(), eOutputFolder->Text(), kProgramTitle);
        frmConvert->OutputExt = GetProfileExtension();
        frmConvert->Arguments = GetProfileArguments();
        frmConvert->EncoderPath = FAnotherFFmpeg;
        frmConvert->ShowModal();
        // A batch ended by the program's own close shows no summary.
        if (!frmConvert->Failures.empty() && !rt::Application->Terminated())
            rt::Application->MessageBox(
                engine::FailureSummary(frmConvert->Failures, rt::ResString(IDS_CONVERSION_FAILED)), kProgramTitle,
                MB_OK | MB_ICONINFORMATION);
    } catch (const std::exception& e) {
        FConvertError = e.what();
    } catch (...) {
        FConvertError = "Unknown error";
    }
}
