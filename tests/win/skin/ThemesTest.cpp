// The shared drawing of the skinned controls on real GDI bitmaps: the style
// bitmaps in the resources, strip cutting, the nine-piece stretch and the
// parent-background copy.
#include <gtest/gtest.h>

#include "skin/SUIThemes.h"
#include "skin/SkinGeometry.h"
#include "tests/win/skin/SkinTest.h"

namespace {

constexpr rt::TColor kBackground = 0x00FF00;

// Where a drawn pixel comes from: a pixel of the image, and whether it lies
// in an edge or the centre, which are always masked.
struct From {
    int x, y;
    bool edge;
};

// An 18 x 21 face drawn on 80 x 23: 9 x 10 and 8 x 10 corners at the top,
// 9 x 9 and 8 x 9 at the bottom, each copied from the image's own corner;
// the left edge repeats image row 10, the right edge row 11, the top edge
// and the centre column 9. The bottom edge (image column 9, rows 11-20)
// starts one column left of the corners' edge, over the bottom-left corner.
From FaceOn80x23(int x, int y) {
    if (x >= 8 && x < 72 && y >= 13) return {9, y - 2, true};
    if (x < 9) return y < 10 ? From{x, y, false} : y < 14 ? From{x, 10, true} : From{x, y - 2, false};
    if (x >= 72) return y < 10 ? From{x - 62, y, false} : y < 14 ? From{x - 62, 11, true} : From{x - 62, y - 2, false};
    return y < 10 ? From{9, y, true} : From{9, 10, true};
}

// A 74 x 21 face drawn on 21 x 21: 10 x 10 corners on the left, 9 x 10 and
// 9 x 9 on the right from the image's right end (columns 65-73), image
// column 37 between them, and the same one-column-wider bottom edge.
From FaceOn21x21(int x, int y) {
    if (x >= 9 && x < 12 && y >= 11) return {37, y, true};
    if (x < 10) return y < 10 ? From{x, y, false} : y < 12 ? From{x, 10, true} : From{x, y, false};
    if (x >= 12) return y < 10 ? From{x + 53, y, false} : y < 12 ? From{x + 53, 11, true} : From{x + 53, y, false};
    return y < 10 ? From{37, y, true} : From{37, 10, true};
}

// The pixels of `drawn` that are not their source pixel of `image`, or the
// background where the source has the key colour and is masked.
template <class Map>
int WrongNinePiecePixels(const rt::Bitmap& image, const rt::Bitmap& drawn, bool transparent, Map from) {
    int wrong = 0;
    for (int y = 0; y < drawn.Height(); ++y)
        for (int x = 0; x < drawn.Width(); ++x) {
            const From f = from(x, y);
            rt::TColor expected = image.Pixel(f.x, f.y);
            if (expected == skin::kKeyColour && (f.edge || transparent)) expected = kBackground;
            if (drawn.Pixel(x, y) != expected) ++wrong;
        }
    return wrong;
}

void DrawOnBackground(const rt::Bitmap& image, int width, int height, bool transparent, rt::Bitmap& out) {
    out.SetSize(width, height);
    RECT r{0, 0, width, height};
    out.GetCanvas().FillRect(r, kBackground);
    skin::DrawSkinImage(image, out.GetCanvas(), r, transparent);
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
    ASSERT_TRUE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, skin::entry::Button, &whole));
    EXPECT_EQ(whole.Width(), 54);
    ASSERT_TRUE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, skin::entry::Button, &second, 3, 2));
    ASSERT_EQ(second.Width(), 18);
    ASSERT_EQ(second.Height(), 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 18; ++x) ASSERT_EQ(second.Pixel(x, y), whole.Pixel(18 + x, y)) << x << "," << y;

    // A flag entry, an entry with an empty name and the unresolved
    // FromThemeFile load nothing and leave the target as it was.
    rt::Bitmap kept(3, 2);
    EXPECT_FALSE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, skin::entry::ButtonTransparent, &kept));
    EXPECT_FALSE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, 43, &kept));
    EXPECT_FALSE(skin::LoadStyleBitmap(skin::TsuiUIStyle::FromThemeFile, skin::entry::Button, &kept));
    EXPECT_FALSE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, skin::entry::Button, nullptr));
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
            skin::CutStripPiece(strip, target, 3, index);
            ASSERT_EQ(target.Width(), piece) << width;
            ASSERT_EQ(target.Height(), 2);
            EXPECT_EQ(target.Pixel(0, 1), static_cast<rt::TColor>(firstColumn[index - 1])) << width << " " << index;
            EXPECT_EQ(target.Pixel(piece - 1, 0), static_cast<rt::TColor>(firstColumn[index - 1] + piece - 1));
        }
    }
}

TEST(DrawSkinImage, WinXpFaceOnAnEightyByTwentyThreeButton) {
    rt::Bitmap face, drawn;
    ASSERT_TRUE(skin::LoadStyleBitmap(skin::TsuiUIStyle::WinXP, skin::entry::Button, &face, 3, 1));
    DrawOnBackground(face, 80, 23, false, drawn);
    EXPECT_EQ(WrongNinePiecePixels(face, drawn, false, FaceOn80x23), 0);
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
    ASSERT_TRUE(skin::LoadStyleBitmap(skin::TsuiUIStyle::Protein, skin::entry::Button, &face, 3, 1));
    ASSERT_EQ(face.Width(), 74);
    DrawOnBackground(face, 21, 21, false, drawn);
    EXPECT_EQ(WrongNinePiecePixels(face, drawn, false, FaceOn21x21), 0);
    // A 10 x 10 top-left corner and a 9 x 10 top-right corner, both cut from
    // the image's own corners.
    EXPECT_EQ(drawn.Pixel(9, 9), face.Pixel(9, 9));
    EXPECT_EQ(drawn.Pixel(12, 0), face.Pixel(65, 0));
    EXPECT_EQ(drawn.Pixel(20, 9), face.Pixel(73, 9));
    EXPECT_EQ(drawn.Pixel(20, 20), face.Pixel(73, 20));
}

TEST(DrawSkinImage, MagentaMasksEdgesAlwaysAndCornersOnRequest) {
    // Every pixel its own colour, so that each drawn pixel shows where it
    // came from.
    rt::Bitmap image(18, 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 18; ++x) image.SetPixel(x, y, RGB(x * 8, y * 8, 0x40));
    image.SetPixel(0, 0, skin::kKeyColour);  // a corner pixel
    image.SetPixel(9, 3, skin::kKeyColour);  // in the column the top edge stretches
    image.SetPixel(9, 4, 0x808080);
    for (const bool transparent : {false, true}) {
        rt::Bitmap drawn;
        DrawOnBackground(image, 80, 23, transparent, drawn);
        EXPECT_EQ(WrongNinePiecePixels(image, drawn, transparent, FaceOn80x23), 0) << transparent;
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
    skin::PaintParentBackground(canvas.GetCanvas(), button);
    GdiFlush();
    EXPECT_EQ(canvas.Pixel(0, 0), 0x00C8D0D4u);
    EXPECT_EQ(canvas.Pixel(10, 5), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(29, 14), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(30, 15), 0x00C8D0D4u);

    TsuiButton orphan(nullptr);
    rt::Bitmap untouched(10, 10);
    skin::PaintParentBackground(untouched.GetCanvas(), &orphan);
    EXPECT_EQ(untouched.Pixel(5, 5), rt::clWhite);
}

TEST(Styles, StartInDeepBlueAndFromThemeFileResolvesToIt) {
    EXPECT_EQ(skin::DefaultStyleFor(nullptr), skin::TsuiUIStyle::DeepBlue);
    rt::Form form(nullptr);
    EXPECT_EQ(skin::DefaultStyleFor(&form), skin::TsuiUIStyle::DeepBlue);
    TsuiFileTheme theme(nullptr);
    EXPECT_EQ(skin::ResolvedBuiltInStyle(nullptr, skin::TsuiUIStyle::FromThemeFile), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(skin::ResolvedBuiltInStyle(&theme, skin::TsuiUIStyle::FromThemeFile), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(skin::ResolvedBuiltInStyle(&theme, skin::TsuiUIStyle::MacOS), skin::TsuiUIStyle::MacOS);
}

}  // namespace
