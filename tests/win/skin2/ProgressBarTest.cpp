// The skinned progress bar: its caption, and how much of it the fill
// picture covers, drawn into memory bitmaps.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/Forms.h"
#include "skin/SUIProgressBar.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/skin2/SkinPixels.h"

using skintest::AllColour;
using skintest::CountPixels;

namespace {

constexpr rt::TColor kBackground = 0xDEEBEF;
constexpr rt::TColor kBorder = 0x686868;

// A WinXP bar of the progress window's kind on a form, 212 x 12 unless told.
class ProgressBarOnAForm : public testing::Test {
protected:
    void SetUp() override {
        form.SetClientSize(300, 60);
        bar = new TsuiProgressBar(&form);
        bar->SetParent(&form);
        bar->SetBounds(10, 10, 212, 12);
        bar->SetUIStyle(skin::TsuiUIStyle::WinXP);
        form.EndLoading();
        form.Show();
        ASSERT_TRUE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, 24, &fill));
    }

    std::unique_ptr<rt::Bitmap> Picture() {
        auto b = std::make_unique<rt::Bitmap>(bar->Width(), bar->Height());
        bar->PaintTo(b->DC());
        return b;
    }

    // Columns [1, end) of the inside show the fill picture, the rest the
    // background, and the border surrounds it all.
    void ExpectFilledUpTo(const rt::Bitmap& b, int end) {
        const int w = b.Width(), h = b.Height();
        int wrongFill = 0;
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < end; ++x)
                if (b.Pixel(x, y) != fill.Pixel(0, y - 1)) ++wrongFill;
        EXPECT_EQ(wrongFill, 0) << "the 10 rows of the picture over columns 1 to " << end - 1;
        EXPECT_TRUE(AllColour(b, RECT{end, 1, w - 1, h - 1}, kBackground)) << "background from column " << end;
        EXPECT_TRUE(AllColour(b, RECT{0, 0, w, 1}, kBorder));
        EXPECT_TRUE(AllColour(b, RECT{0, h - 1, w, h}, kBorder));
        EXPECT_TRUE(AllColour(b, RECT{0, 0, 1, h}, kBorder));
        EXPECT_TRUE(AllColour(b, RECT{w - 1, 0, w, h}, kBorder));
    }

    void TearDown() override { form.Close(); }

    rt::Form form{nullptr};
    TsuiProgressBar* bar = nullptr;
    rt::Bitmap fill;
};

}  // namespace

TEST(SkinnedProgressBar, ConstructionDefaultsAndTheWinXPStyle) {
    TsuiProgressBar bar(nullptr);
    EXPECT_EQ(bar.Width(), 150);
    EXPECT_EQ(bar.Height(), 12);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Position(), 50);
    EXPECT_EQ(bar.Caption(), "50%");
    EXPECT_TRUE(bar.ShowCaption());
    EXPECT_FALSE(bar.SmartShowCaption());
    EXPECT_EQ(bar.CaptionColor(), rt::clBlack);
    EXPECT_EQ(bar.Orientation(), suiHorizontal);
    EXPECT_EQ(bar.UIStyle(), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(bar.Color(), 0xE8E8E8u);
    EXPECT_EQ(bar.BorderColor(), 0x000000u);
    EXPECT_EQ(bar.Picture().Width(), 1);
    EXPECT_EQ(bar.Picture().Height(), 10);

    bar.SetBorderColor(0x123456);
    bar.SetColor(0x123456);
    bar.SetUIStyle(skin::TsuiUIStyle::WinXP);
    EXPECT_EQ(bar.Color(), kBackground);
    EXPECT_EQ(bar.BorderColor(), kBorder);
    EXPECT_EQ(bar.Picture().Width(), 6);
    EXPECT_EQ(bar.Picture().Height(), 10);
}

TEST(SkinnedProgressBar, TheCaptionIsThePercentageOfEveryChange) {
    TsuiProgressBar bar(nullptr);
    bar.SetPosition(0);
    EXPECT_EQ(bar.Caption(), "0%");
    bar.SetPosition(150);
    EXPECT_EQ(bar.Caption(), "150%") << "not clamped";
    bar.SetMax(3);
    bar.SetPosition(1);
    EXPECT_EQ(bar.Caption(), "33%") << "truncated, not rounded";
    bar.SetMin(3);
    EXPECT_EQ(bar.Caption(), "0%") << "Min = Max";
    bar.SetMin(0);
    EXPECT_EQ(bar.Caption(), "33%");
}

TEST_F(ProgressBarOnAForm, HalfwayOnA212PixelBarFillsColumnsOneTo104) {
    bar->SetShowCaption(false);
    bar->SetPosition(50);
    ExpectFilledUpTo(*Picture(), 105);
}

TEST_F(ProgressBarOnAForm, EmptyFullAndOddRanges) {
    bar->SetShowCaption(false);
    bar->SetPosition(0);
    ExpectFilledUpTo(*Picture(), 1);  // e is 1: the stretch covers no column
    bar->SetPosition(150);
    ExpectFilledUpTo(*Picture(), 211);
    bar->SetPosition(100);
    ExpectFilledUpTo(*Picture(), 211);
    bar->SetMax(3);
    bar->SetPosition(1);
    ExpectFilledUpTo(*Picture(), 70);  // 211 / 3
    bar->SetMin(3);
    bar->SetMax(3);
    ExpectFilledUpTo(*Picture(), 1);
}

TEST_F(ProgressBarOnAForm, TheCaptionIsCentredInItsColour) {
    bar->SetCaptionColor(0x0000FF);
    bar->SetPosition(150);
    auto b = Picture();
    rt::Bitmap probe(10, 10);
    const SIZE text = probe.GetCanvas().TextExtent("150%");
    const int left = (212 - text.cx) / 2;
    auto red = [](rt::TColor p) { return p == 0x0000FF; };
    EXPECT_GT(CountPixels(*b, RECT{left, 0, left + text.cx, 12}, red), 10);
    EXPECT_EQ(CountPixels(*b, RECT{0, 0, left, 12}, red), 0);
    EXPECT_EQ(CountPixels(*b, RECT{left + text.cx, 0, 212, 12}, red), 0);
    // The control's own font is not the caption's.
    rt::Font huge;
    huge.Height = -30;
    bar->SetFont(huge);
    EXPECT_TRUE(skintest::SamePixels(*b, *Picture()));
}

TEST_F(ProgressBarOnAForm, SmartShowCaptionHidesTheCaptionOnlyAtMin) {
    bar->SetPosition(0);
    bar->SetShowCaption(false);
    auto none = Picture();
    bar->SetShowCaption(true);
    auto zero = Picture();
    EXPECT_FALSE(skintest::SamePixels(*none, *zero)) << "0% is written";
    bar->SetSmartShowCaption(true);
    EXPECT_TRUE(skintest::SamePixels(*none, *Picture())) << "nothing at Min";
    bar->SetPosition(1);
    auto one = Picture();
    bar->SetShowCaption(false);
    EXPECT_FALSE(skintest::SamePixels(*one, *Picture())) << "1% is written";
}
