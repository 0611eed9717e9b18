// File and folder names from any script: the program runs with UTF-8 as its
// code page, so every ...A call carries the real names, from the dialogs
// through the encoder's command line to the settings file.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/Main.h"
#include "engine/ConvertThread.h"
#include "runtime/Strings.h"
#include "tests/win/common/SystemTools.h"

namespace {

// "Café – 日本語 – Ελληνικά 🎬"
const std::string kName = "Caf\xC3\xA9 \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE2\x80\x93 "
                          "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC \xF0\x9F\x8E\xAC";
// "Wyjście – 출력 – Вывод 🎞"
const std::string kOutName = "Wyj\xC5\x9B" "cie \xE2\x80\x93 \xEC\xB6\x9C\xEB\xA0\xA5 \xE2\x80\x93 "
                             "\xD0\x92\xD1\x8B\xD0\xB2\xD0\xBE\xD0\xB4 \xF0\x9F\x8E\x9E";

std::string IniPath() { return rt::ExecutableFolder() + "settings.ini"; }

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

class UnicodeNames : public testing::Test {
protected:
    static void SetUpTestSuite() {
        input = wintest::MakeCleanFolder(kName + " in");
        clipMade = wintest::MakeClip(input + kName + ".avi", 2, "160x120");
    }
    void SetUp() override {
        DeleteFileA(IniPath().c_str());
        ASSERT_TRUE(rt::FileExists(wintest::TestProgramFolder() + "ffmpeg.exe"));
        ASSERT_TRUE(clipMade) << "the system's ffmpeg made no clip";
        output = wintest::MakeCleanFolder(kOutName);
        wintest::ShownErrors().clear();
        form = std::make_unique<TfrmMain>(nullptr);
        form->Show();
    }
    void TearDown() override {
        if (form) form->Close();
        form.reset();
        DeleteFileA(IniPath().c_str());
    }
    // Convert with the shipped encoder, picking the clip in the real file
    // dialog; the texts of the boxes shown.
    std::vector<std::string> Convert() {
        form->fpType->SetCaption("WAV - Waveform Audio");
        form->FInputDirectory = input;
        wintest::FileDialogAnswers answers("Select one or more video files", "\"" + kName + ".avi\"");
        form->bConvertClick(nullptr);
        EXPECT_TRUE(wintest::ShownErrors().empty());
        return answers.Boxes();
    }
    static std::string input;
    static bool clipMade;
    std::string output;
    std::unique_ptr<TfrmMain> form;
};

std::string UnicodeNames::input;
bool UnicodeNames::clipMade = false;

TEST_F(UnicodeNames, TheProgramRunsWithUtf8AsItsCodePage) { EXPECT_EQ(GetACP(), 65001u); }

TEST_F(UnicodeNames, ConvertsIntoAnOutputFolderChosenInTheFolderBrowser) {
    // The browser opens on the folder in the edit; OK hands it back.
    form->eOutputFolder->SetText(output);
    {
        wintest::DialogWatcher ok([](HWND dialog, const std::string&) {
            wintest::WaitForBrowserSelection(dialog, kOutName);
            return IDOK;
        });
        form->bBrowserClick(nullptr);
    }
    EXPECT_EQ(text::IncludeTrailingPathDelimiter(form->eOutputFolder->Text()), output);
    EXPECT_TRUE(Convert().empty()) << "no failure summary";
    EXPECT_EQ(FilesIn(output), (std::vector<std::string>{kName + ".wav"}));
    const wintest::Probe probe = wintest::ProbeFile(output, output + kName + ".wav");
    EXPECT_EQ(probe.format, "wav");
    EXPECT_NEAR(probe.duration, 2.0, 0.1);
}

TEST_F(UnicodeNames, ConvertsBesideTheInput) {
    form->cbSameInput->SetChecked(true);
    DeleteFileA((input + kName + ".wav").c_str());
    EXPECT_TRUE(Convert().empty());
    EXPECT_TRUE(rt::FileExists(input + kName + ".wav"));
    EXPECT_EQ(form->FSameInputDirectory, input);
    EXPECT_EQ(wintest::ProbeFile(input, input + kName + ".wav").format, "wav");
}

TEST_F(UnicodeNames, TheSettingsKeepSuchAnOutputFolder) {
    form->eOutputFolder->SetText(output);
    form->Close();
    form.reset();
    const std::string ini = wintest::ReadTextFile(IniPath());
    EXPECT_NE(ini.find("OutputDirectory=" + output + "\r\n"), std::string::npos) << "written as UTF-8";
    form = std::make_unique<TfrmMain>(nullptr);
    form->Show();
    EXPECT_EQ(form->eOutputFolder->Text(), output);
}

TEST_F(UnicodeNames, ASettingsFileInTheLegacyCodePageIsReadCorrectly) {
    form->Close();
    form.reset();
    // "C:\Vidéos\" as an older version wrote it on a Western system.
    wintest::WriteTextFile(IniPath(), "[Options]\r\nOutputDirectory=C:\\Vid\xE9os\\\r\nOutputFormat=MP3 - MPEG Layer-3 Audio\r\n");
    form = std::make_unique<TfrmMain>(nullptr);
    form->Show();
    EXPECT_EQ(form->eOutputFolder->Text(), "C:\\Vid\xC3\xA9os\\");
    EXPECT_EQ(form->fpType->Caption(), "MP3 - MPEG Layer-3 Audio") << "plain values are read as before";
}

}  // namespace

namespace {

// What the canvas draws for `text` in the forms' font, as pixels.
std::vector<rt::TColor> Drawn(const std::function<void(rt::Canvas&)>& draw) {
    rt::Bitmap bitmap(200, 20);
    rt::Canvas& c = bitmap.GetCanvas();
    c.FillRect(RECT{0, 0, 200, 20}, rt::clWhite);
    rt::Font font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    c.SetFont(font);
    draw(c);
    std::vector<rt::TColor> pixels;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x) pixels.push_back(bitmap.Pixel(x, y));
    return pixels;
}

}  // namespace

// The forms' raster font declares a Western character set; its text must
// still be read as the program's UTF-8, never byte by byte in that set
// ("Café" drawn as "CafÃ©").
TEST_F(UnicodeNames, TextIsDrawnAndMeasuredAsTheCharactersItHolds) {
    const std::string cafe = "Caf\xC3\xA9 \xC5\x9B";  // "Café ś"
    const auto expected = Drawn([](rt::Canvas& c) { TextOutW(c.Handle(), 2, 2, L"Caf\u00E9 \u015B", 6); });
    EXPECT_EQ(Drawn([&](rt::Canvas& c) { c.TextOut(2, 2, cafe); }), expected);
    EXPECT_EQ(Drawn([&](rt::Canvas& c) {
                  RECT r{2, 2, 200, 20};
                  c.DrawText(cafe, r, DT_SINGLELINE | DT_NOCLIP);
              }),
              expected);
    rt::Bitmap bitmap(10, 10);
    rt::Canvas& c = bitmap.GetCanvas();
    rt::Font font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    c.SetFont(font);
    SIZE wide{};
    GetTextExtentPoint32W(c.Handle(), L"Caf\u00E9 \u015B", 6, &wide);
    EXPECT_EQ(c.TextWidth(cafe), wide.cx);
}
