// The main window's own commands: Exit, the output folder, Show Files, the
// Advanced menu, the web links and the profile menu.
#include "app/Main.h"

#include <shellapi.h>

#include "app/AppTitle.h"
#include "app/Links.h"
#include "engine/Global.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

void TfrmMain::bExitClick(rt::Component* /*Sender*/) { Close(); }

void TfrmMain::bBrowserClick(rt::Component* /*Sender*/) {
    std::string folder = rt::DirectoryExists(eOutputFolder->Text()) ? eOutputFolder->Text() : std::string();
    if (engine::BrowseForFolder("Please select the directory to output", L"", folder)) {
        eOutputFolder->SetText(folder);
        FOutputDirectory = eOutputFolder->Text();
    }
}

void TfrmMain::cbSameInputClick(rt::Component* /*Sender*/) { eOutputFolder->SetEnabled(!cbSameInput->Checked()); }

void TfrmMain::bShowFilesClick(rt::Component* /*Sender*/) {
    if (cbSameInput->Checked() && !FSameInputDirectory.empty())
        FOutputDirectory = FSameInputDirectory;
    else
        FOutputDirectory = eOutputFolder->Text();
    if (rt::DirectoryExists(FOutputDirectory)) {
        ShellExecuteA(Handle(), "Open", FOutputDirectory.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else {
        rt::Application->MessageBox(FOutputDirectory + "," + rt::ResString(IDS_DIR_NOT_EXIST), kProgramTitle,
                                    MB_OK | MB_ICONERROR);
    }
}

void TfrmMain::iAboutClick(rt::Component* /*Sender*/) {
    POINT p;
    GetCursorPos(&p);
    suiPopupMenu1->Popup(p.x, p.y);
}

void TfrmMain::OpenAddress(const char* address) {
    ShellExecuteA(Handle(), "Open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void TfrmMain::Homepage1Click(rt::Component* /*Sender*/) { OpenAddress(links::kHomePage); }

void TfrmMain::Donate1Click(rt::Component* /*Sender*/) { OpenAddress(links::kDonatePage); }

void TfrmMain::lTitleClick(rt::Component* /*Sender*/) { OpenAddress(links::kMakerSite); }

POINT TfrmMain::ProfileMenuPoint() {
    POINT o = ClientToScreen(POINT{0, 0});
    return POINT{o.x + fpType->Left() + fpType->Width() / 5, o.y / 2};
}

void TfrmMain::fpTypeClick(rt::Component* /*Sender*/) {
    const POINT p = ProfileMenuPoint();
    pmType->Popup(p.x, p.y);
}

void TfrmMain::TypeMenuClick(rt::Component* Sender) {
    auto* item = static_cast<rt::MenuItem*>(Sender);
    fpType->SetCaption(text::RemoveFirstAmpersand(item->Caption));
    fpType->SetHint(fpType->Caption());
    UpdateExtensionLabel();
}
