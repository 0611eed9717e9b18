// The hover image: picture swap on enter and leave, the two-pixel sink while
// a button is held, through the mouse messages of its parent window.
#include <gtest/gtest.h>

#include "controls/WlmShiftImage.h"
#include "tests/win/controls/ControlTest.h"

using controltest::HostForm;
using controltest::SendMouse;

namespace {

constexpr rt::TColor kNormal = 0x0000FF;
constexpr rt::TColor kHover = 0xFF0000;
constexpr rt::TColor kOther = 0x00FF00;

void Fill(rt::Bitmap& b, rt::TColor c) {
    b.SetSize(32, 32);
    RECT r{0, 0, 32, 32};
    b.GetCanvas().FillRect(r, c);
}

class ShiftImageTest : public ::testing::Test {
protected:
    HostForm host{rt::clWhite};
    TWlmShiftImage* image = nullptr;
    int enters = 0, leaves = 0, downs = 0, ups = 0, clicks = 0;

    void SetUp() override {
        image = new TWlmShiftImage(&host);
        image->SetParent(&host);
        image->SetBounds(10, 10, 32, 32);
        rt::Bitmap b;
        Fill(b, kNormal);
        image->Picture().Assign(b);
        image->SetNoFocusedPicture(b);
        Fill(b, kHover);
        image->SetFocusedPicture(b);
        Fill(b, kOther);  // the image keeps its own copies
        image->OnMouseEnter = [this](rt::Component* s) { enters += s == image; };
        image->OnMouseLeave = [this](rt::Component* s) { leaves += s == image; };
        image->OnMouseDown = [this](rt::Component*, rt::MouseButton, unsigned, int, int) { ++downs; };
        image->OnMouseUp = [this](rt::Component*, rt::MouseButton, unsigned, int, int) { ++ups; };
        image->OnClick = [this](rt::Component*) { ++clicks; };
    }
    rt::TColor Shown() { return image->Picture().Pixel(5, 5); }
    void Enter() { SendMouse(host, WM_MOUSEMOVE, 0, 20, 20); }
    void Leave() { SendMouse(host, WM_MOUSEMOVE, 0, 200, 150); }
};

TEST_F(ShiftImageTest, PointerSwapsThePictures) {
    EXPECT_EQ(image->FocusedPicture().Pixel(5, 5), kHover);
    EXPECT_EQ(image->NoFocusedPicture().Pixel(5, 5), kNormal);
    Enter();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(Shown(), kHover);
    SendMouse(host, WM_MOUSEMOVE, 0, 30, 30);  // moving inside is no new enter
    EXPECT_EQ(enters, 1);
    Leave();
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(Shown(), kNormal);
}

TEST_F(ShiftImageTest, DisabledImageReportsThePointerButKeepsItsPicture) {
    rt::Bitmap b;
    Fill(b, kOther);
    image->Picture().Assign(b);
    image->SetEnabled(false);
    Enter();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(Shown(), kOther);
    Leave();
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(Shown(), kOther);
}

TEST_F(ShiftImageTest, EitherButtonSinksItTwoPixelsUntilReleased) {
    Enter();
    SendMouse(host, WM_RBUTTONDOWN, MK_RBUTTON, 20, 20);
    EXPECT_EQ(image->Left(), 12);
    EXPECT_EQ(image->Top(), 12);
    EXPECT_EQ(downs, 1);
    SendMouse(host, WM_RBUTTONUP, 0, 20, 20);
    EXPECT_EQ(image->Left(), 10);
    EXPECT_EQ(image->Top(), 10);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(clicks, 0);

    SendMouse(host, WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    EXPECT_EQ(image->Left(), 12);
    EXPECT_EQ(image->Top(), 12);
    SendMouse(host, WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(image->Left(), 10);
    EXPECT_EQ(image->Top(), 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(image->Width(), 32);
    EXPECT_EQ(image->Height(), 32);
}

TEST_F(ShiftImageTest, DisabledImageTakesNoButtonAndDoesNotSink) {
    image->SetEnabled(false);
    Enter();
    SendMouse(host, WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    EXPECT_EQ(image->Left(), 10);
    EXPECT_EQ(image->Top(), 10);
    SendMouse(host, WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(image->Left(), 10);
    EXPECT_EQ(downs + ups + clicks, 0);
}

}  // namespace
