// The shared drawing of the skinned controls on real GDI bitmaps: the style
// bitmaps in the resources, strip cutting, the nine-piece stretch and the
// parent-background copy.
#include <gtest/gtest.h>

#include "skin/SUIThemes.h"
#include "skin/SkinGeometry.h"
#include "tests/win/skin/SkinTest.h"

namespace {

constexpr rt::TColor kBackground = 0x00FF00;

// What DrawSkinImage must leave behind: every piece of SkinImagePieces in
// order, each destination pixel taken from the matching source pixel, and
// the background where a masked piece has the key colour. The pieces of the
// cases below stretch only one-pixel sources or copy 1:1, so the matching
// source pixel is unambiguous.
int WrongNinePiecePixels(const rt::Bitmap& image, const rt::Bitmap& drawn, bool transparent) {
    std::vector<rt::TColor> expected(static_cast<size_t>(drawn.Width()) * drawn.Height(), kBackground);
    for (const skin::SkinPiece& p : skin::SkinImagePieces({image.Width(), image.Height()},
                                                          {drawn.Width(), drawn.Height()})) {
        const skin::Rect& s = p.source;
        const skin::Rect& d = p.dest;
        EXPECT_TRUE(s.Width() == 1 || s.Width() == d.Width());
        EXPECT_TRUE(s.Height() == 1 || s.Height() == d.Height());
        for (int y = d.top; y < d.bottom; ++y) {
            for (int x = d.left; x < d.right; ++x) {
                const rt::TColor c = image.Pixel(s.left + (x - d.left) * s.Width() / d.Width(),
                                                 s.top + (y - d.top) * s.Height() / d.Height());
                if (c == skin::kKeyColour && (p.transparentAlways || transparent)) continue;
                expected[static_cast<size_t>(y) * drawn.Width() + x] = c;
            }
        }
    }
    int wrong = 0;
    for (int y = 0; y < drawn.Height(); ++y)
        for (int x = 0; x < drawn.Width(); ++x)
            if (drawn.Pixel(x, y) != expected[static_cast<size_t>(y) * drawn.Width() + x]) ++wrong;
    return wrong;
}

void DrawOnBackground(const rt::Bitmap& image, int width, int height, bool transparent, rt::Bitmap& out) {
    out.SetSize(width, height);
    RECT r{0, 0, width, height};
    out.GetCanvas().FillRect(r, kBackground);
    DrawSkinImage(image, out.GetCanvas(), r, transparent);
    GdiFlush();
}

TEST(StyleBitmaps, EveryNamedResourceHasItsSize) {
    struct Expected {
        const char* name;
        int width, height;
    };
    const Expected all[] = {
        {"MACOS_BUTTON", 252, 23},       {"WINXP_BUTTON", 54, 21},        {"DEEPBLUE_BUTTON", 222, 21},
        {"PROTEIN_BUTTON", 222, 21},     {"BLUEGLASS_BUTTON", 231, 27},   {"MACOS_CHECKBOX", 60, 17},
        {"WINXP_CHECKBOX", 52, 13},      {"DEEPBLUE_CHECKBOX", 52, 13},   {"PROTEIN_CHECKBOX", 52, 13},
        {"BLUEGLASS_CHECKBOX", 52, 13},  {"MACOS_PROGRESSBAR", 13, 10},   {"WINXP_PROGRESSBAR", 6, 10},
        {"DEEPBLUE_PROGRESSBAR", 1, 10}, {"PROTEIN_PROGRESSBAR", 1, 10},  {"BLUEGLASS_PROGRESSBAR", 1, 10},
        {"MENU_CHECKED", 16, 16},        {"MACOS_MENU_BAR", 1, 22},       {"MACOS_MENU_SELECT", 1, 21},
    };
    for (const Expected& e : all) {
        rt::Bitmap b;
        EXPECT_TRUE(b.LoadFromResourceName(e.name)) << e.name;
        EXPECT_EQ(b.Width(), e.width) << e.name;
        EXPECT_EQ(b.Height(), e.height) << e.name;
    }
}

TEST(StyleBitmaps, LoadStyleBitmapWholeOrOnePieceAndNothingForOtherEntries) {
    rt::Bitmap whole, second;
    ASSERT_TRUE(LoadStyleBitmap(TsuiUIStyle::WinXP, skin::entry::Button, &whole));
    EXPECT_EQ(whole.Width(), 54);
    ASSERT_TRUE(LoadStyleBitmap(TsuiUIStyle::WinXP, skin::entry::Button, &second, 3, 2));
    ASSERT_EQ(second.Width(), 18);
    ASSERT_EQ(second.Height(), 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 18; ++x) ASSERT_EQ(second.Pixel(x, y), whole.Pixel(18 + x, y)) << x << "," << y;

    // A flag entry, an entry with an empty name and the unresolved
    // FromThemeFile load nothing and leave the target as it was.
    rt::Bitmap kept(3, 2);
    EXPECT_FALSE(LoadStyleBitmap(TsuiUIStyle::WinXP, skin::entry::ButtonTransparent, &kept));
    EXPECT_FALSE(LoadStyleBitmap(TsuiUIStyle::WinXP, 43, &kept));
    EXPECT_FALSE(LoadStyleBitmap(TsuiUIStyle::FromThemeFile, skin::entry::Button, &kept));
    EXPECT_FALSE(LoadStyleBitmap(TsuiUIStyle::WinXP, skin::entry::Button, nullptr));
    EXPECT_EQ(kept.Width(), 3);
    EXPECT_EQ(kept.Height(), 2);
}

TEST(StyleBitmaps, CutStripPieceSkipsTheRemainderLeftOfTheLastPiece) {
    for (const int width : {54, 53}) {
        rt::Bitmap strip(width, 2);
        for (int x = 0; x < width; ++x) {
            strip.SetPixel(x, 0, static_cast<rt::TColor>(x));
            strip.SetPixel(x, 1, static_cast<rt::TColor>(x));
        }
        const int piece = width / 3;
        const int firstColumn[] = {0, piece, width - piece};
        for (int index = 1; index <= 3; ++index) {
            rt::Bitmap target;
            CutStripPiece(strip, target, 3, index);
            ASSERT_EQ(target.Width(), piece) << width;
            ASSERT_EQ(target.Height(), 2);
            EXPECT_EQ(target.Pixel(0, 1), static_cast<rt::TColor>(firstColumn[index - 1])) << width << " " << index;
            EXPECT_EQ(target.Pixel(piece - 1, 0), static_cast<rt::TColor>(firstColumn[index - 1] + piece - 1));
        }
    }
}

TEST(DrawSkinImage, WinXpFaceOnAnEightyByTwentyThreeButton) {
    rt::Bitmap face, drawn;
    ASSERT_TRUE(LoadStyleBitmap(TsuiUIStyle::WinXP, skin::entry::Button, &face, 3, 1));
    DrawOnBackground(face, 80, 23, false, drawn);
    EXPECT_EQ(WrongNinePiecePixels(face, drawn, false), 0);
    // Corners 9 pixels wide from the image's corners, the bottom ones from
    // image rows 12-20; edges and centre from column 9 and rows 10-11.
    EXPECT_EQ(drawn.Pixel(8, 9), face.Pixel(8, 9));
    EXPECT_EQ(drawn.Pixel(1, 22), face.Pixel(1, 20));
    EXPECT_EQ(drawn.Pixel(1, 14), face.Pixel(1, 12));
    EXPECT_EQ(drawn.Pixel(79, 22), face.Pixel(17, 20));
    EXPECT_EQ(drawn.Pixel(40, 1), face.Pixel(9, 1));
    EXPECT_EQ(drawn.Pixel(40, 12), face.Pixel(9, 10));
    EXPECT_EQ(drawn.Pixel(2, 12), face.Pixel(2, 10));
}

TEST(DrawSkinImage, ProteinFaceOnTheSmallArrowButtonIsNotScaledDown) {
    rt::Bitmap face, drawn;
    ASSERT_TRUE(LoadStyleBitmap(TsuiUIStyle::Protein, skin::entry::Button, &face, 3, 1));
    ASSERT_EQ(face.Width(), 74);
    DrawOnBackground(face, 21, 21, false, drawn);
    EXPECT_EQ(WrongNinePiecePixels(face, drawn, false), 0);
    // A 10 x 10 top-left corner and a 9 x 10 top-right corner, both cut from
    // the image's own corners.
    EXPECT_EQ(drawn.Pixel(9, 9), face.Pixel(9, 9));
    EXPECT_EQ(drawn.Pixel(12, 0), face.Pixel(65, 0));
    EXPECT_EQ(drawn.Pixel(20, 9), face.Pixel(73, 9));
    EXPECT_EQ(drawn.Pixel(20, 20), face.Pixel(73, 20));
}

TEST(DrawSkinImage, MagentaMasksEdgesAlwaysAndCornersOnRequest) {
    rt::Bitmap image(18, 21);
    RECT all{0, 0, 18, 21};
    image.GetCanvas().FillRect(all, 0x808080);
    image.SetPixel(0, 0, skin::kKeyColour);  // a corner pixel
    image.SetPixel(9, 3, skin::kKeyColour);  // in the column the top edge stretches
    for (const bool transparent : {false, true}) {
        rt::Bitmap drawn;
        DrawOnBackground(image, 80, 23, transparent, drawn);
        EXPECT_EQ(WrongNinePiecePixels(image, drawn, transparent), 0) << transparent;
        EXPECT_EQ(drawn.Pixel(0, 0), transparent ? kBackground : skin::kKeyColour);
        EXPECT_EQ(drawn.Pixel(40, 3), kBackground);
        EXPECT_EQ(drawn.Pixel(40, 4), 0x808080u);
    }
}

using ParentBackground = skintest::FormTest;

TEST_F(ParentBackground, CopiesWhatTheParentPaintsUnderTheControl) {
    auto* patch = new rt::Label(form_.get());
    patch->SetParent(form_.get());
    patch->SetAutoSize(false);
    patch->SetBounds(30, 10, 20, 10);
    patch->SetColor(0x0000FF);
    TsuiButton* button = AddButton(20, 5, 40, 30, "");
    rt::Bitmap canvas(40, 30);
    PaintParentBackground(canvas.GetCanvas(), button);
    GdiFlush();
    EXPECT_EQ(canvas.Pixel(0, 0), 0x00C8D0D4u);
    EXPECT_EQ(canvas.Pixel(10, 5), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(29, 14), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(30, 15), 0x00C8D0D4u);

    TsuiButton orphan(nullptr);
    rt::Bitmap untouched(10, 10);
    PaintParentBackground(untouched.GetCanvas(), &orphan);
    EXPECT_EQ(untouched.Pixel(5, 5), rt::clWhite);
}

TEST(Styles, StartInDeepBlueAndFromThemeFileResolvesToIt) {
    EXPECT_EQ(DefaultStyleFor(nullptr), TsuiUIStyle::DeepBlue);
    rt::Form form(nullptr);
    EXPECT_EQ(DefaultStyleFor(&form), TsuiUIStyle::DeepBlue);
    TsuiFileTheme theme(nullptr);
    EXPECT_EQ(ResolvedBuiltInStyle(nullptr, TsuiUIStyle::FromThemeFile), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(ResolvedBuiltInStyle(&theme, TsuiUIStyle::FromThemeFile), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(ResolvedBuiltInStyle(&theme, TsuiUIStyle::MacOS), TsuiUIStyle::MacOS);
}

}  // namespace
