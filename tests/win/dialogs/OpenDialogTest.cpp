// The open dialog with the real system dialog: large selections come back
// whole, and a dialog that says the selection did not fit is asked again
// with more room.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/Dialogs.h"
#include "tests/win/common/SystemTools.h"
#include "tests/win/dialogs/DialogTest.h"

namespace {

// Empty files with the names a camera gives, in a fresh folder; returns the
// names.
std::vector<std::string> CameraFiles(const std::string& folder, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "IMG_20240612_%06d.JPG", i);
        names.emplace_back(name);
        const HANDLE h = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << name;
        CloseHandle(h);
    }
    return names;
}

// The file-name box of the dialog as a person would fill it for a
// selection: every name in double quotes.
std::string Quoted(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += "\"" + name + "\" ";
    return text;
}

class OpenDialogTest : public dialogtest::MainWindowTest {};

TEST_F(OpenDialogTest, TenThousandSelectedFilesAllComeBack) {
    // Made and removed by the shell: file by file through the platform, ten
    // thousand files take over a minute.
    const std::string base = wintest::TestProgramFolder();
    const std::string folder = base + "ten thousand\\";
    const std::string unixFolder = "'" + wintest::UnixPath(base) + "/ten thousand'";
    std::vector<std::string> names;
    for (int i = 1; i <= 10000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "IMG_20240612_%06d.JPG", i);
        names.emplace_back(name);
    }
    ASSERT_TRUE(wintest::RunShell(base, "rm -rf " + unixFolder + " && mkdir " + unixFolder + " && cd " + unixFolder +
                                            " && seq -f 'IMG_20240612_%06g.JPG' 1 10000 | xargs touch",
                                  60000));
    ASSERT_TRUE(rt::FileExists(folder + names.back()));

    // The main window's own dialog, as the Convert command uses it.
    rt::OpenDialog& dialog = *frmMain->OpenDialog1;
    dialog.Title = "Select one or more video files";
    dialog.InitialDir = folder;
    dialog.FileName.clear();
    // Typed names need not be listed: a filter that lists none of them
    // spares the dialog filling its list with ten thousand entries.
    dialog.Filter = "None|*.none";
    bool chosen = false;
    {
        wintest::FileDialogAnswers answers(dialog.Title, Quoted(names));
        chosen = dialog.Execute();
        EXPECT_TRUE(answers.Boxes().empty());
    }
    ASSERT_TRUE(chosen);
    std::printf("names selected: %zu, names returned: %zu\n", names.size(), dialog.Files.size());
    std::vector<std::string> expected;
    for (const std::string& name : names) expected.push_back(folder + name);
    std::vector<std::string> got = dialog.Files;
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    EXPECT_EQ(dialog.FileName, dialog.Files.front());
    wintest::RunShell(base, "rm -rf " + unixFolder, 60000);
}

TEST_F(OpenDialogTest, ASelectionThatDidNotFitIsAskedForAgainWithMoreRoom) {
    const std::string folder = wintest::MakeCleanFolder("did not fit");
    const std::vector<std::string> names = CameraFiles(folder, 1);
    const std::string path = folder + names[0];

    rt::OpenDialog dialog(nullptr);
    dialog.Title = "Pick one";
    dialog.Filter = "*.*|*.*";
    dialog.InitialDir = folder;
    dialog.BufferChars = 16;  // far too small for the full path
    int shown = 0;
    bool chosen = false;
    {
        wintest::DialogWatcher watcher([&](HWND box, const std::string&) {
            ++shown;
            HWND edit = GetDlgItem(box, 0x47c);
            if (!edit) edit = GetDlgItem(box, 0x480);
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names[0].c_str()));
            return IDOK;
        });
        chosen = dialog.Execute();
    }
    std::printf("dialog shown %d times for a path of %zu characters, buffer now %zu\n", shown, path.size(),
                dialog.BufferChars);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(dialog.Files, std::vector<std::string>{path});
    EXPECT_GT(shown, 1);
    EXPECT_GT(dialog.BufferChars, path.size());
}

}  // namespace
