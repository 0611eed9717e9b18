// The main window driven in-process: settings, profile chooser, manual
// conversion dialog, Show Files.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/AppTitle.h"
#include "app/Main.h"
#include "profiles/Catalogue.h"
#include "profiles/ManualConvert.h"
#include "runtime/Strings.h"
#include "tests/win/common/WinTest.h"

using wintest::ReadTextFile;
using wintest::WriteTextFile;

namespace {

std::string IniPath() { return rt::ExecutableFolder() + "settings.ini"; }

// The window is not made the application's main form here, so closing it
// saves the settings without ending the test program's message loop.
class MainWindow : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(IniPath().c_str()); }
    void TearDown() override {
        Close();
        DeleteFileA(IniPath().c_str());
    }
    TfrmMain& Open() {
        form_ = std::make_unique<TfrmMain>(nullptr);
        form_->Show();
        wintest::PumpFor(30);
        return *form_;
    }
    void Close() {
        if (!form_) return;
        form_->Close();
        form_.reset();
    }
    std::unique_ptr<TfrmMain> form_;
};

TEST_F(MainWindow, FirstStartShowsDefaultsAndCloseWritesTheFourKeysInOrder) {
    TfrmMain& f = Open();
    EXPECT_EQ(f.eOutputFolder->Text(), rt::ExecutableFolder());
    EXPECT_EQ(f.fpType->Caption(), "");
    EXPECT_EQ(f.fpType->Hint(), "");
    EXPECT_EQ(f.lExtName->Caption(), "(*)");
    EXPECT_FALSE(f.cbSameInput->Checked());
    EXPECT_TRUE(f.eOutputFolder->Enabled());
    EXPECT_EQ(f.FAnotherFFmpeg, "");
    EXPECT_EQ(wintest::WindowText(f.Handle()), "Marbex Free Video Converter");
    char cls[128];
    GetClassNameA(f.Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "Marbex Free Video Converter Made by Marbex Software");
    RECT client;
    GetClientRect(f.Handle(), &client);
    EXPECT_EQ(client.right, 405);
    EXPECT_EQ(client.bottom, 284);
    EXPECT_EQ(GetFocus(), f.bConvert->Handle()) << "the focus starts on Convert";
    Close();
    const std::string expected = "[Options]\r\nOutputDirectory=" + rt::ExecutableFolder() +
                                 "\r\nOutputFormat=\r\nSameInput=0\r\nAnotherFFmpeg=\r\n";
    EXPECT_EQ(ReadTextFile(IniPath()), expected);
}

TEST_F(MainWindow, SettingsComeBackAfterARestart) {
    const std::string folder = wintest::MakeCleanFolder("out main");
    {
        TfrmMain& f = Open();
        f.eOutputFolder->SetText(folder);
        f.fpType->SetCaption("ffmpeg -i %1 -vn -ab 56kb %1.mp3");
        f.cbSameInput->SetChecked(true);
        f.FAnotherFFmpeg = "C:\\Tools\\my encoder.exe";
        Close();
    }
    TfrmMain& f = Open();
    EXPECT_EQ(f.eOutputFolder->Text(), folder);
    EXPECT_EQ(f.fpType->Caption(), "ffmpeg -i %1 -vn -ab 56kb %1.mp3");
    EXPECT_EQ(f.fpType->Hint(), f.fpType->Caption());
    EXPECT_EQ(f.lExtName->Caption(), "(*.mp3)");
    EXPECT_TRUE(f.cbSameInput->Checked());
    EXPECT_FALSE(f.eOutputFolder->Enabled()) << "a loaded check disables the edit at once";
    EXPECT_EQ(f.FAnotherFFmpeg, "C:\\Tools\\my encoder.exe");
}

TEST_F(MainWindow, SameInputIsReadAsAnInteger) {
    const struct {
        const char* value;
        bool checked;
    } cases[] = {{"1", true}, {"0x1", true}, {"$1", true}, {"-1", true}, {"  7", true},
                 {"0", false}, {"yes", false}, {"", false}, {"1x", false}};
    for (const auto& c : cases) {
        WriteTextFile(IniPath(), std::string("[Options]\r\nSameInput=") + c.value + "\r\n");
        TfrmMain& f = Open();
        EXPECT_EQ(f.cbSameInput->Checked(), c.checked) << c.value;
        EXPECT_EQ(f.eOutputFolder->Enabled(), !c.checked) << c.value;
        Close();
    }
}

TEST_F(MainWindow, AValueOfAnyLengthComesBackWhole) {
    // 10,000 characters of one, two and three bytes: no buffer size cuts
    // between two whole characters; and lengths around the first buffer's.
    std::string mixed;
    for (int i = 0; i < 2500; ++i) mixed += "ab\xC3\xA9\xE6\x97\xA5";
    for (const std::string& value : {mixed, std::string(2047, 'x'), std::string(2048, 'y'), std::string(4095, 'z'),
                                     "\xC3\xA9" + std::string(2046, 'w')}) {
        WriteTextFile(IniPath(), "[Options]\r\nOutputFormat=" + value + "\r\nAnotherFFmpeg=" + value + "\r\n");
        TfrmMain& f = Open();
        EXPECT_EQ(f.fpType->Caption(), value) << value.size();
        EXPECT_EQ(f.FAnotherFFmpeg, value) << value.size();
        Close();
    }
}

TEST_F(MainWindow, AMissingFolderInTheEditIsNotSaved) {
    const std::string folder = wintest::MakeCleanFolder("kept");
    WriteTextFile(IniPath(), "[Options]\r\nOutputDirectory=" + folder + "\r\n");
    TfrmMain& f = Open();
    f.eOutputFolder->SetText("Z:\\no\\such\\folder");
    Close();
    EXPECT_NE(ReadTextFile(IniPath()).find("OutputDirectory=" + folder + "\r\n"), std::string::npos);
}

TEST_F(MainWindow, EveryProfileEntryReachesTypeMenuClick) {
    TfrmMain& f = Open();
    rt::MenuItem* root = f.pmType->Items();
    const auto groups = profiles::CatalogueGroups();
    ASSERT_EQ(root->Count(), 27);
    EXPECT_EQ(root->Item(25)->Caption, "-");
    EXPECT_EQ(root->Item(26)->Caption, "Manual conversion");
    EXPECT_EQ(root->Item(26)->Hint, "Asks for the insertion of parameters");
    EXPECT_EQ(root->Item(26)->Count(), 0);
    size_t row = 0;
    for (int g = 0; g < 25; ++g) {
        rt::MenuItem* group = root->Item(g);
        EXPECT_EQ(group->Caption, groups[static_cast<size_t>(g)]);
        for (int i = 0; i < group->Count(); ++i, ++row) {
            const profiles::CatalogueEntry& e = profiles::Catalogue()[row];
            ASSERT_EQ(group->Item(i)->Caption, e.caption);
            group->Item(i)->Click();
            EXPECT_EQ(f.fpType->Caption(), e.caption);
            EXPECT_EQ(f.fpType->Hint(), e.caption);
            EXPECT_EQ(f.lExtName->Caption(), std::string("(*") + e.extension + ")");
        }
    }
    EXPECT_EQ(row, 103u);
}

TEST_F(MainWindow, TheMenusAcceleratorMarkIsRemoved) {
    TfrmMain& f = Open();
    rt::MenuItem* avi = f.pmType->Items()->Item(1)->Item(0);
    avi->Caption = "A&VI (*.avi)";
    avi->Click();
    EXPECT_EQ(f.fpType->Caption(), "AVI (*.avi)");
    EXPECT_EQ(f.lExtName->Caption(), "(*.avi)");
}

TEST_F(MainWindow, TheProfileMenuPointDependsOnlyOnTheWindowPosition) {
    TfrmMain& f = Open();
    for (POINT at : {POINT{100, 300}, POINT{20, 51}}) {
        SetWindowPos(f.Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        POINT origin{0, 0};
        ClientToScreen(f.Handle(), &origin);
        SetCursorPos(5, 5);
        const POINT p = f.ProfileMenuPoint();
        EXPECT_EQ(p.x, origin.x + 6 + 74);
        EXPECT_EQ(p.y, origin.y / 2);
    }
}

// The open menu's window rectangle, found from inside the menu's own loop,
// which is then closed.
RECT OpenMenuRect(const std::function<void()>& open) {
    RECT r{};
    wintest::RunSoon([&] {
        if (HWND menu = wintest::FindProcessWindow("#32768", "")) GetWindowRect(menu, &r);
        EndMenu();
    }, 300);
    open();
    return r;
}

TEST_F(MainWindow, TheBoxTheArrowAndCtrlPOpenTheMenuAtTheSamePoint) {
    TfrmMain& f = Open();
    SetWindowPos(f.Handle(), nullptr, 200, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const POINT p = f.ProfileMenuPoint();
    SetCursorPos(900, 900);
    const RECT byBox = OpenMenuRect([&] { f.fpType->Click(); });
    const RECT byArrow = OpenMenuRect([&] { f.suiArrowButton3->Click(); });
    const RECT byKey = OpenMenuRect([&] { EXPECT_TRUE(f.IsShortCut(16464)); });
    EXPECT_EQ(byBox.top, p.y);
    EXPECT_NEAR((byBox.left + byBox.right) / 2, p.x, 1) << "centred on the point";
    EXPECT_TRUE(EqualRect(&byBox, &byArrow));
    EXPECT_TRUE(EqualRect(&byBox, &byKey));
}

TEST_F(MainWindow, CtrlPAndCtrlAAreTheWindowsShortcuts) {
    TfrmMain& f = Open();
    EXPECT_EQ(f.aTotal->ShortCut, 16464);
    EXPECT_EQ(f.aTotal->Caption, "Popup Profile Menu");
    EXPECT_EQ(f.Action1->ShortCut, 16449);
    EXPECT_EQ(f.Action1->Caption, "Advanced");
    ASSERT_EQ(f.suiPopupMenu1->Items()->Count(), 7);
    const char* captions[] = {"&Home Page", "-", "&Use another FFmpeg", "-", "&Donate", "-", "&About..."};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(f.suiPopupMenu1->Items()->Item(i)->Caption, captions[i]);
}

TEST_F(MainWindow, ShowFilesOnAMissingFolderSaysSo) {
    TfrmMain& f = Open();
    f.eOutputFolder->SetText("Z:\\missing folder");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDOK; });
    f.bShowFilesClick(nullptr);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0], "Z:\\missing folder, the output directory does not exist.");
    EXPECT_EQ(f.FOutputDirectory, "Z:\\missing folder");
}

TEST_F(MainWindow, ShowFilesWithTheBoxCheckedOpensTheLastSameInputFolder) {
    TfrmMain& f = Open();
    f.cbSameInput->SetChecked(true);
    f.eOutputFolder->SetText("Z:\\edit folder");
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDOK; });
    f.bShowFilesClick(nullptr);
    EXPECT_EQ(f.FOutputDirectory, "Z:\\edit folder") << "before any conversion the edit's folder";
    f.FSameInputDirectory = "Z:\\inputs\\";
    f.bShowFilesClick(nullptr);
    EXPECT_EQ(f.FOutputDirectory, "Z:\\inputs\\");
}

TEST_F(MainWindow, TheFolderBrowserIsCentredAndPreselectedOnlyWithAnInitialFolder) {
    TfrmMain& f = Open();
    const std::string folder = wintest::MakeCleanFolder("browse target");
    RECT placed{};
    RECT client{};
    bool selected = false;
    auto answer = [&](HWND dialog, const std::string&) {
        selected = wintest::WaitForBrowserSelection(dialog, "browse target");
        GetWindowRect(dialog, &placed);
        GetClientRect(dialog, &client);
        return IDOK;
    };
    {
        // The folder above it was last read before it changed: the browser
        // reads it while its tree fills, which gives it a new access time
        // after the initial folder's path was first looked up.
        HANDLE parent = CreateFileA(wintest::TestProgramFolder().c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(parent, INVALID_HANDLE_VALUE);
        const SYSTEMTIME longAgo{2020, 1, 3, 1, 12, 0, 0, 0};
        FILETIME accessed{};
        SystemTimeToFileTime(&longAgo, &accessed);
        EXPECT_TRUE(SetFileTime(parent, nullptr, &accessed, nullptr));
        CloseHandle(parent);
        f.eOutputFolder->SetText(folder);
        wintest::DialogWatcher watcher(answer);
        f.bBrowserClick(nullptr);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_TRUE(selected) << "the initial folder is selected";
        EXPECT_EQ(placed.left, (GetSystemMetrics(SM_CXSCREEN) - client.right) / 2);
        EXPECT_EQ(placed.top, (GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 2);
        // OK takes the preselected folder.
        EXPECT_EQ(text::IncludeTrailingPathDelimiter(f.eOutputFolder->Text()), folder);
        EXPECT_EQ(f.FOutputDirectory, f.eOutputFolder->Text());
    }
    {
        f.eOutputFolder->SetText("Z:\\no such folder");
        f.FOutputDirectory = "kept";
        wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDCANCEL; });
        f.bBrowserClick(nullptr);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(f.eOutputFolder->Text(), "Z:\\no such folder") << "cancel changes nothing";
        EXPECT_EQ(f.FOutputDirectory, "kept");
    }
}

TEST_F(MainWindow, TypingIntoTheOutputFolderKeepsTheCaretWhereItIs) {
    TfrmMain& f = Open();
    f.eOutputFolder->SetText("C:\\out");
    HWND edit = f.eOutputFolder->Handle();
    SendMessageA(edit, EM_SETSEL, 6, 6);
    for (char c : std::string("put")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(f.eOutputFolder->Text(), "C:\\output");
    EXPECT_EQ(f.eOutputFolder->Caption(), "C:\\output");
}

// ---- manual conversion dialog ----

TEST_F(MainWindow, ManualDialogComposesOnEveryChangeAndOkSetsTheProfile) {
    TfrmMain& f = Open();
    f.pmType->Items()->Item(1)->Item(0)->Click();  // AVI (*.avi)
    TfrmManualConvert d(&f, f.fpType->Caption(), "title");
    d.FormShow(nullptr);
    EXPECT_EQ(d.eCommandLine->Text(), "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1");
    EXPECT_EQ(d.eOutputFile->Text(), "mov");
    EXPECT_EQ(d.Edit1->Text(), "ffmpeg -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov");
    d.eCommandLine->Handle();
    SetWindowTextA(d.eCommandLine->Handle(), "-vn -ab 64k");
    EXPECT_EQ(d.Edit1->Text(), "ffmpeg -i %1 -vn -ab 64k %1.mov");
    SetWindowTextA(d.eOutputFile->Handle(), "mp3");
    EXPECT_EQ(d.Edit1->Text(), "ffmpeg -i %1 -vn -ab 64k %1.mp3");
}

TfrmManualConvert* OpenManualDialog() {
    return dynamic_cast<TfrmManualConvert*>(
        rt::WinControl::FromHandle(wintest::FindProcessWindow("TfrmManualConvert", "")));
}

TEST_F(MainWindow, ManualDialogOkOnlyWithBothFieldsAndBlanksCount) {
    TfrmMain& f = Open();
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDOK; });
    std::string initialLine;
    bool stayedOpen = false;
    wintest::RunSoon([&] {
        TfrmManualConvert* d = OpenManualDialog();
        ASSERT_NE(d, nullptr);
        initialLine = d->Edit1->Text();
        d->eCommandLine->SetText("");
        d->bOK->Click();  // refused: the message box shows and is answered
        stayedOpen = d->ModalResult() == rt::mrNone;
        d->eCommandLine->SetText(" ");
        d->bOK->Click();
    });
    f.miManualConvertClick(nullptr);
    EXPECT_EQ(initialLine, "ffmpeg -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov");
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0], "Please check the insertion of parameters!");
    EXPECT_EQ(f.fpType->Caption(), "ffmpeg -i %1   %1.mov");
    EXPECT_EQ(f.fpType->Hint(), f.fpType->Caption());
    EXPECT_EQ(f.lExtName->Caption(), "(*.mov)");
}

TEST_F(MainWindow, ManualDialogRefusesAnExtensionThatIsNoFileNameEnding) {
    TfrmMain& f = Open();
    wintest::DialogWatcher watcher([](HWND, const std::string&) { return IDOK; });
    const std::vector<std::string> refused = {"mp4\\..\\..\\x", "mp4/x", "c:x", "mp4\" -f mp4 \"C:\\x.mp4",
                                              "m*", "m?", "a<b", "a>b", "a|b", "m\tp4", " mp4", "mp4 ", ".mp4", "mp4.", " "};
    std::vector<std::string> stayedOpenFor;
    wintest::RunSoon([&] {
        TfrmManualConvert* d = OpenManualDialog();
        ASSERT_NE(d, nullptr);
        for (const std::string& extension : refused) {
            d->eOutputFile->SetText(extension);
            d->bOK->Click();
            if (d->ModalResult() == rt::mrNone) stayedOpenFor.push_back(extension);
        }
        d->eOutputFile->SetText("m4a");
        d->bOK->Click();
    });
    f.miManualConvertClick(nullptr);
    EXPECT_EQ(stayedOpenFor, refused);
    EXPECT_EQ(watcher.Seen(), std::vector<std::string>(refused.size(), "Please check the insertion of parameters!"));
    EXPECT_EQ(f.fpType->Caption(), "ffmpeg -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.m4a");
}

TEST_F(MainWindow, ManualDialogSplitsTheCurrentLineAndCancelChangesNothing) {
    TfrmMain& f = Open();
    f.fpType->SetCaption("ffmpeg -i %1 -vn -ab 56kb %1.mp3");
    std::string options, extension, line;
    wintest::RunSoon([&] {
        TfrmManualConvert* d = OpenManualDialog();
        ASSERT_NE(d, nullptr);
        options = d->eCommandLine->Text();
        extension = d->eOutputFile->Text();
        line = d->Edit1->Text();
        d->eOutputFile->SetText("ogg");
        d->bCancel->Click();
    });
    f.miManualConvertClick(nullptr);
    EXPECT_EQ(options, "-vn -ab 56kb");
    EXPECT_EQ(extension, "mp3");
    EXPECT_EQ(line, "ffmpeg -i %1 -vn -ab 56kb %1.mp3");
    EXPECT_EQ(f.fpType->Caption(), "ffmpeg -i %1 -vn -ab 56kb %1.mp3");

    // Options holding "%1." themselves are split at that first mark.
    f.fpType->SetCaption("ffmpeg -i %1 -title x%1.y %1.mkv");
    wintest::RunSoon([&] {
        TfrmManualConvert* d = OpenManualDialog();
        ASSERT_NE(d, nullptr);
        options = d->eCommandLine->Text();
        extension = d->eOutputFile->Text();
        d->Close();  // the close box
    });
    f.miManualConvertClick(nullptr);
    EXPECT_EQ(options, "-title ");
    EXPECT_EQ(extension, "y %1.mkv");
    EXPECT_EQ(f.fpType->Caption(), "ffmpeg -i %1 -title x%1.y %1.mkv");
}

// The label is as wide as its text is drawn: the closing parenthesis of
// "(Read Only):" is not cut off.
TEST_F(MainWindow, ManualDialogLabelsHoldTheirWholeText) {
    TfrmMain& f = Open();
    TfrmManualConvert d(&f, f.fpType->Caption(), "title");
    rt::Label* label = d.Label9;
    ASSERT_EQ(label->Caption(), "The software will use the following (Read Only):");
    rt::Bitmap drawn(600, 30);
    rt::Canvas& c = drawn.GetCanvas();
    c.FillRect(RECT{0, 0, 600, 30}, rt::clWhite);
    c.SetFont(label->GetFont());
    char face[LF_FACESIZE] = "";
    GetTextFaceA(c.Handle(), sizeof face, face);
    EXPECT_STREQ(face, "MS Sans Serif") << "the font the form was laid out in";
    RECT unclipped{0, 0, 600, 30};
    c.DrawText(label->Caption(), unclipped, DT_SINGLELINE | DT_NOCLIP);
    int inkRight = -1;
    for (int x = 0; x < 600; ++x)
        for (int y = 0; y < 30; ++y)
            if (drawn.Pixel(x, y) != 0xFFFFFF) inkRight = x;
    ASSERT_GT(inkRight, 0);
    EXPECT_LT(inkRight, label->Width()) << "the last pixel of the text lies inside the label";
    EXPECT_EQ(label->Width(), c.TextWidth(label->Caption()));
}

TEST_F(MainWindow, ManualDialogKeepsItsTextsForACaptionWithoutTheMark) {
    TfrmMain& f = Open();
    f.fpType->SetCaption("FFMPEG hand edited");
    std::string options;
    wintest::RunSoon([&] {
        TfrmManualConvert* d = OpenManualDialog();
        ASSERT_NE(d, nullptr);
        options = d->eCommandLine->Text();
        d->bCancel->Click();
    });
    f.miManualConvertClick(nullptr);
    EXPECT_EQ(options, "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1");
}

}  // namespace
