#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace skin {

// Readable failures.
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const Size& s, std::ostream* os) { *os << s.width << " x " << s.height; }

namespace {

TEST(CutStripPiece, EvenStripGivesEqualPieces) {
    EXPECT_EQ(CutStripPiece(54, 21, 3, 1), (Rect{0, 0, 18, 21}));
    EXPECT_EQ(CutStripPiece(54, 21, 3, 2), (Rect{18, 0, 36, 21}));
    EXPECT_EQ(CutStripPiece(54, 21, 3, 3), (Rect{36, 0, 54, 21}));
    EXPECT_EQ(CutStripPiece(60, 17, 4, 4), (Rect{45, 0, 60, 17}));
}

TEST(CutStripPiece, LastPieceIsTheRightmostColumns) {
    // 53 / 3 = 17: columns 34 and 35 belong to no piece.
    EXPECT_EQ(CutStripPiece(53, 21, 3, 1), (Rect{0, 0, 17, 21}));
    EXPECT_EQ(CutStripPiece(53, 21, 3, 2), (Rect{17, 0, 34, 21}));
    EXPECT_EQ(CutStripPiece(53, 21, 3, 3), (Rect{36, 0, 53, 21}));
}

TEST(CutStripPiece, NoCountMeansWholeStripAndBadIndexNothing) {
    EXPECT_EQ(CutStripPiece(6, 10, 0, 1), (Rect{0, 0, 6, 10}));
    EXPECT_TRUE(CutStripPiece(54, 21, 3, 0).IsEmpty());
    EXPECT_TRUE(CutStripPiece(54, 21, 3, 4).IsEmpty());
}

struct ExpectedPiece {
    SkinPart part;
    Rect source;
    Rect dest;
};

void ExpectPieces(const std::vector<SkinPiece>& got, const std::vector<ExpectedPiece>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("piece " + std::to_string(i));
        EXPECT_EQ(got[i].part, want[i].part);
        EXPECT_EQ(got[i].source, want[i].source);
        EXPECT_EQ(got[i].dest, want[i].dest);
        const bool corner = want[i].part == SkinPart::TopLeft || want[i].part == SkinPart::BottomLeft ||
                            want[i].part == SkinPart::TopRight || want[i].part == SkinPart::BottomRight;
        EXPECT_EQ(got[i].stretched, !corner);
        EXPECT_EQ(got[i].transparentAlways, !corner);
    }
}

// Every destination pixel is painted by some piece.
void ExpectFullCoverage(const std::vector<SkinPiece>& pieces, Size dest) {
    for (int y = 0; y < dest.height; ++y) {
        for (int x = 0; x < dest.width; ++x) {
            bool covered = false;
            for (const SkinPiece& p : pieces) {
                covered |= x >= p.dest.left && x < p.dest.right && y >= p.dest.top && y < p.dest.bottom;
            }
            ASSERT_TRUE(covered) << "pixel " << x << ", " << y;
        }
    }
}

TEST(SkinImagePieces, WinXPFaceOnAnEightyByTwentyThreeButton) {
    // One third of the 54 x 21 strip. The left corners are 9 x 10 and 9 x 9
    // (the bottom ones from rows 12-20); the right corners start at column
    // W - W/2 + 1 = 10, so they are 8 wide; column 9 and rows 10-11 stretch.
    const auto pieces = SkinImagePieces({18, 21}, {80, 23});
    ExpectPieces(pieces, {
                             {SkinPart::TopLeft, {0, 0, 9, 10}, {0, 0, 9, 10}},
                             {SkinPart::BottomLeft, {0, 12, 9, 21}, {0, 14, 9, 23}},
                             {SkinPart::Left, {0, 10, 9, 11}, {0, 10, 9, 14}},
                             {SkinPart::TopRight, {10, 0, 18, 10}, {72, 0, 80, 10}},
                             {SkinPart::BottomRight, {10, 12, 18, 21}, {72, 14, 80, 23}},
                             {SkinPart::Right, {10, 11, 18, 12}, {72, 10, 80, 14}},
                             {SkinPart::Top, {9, 0, 10, 10}, {9, 0, 72, 10}},
                             {SkinPart::Centre, {9, 10, 10, 11}, {9, 10, 72, 13}},
                             {SkinPart::Bottom, {9, 11, 10, 21}, {8, 13, 72, 23}},
                         });
    ExpectFullCoverage(pieces, {80, 23});
}

TEST(SkinImagePieces, ProteinFaceOnTheSmallArrowButtonScalesNothingDown) {
    // A 74 x 21 face on 21 x 21: corners 10 x 10 and 9 x 10 (9 high at the
    // bottom), the edges take the source next to the outside.
    const auto pieces = SkinImagePieces({74, 21}, {21, 21});
    ExpectPieces(pieces, {
                             {SkinPart::TopLeft, {0, 0, 10, 10}, {0, 0, 10, 10}},
                             {SkinPart::BottomLeft, {0, 12, 10, 21}, {0, 12, 10, 21}},
                             {SkinPart::Left, {0, 10, 10, 11}, {0, 10, 10, 12}},
                             {SkinPart::TopRight, {65, 0, 74, 10}, {12, 0, 21, 10}},
                             {SkinPart::BottomRight, {65, 12, 74, 21}, {12, 12, 21, 21}},
                             {SkinPart::Right, {65, 11, 74, 12}, {12, 10, 21, 12}},
                             {SkinPart::Top, {37, 0, 38, 10}, {10, 0, 12, 10}},
                             {SkinPart::Centre, {37, 10, 38, 11}, {10, 10, 12, 11}},
                             {SkinPart::Bottom, {37, 11, 38, 21}, {9, 11, 12, 21}},
                         });
    for (const SkinPiece& p : pieces) {
        EXPECT_GE(p.dest.Width(), p.source.Width());
        EXPECT_GE(p.dest.Height(), p.source.Height());
    }
    ExpectFullCoverage(pieces, {21, 21});
}

TEST(SkinImagePieces, LargerButtonsAreFullyCovered) {
    ExpectFullCoverage(SkinImagePieces({77, 27}, {200, 40}), {200, 40});
    ExpectFullCoverage(SkinImagePieces({84, 23}, {80, 27}), {80, 27});
    ExpectFullCoverage(SkinImagePieces({74, 21}, {75, 23}), {75, 23});
}

TEST(SkinImagePieces, EmptyImageOrDestinationDrawsNothing) {
    EXPECT_TRUE(SkinImagePieces({18, 21}, {0, 0}).empty());
    EXPECT_TRUE(SkinImagePieces({0, 0}, {80, 23}).empty());
}

TEST(ArrowTriangle, CentredOnTheArrowButton) {
    const auto down = ArrowTriangle(TsuiArrowButtonType::suiDown, {21, 21});
    EXPECT_EQ(down[0], (Point{7, 9}));
    EXPECT_EQ(down[1], (Point{10, 12}));
    EXPECT_EQ(down[2], (Point{13, 9}));
    const auto up = ArrowTriangle(TsuiArrowButtonType::suiUp, {21, 21});
    EXPECT_EQ(up[0], (Point{7, 12}));
    EXPECT_EQ(up[1], (Point{10, 9}));
    EXPECT_EQ(up[2], (Point{13, 12}));
    // Halves toward zero on a button smaller than the triangle.
    EXPECT_EQ(ArrowTriangle(TsuiArrowButtonType::suiDown, {3, 2})[0], (Point{-1, 0}));
}

TEST(ButtonFaces, StatePiecesAndAutoSize) {
    EXPECT_EQ(ButtonFacePiece(true, false, false), 1);
    EXPECT_EQ(ButtonFacePiece(true, false, true), 2);
    EXPECT_EQ(ButtonFacePiece(true, true, true), 3);
    EXPECT_EQ(ButtonFacePiece(false, true, true), 1);
    EXPECT_EQ(ButtonAutoSize({54, 21}), (Size{18, 21}));
    EXPECT_EQ(ButtonAutoSize({0, 0}), (Size{24, 21}));
    EXPECT_EQ(FocusRectangle({80, 23}, 2), (Rect{2, 2, 78, 21}));
}

struct LayoutCase {
    TButtonLayout layout;
    Size button;
    Size glyph;
    Size text;
    int spacing;
    Point glyphAt;
    Point captionAt;
};

TEST(PlaceGlyph, TheFourLayouts) {
    const LayoutCase cases[] = {
        {TButtonLayout::blGlyphLeft, {80, 27}, {16, 16}, {30, 13}, 4, {15, 5}, {35, 7}},
        {TButtonLayout::blGlyphRight, {80, 27}, {16, 16}, {30, 13}, 4, {49, 5}, {15, 7}},
        {TButtonLayout::blGlyphTop, {80, 27}, {16, 16}, {30, 13}, 4, {32, -3}, {25, 17}},
        {TButtonLayout::blGlyphBottom, {80, 27}, {16, 16}, {30, 13}, 4, {32, 14}, {25, -3}},
        // A caption wider than the button: -13 / 2 is -6, not -7.
        {TButtonLayout::blGlyphLeft, {40, 27}, {16, 16}, {33, 13}, 4, {-6, 5}, {14, 7}},
        // (27 - 13 - 16 - 5) / 2 = -7 / 2 = -3.
        {TButtonLayout::blGlyphTop, {80, 27}, {16, 16}, {30, 13}, 5, {32, -3}, {25, 18}},
        // Twice as wide as high: two 16 x 16 images, placed like one.
        {TButtonLayout::blGlyphLeft, {80, 27}, {32, 16}, {30, 13}, 4, {15, 5}, {35, 7}},
        // Not exactly twice: one 31-pixel image.
        {TButtonLayout::blGlyphLeft, {80, 27}, {31, 16}, {30, 13}, 4, {7, 5}, {42, 7}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.layout));
        const GlyphPlacement p = PlaceGlyph(c.layout, c.button, c.glyph, c.text, c.spacing, false);
        EXPECT_EQ(p.glyph, c.glyphAt);
        EXPECT_EQ(p.caption, c.captionAt);
    }
}

TEST(PlaceGlyph, PressedMovesOnlyTheGlyph) {
    const GlyphPlacement p = PlaceGlyph(TButtonLayout::blGlyphLeft, {80, 27}, {16, 16}, {30, 13}, 4, true);
    EXPECT_EQ(p.glyph, (Point{16, 6}));
    EXPECT_EQ(p.caption, (Point{35, 7}));
}

TEST(SelectGlyphImage, TwoImageGlyphPicksItsHalfSingleGlyphIsGreyed) {
    EXPECT_EQ(SelectGlyphImage({32, 16}, true).source, (Rect{0, 0, 16, 16}));
    EXPECT_EQ(SelectGlyphImage({32, 16}, false).source, (Rect{16, 0, 32, 16}));
    EXPECT_FALSE(SelectGlyphImage({32, 16}, false).greyed);
    EXPECT_EQ(SelectGlyphImage({16, 16}, false).source, (Rect{0, 0, 16, 16}));
    EXPECT_TRUE(SelectGlyphImage({16, 16}, false).greyed);
    EXPECT_FALSE(SelectGlyphImage({16, 16}, true).greyed);
}

TEST(CaptionPasses, DisabledShadowPressedShift) {
    const std::vector<CaptionPass> disabled = {{1, 1, 0xFFFFFFu}, {0, 0, 0x808080u}};
    EXPECT_EQ(CaptionPasses(false, true), disabled);
    EXPECT_EQ(CaptionPasses(true, true), (std::vector<CaptionPass>{{1, 1, std::nullopt}}));
    EXPECT_EQ(CaptionPasses(true, false), (std::vector<CaptionPass>{{0, 0, std::nullopt}}));
}

TEST(TextPlacement, CentredBlocksRoundTowardZero) {
    EXPECT_EQ(CentreBlock({0, 0, 80, 23}, {41, 13}), (Rect{19, 5, 60, 18}));
    EXPECT_EQ(CentreBlock({1, 1, 81, 24}, {41, 13}), (Rect{20, 6, 61, 19}));
    EXPECT_EQ(CentreBlock({0, 0, 80, 23}, {85, 13}), (Rect{-2, 5, 83, 18}));
    EXPECT_EQ(CentredOrigin({212, 18}, {19, 13}), (Point{96, 2}));
}

TEST(ProgressGeometry, PercentAndFilledExtent) {
    EXPECT_EQ(PercentDone(0, 100, 0), 0);
    EXPECT_EQ(FilledExtent(0, 100, 0, 211), 0);
    // 212-pixel bar: e = 105, filled columns 1 to 104.
    EXPECT_EQ(ProgressCaption(0, 100, 50), "50%");
    EXPECT_EQ(FilledExtent(0, 100, 50, 211), 105);
    EXPECT_EQ(ProgressCaption(0, 100, 150), "150%");
    EXPECT_EQ(FilledExtent(0, 100, 150, 211), 211);
    EXPECT_EQ(FilledExtent(0, 100, 100, 211), 211);
    EXPECT_EQ(ProgressCaption(40, 40, 40), "0%");
    EXPECT_EQ(FilledExtent(40, 40, 41, 211), 0);
    EXPECT_EQ(ProgressCaption(0, 3, 1), "33%");
    EXPECT_EQ(PercentDone(0, 3, 2), 66);
    EXPECT_EQ(FilledExtent(0, 3, 1, 211), 70);
}

TEST(ProgressGeometry, OddRangesNeitherOverflowNorFill) {
    EXPECT_EQ(PercentDone(10, 20, 5), -50);  // truncated toward zero, not clamped
    EXPECT_EQ(PercentDone(0, 3, -1), -33);
    EXPECT_EQ(FilledExtent(10, 20, 5, 100), 0);
    EXPECT_EQ(PercentDone(100, 0, 50), 50);
    EXPECT_EQ(FilledExtent(100, 0, 50, 100), 0);  // Min above Max never fills
    EXPECT_EQ(PercentDone(0, 2000000000, 1999999999), 99);
    EXPECT_EQ(FilledExtent(0, 2000000000, 1999999999, 211), 210);
}

TEST(ProgressGeometry, SmartCaptionHidesAtMinOnly) {
    EXPECT_TRUE(ProgressShowsCaption(true, false, 0, 0));
    EXPECT_FALSE(ProgressShowsCaption(true, true, 0, 0));
    EXPECT_TRUE(ProgressShowsCaption(true, true, 1, 0));
    EXPECT_FALSE(ProgressShowsCaption(false, false, 50, 0));
}

TEST(CheckBoxGeometry, PiecesAndAutoSize) {
    EXPECT_EQ(CheckBoxGlyphPiece(true, true), 1);
    EXPECT_EQ(CheckBoxGlyphPiece(false, true), 2);
    EXPECT_EQ(CheckBoxGlyphPiece(true, false), 3);
    EXPECT_EQ(CheckBoxGlyphPiece(false, false), 4);
    // "W" 13 high, 13 x 13 glyph: max(15, 13) + 4 = 19.
    EXPECT_EQ(CheckBoxAutoSize({13, 13}, 13, 101), (Size{122, 19}));
    // A glyph taller than the text decides the height.
    EXPECT_EQ(CheckBoxAutoSize({15, 17}, 13, 0), (Size{23, 21}));
}

TEST(CheckBoxGeometry, LayoutBothDirections) {
    const CheckBoxLayout ltr = PlaceCheckBox({122, 19}, {13, 13}, 13, false);
    EXPECT_EQ(ltr.glyph, (Point{1, 3}));
    EXPECT_EQ(ltr.caption, (Rect{17, 3, 122, 19}));
    EXPECT_FALSE(ltr.captionRightAligned);
    EXPECT_EQ(ltr.focus, (Rect{16, 3, 122, 18}));

    const CheckBoxLayout rtl = PlaceCheckBox({122, 19}, {13, 13}, 13, true);
    EXPECT_EQ(rtl.glyph, (Point{108, 3}));
    EXPECT_EQ(rtl.caption, (Rect{0, 3, 105, 19}));
    EXPECT_TRUE(rtl.captionRightAligned);
    EXPECT_EQ(rtl.focus, (Rect{0, 3, 107, 18}));

    // Glyph and text centred separately: (20 - 13) / 2 = 3, (20 - 17) / 2 = 1.
    const CheckBoxLayout tall = PlaceCheckBox({60, 20}, {15, 17}, 13, false);
    EXPECT_EQ(tall.glyph, (Point{1, 1}));
    EXPECT_EQ(tall.caption.top, 3);
}

TEST(MenuGeometry, Measure) {
    EXPECT_TRUE(IsMenuSeparator("-"));
    EXPECT_FALSE(IsMenuSeparator("-a"));
    EXPECT_FALSE(IsMenuSeparator(" -"));
    EXPECT_EQ(MeasureMenuItemHeight(true, 13, 21, 5), 5);
    EXPECT_EQ(MeasureMenuItemHeight(false, 13, 21, 5), 21);
    EXPECT_EQ(MeasureMenuItemHeight(false, 24, 21, 5), 24);
    EXPECT_EQ(MeasureMenuItemWidth(50, 0, 26), 116);
    EXPECT_EQ(MeasureMenuItemWidth(50, 30, 26), 146);
}

TEST(MenuGeometry, GradientBarColumns) {
    const uint32_t from = 0x102030;
    const uint32_t to = 0x405060;
    EXPECT_EQ(BarColumnColour(from, to, 26, 0), from);
    EXPECT_EQ(BarColumnColour(from, to, 26, 13), 0x283848u);
    // The last column is the end colour, not the formula's 48 * 25 / 26.
    EXPECT_EQ(BarColumnColour(from, to, 26, 25), to);
    EXPECT_EQ(BarColumnColour(from, to, 26, 24), 0x3C4C5Cu);
    // A falling channel truncates toward zero: 255 - 9.8 gives 246.
    EXPECT_EQ(BarColumnColour(0x0000FF, 0x000000, 26, 1), 0x0000F6u);
    EXPECT_EQ(BarColumnColour(from, to, 1, 0), to);
}

TEST(MenuGeometry, ItemLayoutLeftToRight) {
    const MenuItemLayout m = PlaceMenuItem({10, 42, 160, 63}, 26, 30, false);
    EXPECT_EQ(m.bar, (Rect{10, 42, 36, 63}));
    EXPECT_EQ(m.background, (Rect{36, 42, 160, 63}));
    EXPECT_EQ(m.caption, (Rect{40, 42, 160, 63}));
    EXPECT_EQ(m.shortcut.left, 114);  // 16 pixels before the right edge
    EXPECT_FALSE(m.textRightAligned);
    EXPECT_EQ(m.checkMark, (Point{14, 45}));
    EXPECT_EQ(m.imageFrame, (Rect{12, 43, 31, 62}));
    EXPECT_EQ(m.imageFill, (Rect{13, 44, 30, 61}));
    EXPECT_EQ(m.separatorFrom, (Point{40, 44}));
    EXPECT_EQ(m.separatorTo, (Point{158, 44}));
}

TEST(MenuGeometry, ItemLayoutRightToLeftMirrors) {
    const MenuItemLayout m = PlaceMenuItem({10, 42, 160, 63}, 26, 30, true);
    EXPECT_EQ(m.bar, (Rect{134, 42, 160, 63}));
    EXPECT_EQ(m.background, (Rect{10, 42, 134, 63}));
    EXPECT_EQ(m.caption, (Rect{10, 42, 130, 63}));
    EXPECT_TRUE(m.textRightAligned);
    // Right-aligned shortcut text ends 16 pixels in from the left edge's mirror.
    EXPECT_EQ(m.shortcut, (Rect{10, 42, 56, 63}));
    EXPECT_EQ(m.checkMark, (Point{140, 45}));  // right - 20
    EXPECT_EQ(m.imageFrame, (Rect{139, 43, 158, 62}));
    EXPECT_EQ(m.separatorFrom, (Point{12, 44}));
    EXPECT_EQ(m.separatorTo, (Point{130, 44}));
}

TEST(MenuGeometry, FlatFrame) {
    const MenuFlatFrame f = FlatMenuFrame({100, 200, 250, 300});
    EXPECT_EQ(f.black, (Rect{100, 201, 249, 299}));
    EXPECT_EQ(f.white, (Rect{101, 202, 248, 298}));
    EXPECT_EQ(f.line[0], (Point{100, 299}));
    EXPECT_EQ(f.line[1], (Point{249, 299}));
    EXPECT_EQ(f.line[2], (Point{249, 200}));
    EXPECT_EQ(f.line[3], (Point{250, 200}));
    EXPECT_EQ(f.line[4], (Point{100, 200}));
}

// Draws axis-aligned polylines the way the platform does: each segment
// without its end point.
void DrawPolyline(std::vector<std::string>& grid, const std::array<Point, 3>& pts, char ink) {
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        Point p = pts[i];
        const Point q = pts[i + 1];
        const int dx = (q.x > p.x) - (q.x < p.x);
        const int dy = (q.y > p.y) - (q.y < p.y);
        while (!(p == q)) {
            if (p.y >= 0 && p.y < static_cast<int>(grid.size()) && p.x >= 0 &&
                p.x < static_cast<int>(grid[p.y].size())) {
                grid[p.y][p.x] = ink;
            }
            p = {p.x + dx, p.y + dy};
        }
    }
}

TEST(FlatPanelFrame, HighlightLeftAndTopShadowRightAndBottom) {
    const auto rings = FlatPanelFrame({0, 0, 6, 4}, 1);
    ASSERT_EQ(rings.size(), 1u);
    std::vector<std::string> grid(4, std::string(6, '.'));
    DrawPolyline(grid, rings[0].highlight, 'H');
    DrawPolyline(grid, rings[0].shadow, 'S');
    EXPECT_EQ(grid, (std::vector<std::string>{"HHHHHS", "H....S", "H....S", "SSSSSS"}));
}

TEST(FlatPanelFrame, WiderFramesShrinkEachRing) {
    const auto rings = FlatPanelFrame({0, 0, 7, 6}, 2);
    ASSERT_EQ(rings.size(), 2u);
    std::vector<std::string> grid(6, std::string(7, '.'));
    for (const FrameRing& r : rings) {
        DrawPolyline(grid, r.highlight, 'H');
        DrawPolyline(grid, r.shadow, 'S');
    }
    EXPECT_EQ(grid,
              (std::vector<std::string>{"HHHHHHS", "HHHHHSS", "HH...SS", "HH...SS", "HSSSSSS", "SSSSSSS"}));
}

}  // namespace
}  // namespace skin
