// The main window's controls and menus, built as the form stores them.
#include "app/Main.h"

#include "app/AppTitle.h"
#include "app/Links.h"
#include "profiles/Catalogue.h"
#include "runtime/Actions.h"

TfrmMain* frmMain = nullptr;

namespace {

// The window's two shortcuts: Ctrl+P (16464) and Ctrl+A (16449).
constexpr WORD kCtrlP = rt::scCtrl | 'P';
constexpr WORD kCtrlA = rt::scCtrl | 'A';
static_assert(kCtrlP == 16464 && kCtrlA == 16449);

// Colours of the look both menus share, and the edit box's border.
constexpr rt::TColor kMenuBarColor = 0xCED3D6;        // 13554646
constexpr rt::TColor kMenuSeparatorColor = 0x848284;  // 8684164
constexpr rt::TColor kMenuSelectedColor = 0xA04A44;   // 10504772
constexpr rt::TColor kEditBorderColor = 0x686868;

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
    m->SetUIStyle(skin::TsuiUIStyle::DeepBlue);
    m->MenuItemHeight = 21;
    m->SeparatorHeight = 5;
    m->BarWidth = 26;
    m->BarColor = kMenuBarColor;
    m->BarToColor = kMenuBarColor;
    m->Color = rt::clWhite;
    m->SeparatorColor = kMenuSeparatorColor;
    m->SelectedBorderColor = kMenuSelectedColor;
    m->SelectedColor = kMenuSelectedColor;
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
    eOutputFolder->SetUIStyle(skin::TsuiUIStyle::WinXP);
    eOutputFolder->SetBorderColor(kEditBorderColor);
    eOutputFolder->SetTabOrder(0);

    bBrowser = rt::MakeControl<TsuiButton>(this, Panel1, {310, 20, 80, 23}, "Browser...");
    DressButton(bBrowser, "Select folder for output files");
    bBrowser->SetTabOrder(2);
    bBrowser->OnClick = [this](rt::Component* s) { bBrowserClick(s); };

    cbSameInput = rt::MakeControl<TsuiCheckBox>(this, Panel1, {0, 46, 122, 19}, "");
    cbSameInput->SetUIStyle(skin::TsuiUIStyle::WinXP);
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
    suiArrowButton3->SetUIStyle(skin::TsuiUIStyle::Protein);
    suiArrowButton3->SetArrow(skin::TsuiArrowButtonType::suiDown);
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
    aTotal->ShortCut = kCtrlP;
    aTotal->OnExecute = [this](rt::Component* s) { fpTypeClick(s); };
    ActionList1->Add(aTotal);
    Action1 = new rt::Action(this);
    Action1->Caption = "Advanced";
    Action1->ShortCut = kCtrlA;
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
