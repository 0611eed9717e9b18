#include "app/Main.h"

#include <shellapi.h>

#include "app/AppTitle.h"
#include "app/Links.h"
#include "app/Settings.h"
#include "engine/ConvertThread.h"
#include "engine/Global.h"
#include "profiles/Catalogue.h"
#include "resources/StringIds.h"
#include "runtime/Strings.h"

TfrmMain* frmMain = nullptr;

namespace {

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

TsuiButton* MakeButton(rt::Component* owner, rt::WinControl* parent, int l, int t, int w, int h,
                       const char* caption, const char* hint) {
    auto* b = new TsuiButton(owner);
    b->SetParent(parent);
    b->SetBounds(l, t, w, h);
    b->SetUIStyle(TsuiUIStyle::WinXP);
    b->SetFont(MakeFont(-11, 0, rt::clBlack));
    b->SetTransparent(false);
    b->SetCaption(caption);
    b->SetHint(hint);
    b->SetShowHint(true);
    return b;
}

rt::Label* MakeLabel(rt::Component* owner, rt::WinControl* parent, int l, int t, const char* caption) {
    auto* lb = new rt::Label(owner);
    lb->SetParent(parent);
    lb->SetBounds(l, t, lb->Width(), lb->Height());
    lb->SetCaption(caption);
    return lb;
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

    imgTitle = new rt::Image(this);
    imgTitle->SetParent(this);
    imgTitle->SetBounds(0, 0, 405, 50);
    imgTitle->SetStretch(true);
    imgTitle->Picture().LoadJpegResource("BANNER_MAIN");

    Image1 = new rt::Image(this);
    Image1->SetParent(this);
    Image1->SetBounds(8, 8, 32, 32);
    Image1->Picture().LoadFromResourceName("LOGO");
    Image1->SetTransparent(true);
    Image1->SetCursor(rt::CursorKind::Hand);
    Image1->OnClick = [this](rt::Component* s) { Homepage1Click(s); };

    lTitle = MakeLabel(this, this, 49, 8, "");
    lTitle->SetFont(MakeFont(-15, rt::fsBold, rt::clWhite));
    lTitle->SetTransparent(true);
    lTitle->SetCaption(links::kMakerDomain);
    lTitle->SetCursor(rt::CursorKind::Hand);
    lTitle->OnClick = [this](rt::Component* s) { lTitleClick(s); };

    lTitleHint = MakeLabel(this, this, 50, 27, "");
    lTitleHint->SetAutoSize(false);
    lTitleHint->SetBounds(50, 27, 266, 13);
    lTitleHint->SetFont(MakeFont(-11, 0, rt::clWhite));
    lTitleHint->SetTransparent(true);
    lTitleHint->SetCaption("Convert video files between many formats");

    iUpdate = new rt::Image(this);
    iUpdate->SetParent(this);
    iUpdate->SetBounds(282, 24, 32, 32);
    iUpdate->Picture().LoadFromResourceName("UPDATE_ICON");
    iUpdate->SetTransparent(true);

    lUpdate = new TsuiURLLabel(this);
    lUpdate->SetParent(this);
    lUpdate->SetBounds(306, 24, lUpdate->Width(), lUpdate->Height());
    lUpdate->SetFont(MakeFont(-12, rt::fsUnderline, rt::clWhite));
    lUpdate->SetTransparent(true);
    lUpdate->SetCaption("Check for updates...");
    lUpdate->SetURL(links::kUpdatePage);
    lUpdate->FontHoverColor = rt::clRed;
    lUpdate->SetFontLinkColor(rt::clWhite);

    pSingleMode = new rt::Panel(this);
    pSingleMode->SetParent(this);
    pSingleMode->SetBounds(8, 50, 393, 234);
    pSingleMode->SetBevelOuter(rt::Bevel::None);
    pSingleMode->SetTabOrder(0);

    lVideo = MakeLabel(this, pSingleMode, 0, 8, "1. Click 'Profile:' combobox to choose an output format.");
    lUrl = MakeLabel(this, pSingleMode, 0, 26,
                     "2. Click 'Convert...' button to select one or more files and start converting.");

    Panel2 = new rt::Panel(this);
    Panel2->SetParent(pSingleMode);
    Panel2->SetBounds(0, 50, 390, 2);
    Panel2->SetBevelOuter(rt::Bevel::Lowered);

    lConvertTo = MakeLabel(this, pSingleMode, 0, 58, "Profile:");
    lConvertTo->SetHint("'Ctrl + P' to popup the profile list");
    lConvertTo->SetShowHint(true);

    lExtName = MakeLabel(this, pSingleMode, 37, 58, "(*)");
    lExtName->SetEnabled(false);

    Panel1 = new rt::Panel(this);
    Panel1->SetParent(pSingleMode);
    Panel1->SetBounds(0, 107, 401, 67);
    Panel1->SetBevelOuter(rt::Bevel::None);

    lOutputFolder = MakeLabel(this, Panel1, 0, 3, "Output Folder:");

    eOutputFolder = new TsuiEdit(this);
    eOutputFolder->SetParent(Panel1);
    eOutputFolder->SetBounds(0, 22, 300, 20);
    eOutputFolder->SetUIStyle(TsuiUIStyle::WinXP);
    eOutputFolder->SetBorderColor(0x686868);
    eOutputFolder->SetTabOrder(0);

    bBrowser = MakeButton(this, Panel1, 310, 20, 80, 23, "Browser...", "Select folder for output files");
    bBrowser->SetTabOrder(2);
    bBrowser->OnClick = [this](rt::Component* s) { bBrowserClick(s); };

    cbSameInput = new TsuiCheckBox(this);
    cbSameInput->SetParent(Panel1);
    cbSameInput->SetBounds(0, 46, 122, 19);
    cbSameInput->SetUIStyle(TsuiUIStyle::WinXP);
    cbSameInput->SetCaption("Same as the input file");
    cbSameInput->SetAutoSize(true);
    cbSameInput->SetTabOrder(1);
    cbSameInput->OnClick = [this](rt::Component* s) { cbSameInputClick(s); };

    pLine = new rt::Panel(this);
    pLine->SetParent(pSingleMode);
    pLine->SetBounds(0, 179, 390, 2);
    pLine->SetBevelOuter(rt::Bevel::Lowered);

    WlmShiftImage1 = new TWlmShiftImage(this);
    WlmShiftImage1->SetParent(pSingleMode);
    WlmShiftImage1->SetBounds(3, 189, 32, 32);
    WlmShiftImage1->Picture().LoadFromResourceName("ADVANCED_NORMAL");
    WlmShiftImage1->NoFocusedPicture().LoadFromResourceName("ADVANCED_NORMAL");
    WlmShiftImage1->FocusedPicture().LoadFromResourceName("ADVANCED_HOVER");
    WlmShiftImage1->SetTransparent(true);
    WlmShiftImage1->SetCursor(rt::CursorKind::Hand);
    WlmShiftImage1->SetHint("Click to popup the menu");
    WlmShiftImage1->SetShowHint(true);
    WlmShiftImage1->OnClick = [this](rt::Component* s) { iAboutClick(s); };

    lbEAddress = MakeLabel(this, pSingleMode, 37, 207, "Advanced");
    lbEAddress->SetFont(MakeFont(-11, rt::fsBold | rt::fsUnderline, rt::clBlue));
    lbEAddress->SetCursor(rt::CursorKind::Hand);
    lbEAddress->SetHint("Click to popup the menu (Ctrl + A)");
    lbEAddress->SetShowHint(true);
    lbEAddress->OnClick = [this](rt::Component* s) { iAboutClick(s); };

    bConvert = MakeButton(this, pSingleMode, 122, 197, 80, 23, "Convert...",
                          "Select one or more video files and start converting");
    bConvert->OnClick = [this](rt::Component* s) { bConvertClick(s); };
    bShowFiles = MakeButton(this, pSingleMode, 216, 197, 80, 23, "Show Files...", "Open Destination Folder");
    bShowFiles->OnClick = [this](rt::Component* s) { bShowFilesClick(s); };
    bExit = MakeButton(this, pSingleMode, 310, 197, 80, 23, "Exit", "Exit the software");
    bExit->OnClick = [this](rt::Component* s) { bExitClick(s); };
    // Tab order inside the panel: Convert, Show Files, Exit, then the
    // output-folder group.
    bConvert->SetTabOrder(0);
    bShowFiles->SetTabOrder(1);
    bExit->SetTabOrder(2);
    Panel1->SetTabOrder(3);

    // The profile box and its arrow lie over the panel.
    fpType = new TFlatPanel(this);
    fpType->SetParent(this);
    fpType->SetBounds(6, 127, 371, 21);
    fpType->SetParentColor(true);
    fpType->SetColorHighLight(rt::clBlack);
    fpType->SetColorShadow(rt::clBlack);
    fpType->SetShowHint(true);
    fpType->SetTabOrder(1);
    fpType->OnClick = [this](rt::Component* s) { fpTypeClick(s); };

    suiArrowButton3 = new TsuiArrowButton(this);
    suiArrowButton3->SetParent(this);
    suiArrowButton3->SetBounds(375, 127, 21, 21);
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

LRESULT TfrmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_QUERYENDSESSION) return TRUE;
    if (msg == WM_ENDSESSION) {
        // The session ends: as a close, before the process is ended.
        if (wp) Close();
        return 0;
    }
    if (msg == WM_ACTIVATEINSTANCE) {
        // Another start of the program asks this copy to come forward.
        ShowWindow(Handle(), IsIconic(Handle()) ? SW_SHOWNA : SW_SHOW);
        rt::Application->Restore();
        rt::Application->BringToFront();
        return 0;
    }
    return rt::Form::WndProc(msg, wp, lp);
}

std::string TfrmMain::SettingsFileName() const { return rt::ExecutableFolder() + "settings.ini"; }

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
    if (BrowseForFolder("Please select the directory to output", L"", folder)) {
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
