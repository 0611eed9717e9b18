#include "app/Main.h"

#include <shellapi.h>

#include "app/AppTitle.h"
#include "app/FileList.h"
#include "app/Links.h"
#include "app/Settings.h"
#include "app/ShellFiles.h"
#include "engine/ConvertThread.h"
#include "engine/Global.h"
#include "profiles/Catalogue.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

TfrmMain* frmMain = nullptr;

namespace {

// Posted to the main window by itself: a list handed over by another start
// waits in handedOver_; the busy notice for a list that came while busy.
// Both are shown after the WM_COPYDATA that brought the list has been
// answered, so the other start never waits for a batch or a box.
constexpr UINT WM_CONVERTHANDEDOVER = 0x1704;
constexpr UINT WM_SHOWBUSY = 0x1705;

rt::Font MakeFont(int height, unsigned style, rt::TColor color) {
    rt::Font f;
    f.Height = height;
    f.Style = style;
    f.Color = color;
    return f;
}

// The look both menus of the window share: the DeepBlue values, stored
// after the style so that they win.
void ApplyMenuLook(TsuiPopupMenu* m) {
    m->SetUIStyle(TsuiUIStyle::DeepBlue);
    m->MenuItemHeight = 21;
    m->SeparatorHeight = 5;
    m->BarWidth = 26;
    m->BarColor = 13554646;
    m->BarToColor = 13554646;
    m->Color = rt::clWhite;
    m->SeparatorColor = 8684164;
    m->SelectedBorderColor = 10504772;
    m->SelectedColor = 10504772;
    m->SelectedFontColor = rt::clWhite;
    m->FontColor = rt::clBlack;
    m->BorderColor = rt::clBlack;
    m->FlatMenu = false;
    m->FontName = "MS Sans Serif";
    m->FontSize = 8;
    m->FontCharset = DEFAULT_CHARSET;
    m->UseSystemFont = true;
}

// The window's push buttons: the shared plain look, opaque, with a hint.
void DressButton(TsuiButton* b, const char* hint) {
    UsePlainButtonLook(*b);
    b->SetTransparent(false);
    b->SetHint(hint);
    b->SetShowHint(true);
}

rt::MenuItem* AddItem(rt::Component* owner, rt::MenuItem* parent, const std::string& caption) {
    auto* item = new rt::MenuItem(owner);
    item->Caption = caption;
    parent->Add(item);
    return item;
}

}  // namespace

TfrmMain::TfrmMain(rt::Component* owner) : rt::Form(owner) {
    frmMain = this;
    SetName("frmMain");
    SetWindowClassName(kMainWindowClass);
    SetBorder(rt::FormBorder::Single);
    SetPosition(rt::FormPosition::ScreenCenter);
    SetClientSize(405, 284);
    SetIcon(LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));

    imgTitle = rt::MakeControl<rt::Image>(this, this, {0, 0, 405, 50}, "");
    imgTitle->SetStretch(true);
    imgTitle->Picture().LoadJpegResource("BANNER_MAIN");

    Image1 = rt::MakeControl<rt::Image>(this, this, {8, 8, 32, 32}, "");
    Image1->Picture().LoadFromResourceName("LOGO");
    Image1->SetTransparent(true);
    Image1->SetCursor(rt::CursorKind::Hand);
    Image1->OnClick = [this](rt::Component* s) { Homepage1Click(s); };

    lTitle = rt::MakeControl<rt::Label>(this, this, {49, 8}, "");
    lTitle->SetFont(MakeFont(-15, rt::fsBold, rt::clWhite));
    lTitle->SetTransparent(true);
    lTitle->SetCaption(links::kMakerDomain);
    lTitle->SetCursor(rt::CursorKind::Hand);
    lTitle->OnClick = [this](rt::Component* s) { lTitleClick(s); };

    lTitleHint = rt::MakeControl<rt::Label>(this, this, {50, 27}, "");
    lTitleHint->SetAutoSize(false);
    lTitleHint->SetBounds(50, 27, 266, 13);
    lTitleHint->SetFont(MakeFont(-11, 0, rt::clWhite));
    lTitleHint->SetTransparent(true);
    lTitleHint->SetCaption("Convert video files between many formats");

    iUpdate = rt::MakeControl<rt::Image>(this, this, {282, 24, 32, 32}, "");
    iUpdate->Picture().LoadFromResourceName("UPDATE_ICON");
    iUpdate->SetTransparent(true);

    lUpdate = rt::MakeControl<TsuiURLLabel>(this, this, {306, 24}, "");
    lUpdate->SetFont(MakeFont(-12, rt::fsUnderline, rt::clWhite));
    lUpdate->SetTransparent(true);
    lUpdate->SetCaption("Check for updates...");
    lUpdate->SetURL(links::kUpdatePage);
    lUpdate->FontHoverColor = rt::clRed;
    lUpdate->SetFontLinkColor(rt::clWhite);

    pSingleMode = rt::MakeControl<rt::Panel>(this, this, {8, 50, 393, 234}, "");
    pSingleMode->SetBevelOuter(rt::Bevel::None);
    pSingleMode->SetTabOrder(0);

    lVideo = rt::MakeControl<rt::Label>(this, pSingleMode, {0, 8},
                                        "1. Click 'Profile:' combobox to choose an output format.");
    lUrl = rt::MakeControl<rt::Label>(this, pSingleMode, {0, 26},
                                      "2. Click 'Convert...' button to select one or more files and start converting.");

    Panel2 = rt::MakeControl<rt::Panel>(this, pSingleMode, {0, 50, 390, 2}, "");
    Panel2->SetBevelOuter(rt::Bevel::Lowered);

    lConvertTo = rt::MakeControl<rt::Label>(this, pSingleMode, {0, 58}, "Profile:");
    lConvertTo->SetHint("'Ctrl + P' to popup the profile list");
    lConvertTo->SetShowHint(true);

    lExtName = rt::MakeControl<rt::Label>(this, pSingleMode, {37, 58}, "(*)");
    lExtName->SetEnabled(false);

    Panel1 = rt::MakeControl<rt::Panel>(this, pSingleMode, {0, 107, 401, 67}, "");
    Panel1->SetBevelOuter(rt::Bevel::None);

    lOutputFolder = rt::MakeControl<rt::Label>(this, Panel1, {0, 3}, "Output Folder:");

    eOutputFolder = rt::MakeControl<TsuiEdit>(this, Panel1, {0, 22, 300, 20}, "");
    eOutputFolder->SetUIStyle(TsuiUIStyle::WinXP);
    eOutputFolder->SetBorderColor(0x686868);
    eOutputFolder->SetTabOrder(0);

    bBrowser = rt::MakeControl<TsuiButton>(this, Panel1, {310, 20, 80, 23}, "Browser...");
    DressButton(bBrowser, "Select folder for output files");
    bBrowser->SetTabOrder(2);
    bBrowser->OnClick = [this](rt::Component* s) { bBrowserClick(s); };

    cbSameInput = rt::MakeControl<TsuiCheckBox>(this, Panel1, {0, 46, 122, 19}, "");
    cbSameInput->SetUIStyle(TsuiUIStyle::WinXP);
    cbSameInput->SetCaption("Same as the input file");
    cbSameInput->SetAutoSize(true);
    cbSameInput->SetTabOrder(1);
    cbSameInput->OnClick = [this](rt::Component* s) { cbSameInputClick(s); };

    pLine = rt::MakeControl<rt::Panel>(this, pSingleMode, {0, 179, 390, 2}, "");
    pLine->SetBevelOuter(rt::Bevel::Lowered);

    WlmShiftImage1 = rt::MakeControl<TWlmShiftImage>(this, pSingleMode, {3, 189, 32, 32}, "");
    WlmShiftImage1->Picture().LoadFromResourceName("ADVANCED_NORMAL");
    WlmShiftImage1->NoFocusedPicture().LoadFromResourceName("ADVANCED_NORMAL");
    WlmShiftImage1->FocusedPicture().LoadFromResourceName("ADVANCED_HOVER");
    WlmShiftImage1->SetTransparent(true);
    WlmShiftImage1->SetCursor(rt::CursorKind::Hand);
    WlmShiftImage1->SetHint("Click to popup the menu");
    WlmShiftImage1->SetShowHint(true);
    WlmShiftImage1->OnClick = [this](rt::Component* s) { iAboutClick(s); };

    lbEAddress = rt::MakeControl<rt::Label>(this, pSingleMode, {37, 207}, "Advanced");
    lbEAddress->SetFont(MakeFont(-11, rt::fsBold | rt::fsUnderline, rt::clBlue));
    lbEAddress->SetCursor(rt::CursorKind::Hand);
    lbEAddress->SetHint("Click to popup the menu (Ctrl + A)");
    lbEAddress->SetShowHint(true);
    lbEAddress->OnClick = [this](rt::Component* s) { iAboutClick(s); };

    bConvert = rt::MakeControl<TsuiButton>(this, pSingleMode, {122, 197, 80, 23}, "Convert...");
    DressButton(bConvert, "Select one or more video files and start converting");
    bConvert->OnClick = [this](rt::Component* s) { bConvertClick(s); };
    bShowFiles = rt::MakeControl<TsuiButton>(this, pSingleMode, {216, 197, 80, 23}, "Show Files...");
    DressButton(bShowFiles, "Open Destination Folder");
    bShowFiles->OnClick = [this](rt::Component* s) { bShowFilesClick(s); };
    bExit = rt::MakeControl<TsuiButton>(this, pSingleMode, {310, 197, 80, 23}, "Exit");
    DressButton(bExit, "Exit the software");
    bExit->OnClick = [this](rt::Component* s) { bExitClick(s); };
    // Tab order inside the panel: Convert, Show Files, Exit, then the
    // output-folder group.
    bConvert->SetTabOrder(0);
    bShowFiles->SetTabOrder(1);
    bExit->SetTabOrder(2);
    Panel1->SetTabOrder(3);

    // The profile box and its arrow lie over the panel.
    fpType = rt::MakeControl<TFlatPanel>(this, this, {6, 127, 371, 21}, "");
    fpType->SetParentColor(true);
    fpType->SetColorHighLight(rt::clBlack);
    fpType->SetColorShadow(rt::clBlack);
    fpType->SetShowHint(true);
    fpType->SetTabOrder(1);
    fpType->OnClick = [this](rt::Component* s) { fpTypeClick(s); };

    suiArrowButton3 = rt::MakeControl<TsuiArrowButton>(this, this, {375, 127, 21, 21}, "");
    suiArrowButton3->SetUIStyle(TsuiUIStyle::Protein);
    suiArrowButton3->SetArrow(suiDown);
    suiArrowButton3->SetTabOrder(2);
    suiArrowButton3->OnClick = [this](rt::Component* s) { fpTypeClick(s); };

    OpenDialog1 = new rt::OpenDialog(this);
    OpenDialog1->Filter = "*.*|*.*";
    OpenDialog1->AllowMultiSelect = true;
    OpenDialog1->HideReadOnly = true;
    OpenDialog1->EnableSizing = true;

    suiPopupMenu1 = new TsuiPopupMenu(this);
    ApplyMenuLook(suiPopupMenu1);
    Homepage1 = AddItem(this, suiPopupMenu1->Items(), "&Home Page");
    Homepage1->OnClick = [this](rt::Component* s) { Homepage1Click(s); };
    N1 = AddItem(this, suiPopupMenu1->Items(), "-");
    UseanotherFFMpeg1 = AddItem(this, suiPopupMenu1->Items(), "&Use another FFmpeg");
    UseanotherFFMpeg1->OnClick = [this](rt::Component* s) { UseanotherFFMpeg1Click(s); };
    N3 = AddItem(this, suiPopupMenu1->Items(), "-");
    Donate1 = AddItem(this, suiPopupMenu1->Items(), "&Donate");
    Donate1->OnClick = [this](rt::Component* s) { Donate1Click(s); };
    N2 = AddItem(this, suiPopupMenu1->Items(), "-");
    About1 = AddItem(this, suiPopupMenu1->Items(), "&About...");
    About1->OnClick = [this](rt::Component* s) { About1Click(s); };

    pmType = new TsuiPopupMenu(this);
    ApplyMenuLook(pmType);
    pmType->Alignment = rt::PopupAlignment::Center;
    BuildProfileMenu();
    suiPopupMenu1->HookItems();
    pmType->HookItems();

    ActionList1 = new rt::ActionList(this);
    aTotal = new rt::Action(this);
    aTotal->Caption = "Popup Profile Menu";
    aTotal->ShortCut = 16464;
    aTotal->OnExecute = [this](rt::Component* s) { fpTypeClick(s); };
    ActionList1->Add(aTotal);
    Action1 = new rt::Action(this);
    Action1->Caption = "Advanced";
    Action1->ShortCut = 16449;
    Action1->OnExecute = [this](rt::Component* s) { iAboutClick(s); };
    ActionList1->Add(Action1);
    AddActionList(ActionList1);

    OnShow = [this](rt::Component* s) { FormShow(s); };
    OnClose = [this](rt::Component* s) { FormClose(s); };

    EndLoading();
    FormCreate(this);
}

TfrmMain::~TfrmMain() {
    if (frmMain == this) frmMain = nullptr;
    // Every window that could use it is gone by now.
    if (ConvertProcess == convertProcess_.get()) ConvertProcess = nullptr;
    convertProcess_.reset();
}

void TfrmMain::BuildProfileMenu() {
    const auto groups = profiles::CatalogueGroups();
    for (const std::string& group : groups) {
        rt::MenuItem* g = AddItem(this, pmType->Items(), group);
        for (const profiles::CatalogueEntry& e : profiles::Catalogue())
            if (group == e.group) AddItem(this, g, e.caption);
    }
    AddItem(this, pmType->Items(), "-");
    miManualConvert = AddItem(this, pmType->Items(), "Manual conversion");
    miManualConvert->Hint = "Asks for the insertion of parameters";
    miManualConvert->OnClick = [this](rt::Component* s) { miManualConvertClick(s); };
}

void TfrmMain::ComeForward() {
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_SHOWNA : SW_SHOW);
    rt::Application->Restore();
    rt::Application->BringToFront();
}

LRESULT TfrmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends: as a close, before the process is ended.
            if (wp) Close();
            return 0;
        case WM_ACTIVATEINSTANCE:
            // Another start of the program asks this copy to come forward.
            ComeForward();
            return 0;
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            if (!data || data->dwData != kCopyDataFileList) break;
            FilesHandedOver(*data);
            return TRUE;
        }
        case WM_CONVERTHANDEDOVER: {
            std::vector<std::string> files;
            files.swap(handedOver_);
            // Something may have opened between the hand-over and now.
            if (converting_ || !IsWindowEnabled(Handle()))
                PostMessageA(Handle(), WM_SHOWBUSY, 0, 0);
            else if (!files.empty())
                ConvertDroppedFiles(files);
            return 0;
        }
        case WM_SHOWBUSY:
            rt::Application->MessageBox(rt::ResString(IDS_BUSY), kProgramTitle, MB_OK | MB_ICONINFORMATION);
            return 0;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wp);
            const std::vector<std::string> files = shellfiles::DroppedFiles(drop);
            DragFinish(drop);
            // While a batch runs nothing can be dropped.
            if (!files.empty() && !Busy()) ConvertDroppedFiles(files);
            return 0;
        }
        default:
            break;
    }
    return rt::Form::WndProc(msg, wp, lp);
}

void TfrmMain::AfterCreateHandle() {
    rt::Form::AfterCreateHandle();
    DragAcceptFiles(Handle(), TRUE);
}

void TfrmMain::FilesHandedOver(const COPYDATASTRUCT& data) {
    // Only the data is read here: the sender waits until this returns.
    std::vector<std::string> files;
    if (data.lpData && data.cbData) {
        const std::string joined(static_cast<const char*>(data.lpData), data.cbData);
        for (const std::string& f : filelist::Split(joined))
            if (rt::FileExists(f)) filelist::AddOnce(files, f);
    }
    ComeForward();
    if (files.empty()) return;
    if (Busy()) {
        PostMessageA(Handle(), WM_SHOWBUSY, 0, 0);
        return;
    }
    HandOver(std::move(files));
}

void TfrmMain::HandOver(std::vector<std::string> files) {
    handedOver_ = std::move(files);
    PostMessageA(Handle(), WM_CONVERTHANDEDOVER, 0, 0);
}

bool TfrmMain::Busy() { return converting_ || !handedOver_.empty() || !IsWindowEnabled(Handle()); }

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
