// The skinned check box: when OnClick fires, its own drawing into a memory
// bitmap, auto size, and mouse, key and accelerator input.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "runtime/Forms.h"
#include "skin/SUICheckBox.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/skin2/SkinPixels.h"

namespace {

class CheckBoxOnAForm : public testing::Test {
protected:
    void SetUp() override {
        form.SetClientSize(300, 100);
        box = new TsuiCheckBox(&form);
        box->SetParent(&form);
        box->SetBounds(10, 10, 122, 19);
        box->SetUIStyle(skin::TsuiUIStyle::WinXP);
        box->SetCaption("Same as the input file");
        box->SetAutoSize(true);
        box->OnClick = [this](rt::Component* sender) {
            EXPECT_EQ(sender, box);
            ++clicks;
        };
        form.EndLoading();
        form.Show();
        wintest::PumpFor(150);
    }
    void TearDown() override { form.Close(); }

    std::unique_ptr<rt::Bitmap> Picture() {
        auto b = std::make_unique<rt::Bitmap>(box->Width(), box->Height());
        box->PaintTo(b->DC());
        return b;
    }

    rt::Form form{nullptr};
    TsuiCheckBox* box = nullptr;
    int clicks = 0;
};

}  // namespace

TEST(SkinnedCheckBox, OnClickFiresOnlyOnARealChangeAndGrayedUnchecks) {
    TsuiCheckBox box(nullptr);
    EXPECT_EQ(box.UIStyle(), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(box.Width(), 93);
    EXPECT_EQ(box.Height(), 17);
    EXPECT_TRUE(box.AutoSize());
    EXPECT_TRUE(box.TabStop());
    int clicks = 0;
    box.OnClick = [&](rt::Component*) { ++clicks; };
    box.SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box.State(), cbChecked);
    box.SetState(cbGrayed);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(box.State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);
    box.SetState(cbGrayed);
    EXPECT_EQ(clicks, 2);
    box.SetState(cbChecked);
    EXPECT_EQ(clicks, 3);
    box.Click();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 4) << "a click is one change, one event";
}

TEST(SkinnedCheckBox, QuietWhileItsFormIsLoading) {
    rt::Form form(nullptr);
    auto* box = new TsuiCheckBox(&form);
    int clicks = 0;
    box->OnClick = [&](rt::Component*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 0);
    form.EndLoading();
    box->SetChecked(false);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckBoxOnAForm, AutoSizeFitsGlyphAndCaption) {
    Picture();
    rt::Bitmap probe(10, 10);
    probe.GetCanvas().SetFont(box->GetFont());
    // MS Sans Serif 8 ("W" 13 high), the font the form is drawn in on
    // Windows and under Wine alike, makes it 19 high.
    char face[LF_FACESIZE] = "";
    GetTextFaceA(probe.GetCanvas().Handle(), sizeof face, face);
    EXPECT_STREQ(face, "MS Sans Serif");
    const int expectedHeight = 19;
    EXPECT_EQ(probe.GetCanvas().TextHeight("W"), 13);
    EXPECT_EQ(box->Height(), expectedHeight);
    EXPECT_EQ(box->Width(), 13 + probe.GetCanvas().TextWidth("Same as the input file") + 8);
    RECT r;
    GetWindowRect(box->Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, expectedHeight) << "the window follows";

    rt::Font big = box->GetFont();
    big.Height = -24;
    box->SetFont(big);
    Picture();
    probe.GetCanvas().SetFont(big);
    EXPECT_EQ(box->Height(), probe.GetCanvas().TextHeight("W") + 2 + 4) << "a taller font, a taller box";

    box->SetAutoSize(false);
    box->SetBounds(10, 10, 200, 30);
    Picture();
    EXPECT_EQ(box->Width(), 200);
    EXPECT_EQ(box->Height(), 30);
}

// The size follows a new caption or font at once, with no painting in
// between, and painting leaves it as it is.
TEST_F(CheckBoxOnAForm, AutoSizeFollowsCaptionAndFontWithoutPainting) {
    rt::Bitmap probe(10, 10);
    probe.GetCanvas().SetFont(box->GetFont());
    const std::string longer = "Same as the input file, and a good deal longer";
    box->SetCaption(longer);
    EXPECT_EQ(box->Width(), 13 + probe.GetCanvas().TextWidth(longer) + 8);

    rt::Font big = box->GetFont();
    big.Height = -24;
    box->SetFont(big);
    probe.GetCanvas().SetFont(big);
    EXPECT_EQ(box->Height(), probe.GetCanvas().TextHeight("W") + 2 + 4);
    EXPECT_EQ(box->Width(), 13 + probe.GetCanvas().TextWidth(longer) + 8);

    const int width = box->Width(), height = box->Height();
    Picture();
    EXPECT_EQ(box->Width(), width);
    EXPECT_EQ(box->Height(), height);
}

TEST_F(CheckBoxOnAForm, DrawsTheGlyphPieceOfItsState) {
    struct Case {
        bool checked;
        bool enabled;
        int piece;
    };
    for (const Case c : {Case{true, true, 1}, Case{false, true, 2}, Case{true, false, 3}, Case{false, false, 4}}) {
        box->SetChecked(c.checked);
        box->SetEnabled(c.enabled);
        rt::Bitmap glyph;
        ASSERT_TRUE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, 3, &glyph, 4, c.piece));
        ASSERT_EQ(glyph.Width(), 13);
        auto b = Picture();
        const int g = (box->Height() - 13) / 2;
        int mismatches = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x)
                if (b->Pixel(1 + x, g + y) != glyph.Pixel(x, y)) ++mismatches;
        EXPECT_EQ(mismatches, 0) << "piece " << c.piece << " at (1, " << g << ")";
        EXPECT_EQ(b->Pixel(0, 0), rt::ColorToRGB(form.Color())) << "the parent's colour around it";
    }
}

TEST_F(CheckBoxOnAForm, TheFocusRectangleSurroundsTheCaption) {
    auto* other = new TsuiCheckBox(&form);
    other->SetParent(&form);
    other->SetBounds(10, 50, 100, 19);
    other->SetFocus();
    ASSERT_FALSE(box->Focused());
    Picture();
    auto unfocused = Picture();
    box->SetFocus();
    wintest::PumpFor(50);
    ASSERT_TRUE(box->Focused());
    auto focused = Picture();
    const int w = box->Width();
    rt::Bitmap probe(10, 10);
    probe.GetCanvas().SetFont(box->GetFont());
    const int textHeightW = probe.GetCanvas().TextHeight("W");
    const int t = (box->Height() - textHeightW) / 2;
    const RECT focus{13 + 3, t, w, t + textHeightW + 2};
    int onFrame = 0, elsewhere = 0;
    for (int y = 0; y < box->Height(); ++y)
        for (int x = 0; x < w; ++x) {
            if (focused->Pixel(x, y) == unfocused->Pixel(x, y)) continue;
            const bool frame = (x == focus.left || x == focus.right - 1 || y == focus.top || y == focus.bottom - 1) &&
                               x >= focus.left && x < focus.right && y >= focus.top && y < focus.bottom;
            ++(frame ? onFrame : elsewhere);
        }
    EXPECT_GT(onFrame, 20);
    EXPECT_EQ(elsewhere, 0);
}

TEST_F(CheckBoxOnAForm, AClickReleasedOverTheBoxTogglesAndTakesTheFocus) {
    HWND h = box->Handle();
    EXPECT_EQ(GetClassLongPtrA(h, GCL_STYLE) & CS_DBLCLKS, 0u) << "a quick second click is a click";
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(box->Checked()) << "not on the press";
    EXPECT_TRUE(box->Focused());
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    // Released away from the box: nothing.
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(box->Width() + 20, 5));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckBoxOnAForm, SpaceAndEnterToggleOnKeyUp) {
    HWND h = box->Handle();
    box->SetFocus();
    wintest::PumpFor(30);
    ASSERT_TRUE(box->Focused());
    SendMessageA(h, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(box->Checked());
    SendMessageA(h, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(box->Checked());
    SendMessageA(h, WM_KEYUP, VK_RETURN, 0);
    EXPECT_FALSE(box->Checked());
    SendMessageA(h, WM_KEYUP, 'A', 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckBoxOnAForm, TheAcceleratorLetterClicks) {
    box->SetCaption("&Same as the input file");
    EXPECT_FALSE(form.OfferDialogChar('x', rt::ssAlt));
    EXPECT_TRUE(form.OfferDialogChar('s', rt::ssAlt));
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(clicks, 1);
    box->SetEnabled(false);
    EXPECT_FALSE(form.OfferDialogChar('S', rt::ssAlt));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
}
