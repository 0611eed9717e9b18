// The profile box, the Advanced icon and the update link as the main window
// sets them up.
#include <gtest/gtest.h>

#include "app/Links.h"
#include "app/Main.h"
#include "engine/ConvertThread.h"
#include "tests/win/controls/ControlTest.h"

using controltest::Render;
using controltest::SendMouse;

namespace {

class MainWindowControlsTest : public ::testing::Test {
protected:
    void SetUp() override { new TfrmMain(nullptr); }
    void TearDown() override {
        // Destroyed without closing: the settings file stays untouched.
        delete frmMain;
        delete ConvertProcess;
        ConvertProcess = nullptr;
    }
};

bool SamePixels(rt::Bitmap& a, rt::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

TEST_F(MainWindowControlsTest, ProfileBoxIsABlackFrameOnTheWindowColour) {
    frmMain->fpType->SetCaption("");
    rt::Bitmap b;
    Render(*frmMain->fpType, b);
    ASSERT_EQ(b.Width(), 371);
    ASSERT_EQ(b.Height(), 21);
    const rt::TColor face = rt::ColorToRGB(frmMain->Color()) & 0xFFFFFF;
    for (const POINT p : {POINT{0, 0}, POINT{370, 0}, POINT{0, 20}, POINT{370, 20}, POINT{185, 0}, POINT{185, 20},
                          POINT{0, 10}, POINT{370, 10}})
        EXPECT_EQ(b.Pixel(p.x, p.y), rt::clBlack) << p.x << "," << p.y;
    EXPECT_EQ(b.Pixel(1, 1), face);
    EXPECT_EQ(b.Pixel(185, 10), face);
    EXPECT_EQ(b.Pixel(369, 19), face);
}

TEST_F(MainWindowControlsTest, AdvancedIconSwapsUnderThePointer) {
    TWlmShiftImage* icon = frmMain->WlmShiftImage1;
    ASSERT_FALSE(icon->FocusedPicture().Empty());
    ASSERT_FALSE(SamePixels(icon->FocusedPicture(), icon->NoFocusedPicture()));
    EXPECT_TRUE(SamePixels(icon->Picture(), icon->NoFocusedPicture()));
    rt::Panel* panel = frmMain->pSingleMode;
    SendMouse(*panel, WM_MOUSEMOVE, 0, icon->Left() + 16, icon->Top() + 16);
    EXPECT_TRUE(SamePixels(icon->Picture(), icon->FocusedPicture()));
    SendMouse(*panel, WM_MOUSEMOVE, 0, 200, 100);
    EXPECT_TRUE(SamePixels(icon->Picture(), icon->NoFocusedPicture()));
}

TEST_F(MainWindowControlsTest, UpdateLinkIsWhiteTurnsRedAndOpensTheUpdatePage) {
    TsuiURLLabel* link = frmMain->lUpdate;
    EXPECT_EQ(link->URL(), links::kUpdatePage);
    EXPECT_EQ(link->GetFont().Color, rt::clWhite);
    SendMouse(*frmMain, WM_MOUSEMOVE, 0, link->Left() + 3, link->Top() + 3);
    EXPECT_EQ(link->GetFont().Color, rt::clRed);
    std::vector<std::string> opened;
    const auto saved = TsuiURLLabel::ShellOpen;
    TsuiURLLabel::ShellOpen = [&](const std::string& url) { opened.push_back(url); };
    SendMouse(*frmMain, WM_LBUTTONDOWN, MK_LBUTTON, link->Left() + 3, link->Top() + 3);
    SendMouse(*frmMain, WM_LBUTTONUP, 0, link->Left() + 3, link->Top() + 3);
    TsuiURLLabel::ShellOpen = saved;
    EXPECT_EQ(opened, std::vector<std::string>{links::kUpdatePage});
    SendMouse(*frmMain, WM_MOUSEMOVE, 0, 200, 270);
    EXPECT_EQ(link->GetFont().Color, rt::clWhite);
}

}  // namespace
