// The main window's Convert command: the output folder, the profile, the
// file dialog and the summary, with the scripted test encoder.
#include <gtest/gtest.h>

#include <mutex>

#include "app/Main.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/engine/EngineTest.h"

using namespace enginetest;

namespace {

constexpr char kDialogTitle[] = "Select one or more video files";

// Answers every box and dialog of the command: the file dialog gets `names`
// typed into its file-name box (or is cancelled when names is empty); the
// message boxes get `boxAnswer`. Keeps the titles of what it answered.
class CommandWatcher {
public:
    CommandWatcher(std::string names, int boxAnswer)
        : watcher_([this, names = std::move(names), boxAnswer](HWND dialog, const std::string&) {
              const std::string title = wintest::WindowText(dialog);
              {
                  std::lock_guard<std::mutex> lock(mutex_);
                  titles_.push_back(title);
              }
              if (title != kDialogTitle) return boxAnswer;
              if (names.empty()) return IDCANCEL;
              HWND box = GetDlgItem(dialog, 0x47c);
              if (!box) box = GetDlgItem(dialog, 0x480);
              SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
              return IDOK;
          }) {}

    std::vector<std::string> Titles() {
        std::lock_guard<std::mutex> lock(mutex_);
        return titles_;
    }
    // The texts of the message boxes, in order.
    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        const std::vector<std::string> titles = Titles();
        const std::vector<std::string> texts = watcher_.Seen();
        for (size_t i = 0; i < texts.size() && i < titles.size(); ++i)
            if (titles[i] != kDialogTitle) boxes.push_back(texts[i]);
        return boxes;
    }
    bool DialogShown() {
        for (const std::string& t : Titles())
            if (t == kDialogTitle) return true;
        return false;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> titles_;
    wintest::DialogWatcher watcher_;
};

class ConvertCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        UseMainWindow(false, folder);
        frmMain->fpType->SetCaption("WAV - Waveform Audio");
        frmMain->FAnotherFFmpeg = TestEncoder();
        frmMain->FInputDirectory = folder;
        frmMain->FSameInputDirectory.clear();
        wintest::ShownErrors().clear();
    }

    std::string folder;
};

TEST_F(ConvertCommandTest, MissingOutputFolderAnsweredNoEndsTheCommand) {
    const std::string missing = folder + "new\\deeper";
    frmMain->eOutputFolder->SetText(missing);
    CommandWatcher watcher("", IDNO);
    frmMain->bConvertClick(nullptr);
    EXPECT_EQ(watcher.Boxes(), (std::vector<std::string>{
                                   missing + ", the output directory does not exist.\r\ncreates a new directory?"}));
    EXPECT_FALSE(watcher.DialogShown());
    EXPECT_FALSE(rt::DirectoryExists(folder + "new"));
    EXPECT_EQ(frmMain->FOutputDirectory, missing);
}

TEST_F(ConvertCommandTest, MissingOutputFolderAnsweredYesIsCreatedWithItsParents) {
    const std::string missing = folder + "new\\deeper";
    frmMain->eOutputFolder->SetText(missing);
    CommandWatcher watcher("", IDYES);
    frmMain->bConvertClick(nullptr);
    EXPECT_TRUE(rt::DirectoryExists(missing));
    EXPECT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_TRUE(watcher.DialogShown());
}

TEST_F(ConvertCommandTest, AFolderThatCannotBeCreatedIsReported) {
    // A folder cannot be made below a file.
    wintest::WriteTextFile(folder + "file", "x");
    const std::string impossible = folder + "file\\sub";
    frmMain->eOutputFolder->SetText(impossible);
    CommandWatcher watcher("", IDYES);
    frmMain->bConvertClick(nullptr);
    const std::vector<std::string> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "Cannot create " + impossible);
    EXPECT_FALSE(watcher.DialogShown());
}

TEST_F(ConvertCommandTest, AnEmptyProfileIsReportedAfterTheFolder) {
    frmMain->fpType->SetCaption("");
    CommandWatcher watcher("", IDOK);
    frmMain->bConvertClick(nullptr);
    EXPECT_EQ(watcher.Boxes(), (std::vector<std::string>{"Please choose the output format!"}));
    EXPECT_FALSE(watcher.DialogShown());
}

TEST_F(ConvertCommandTest, AManualLineWithAnUnsafeExtensionIsRefusedBeforeTheDialog) {
    // Only a hand-edited settings file holds such lines.
    for (const char* caption : {"ffmpeg -i %1 -vn %1.wav\\..\\..\\x", "ffmpeg -i %1 -vn %1.wav\" -f wav \"C:\\x.wav",
                                "ffmpeg -i %1 -vn %1..wav", "ffmpeg -i %1 -vn %1.", "ffmpeg -i %1 -vn"}) {
        frmMain->fpType->SetCaption(caption);
        CommandWatcher watcher("\"one.avi\"", IDOK);
        frmMain->bConvertClick(nullptr);
        EXPECT_EQ(watcher.Boxes(), (std::vector<std::string>{"Please choose the output format!"})) << caption;
        EXPECT_FALSE(watcher.DialogShown()) << caption;
    }
    // A plain manual extension goes on to the file dialog.
    frmMain->fpType->SetCaption("ffmpeg -i %1 -vn %1.wav");
    CommandWatcher watcher("", IDOK);
    frmMain->bConvertClick(nullptr);
    EXPECT_TRUE(watcher.DialogShown());
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(ConvertCommandTest, SameAsInputConvertsTheChosenFilesAndSumsUpTheFailures) {
    UseMainWindow(true, folder + "nowhere");
    const std::string received = folder + "received.txt";
    Script(folder, "one.avi", "cmdline " + received + "\n" + ProgressLine("1.00") + "create\n");
    Script(folder, "two.avi", "exit 0\n");
    CommandWatcher watcher("\"one.avi\" \"two.avi\"", IDOK);
    frmMain->bConvertClick(nullptr);

    EXPECT_TRUE(watcher.DialogShown());
    EXPECT_EQ(watcher.Boxes(), (std::vector<std::string>{"two.avi, file conversion failed.\r\n\r\n"
                                                          "two.avi: the encoder printed no progress"}));
    EXPECT_TRUE(rt::FileExists(folder + "one.wav"));
    EXPECT_EQ(wintest::ReadTextFile(received), "\"" + TestEncoder() + "\" -i \"" + folder + "one.avi\" -vn -ac 2 -ar 44100 \"" +
                                                   folder + "one.wav\"");
    EXPECT_EQ(frmMain->FSameInputDirectory, folder);
    EXPECT_EQ(frmMain->FInputDirectory, folder);
    EXPECT_FALSE(rt::DirectoryExists(folder + "nowhere"));
    EXPECT_TRUE(wintest::ShownErrors().empty());
}

TEST_F(ConvertCommandTest, TwelveFailuresListTenReasonsAndHowManyMore) {
    std::string names, expected, reasons;
    for (int i = 1; i <= 12; ++i) {
        const std::string name = (i < 10 ? "f0" : "f") + std::to_string(i) + ".avi";
        // Odd files stop with their number as exit code, even ones print why.
        Script(folder, name, i % 2 ? "exit " + std::to_string(i) + "\n"
                                   : "err Cannot read clip number " + std::to_string(i) + "\\r\\n\nexit 1\n");
        names += "\"" + name + "\" ";
        expected += name + ", ";
        if (i <= 10)
            reasons += "\r\n" + name + ": " +
                       (i % 2 ? "the encoder stopped with code " + std::to_string(i)
                              : "Cannot read clip number " + std::to_string(i));
    }
    CommandWatcher watcher(names, IDOK);
    frmMain->bConvertClick(nullptr);
    EXPECT_EQ(watcher.Boxes(),
              (std::vector<std::string>{expected + "file conversion failed.\r\n" + reasons + "\r\nand 2 more"}));
    EXPECT_EQ(frmMain->FConvertError, "");
}

TEST_F(ConvertCommandTest, AnEncoderThatCannotBeStartedShowsOneErrorAndListsEveryFile) {
    frmMain->FAnotherFFmpeg = folder + "no such encoder.exe";
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) Script(folder, name, ProgressLine("1.00") + "create\n");
    CommandWatcher watcher("\"a.avi\" \"b.avi\" \"c.avi\"", IDOK);
    frmMain->bConvertClick(nullptr);
    EXPECT_EQ(wintest::ShownErrors(), (std::vector<std::string>{"Error while creating convert process!2."}));
    EXPECT_EQ(watcher.Boxes(), (std::vector<std::string>{
                                   "a.avi, b.avi, c.avi, file conversion failed.\r\n\r\n"
                                   "a.avi: the encoder could not be started (code 2)\r\n"
                                   "b.avi: the encoder could not be started (code 2)\r\n"
                                   "c.avi: the encoder could not be started (code 2)"}));
    EXPECT_EQ(wintest::FindProcessWindow("TfrmConvert", ""), nullptr) << "the progress window stays open";
    EXPECT_FALSE(ConvertProcess->Running);
}

}  // namespace
