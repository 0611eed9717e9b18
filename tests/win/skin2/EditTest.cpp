// The skinned edit: its border colour and style, and its flat frame as it
// stands on the window after the edit's own painting.
#include <gtest/gtest.h>

#include "runtime/Forms.h"
#include "skin/SUIEdit.h"
#include "tests/win/common/WinTest.h"

namespace {

// The pixels of one ring of the window, `inset` pixels in from its edge,
// that are not `colour` (window coordinates).
int RingMismatches(HWND h, int inset, rt::TColor colour) {
    RECT r;
    GetWindowRect(h, &r);
    const int w = r.right - r.left, ht = r.bottom - r.top;
    HDC dc = GetWindowDC(h);
    int bad = 0;
    auto check = [&](int x, int y) {
        if ((GetPixel(dc, x, y) & 0xFFFFFF) != rt::ColorToRGB(colour)) ++bad;
    };
    for (int x = inset; x < w - inset; ++x) {
        check(x, inset);
        check(x, ht - 1 - inset);
    }
    for (int y = inset; y < ht - inset; ++y) {
        check(inset, y);
        check(w - 1 - inset, y);
    }
    ReleaseDC(h, dc);
    return bad;
}

void PaintRing(HWND h, int inset, COLORREF colour) {
    RECT r;
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    InflateRect(&r, -inset, -inset);
    HDC dc = GetWindowDC(h);
    rt::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FrameRect(dc, &r, brush.Get());
    ReleaseDC(h, dc);
}

class EditOnAForm : public testing::Test {
protected:
    void SetUp() override {
        form.SetClientSize(400, 120);
        edit = new TsuiEdit(&form);
        edit->SetParent(&form);
        edit->SetBounds(10, 10, 300, 20);
        edit->SetUIStyle(skin::TsuiUIStyle::WinXP);
        edit->SetBorderColor(0x0000FF);
        form.EndLoading();
        form.Show();
        wintest::PumpFor(150);
    }
    void TearDown() override { form.Close(); }
    rt::Form form{nullptr};
    TsuiEdit* edit = nullptr;
};

}  // namespace

TEST(SkinnedEdit, ALaterStyleOverwritesTheBorderColour) {
    TsuiEdit e(nullptr);
    EXPECT_EQ(e.UIStyle(), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(e.BorderColor(), 0x000000u);
    e.SetBorderColor(0x123456);
    EXPECT_EQ(e.BorderColor(), 0x123456u);
    e.SetUIStyle(skin::TsuiUIStyle::WinXP);
    EXPECT_EQ(e.BorderColor(), 0x686868u);
    e.SetBorderColor(0x0000FF);
    e.SetUIStyle(skin::TsuiUIStyle::MacOS);
    EXPECT_EQ(e.BorderColor(), 0x7F7F7Fu);
    e.SetUIStyle(skin::TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(e.BorderColor(), 0x000000u) << "no theme file: DeepBlue";
}

TEST_F(EditOnAForm, TheTextSitsTwoPixelsInsideAOnePixelBorderLine) {
    HWND h = edit->Handle();
    EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << "no standard border";
    RECT client, window;
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(client.right, 296);
    EXPECT_EQ(client.bottom, 16);
    EXPECT_EQ(origin.x - window.left, 2);
    EXPECT_EQ(origin.y - window.top, 2);
    EXPECT_EQ(RingMismatches(h, 0, 0x0000FF), 0) << "outer line in BorderColor";
    EXPECT_EQ(RingMismatches(h, 1, edit->Color()), 0) << "second line in the edit's colour";
}

TEST_F(EditOnAForm, TheFrameIsRedrawnAfterPaintingAndErasing) {
    HWND h = edit->Handle();
    PaintRing(h, 0, RGB(0, 255, 0));
    PaintRing(h, 1, RGB(0, 255, 0));
    ASSERT_GT(RingMismatches(h, 0, 0x0000FF), 0);
    // The client area alone is painted and erased again.
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    EXPECT_EQ(RingMismatches(h, 0, 0x0000FF), 0);
    EXPECT_EQ(RingMismatches(h, 1, edit->Color()), 0);

    // A new colour on the live edit goes straight onto the window.
    edit->SetBorderColor(0x00FF00);
    wintest::PumpFor(100);
    EXPECT_EQ(RingMismatches(h, 0, 0x00FF00), 0);
    edit->SetUIStyle(skin::TsuiUIStyle::WinXP);
    wintest::PumpFor(100);
    EXPECT_EQ(RingMismatches(h, 0, 0x686868), 0);
}

TEST_F(EditOnAForm, ADisabledEditKeepsItsColourInsideTheFrame) {
    HWND h = edit->Handle();
    edit->SetText("");
    edit->SetEnabled(false);
    wintest::PumpFor(100);
    HDC dc = GetDC(h);
    EXPECT_EQ(GetPixel(dc, 200, 8) & 0xFFFFFF, rt::ColorToRGB(edit->Color()));
    ReleaseDC(h, dc);
    EXPECT_EQ(RingMismatches(h, 0, 0x0000FF), 0);
    EXPECT_EQ(RingMismatches(h, 1, edit->Color()), 0);
}
