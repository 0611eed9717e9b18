// The flat panel painted into memory bitmaps: frame, caption, disabled
// look and the transparent background.
#include <gtest/gtest.h>

#include "controls/TFlatPanelUnit.h"
#include "tests/win/controls/ControlTest.h"

using controltest::HostForm;
using controltest::Render;

namespace {

constexpr rt::TColor kBackground = 0x40A0C0;
constexpr rt::TColor kRed = 0x0000FF;
constexpr rt::TColor kGreen = 0x00FF00;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < 0; }
};

// Where pixels of colour c lie inside the frame.
Box InkBox(const rt::Bitmap& b, rt::TColor c) {
    Box box;
    for (int y = 1; y < b.Height() - 1; ++y)
        for (int x = 1; x < b.Width() - 1; ++x)
            if (b.Pixel(x, y) == c) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

class FlatPanelTest : public ::testing::Test {
protected:
    HostForm host{kBackground};
    TFlatPanel* panel = nullptr;
    rt::Bitmap bitmap;

    void SetUp() override {
        panel = new TFlatPanel(&host);
        panel->SetParent(&host);
        panel->SetBounds(10, 20, 120, 21);
        rt::Font f = panel->GetFont();
        f.Color = rt::clBlack;
        panel->SetFont(f);
    }
};

TEST_F(FlatPanelTest, NewPanelHasTheDefaultSizeFrameAndParentColour) {
    TFlatPanel* fresh = new TFlatPanel(&host);
    fresh->SetParent(&host);
    EXPECT_EQ(fresh->Width(), 185);
    EXPECT_EQ(fresh->Height(), 41);
    Render(*fresh, bitmap);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x8396A0u);
    EXPECT_EQ(bitmap.Pixel(184, 40), 0x8396A0u);
    EXPECT_EQ(bitmap.Pixel(92, 20), kBackground);
}

TEST_F(FlatPanelTest, BlackFrameColoursGiveAPlainOnePixelBlackRectangle) {
    panel->SetColorHighLight(rt::clBlack);
    panel->SetColorShadow(rt::clBlack);
    Render(*panel, bitmap);
    const int w = bitmap.Width(), h = bitmap.Height();
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(bitmap.Pixel(x, 0), rt::clBlack) << x;
        EXPECT_EQ(bitmap.Pixel(x, h - 1), rt::clBlack) << x;
        EXPECT_EQ(bitmap.Pixel(x, 1), x == 0 || x == w - 1 ? rt::clBlack : kBackground) << x;
        EXPECT_EQ(bitmap.Pixel(x, h - 2), x == 0 || x == w - 1 ? rt::clBlack : kBackground) << x;
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(bitmap.Pixel(0, y), rt::clBlack) << y;
        EXPECT_EQ(bitmap.Pixel(w - 1, y), rt::clBlack) << y;
        EXPECT_EQ(bitmap.Pixel(1, y), y == 0 || y == h - 1 ? rt::clBlack : kBackground) << y;
    }
}

TEST_F(FlatPanelTest, LeftAndTopTakeTheHighlightRightBottomAndBottomLeftTheShadow) {
    panel->SetColorHighLight(kRed);
    panel->SetColorShadow(kGreen);
    Render(*panel, bitmap);
    const int w = bitmap.Width(), h = bitmap.Height();
    for (int y = 0; y < h - 1; ++y) EXPECT_EQ(bitmap.Pixel(0, y), kRed) << y;
    for (int x = 0; x < w - 1; ++x) EXPECT_EQ(bitmap.Pixel(x, 0), kRed) << x;
    for (int y = 0; y < h; ++y) EXPECT_EQ(bitmap.Pixel(w - 1, y), kGreen) << y;
    for (int x = 0; x < w; ++x) EXPECT_EQ(bitmap.Pixel(x, h - 1), kGreen) << x;
    EXPECT_EQ(bitmap.Pixel(0, h - 1), kGreen);
    EXPECT_EQ(bitmap.Pixel(w - 1, 0), kGreen);
}

TEST_F(FlatPanelTest, CaptionIsOneCentredLineAndFollowsTheAlignment) {
    panel->SetBounds(10, 20, 160, 40);
    panel->SetColorHighLight(kRed);
    panel->SetColorShadow(kRed);
    panel->SetCaption("Hi");
    Render(*panel, bitmap);
    Box ink = InkBox(bitmap, rt::clBlack);
    ASSERT_FALSE(ink.Empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 80, 2.5);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 3.5);

    // A caption with blanks that does not fit stays on one line.
    panel->SetCaption("one two three four five six seven eight nine ten");
    Render(*panel, bitmap);
    ink = InkBox(bitmap, rt::clBlack);
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(ink.bottom - ink.top, 14);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 3.5);
    // Cut at both edges, not wrapped: the ink reaches near either side.
    EXPECT_LE(ink.left, 6);
    EXPECT_GE(ink.right, 153);

    panel->SetCaption("Hi");
    panel->SetAlignment(rt::Alignment::Left);
    Render(*panel, bitmap);
    ink = InkBox(bitmap, rt::clBlack);
    EXPECT_LE(ink.left, 3);
    panel->SetAlignment(rt::Alignment::Right);
    Render(*panel, bitmap);
    ink = InkBox(bitmap, rt::clBlack);
    EXPECT_GE(ink.right, 155);
}

TEST_F(FlatPanelTest, DisabledCaptionIsEmbossed) {
    panel->SetColorHighLight(kRed);
    panel->SetColorShadow(kRed);
    panel->SetCaption("Wm");
    Render(*panel, bitmap);
    rt::Bitmap enabled;
    enabled.Assign(bitmap);
    ASSERT_FALSE(InkBox(enabled, rt::clBlack).Empty());

    panel->SetEnabled(false);
    Render(*panel, bitmap);
    const rt::TColor light = rt::ColorToRGB(rt::clBtnHighlight) & 0xFFFFFF;
    const rt::TColor dark = rt::ColorToRGB(rt::clBtnShadow) & 0xFFFFFF;
    // The grey copy lies where the enabled text was; the light copy one
    // pixel right and down shows only where the grey one does not cover it.
    int mismatches = 0;
    for (int y = 1; y < bitmap.Height() - 1; ++y)
        for (int x = 1; x < bitmap.Width() - 1; ++x) {
            const bool text = enabled.Pixel(x, y) == rt::clBlack;
            const bool under = enabled.Pixel(x - 1, y - 1) == rt::clBlack;
            const rt::TColor expected = text ? dark : under ? light : kBackground;
            if (bitmap.Pixel(x, y) != expected) ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_FALSE(InkBox(bitmap, light).Empty());
    EXPECT_EQ(bitmap.Pixel(0, 0), kRed);
}

// Paints its client area in four colours split at (70, 30).
class Quadrants : public rt::CustomControl {
public:
    using rt::CustomControl::CustomControl;
    static rt::TColor At(int x, int y) {
        return y < 30 ? (x < 70 ? 0x0000C0 : 0x00C000) : (x < 70 ? 0xC00000 : 0xC0C000);
    }

protected:
    void Paint(rt::Canvas& canvas) override {
        canvas.FillRect(RECT{0, 0, 70, 30}, At(0, 0));
        canvas.FillRect(RECT{70, 0, Width(), 30}, At(70, 0));
        canvas.FillRect(RECT{0, 30, 70, Height()}, At(0, 30));
        canvas.FillRect(RECT{70, 30, Width(), Height()}, At(70, 30));
    }
};

TEST_F(FlatPanelTest, TransparentPanelShowsItsParentsPaintingBehindIt) {
    auto* back = new Quadrants(&host);
    back->SetParent(&host);
    back->SetBounds(5, 5, 200, 100);
    panel->SetParent(back);
    panel->SetBounds(40, 15, 60, 30);
    panel->SetTransparent(true);
    Render(*panel, bitmap);
    int mismatches = 0;
    for (int y = 1; y < 29; ++y)
        for (int x = 1; x < 59; ++x)
            if (bitmap.Pixel(x, y) != Quadrants::At(x + 40, y + 15)) ++mismatches;
    EXPECT_EQ(mismatches, 0);

    // Opaque again: filled with the colour it takes from its parent.
    panel->SetTransparent(false);
    Render(*panel, bitmap);
    EXPECT_EQ(bitmap.Pixel(10, 5), rt::ColorToRGB(back->Color()) & 0xFFFFFF);
}

TEST_F(FlatPanelTest, ChangesThatAlterTheLookRepaint) {
    host.Show();
    HWND h = panel->Handle();
    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"caption", [&] { panel->SetCaption("another profile"); }}, {"enabled", [&] { panel->SetEnabled(false); }},
        {"highlight", [&] { panel->SetColorHighLight(kRed); }},     {"shadow", [&] { panel->SetColorShadow(kGreen); }},
        {"transparent", [&] { panel->SetTransparent(true); }},
    };
    for (const auto& [what, change] : changes) {
        ValidateRect(h, nullptr);
        change();
        EXPECT_TRUE(GetUpdateRect(h, nullptr, FALSE)) << what;
    }
    host.Hide();
}

}  // namespace
