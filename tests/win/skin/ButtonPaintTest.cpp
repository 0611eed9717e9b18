// The looks of the skinned buttons, rendered from their windows into memory
// bitmaps: faces per state, captions, focus, the arrow's triangle, glyphs.
#include <gtest/gtest.h>


#include "tests/win/skin/SkinTest.h"

using skintest::CountColour;
using skintest::DifferingPixels;
using skintest::Render;

namespace {

// The smallest rectangle holding every pixel that passes `test`; empty
// when none does.
template <class Test>
RECT BoundsWhere(const rt::Bitmap& b, Test test, RECT area = {0, 0, 1 << 16, 1 << 16}) {
    RECT r{b.Width(), b.Height(), 0, 0};
    for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(b.Height(), area.bottom); ++y)
        for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(b.Width(), area.right); ++x)
            if (test(b.Pixel(x, y))) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

RECT BoundsOf(const rt::Bitmap& b, rt::TColor c) {
    return BoundsWhere(b, [c](rt::TColor p) { return p == c; });
}

// Dark pixels inside the outline of an 80 x 27 face: the caption's.
RECT CaptionBounds(const rt::Bitmap& b) {
    return BoundsWhere(
        b, [](rt::TColor c) { return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11 < 12800; },
        RECT{6, 6, 74, 21});
}

class ButtonLook : public skintest::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        other_ = new rt::Edit(form_.get());
        other_->SetParent(form_.get());
        other_->SetBounds(200, 100, 100, 21);
        other_->Handle();
    }
    void FocusElsewhere() {
        other_->SetFocus();
        wintest::PumpFor(20);
    }
    rt::Edit* other_ = nullptr;
};

// The corners of an 80 x 23 face are copied unscaled from the 18 x 21 piece
// of the WinXP strip (54 x 21, three pieces): the top-left 9 x 10 from the
// piece's top-left, the bottom-right 8 x 9 from its bottom-right.
TEST_F(ButtonLook, FaceFollowsNormalHoverPressedAndDisabled) {
    TsuiButton* b = AddButton(10, 10, 80, 23, "");
    b->SetTabStop(false);  // no focus rectangle in the way
    rt::Bitmap strip;
    ASSERT_TRUE(strip.LoadFromResourceName("WINXP_BUTTON"));
    ASSERT_EQ(strip.Width(), 54);
    rt::Bitmap shown;
    auto expectFace = [&](int piece, const char* state) {
        Render(*b, shown);
        const int pieceLeft = (piece - 1) * 18;
        int wrong = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 9; ++x)
                if (shown.Pixel(x, y) != strip.Pixel(pieceLeft + x, y)) ++wrong;
        for (int y = 14; y < 23; ++y)
            for (int x = 72; x < 80; ++x)
                if (shown.Pixel(x, y) != strip.Pixel(pieceLeft + x - 62, y - 2)) ++wrong;
        EXPECT_EQ(wrong, 0) << state;
    };
    expectFace(1, "normal");
    skintest::MouseMoveTo(skintest::ScreenCentre(*b));
    ASSERT_TRUE(wintest::PumpUntil([&] { return b->Hovering(); }, 2000));
    expectFace(2, "pointer over");
    skintest::MouseLeftButton(true);
    ASSERT_TRUE(wintest::PumpUntil([&] { return b->Pressed(); }, 2000));
    expectFace(3, "pressed");
    skintest::MouseMoveTo({1, 1});
    skintest::MouseLeftButton(false);
    wintest::PumpUntil([&] { return !b->Hovering(); }, 2000);
    b->SetEnabled(false);
    expectFace(1, "disabled");
}

TEST_F(ButtonLook, DisabledCaptionIsGreyOverAWhiteShadow) {
    TsuiButton* b = AddButton(10, 10, 80, 27, "Wide");
    b->SetEnabled(false);
    rt::Bitmap shown;
    Render(*b, shown);
    const RECT all{0, 0, 80, 27};
    EXPECT_EQ(CountColour(shown, rt::clBlack, all), 0);
    int grey = 0, shadowed = 0;
    for (int y = 0; y + 1 < 27; ++y)
        for (int x = 0; x + 1 < 80; ++x) {
            if (shown.Pixel(x, y) != rt::clGray) continue;
            ++grey;
            const rt::TColor below = shown.Pixel(x + 1, y + 1);
            EXPECT_TRUE(below == rt::clGray || below == rt::clWhite) << x << "," << y;
            if (below == rt::clWhite) ++shadowed;
        }
    EXPECT_GT(grey, 20);
    EXPECT_GT(shadowed, 5);
    // The white copy peeks out exactly one pixel right and down.
    const RECT greyBox = BoundsOf(shown, rt::clGray);
    EXPECT_EQ(BoundsOf(shown, rt::clWhite).right, greyBox.right + 1);
}

TEST_F(ButtonLook, PressedCaptionMovesOnePixelRightAndDown) {
    TsuiButton* b = AddButton(10, 10, 80, 27, "Move");
    b->SetFocus();
    wintest::PumpFor(20);
    rt::Bitmap up, down;
    Render(*b, up);
    PostMessageA(b->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return b->Pressed(); }, 1000));
    Render(*b, down);
    const RECT a = BoundsOf(up, rt::clBlack), c = BoundsOf(down, rt::clBlack);
    ASSERT_LT(a.left, a.right);
    EXPECT_EQ(c.left, a.left + 1);
    EXPECT_EQ(c.top, a.top + 1);
    EXPECT_EQ(c.right, a.right + 1);
    EXPECT_EQ(c.bottom, a.bottom + 1);
}

// A button that counts how often its caption is drawn.
class CountingButton : public TsuiButton {
public:
    using TsuiButton::TsuiButton;
    int captionsDrawn = 0;

protected:
    void DrawCaption(rt::Canvas& canvas, const std::string& caption) override {
        ++captionsDrawn;
        TsuiButton::DrawCaption(canvas, caption);
    }
};

TEST_F(ButtonLook, BlankCaptionDrawsNothing) {
    auto make = [&](int top, const char* caption) {
        auto* b = new CountingButton(form_.get());
        b->SetParent(form_.get());
        b->SetBounds(10, top, 80, 27);
        b->SetUIStyle(skin::TsuiUIStyle::WinXP);
        b->SetTabStop(false);
        b->SetCaption(caption);
        return b;
    };
    CountingButton* blank = make(10, "   ");
    CountingButton* none = make(50, "");
    CountingButton* spaced = make(90, " x ");
    rt::Bitmap a, b, c;
    Render(*blank, a);
    Render(*none, b);
    Render(*spaced, c);
    EXPECT_EQ(blank->captionsDrawn, 0);
    EXPECT_EQ(none->captionsDrawn, 0);
    EXPECT_GE(spaced->captionsDrawn, 1);
    EXPECT_EQ(DifferingPixels(a, b), 0);
    EXPECT_GT(DifferingPixels(c, b), 0);
}

// The pixels of the focused look that differ from the unfocused one: on the
// dotted rectangle two pixels in (WinXP), or only in the caption, which
// turns bold (MacOS, BlueGlass).
TEST_F(ButtonLook, FocusIsARectangleOrABoldCaptionByStyle) {
    int top = 5;
    for (const skin::TsuiUIStyle style : {skin::TsuiUIStyle::WinXP, skin::TsuiUIStyle::MacOS, skin::TsuiUIStyle::BlueGlass}) {
        TsuiButton* b = AddButton(10, top, 80, 27, "Bold", style);
        top += 30;
        rt::Bitmap unfocused, focused;
        FocusElsewhere();
        Render(*b, unfocused);
        b->SetFocus();
        wintest::PumpFor(20);
        ASSERT_TRUE(b->Focused());
        Render(*b, focused);
        int onOutline = 0, elsewhere = 0;
        for (int y = 0; y < 27; ++y)
            for (int x = 0; x < 80; ++x) {
                if (focused.Pixel(x, y) == unfocused.Pixel(x, y)) continue;
                const bool outline = ((x == 2 || x == 77) && y >= 2 && y <= 24) || ((y == 2 || y == 24) && x >= 2 && x <= 77);
                (outline ? onOutline : elsewhere)++;
            }
        if (style == skin::TsuiUIStyle::WinXP) {
            EXPECT_GT(onOutline, 60);
            EXPECT_EQ(elsewhere, 0);
        } else {
            EXPECT_EQ(onOutline, 0) << static_cast<int>(style);
            // The bold caption is wider.
            const RECT thin = CaptionBounds(unfocused), bold = CaptionBounds(focused);
            EXPECT_GT(bold.right - bold.left, thin.right - thin.left + 1) << static_cast<int>(style);
        }
    }
}

TEST_F(ButtonLook, ArrowTriangleIsCentredOnTheProteinFace) {
    int left = 10;
    for (const skin::TsuiArrowButtonType arrow : {skin::TsuiArrowButtonType::suiDown, skin::TsuiArrowButtonType::suiUp}) {
        auto* b = new TsuiArrowButton(form_.get());
        b->SetParent(form_.get());
        b->SetBounds(left, 10, 21, 21);
        left += 30;
        b->SetUIStyle(skin::TsuiUIStyle::Protein);
        b->SetArrow(arrow);
        rt::Bitmap shown;
        Render(*b, shown);
        const bool down = arrow == skin::TsuiArrowButtonType::suiDown;
        const int base = down ? 9 : 12, tip = down ? 12 : 9;
        EXPECT_EQ(shown.Pixel(7, base), rt::clBlack);
        EXPECT_EQ(shown.Pixel(13, base), rt::clBlack);
        EXPECT_EQ(shown.Pixel(10, tip), rt::clBlack);
        EXPECT_EQ(shown.Pixel(10, (base + tip) / 2), rt::clBlack);
        EXPECT_NE(shown.Pixel(6, base), rt::clBlack);
        EXPECT_NE(shown.Pixel(14, base), rt::clBlack);
        EXPECT_NE(shown.Pixel(10, down ? 13 : 8), rt::clBlack);
        EXPECT_NE(shown.Pixel(7, down ? 10 : 11), rt::clBlack);
        EXPECT_EQ(BoundsOf(shown, rt::clBlack).right, 14);
    }
}

TEST_F(ButtonLook, GlyphSitsByLayoutMovesWhenPressedAndPicksItsDisabledImage) {
    // Two images side by side: red (normal) and blue (disabled), each a
    // square inset in the green transparent colour.
    rt::Bitmap glyph(32, 16);
    RECT all{0, 0, 32, 16}, red{2, 2, 14, 14}, blue{18, 2, 30, 14};
    glyph.GetCanvas().FillRect(all, 0x00FF00);
    glyph.GetCanvas().FillRect(red, 0x0000FF);
    glyph.GetCanvas().FillRect(blue, 0xFF0000);
    TsuiButton* b = AddButton(10, 10, 80, 27, "Go");
    b->SetGlyph(glyph);
    SIZE text{};
    {
        const rt::WindowDC dc(nullptr);
        rt::Canvas canvas(dc.Get());
        canvas.SetFont(b->GetFont());
        RECT r{0, 0, 0, 0};
        canvas.DrawText("Go", r, DT_CALCRECT | DT_SINGLELINE);
        text = {r.right, r.bottom};
    }
    // The 16 x 16 image and the caption, 4 pixels apart, centred as one
    // block on the 80 x 27 face: side by side, or the image above.
    const int leftX = (80 - (16 + 4 + text.cx)) / 2, leftY = (27 - 16) / 2;
    const int topX = (80 - 16) / 2, topY = (27 - (16 + 4 + text.cy)) / 2;
    const RECT face{0, 0, 80, 27};
    for (const skin::TButtonLayout layout : {skin::TButtonLayout::blGlyphLeft, skin::TButtonLayout::blGlyphTop}) {
        b->SetLayout(layout);
        const int x = layout == skin::TButtonLayout::blGlyphLeft ? leftX : topX, y = layout == skin::TButtonLayout::blGlyphLeft ? leftY : topY;
        rt::Bitmap shown;
        Render(*b, shown);
        const RECT r = BoundsOf(shown, 0x0000FF);
        EXPECT_EQ(r.left, x + 2) << static_cast<int>(layout);
        EXPECT_EQ(r.top, std::max(0, y + 2)) << static_cast<int>(layout);
        EXPECT_EQ(CountColour(shown, 0x00FF00, face), 0) << "the glyph's corner colour is transparent";
    }
    b->SetLayout(skin::TButtonLayout::blGlyphLeft);
    b->SetFocus();
    PostMessageA(b->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return b->Pressed(); }, 1000));
    rt::Bitmap pressed;
    Render(*b, pressed);
    // Pressed, the image moves one pixel right and down.
    const RECT moved = BoundsOf(pressed, 0x0000FF);
    EXPECT_EQ(moved.left, leftX + 1 + 2);
    EXPECT_EQ(moved.top, leftY + 1 + 2);

    b->SetEnabled(false);
    rt::Bitmap disabled;
    Render(*b, disabled);
    EXPECT_EQ(CountColour(disabled, 0x0000FF, face), 0);
    EXPECT_EQ(CountColour(disabled, 0xFF0000, face), 144);

    // A single image is drawn greyed instead.
    rt::Bitmap single(16, 16);
    RECT one{0, 0, 16, 16};
    single.GetCanvas().FillRect(one, 0x00FF00);
    single.GetCanvas().FillRect(red, 0x0000FF);
    b->SetGlyph(single);
    Render(*b, disabled);
    EXPECT_EQ(CountColour(disabled, 0x0000FF, face), 0);
    EXPECT_GT(CountColour(disabled, rt::ColorToRGB(rt::clBtnShadow), face), 100);
}

TEST_F(ButtonLook, StyleSetsTransparencyAndFontAutoSizeTakesOneFace) {
    TsuiButton fresh(nullptr);
    EXPECT_EQ(fresh.UIStyle(), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(fresh.Width(), 80);
    EXPECT_EQ(fresh.Height(), 27);
    EXPECT_TRUE(fresh.TabStop());
    EXPECT_FALSE(fresh.Transparent());

    TsuiButton* b = AddButton(10, 10, 80, 27, "x", skin::TsuiUIStyle::MacOS);
    EXPECT_TRUE(b->Transparent());
    EXPECT_EQ(b->GetFont().Color, rt::clBlack);
    b->SetTransparent(false);  // stored after the style, it wins
    EXPECT_FALSE(b->Transparent());
    b->SetUIStyle(skin::TsuiUIStyle::WinXP);
    b->SetAutoSize(true);
    EXPECT_EQ(b->Width(), 18);
    EXPECT_EQ(b->Height(), 21);
    b->SetUIStyle(skin::TsuiUIStyle::BlueGlass);
    b->SetAutoSize(true);
    EXPECT_EQ(b->Width(), 77);
    EXPECT_EQ(b->Height(), 27);
}

}  // namespace

