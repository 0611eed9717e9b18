#include "skin/ThemeTable.h"

#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace skin {
namespace {

using S = TsuiUIStyle;
constexpr std::array<S, 5> kBuiltIn = {S::MacOS, S::WinXP, S::DeepBlue, S::Protein, S::BlueGlass};

TEST(StyleNames, RoundTripAndCase) {
    for (int v = 0; v <= 5; ++v) {
        const auto style = static_cast<S>(v);
        EXPECT_EQ(StyleFromName(StyleName(style)), style);
    }
    EXPECT_EQ(StyleName(S::FromThemeFile), "FromThemeFile");
    EXPECT_EQ(StyleName(S::BlueGlass), "BlueGlass");
    EXPECT_EQ(StyleFromName("winxp"), S::WinXP);
    EXPECT_EQ(StyleFromName("Win XP"), std::nullopt);
    EXPECT_EQ(StyleName(static_cast<S>(6)), "");
}

TEST(ThemeTable, KindsAreSharedByAllStyles) {
    std::map<EntryKind, int> counts;
    for (int e = 1; e <= kEntryCount; ++e) {
        const EntryKind kind = LookUpEntry(S::MacOS, e).kind;
        ++counts[kind];
        for (S style : kBuiltIn) EXPECT_EQ(LookUpEntry(style, e).kind, kind) << "entry " << e;
    }
    EXPECT_EQ(counts[EntryKind::Bitmap], 22);
    EXPECT_EQ(counts[EntryKind::Integer], 7);
    EXPECT_EQ(counts[EntryKind::Colour], 17);
    EXPECT_EQ(counts[EntryKind::Flag], 2);
    for (int e : {7, 8, 9, 13, 14, 17, 47}) EXPECT_EQ(LookUpEntry(S::WinXP, e).kind, EntryKind::Integer);
    for (int e : {2, 6}) EXPECT_EQ(LookUpEntry(S::WinXP, e).kind, EntryKind::Flag);
    for (int e : {15, 16, 18, 23, 25, 27, 31, 35, 37, 44, 48}) {
        EXPECT_EQ(LookUpEntry(S::WinXP, e).kind, EntryKind::Colour);
    }
}

TEST(ThemeTable, BitmapNamesFromPrefixAndSuffix) {
    EXPECT_EQ(StyleBitmapName(S::MacOS, 1), "MACOS_BUTTON");
    EXPECT_EQ(StyleBitmapName(S::WinXP, 3), "WINXP_CHECKBOX");
    EXPECT_EQ(StyleBitmapName(S::DeepBlue, 24), "DEEPBLUE_PROGRESSBAR");
    EXPECT_EQ(StyleBitmapName(S::Protein, 1), "PROTEIN_BUTTON");
    EXPECT_EQ(StyleBitmapName(S::BlueGlass, 3), "BLUEGLASS_CHECKBOX");
    EXPECT_EQ(StyleBitmapName(S::WinXP, 30), "WINXP_TRACKBAR_SLIDER_V");
    EXPECT_EQ(StyleBitmapName(S::BlueGlass, 42), "BLUEGLASS_SIDECHENNEL_BAR");
    EXPECT_EQ(StyleBitmapName(S::MacOS, 38), "MACOS_SCROLLBUTTON");
    EXPECT_EQ(StyleBitmapName(S::WinXP, 38), "WINXP_SCROLLBUTTON");
    for (S style : {S::DeepBlue, S::Protein, S::BlueGlass}) {
        EXPECT_EQ(StyleBitmapName(style, 38), "MORE_SCROLLBUTTON");
    }
    for (S style : kBuiltIn) {
        for (int e : {43, 45, 46}) {
            const ThemeEntry entry = LookUpEntry(style, e);
            EXPECT_EQ(entry.kind, EntryKind::Bitmap);
            EXPECT_TRUE(entry.name.empty());
        }
    }
}

struct ReadValues {
    S style;
    bool transparent;
    std::array<uint32_t, 6> menu;  // entries 18 to 23
    uint32_t border;
    uint32_t progressBackground;
};

TEST(ThemeTable, ValuesTheControlsRead) {
    const ReadValues rows[] = {
        {S::MacOS, true, {0xC47339, 0xC47339, 0xFFFFFF, 0x000000, 0x000000, 0x000000}, 0x7F7F7F, 0xE7E7E7},
        {S::WinXP, false, {0xC66931, 0xEFD3C6, 0x000000, 0xFFFFFF, 0x000000, 0xCED3D6}, 0x686868, 0xDEEBEF},
        {S::DeepBlue, false, {0xA04A44, 0xA04A44, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xCED3D6}, 0x000000, 0xE8E8E8},
        {S::Protein, false, {0xC4302D, 0xC4302D, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xCED3D6}, 0x000000, 0xFBFBFB},
        {S::BlueGlass, true, {0xEC5E5E, 0xEC5E5E, 0xFFFFFF, 0xE7E7E7, 0x000000, 0xCED3D6}, 0x000000, 0xE7E7E7},
    };
    for (const ReadValues& r : rows) {
        SCOPED_TRACE(std::string(StyleName(r.style)));
        EXPECT_EQ(StyleFlag(r.style, entry::ButtonTransparent), r.transparent);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(StyleColor(r.style, 18 + i), r.menu[i]) << "entry " << 18 + i;
        EXPECT_EQ(StyleColor(r.style, entry::Border), r.border);
        EXPECT_EQ(StyleColor(r.style, entry::ProgressBackground), r.progressBackground);
    }
}

TEST(ThemeTable, WrongKindGivesNeutralValue) {
    EXPECT_EQ(StyleColor(S::WinXP, entry::Button), 0u);
    EXPECT_EQ(StyleColor(S::MacOS, entry::ButtonTransparent), 0u);  // a flag set to 1
    EXPECT_FALSE(StyleFlag(S::WinXP, entry::MenuBackground));       // white colour
    EXPECT_EQ(StyleNumber(S::WinXP, entry::MenuBackground), -1);
    EXPECT_EQ(StyleBitmapName(S::WinXP, entry::MenuBackground), "");
    EXPECT_EQ(StyleNumber(S::WinXP, 7), 30);
}

TEST(ThemeTable, OutOfRangeStyleOrEntryIsNeutral) {
    for (S style : {S::FromThemeFile, static_cast<S>(6), static_cast<S>(255)}) {
        const ThemeEntry e = LookUpEntry(style, entry::Button);
        EXPECT_EQ(e.kind, EntryKind::Integer);
        EXPECT_EQ(e.value, -1);
        EXPECT_EQ(StyleBitmapName(style, entry::Button), "");
        EXPECT_EQ(StyleColor(style, entry::MenuSelected), 0u);
        EXPECT_FALSE(StyleFlag(style, entry::ButtonTransparent));
    }
    for (int e : {0, 49, -1}) {
        EXPECT_EQ(LookUpEntry(S::WinXP, e).kind, EntryKind::Integer);
        EXPECT_EQ(LookUpEntry(S::WinXP, e).value, -1);
    }
}

TEST(ResolveStyle, FromThemeFileWithoutAFileIsDeepBlue) {
    const ResolvedStyle none = ResolveStyle(false, S::FromThemeFile);
    EXPECT_FALSE(none.useFile);
    EXPECT_EQ(none.style, S::DeepBlue);
    EXPECT_TRUE(ResolveStyle(true, S::FromThemeFile).useFile);
    for (S style : kBuiltIn) {
        for (bool ready : {false, true}) {
            const ResolvedStyle r = ResolveStyle(ready, style);
            EXPECT_FALSE(r.useFile);
            EXPECT_EQ(r.style, style);
        }
    }
}

TEST(MenuStyle, DeepBlueIsWhatTheMainWindowStores) {
    const MenuStyleValues v = MenuStyleFor(S::DeepBlue);
    EXPECT_EQ(v.menuItemHeight, 21);
    EXPECT_EQ(v.separatorHeight, 5);
    EXPECT_EQ(v.barWidth, 26);
    EXPECT_EQ(v.barColor, 0xCED3D6u);
    EXPECT_EQ(v.barToColor, 0xCED3D6u);
    EXPECT_EQ(v.color, 0xFFFFFFu);
    EXPECT_EQ(v.separatorColor, 0x848284u);
    EXPECT_EQ(v.selectedBorderColor, 0xA04A44u);
    EXPECT_EQ(v.selectedColor, 0xA04A44u);
    EXPECT_EQ(v.selectedFontColor, 0xFFFFFFu);
    EXPECT_EQ(v.fontColor, 0x000000u);
}

TEST(MenuStyle, MacOSHasItsOwnHeightsAndBlackSeparator) {
    const MenuStyleValues v = MenuStyleFor(S::MacOS);
    EXPECT_EQ(v.menuItemHeight, 20);
    EXPECT_EQ(v.separatorHeight, 12);
    EXPECT_EQ(v.separatorColor, 0u);
    EXPECT_EQ(MenuStyleFor(S::WinXP).selectedColor, 0xEFD3C6u);
    EXPECT_EQ(MenuStyleFor(S::WinXP).selectedFontColor, 0u);
}

// The generated theme bitmaps: every name the controls load exists with the
// size the strips are cut for, as a 24-bit bitmap listed in skin.rc.
struct Bitmap24 {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::string data;
    size_t offset = 0;

    // 0x00BBGGRR; rows are stored bottom-up.
    uint32_t Pixel(int x, int y) const {
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        const size_t at = offset + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
        auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(data[i])); };
        return byte(at) << 16 | byte(at + 1) << 8 | byte(at + 2);
    }
};

const std::string kResources = std::string(MFVC_SOURCE_DIR) + "/resources/";

bool LoadBitmap(const std::string& name, Bitmap24& bmp) {
    std::ifstream in(kResources + "skin/" + name + ".bmp", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    bmp.data = content.str();
    if (bmp.data.size() < 54 || bmp.data[0] != 'B' || bmp.data[1] != 'M') return false;
    auto le32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bmp.data[at + i]);
        return v;
    };
    bmp.offset = le32(10);
    bmp.width = static_cast<int32_t>(le32(18));
    bmp.height = static_cast<int32_t>(le32(22));
    bmp.bits = static_cast<int>(le32(28) & 0xFFFF);
    const size_t stride = (static_cast<size_t>(bmp.width) * 3 + 3) & ~size_t{3};
    return bmp.width > 0 && bmp.height > 0 && bmp.data.size() >= bmp.offset + stride * bmp.height;
}

TEST(ThemeBitmaps, ResourcesHaveTheirSizes) {
    std::ifstream rcFile(kResources + "skin.rc");
    std::stringstream rc;
    rc << rcFile.rdbuf();
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"MACOS_BUTTON", {252, 23}},     {"WINXP_BUTTON", {54, 21}},       {"DEEPBLUE_BUTTON", {222, 21}},
        {"PROTEIN_BUTTON", {222, 21}},   {"BLUEGLASS_BUTTON", {231, 27}},  {"MACOS_CHECKBOX", {60, 17}},
        {"WINXP_CHECKBOX", {52, 13}},    {"DEEPBLUE_CHECKBOX", {52, 13}},  {"PROTEIN_CHECKBOX", {52, 13}},
        {"BLUEGLASS_CHECKBOX", {52, 13}}, {"MACOS_PROGRESSBAR", {13, 10}}, {"WINXP_PROGRESSBAR", {6, 10}},
        {"DEEPBLUE_PROGRESSBAR", {1, 10}}, {"PROTEIN_PROGRESSBAR", {1, 10}}, {"BLUEGLASS_PROGRESSBAR", {1, 10}},
        {"MENU_CHECKED", {16, 16}},      {"MACOS_MENU_BAR", {1, 22}},      {"MACOS_MENU_SELECT", {1, 21}},
        {"MACOS_FORM_BACKGROUND", {8, 8}}, {"PROTEIN_FORM_BACKGROUND", {8, 8}},
    };
    for (const auto& [name, size] : sizes) {
        SCOPED_TRACE(name);
        Bitmap24 bmp;
        ASSERT_TRUE(LoadBitmap(name, bmp));
        EXPECT_EQ(bmp.width, size.first);
        EXPECT_EQ(bmp.height, size.second);  // positive: stored bottom-up
        EXPECT_EQ(bmp.bits, 24);
        EXPECT_NE(rc.str().find(name + " BITMAP \"skin/" + name + ".bmp\""), std::string::npos);
    }
    for (S style : kBuiltIn) {
        for (int e : {entry::Button, entry::CheckBox, entry::ProgressBar}) {
            EXPECT_EQ(sizes.count(std::string(StyleBitmapName(style, e))), 1u);
        }
    }
}

// Corners are drawn opaque unless the style masks its buttons, so only those
// faces may carry the key colour there; the stretched middle never does, or
// the edges would be drawn with holes.
TEST(ThemeBitmaps, ButtonFacesUseTheKeyColourOnlyWhereMasked) {
    for (S style : kBuiltIn) {
        SCOPED_TRACE(std::string(StyleName(style)));
        Bitmap24 bmp;
        ASSERT_TRUE(LoadBitmap(std::string(StyleBitmapName(style, entry::Button)), bmp));
        const bool masked = StyleFlag(style, entry::ButtonTransparent);
        for (int index = 1; index <= 3; ++index) {
            const Rect face = CutStripPiece(bmp.width, bmp.height, 3, index);
            EXPECT_EQ(bmp.Pixel(face.left, 0) == kKeyColour, masked);
            EXPECT_EQ(bmp.Pixel(face.right - 1, face.bottom - 1) == kKeyColour, masked);
            const int middle = face.left + face.Width() / 2;
            for (int y = 0; y < bmp.height; ++y) EXPECT_NE(bmp.Pixel(middle, y), kKeyColour);
            for (int x = face.left; x < face.right; ++x) {
                EXPECT_NE(bmp.Pixel(x, bmp.height / 2), kKeyColour);
                EXPECT_NE(bmp.Pixel(x, bmp.height / 2 + 1), kKeyColour);
            }
        }
    }
}

}  // namespace
}  // namespace skin
