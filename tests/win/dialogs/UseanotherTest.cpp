// The encoder location dialog, opened from the main window's Advanced menu
// and driven inside its modal loop.
#include <gtest/gtest.h>

#include "dialogs/Useanother.h"
#include "engine/CommandLine.h"
#include "runtime/Strings.h"
#include "tests/win/dialogs/DialogTest.h"

using dialogtest::FindForm;
using dialogtest::ModalScript;
using dialogtest::PostClick;

namespace {

constexpr char kNotExist[] = "This FFmpeg.exe file does not exist.";

class UseAnotherFFmpegTest : public dialogtest::MainWindowTest {
protected:
    TfrmUseFFmpeg* dialog = nullptr;
    // The first step of every script: wait for the dialog and its focus.
    dialogtest::Step Opened() {
        return [this] {
            dialog = FindForm<TfrmUseFFmpeg>("TfrmUseFFmpeg");
            return dialog && GetFocus() != nullptr;
        };
    }
    bool DialogOpen() const { return FindForm<TfrmUseFFmpeg>("TfrmUseFFmpeg") == dialog; }
    void RunDialog() { frmMain->UseanotherFFMpeg1->Click(); }
};

// An answer for message boxes: OK, keeping the caption of each.
wintest::DialogWatcher::Answer PressOk(std::vector<std::string>& captions) {
    return [&captions](HWND box, const std::string&) {
        captions.push_back(wintest::WindowText(box));
        return IDOK;
    };
}

bool NoMessageBox() { return wintest::FindProcessWindow("#32770", "") == nullptr; }

TEST_F(UseAnotherFFmpegTest, OpensEmptyWithCancelFocusedAndCancelKeepsTheDefault) {
    frmMain->FAnotherFFmpeg.clear();
    std::string caption, path;
    RECT client{};
    bool cancelFocused = false, tabOrderRight = false;
    POINT centre{};
    ModalScript script("TfrmUseFFmpeg", {Opened(), [&] {
                                             caption = wintest::WindowText(dialog->Handle());
                                             GetClientRect(dialog->Handle(), &client);
                                             path = dialog->Edit1->Text();
                                             cancelFocused = GetFocus() == dialog->bCancel->Handle();
                                             const std::vector<rt::WinControl*> expected{
                                                 dialog->bCancel, dialog->bDefault, dialog->bOK, dialog->Edit1,
                                                 dialog->bBrowser};
                                             tabOrderRight = dialog->TabOrderList() == expected;
                                             centre = dialogtest::WindowCentre(dialog->Handle());
                                             PostClick(dialog->bCancel);
                                             return true;
                                         }});
    RunDialog();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(caption, "Use another FFmpeg");
    EXPECT_EQ(client.right, 368);
    EXPECT_EQ(client.bottom, 139);
    EXPECT_EQ(path, "");
    EXPECT_TRUE(cancelFocused);
    EXPECT_TRUE(tabOrderRight);
    const POINT owner = dialogtest::WindowCentre(frmMain->Handle());
    EXPECT_NEAR(centre.x, owner.x, 1);
    EXPECT_NEAR(centre.y, owner.y, 1);
    EXPECT_EQ(frmMain->FAnotherFFmpeg, "");
    EXPECT_EQ(FindForm<TfrmUseFFmpeg>("TfrmUseFFmpeg"), nullptr);
}

TEST_F(UseAnotherFFmpegTest, OkWithoutAnExistingFileWarnsAndStaysOpen) {
    const std::string before = "C:\\earlier\\ffmpeg.exe";
    frmMain->FAnotherFFmpeg = before;
    const std::string missing = wintest::TestProgramFolder() + "no such folder\\ffmpeg.exe";
    const std::string folder = wintest::MakeCleanFolder("useanother folder");
    std::vector<std::string> captions;
    wintest::DialogWatcher watcher(PressOk(captions));
    std::vector<std::string> texts;  // Edit1 after each warning
    auto answered = [&](size_t n) { return watcher.Seen().size() == n && NoMessageBox() && DialogOpen(); };
    auto tryPath = [&](const std::string& path) {
        dialog->Edit1->SetText(path);
        PostClick(dialog->bOK);
    };
    ModalScript script("TfrmUseFFmpeg", {Opened(),
                                         [&] {
                                             tryPath("");
                                             return true;
                                         },
                                         [&] {
                                             if (!answered(1)) return false;
                                             texts.push_back(dialog->Edit1->Text());
                                             tryPath(missing);
                                             return true;
                                         },
                                         [&] {
                                             if (!answered(2)) return false;
                                             texts.push_back(dialog->Edit1->Text());
                                             tryPath(folder);
                                             return true;
                                         },
                                         [&] {
                                             if (!answered(3)) return false;
                                             texts.push_back(dialog->Edit1->Text());
                                             PostClick(dialog->bCancel);
                                             return true;
                                         }});
    RunDialog();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(watcher.Seen(), std::vector<std::string>(3, kNotExist));
    EXPECT_EQ(captions, std::vector<std::string>(3, "Marbex Free Video Converter"));
    EXPECT_EQ(texts, (std::vector<std::string>{"", missing, folder}));
    EXPECT_EQ(frmMain->FAnotherFFmpeg, before);
}

TEST_F(UseAnotherFFmpegTest, AcceptsAnExistingFileWithBlanksUnderAnyName) {
    const std::string folder = wintest::MakeCleanFolder("use another ffmpeg");
    const std::string encoder = folder + "my encoder.exe";
    wintest::WriteTextFile(encoder, "not run");
    frmMain->FAnotherFFmpeg.clear();

    ModalScript accept("TfrmUseFFmpeg", {Opened(), [&] {
                                             dialog->Edit1->SetText(encoder);
                                             PostClick(dialog->bOK);
                                             return true;
                                         }});
    RunDialog();
    ASSERT_TRUE(accept.Finished());
    EXPECT_EQ(frmMain->FAnotherFFmpeg, encoder);
    // The blanks survive unchanged; the command line quotes the path.
    const std::string line =
        engine::BuildEncoderCommandLine(frmMain->FAnotherFFmpeg, false, "C:\\a.avi", "-b 1 ", "C:\\a.mp4");
    EXPECT_TRUE(text::StartsWith(line, "\"" + encoder + "\" ")) << line;
}

TEST_F(UseAnotherFFmpegTest, StoredPathTakesTheFocusAndCancelOrCloseBoxKeepIt) {
    const std::string folder = wintest::MakeCleanFolder("use another keep");
    const std::string stored = folder + "ffmpeg.exe";
    const std::string other = folder + "other.exe";
    wintest::WriteTextFile(stored, "x");
    wintest::WriteTextFile(other, "x");
    frmMain->FAnotherFFmpeg = stored;

    std::string shown;
    bool editFocused = false;
    ModalScript cancel("TfrmUseFFmpeg", {Opened(), [&] {
                                             shown = dialog->Edit1->Text();
                                             editFocused = GetFocus() == dialog->Edit1->Handle();
                                             dialog->Edit1->SetText(other);
                                             PostClick(dialog->bCancel);
                                             return true;
                                         }});
    RunDialog();
    ASSERT_TRUE(cancel.Finished());
    EXPECT_EQ(shown, stored);
    EXPECT_TRUE(editFocused);
    EXPECT_EQ(frmMain->FAnotherFFmpeg, stored);

    ModalScript closeBox("TfrmUseFFmpeg", {Opened(), [&] {
                                               dialog->Edit1->SetText(other);
                                               dialogtest::PostCloseBox(dialog);
                                               return true;
                                           }});
    RunDialog();
    ASSERT_TRUE(closeBox.Finished());
    EXPECT_EQ(frmMain->FAnotherFFmpeg, stored);
    EXPECT_EQ(FindForm<TfrmUseFFmpeg>("TfrmUseFFmpeg"), nullptr);
}

TEST_F(UseAnotherFFmpegTest, DefaultNamesTheEncoderBesideTheProgram) {
    const std::string expected = rt::ExecutableFolder() + "ffmpeg.exe";
    // The encoder may or may not have been copied beside the test program;
    // OK must follow whichever is the case.
    const bool present = rt::FileExists(expected);
    frmMain->FAnotherFFmpeg.clear();
    std::vector<std::string> captions;
    wintest::DialogWatcher watcher(PressOk(captions));
    std::string filled;
    bool openAfterDefault = false;
    std::vector<dialogtest::Step> steps{Opened(),
                                        [&] {
                                            PostClick(dialog->bDefault);
                                            return true;
                                        },
                                        [&] {
                                            filled = dialog->Edit1->Text();
                                            if (filled.empty()) return false;
                                            openAfterDefault = DialogOpen();
                                            PostClick(dialog->bOK);
                                            return true;
                                        }};
    if (!present) {
        steps.push_back([&] {
            if (watcher.Seen().size() != 1 || !NoMessageBox()) return false;
            PostClick(dialog->bCancel);
            return true;
        });
    }
    ModalScript script("TfrmUseFFmpeg", steps);
    RunDialog();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(filled, expected);
    EXPECT_TRUE(openAfterDefault);
    if (present) {
        EXPECT_EQ(frmMain->FAnotherFFmpeg, expected);
        EXPECT_TRUE(watcher.Seen().empty());
    } else {
        EXPECT_EQ(frmMain->FAnotherFFmpeg, "");
        EXPECT_EQ(watcher.Seen(), std::vector<std::string>{kNotExist});
    }
}

TEST_F(UseAnotherFFmpegTest, BrowseButtonPicksAFileThroughTheFfmpegFilter) {
    const std::string folder = wintest::MakeCleanFolder("browse for ffmpeg");
    const std::string encoder = folder + "ffmpeg.exe";
    wintest::WriteTextFile(encoder, "x");
    frmMain->FAnotherFFmpeg.clear();

    std::vector<std::string> filters;
    // The file dialog: read its file types, type the name and open it.
    wintest::DialogWatcher watcher([&](HWND box, const std::string&) {
        HWND types = GetDlgItem(box, cmb1);
        if (!types) return 0;
        const LRESULT n = SendMessageA(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            char item[256] = {};
            SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            filters.push_back(item);
        }
        for (int id : {cmb13, edt1})
            if (GetDlgItem(box, id)) SetDlgItemTextA(box, id, encoder.c_str());
        return IDOK;
    });
    ModalScript script("TfrmUseFFmpeg", {Opened(),
                                         [&] {
                                             PostClick(dialog->bBrowser);
                                             return true;
                                         },
                                         [&] {
                                             if (dialog->Edit1->Text() != encoder || !NoMessageBox()) return false;
                                             PostClick(dialog->bOK);
                                             return true;
                                         }});
    RunDialog();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(filters, std::vector<std::string>{"ffmpeg.exe"});
    EXPECT_EQ(frmMain->FAnotherFFmpeg, encoder);
}

}  // namespace
