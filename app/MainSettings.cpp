// The main window's life: creation, showing, closing, and the settings it
// loads when it is created and saves when it closes.
#include "app/AppTitle.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "profiles/Catalogue.h"
#include "runtime/Strings.h"

std::string TfrmMain::SettingsFileName() const { return settings::SettingsFileIn(rt::ExecutableFolder()); }

std::string TfrmMain::GetProfileArguments() const { return profiles::GetProfileArguments(fpType->Caption()); }

std::string TfrmMain::GetProfileExtension() const { return profiles::GetProfileExtension(fpType->Caption()); }

void TfrmMain::UpdateExtensionLabel() { lExtName->SetCaption("(*" + GetProfileExtension() + ")"); }

void TfrmMain::FormCreate(rt::Component* /*Sender*/) {
    SetCaption(kProgramTitle);
    convertProcess_ = std::make_unique<TConvertProcess>();
    ConvertProcess = convertProcess_.get();
    LoadSaveSettings(true);
    rt::Font f = lUpdate->GetFont();
    f.Color = rt::clWhite;
    lUpdate->SetFont(f);
    FSameInputDirectory.clear();
    FInputDirectory.clear();
    UpdateExtensionLabel();
}

void TfrmMain::FormShow(rt::Component* /*Sender*/) {
    eOutputFolder->SetText(FOutputDirectory);
    imgTitle->SetBounds(0, 0, ClientWidth(), 50);
    lUpdate->SetLeft(ClientWidth() - lUpdate->Width() - 10);
    iUpdate->SetLeft(lUpdate->Left() - 20);
    for (int i = 0; i < pmType->Items()->Count(); ++i) {
        rt::MenuItem* top = pmType->Items()->Item(i);
        for (int k = 0; k < top->Count(); ++k)
            top->Item(k)->OnClick = [this](rt::Component* s) { TypeMenuClick(s); };
    }
}

void TfrmMain::FormClose(rt::Component* /*Sender*/) {
    // A close may come while a batch runs or a question shows (another
    // program, the end of the session): the batch stops as with Stop.
    EndModalWork();
    // Closing never complains: a settings file that cannot be written is
    // left as it is, and the program ends all the same.
    try {
        LoadSaveSettings(false);
    } catch (...) {
    }
}

void TfrmMain::EndModalWork() {
    if (convertProcess_) convertProcess_->Stop(0);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM self) -> BOOL {
            auto* form = dynamic_cast<rt::Form*>(rt::WinControl::FromHandle(window));
            if (form && form != reinterpret_cast<TfrmMain*>(self) && form->IsModal() &&
                form->ModalResult() == rt::mrNone)
                form->SetModalResult(rt::mrAbort);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

void TfrmMain::LoadSaveSettings(bool Load) {
    const std::string file = SettingsFileName();
    settings::IniFile ini(file);
    if (Load) {
        FOutputDirectory = ini.ReadString("Options", "OutputDirectory", rt::ExecutableFolder());
        fpType->SetCaption(ini.ReadString("Options", "OutputFormat", ""));
        fpType->SetHint(fpType->Caption());
        cbSameInput->SetChecked(ini.ReadBool("Options", "SameInput", false));
        FAnotherFFmpeg = ini.ReadString("Options", "AnotherFFmpeg", "");
    } else {
        const std::string edited = eOutputFolder->Text();
        if (rt::DirectoryExists(edited)) FOutputDirectory = edited;
        ini.WriteString("Options", "OutputDirectory", FOutputDirectory);
        ini.WriteString("Options", "OutputFormat", fpType->Caption());
        ini.WriteString("Options", "SameInput", cbSameInput->Checked() ? "1" : "0");
        ini.WriteString("Options", "AnotherFFmpeg", FAnotherFFmpeg);
    }
}
