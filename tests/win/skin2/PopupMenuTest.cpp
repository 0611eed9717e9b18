// The skinned popup menu: style values, hooking, measuring, and items drawn
// by their handlers into memory bitmaps; one real menu read off the screen.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "runtime/Forms.h"
#include "skin/SUIPopupMenu.h"
#include "skin/SkinGeometry.h"
#include "tests/win/common/WinTest.h"
#include "tests/win/skin2/SkinPixels.h"

using skintest::AllColour;
using skintest::CountColour;
using skintest::CountPixels;

namespace {

constexpr rt::TColor kBar = 0xCED3D6;
constexpr rt::TColor kSelected = 0xA04A44;
constexpr rt::TColor kSeparator = 0x848284;
constexpr rt::TColor kWhite = 0xFFFFFF;
constexpr rt::TColor kUntouched = 0x00FF00;  // what the handlers must paint over

// The values the main window stores for both its menus.
void ApplyProgramLook(TsuiPopupMenu& m) {
    m.SetUIStyle(skin::TsuiUIStyle::DeepBlue);
    m.MenuItemHeight = 21;
    m.SeparatorHeight = 5;
    m.BarWidth = 26;
    m.BarColor = 13554646;
    m.BarToColor = 13554646;
    m.Color = rt::clWhite;
    m.SeparatorColor = 8684164;
    m.SelectedBorderColor = 10504772;
    m.SelectedColor = 10504772;
    m.SelectedFontColor = rt::clWhite;
    m.FontColor = rt::clBlack;
}

// An item drawn by its own draw handler, in the font the menu system selects.
std::unique_ptr<rt::Bitmap> DrawItem(rt::MenuItem* item, int width, int height, bool selected) {
    auto b = std::make_unique<rt::Bitmap>(width, height);
    rt::Canvas& c = b->GetCanvas();
    c.FillRect(RECT{0, 0, width, height}, kUntouched);
    c.SetFontHandle(rt::SystemMenuFont(), rt::clMenuText);
    EXPECT_TRUE(item->OnDrawItem) << item->Caption << " has no draw handler";
    if (item->OnDrawItem) item->OnDrawItem(item, c, RECT{0, 0, width, height}, selected);
    return b;
}

struct Measured {
    int width;
    int height;
};

Measured MeasureItem(rt::MenuItem* item, const rt::Font* font = nullptr) {
    rt::Bitmap b(10, 10);
    rt::Canvas& c = b.GetCanvas();
    if (font)
        c.SetFont(*font);
    else
        c.SetFontHandle(rt::SystemMenuFont(), rt::clMenuText);
    int w = 0, h = 0;
    EXPECT_TRUE(item->OnMeasureItem) << item->Caption << " has no measure handler";
    if (item->OnMeasureItem) item->OnMeasureItem(item, c, w, h);
    return {w, h};
}

int MenuTextWidth(const std::string& s) {
    rt::Bitmap b(10, 10);
    rt::Canvas& c = b.GetCanvas();
    c.SetFontHandle(rt::SystemMenuFont(), rt::clMenuText);
    return c.TextWidth(s);
}

bool IsTextPixel(rt::TColor p) { return p != kWhite && p != kBar && p != kSelected && p != kUntouched; }

// A menu and its items under one owner, the way a form holds them; items
// made after the menu are hooked as they are made.
class SkinnedMenu : public testing::Test {
protected:
    SkinnedMenu() { ApplyProgramLook(*menu); }
    rt::MenuItem* Add(rt::MenuItem* parent, const std::string& caption) {
        auto* item = new rt::MenuItem(&owner);
        item->Caption = caption;
        parent->Add(item);
        return item;
    }
    rt::Component owner{nullptr};
    TsuiPopupMenu* menu = new TsuiPopupMenu(&owner);
};

}  // namespace

TEST(SkinnedMenuStyle, ANewMenuAlreadyCarriesItsStyleValues) {
    TsuiPopupMenu m(nullptr);
    EXPECT_EQ(m.UIStyle(), skin::TsuiUIStyle::DeepBlue);
    EXPECT_EQ(m.MenuItemHeight, 21);
    EXPECT_EQ(m.SeparatorHeight, 5);
    EXPECT_EQ(m.BarWidth, 26);
    EXPECT_EQ(m.BarColor, kBar);
    EXPECT_EQ(m.BarToColor, kBar);
    EXPECT_EQ(m.Color, kWhite);
    EXPECT_EQ(m.SeparatorColor, kSeparator);
    EXPECT_EQ(m.SelectedBorderColor, kSelected);
    EXPECT_EQ(m.SelectedColor, kSelected);
    EXPECT_EQ(m.SelectedFontColor, kWhite);
    EXPECT_EQ(m.FontColor, 0x000000u);
    // Not touched by the style: the plain defaults.
    EXPECT_EQ(m.BorderColor, rt::clBlack);
    EXPECT_FALSE(m.FlatMenu);
    EXPECT_EQ(m.FontName, "MS Sans Serif");
    EXPECT_EQ(m.FontSize, 8);
    EXPECT_TRUE(m.UseSystemFont);
    m.SetOwnerDraw(false);
    EXPECT_TRUE(m.OwnerDraw());
}

TEST(SkinnedMenuStyle, SettingAStyleOverwritesAndMacOSKeepsItsHeights) {
    TsuiPopupMenu m(nullptr);
    m.SelectedColor = 0x123456;
    m.BarWidth = 3;
    m.SetUIStyle(skin::TsuiUIStyle::WinXP);
    EXPECT_EQ(m.SelectedColor, 0xEFD3C6u);
    EXPECT_EQ(m.SelectedBorderColor, 0xC66931u);
    EXPECT_EQ(m.SelectedFontColor, 0x000000u);
    EXPECT_EQ(m.BarWidth, 26);

    m.SetUIStyle(skin::TsuiUIStyle::MacOS);
    EXPECT_EQ(m.MenuItemHeight, 20);
    EXPECT_EQ(m.SeparatorHeight, 12);
    EXPECT_EQ(m.SeparatorColor, 0x000000u);
    m.MenuItemHeight = 30;
    m.SeparatorHeight = 30;
    EXPECT_EQ(m.MenuItemHeight, 20) << "MacOS ignores item height writes";
    EXPECT_EQ(m.SeparatorHeight, 12);

    m.SetUIStyle(skin::TsuiUIStyle::FromThemeFile);  // no theme file: DeepBlue's values
    EXPECT_EQ(m.MenuItemHeight, 21);
    EXPECT_EQ(m.SeparatorHeight, 5);
    EXPECT_EQ(m.SelectedColor, kSelected);
    m.MenuItemHeight = 30;
    EXPECT_EQ(m.MenuItemHeight, 30);
}

TEST_F(SkinnedMenu, ItemsAndSeparatorsMeasure) {
    rt::MenuItem* home = Add(menu->Items(), "&Home Page");
    rt::MenuItem* line = Add(menu->Items(), "-");
    rt::MenuItem* keyed = Add(menu->Items(), "Profiles");
    keyed->ShortCut = rt::scCtrl | 'P';

    ASSERT_LT(MeasureItem(home).height, 22) << "the system menu font is smaller than an item";
    EXPECT_EQ(MeasureItem(home).height, 21);
    EXPECT_EQ(MeasureItem(line).height, 5);
    // The "&" is measured too, so the item is wider than its visible text.
    ASSERT_GT(MenuTextWidth("&Home Page"), MenuTextWidth("Home Page"));
    EXPECT_EQ(MeasureItem(home).width, MenuTextWidth("&Home Page") + 26 + 40);
    // The shortcut text adds its width.
    EXPECT_EQ(MeasureItem(keyed).width, MenuTextWidth("Profiles") + MenuTextWidth("Ctrl+P") + 26 + 40);

    // A menu font taller than the item height makes the item taller.
    rt::Font big;
    big.Height = -40;
    const Measured tall = MeasureItem(home, &big);
    EXPECT_GT(tall.height, 21);
    rt::Bitmap probe(10, 10);
    probe.GetCanvas().SetFont(big);
    EXPECT_EQ(tall.height, probe.GetCanvas().TextHeight("&Home Page"));
}

TEST_F(SkinnedMenu, AnOrdinaryItemHasTheBarAWhiteBackgroundAndBlackText) {
    rt::MenuItem* item = Add(menu->Items(), "Convert");
    auto b = DrawItem(item, 200, 21, false);
    EXPECT_TRUE(AllColour(*b, RECT{0, 0, 26, 21}, kBar));
    EXPECT_TRUE(AllColour(*b, RECT{26, 0, 30, 21}, kWhite)) << "the caption starts 4 pixels after the bar";
    EXPECT_TRUE(AllColour(*b, RECT{150, 0, 200, 21}, kWhite));
    EXPECT_EQ(CountColour(*b, RECT{0, 0, 200, 21}, kUntouched), 0);
    const int text = CountPixels(*b, RECT{30, 0, 150, 21}, IsTextPixel);
    EXPECT_GT(text, 20);
    EXPECT_GT(CountColour(*b, RECT{30, 0, 150, 21}, 0x000000), 0);
    EXPECT_EQ(CountColour(*b, RECT{0, 0, 200, 21}, kSelected), 0);
}

TEST_F(SkinnedMenu, TheSelectedItemIsFilledAndFramedWithWhiteText) {
    rt::MenuItem* item = Add(menu->Items(), "Convert");
    menu->SelectedBorderColor = 0x0000FF;  // tell frame and fill apart
    auto b = DrawItem(item, 200, 21, true);
    EXPECT_TRUE(AllColour(*b, RECT{0, 0, 200, 1}, 0x0000FF));
    EXPECT_TRUE(AllColour(*b, RECT{0, 20, 200, 21}, 0x0000FF));
    EXPECT_TRUE(AllColour(*b, RECT{0, 0, 1, 21}, 0x0000FF));
    EXPECT_TRUE(AllColour(*b, RECT{199, 0, 200, 21}, 0x0000FF));
    EXPECT_TRUE(AllColour(*b, RECT{1, 1, 30, 20}, kSelected)) << "the fill covers the bar too";
    EXPECT_TRUE(AllColour(*b, RECT{150, 1, 199, 20}, kSelected));
    EXPECT_GT(CountColour(*b, RECT{30, 1, 150, 20}, kWhite), 0);
    EXPECT_EQ(CountColour(*b, RECT{0, 0, 200, 21}, kBar), 0);
}

TEST_F(SkinnedMenu, ADisabledItemUnderThePointerIsGreyAndNotHighlighted) {
    rt::MenuItem* item = Add(menu->Items(), "Convert");
    item->Enabled = false;
    auto b = DrawItem(item, 200, 21, true);
    EXPECT_TRUE(AllColour(*b, RECT{0, 0, 26, 21}, kBar));
    EXPECT_EQ(CountColour(*b, RECT{0, 0, 200, 21}, kSelected), 0);
    EXPECT_GT(CountColour(*b, RECT{30, 0, 150, 21}, 0x808080), 0);
    EXPECT_EQ(CountColour(*b, RECT{30, 0, 150, 21}, 0x000000), 0);
}

TEST_F(SkinnedMenu, ASeparatorIsAThinLineAfterTheBarAndNeverHighlighted) {
    rt::MenuItem* line = Add(menu->Items(), "-");
    for (bool selected : {false, true}) {
        auto b = DrawItem(line, 200, 5, selected);
        EXPECT_TRUE(AllColour(*b, RECT{0, 0, 26, 5}, kBar));
        EXPECT_TRUE(AllColour(*b, RECT{30, 2, 198, 3}, kSeparator)) << "from bar + 4 to right - 2, end excluded";
        EXPECT_EQ(b->Pixel(29, 2), kWhite);
        EXPECT_EQ(b->Pixel(198, 2), kWhite);
        EXPECT_TRUE(AllColour(*b, RECT{26, 0, 200, 2}, kWhite));
        EXPECT_TRUE(AllColour(*b, RECT{26, 3, 200, 5}, kWhite));
    }
}

TEST_F(SkinnedMenu, TheAcceleratorLetterIsUnderlinedAndTheMarkNotShown) {
    auto marked = DrawItem(Add(menu->Items(), "&Home Page"), 200, 21, false);
    auto plain = DrawItem(Add(menu->Items(), "Home Page"), 200, 21, false);
    std::set<int> rows;
    int differing = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 200; ++x)
            if (marked->Pixel(x, y) != plain->Pixel(x, y)) {
                rows.insert(y);
                ++differing;
            }
    EXPECT_GT(differing, 2);
    EXPECT_EQ(rows.size(), 1u) << "only the underline differs";
}

TEST_F(SkinnedMenu, ACheckedItemShowsTheSharedCheckMarkOnTheBar) {
    rt::Bitmap mark;
    ASSERT_TRUE(mark.LoadFromResourceName("MENU_CHECKED"));
    ASSERT_EQ(mark.Width(), 16);
    rt::MenuItem* item = Add(menu->Items(), "Checked");
    item->Checked = true;
    auto b = DrawItem(item, 200, 21, false);
    int mismatches = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const rt::TColor expected = mark.Pixel(x, y) == kWhite ? kBar : mark.Pixel(x, y);
            if (b->Pixel(4 + x, 3 + y) != expected) ++mismatches;
        }
    EXPECT_EQ(mismatches, 0) << "the mark at (4, 3), its white transparent";
    EXPECT_GT(CountColour(*b, RECT{4, 3, 20, 19}, 0x000000), 5);

    item->Enabled = false;
    auto grey = DrawItem(item, 200, 21, false);
    EXPECT_EQ(CountColour(*grey, RECT{4, 3, 20, 19}, 0x000000), 0) << "greyed when disabled";
    EXPECT_GT(CountPixels(*grey, RECT{4, 3, 20, 19}, [](rt::TColor p) { return p != kBar; }), 5);
}

TEST_F(SkinnedMenu, ItemImagesAndTheBoxOfACheckedImage) {
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, decltype(&ImageList_Destroy)> list(
        ImageList_Create(16, 16, ILC_COLOR24, 1, 0), &ImageList_Destroy);
    {
        rt::Bitmap red(16, 16);
        red.GetCanvas().FillRect(RECT{0, 0, 16, 16}, 0x0000FF);
        rt::GdiObject<HBITMAP> copy(static_cast<HBITMAP>(CopyImage(red.Handle(), IMAGE_BITMAP, 0, 0, 0)));
        ASSERT_EQ(ImageList_Add(list.get(), copy.Get(), nullptr), 0);
    }
    menu->Images = list.get();
    rt::MenuItem* item = Add(menu->Items(), "Picture");
    item->ImageIndex = 0;
    auto b = DrawItem(item, 200, 21, false);
    EXPECT_TRUE(AllColour(*b, RECT{4, 3, 20, 19}, 0x0000FF));
    EXPECT_EQ(b->Pixel(3, 3), kBar);

    item->Checked = true;
    auto boxed = DrawItem(item, 200, 21, false);
    EXPECT_TRUE(AllColour(*boxed, RECT{2, 1, 21, 2}, 0x000000)) << "black frame (x-2, top+1, x+17, top+20)";
    EXPECT_TRUE(AllColour(*boxed, RECT{2, 1, 3, 20}, 0x000000));
    EXPECT_TRUE(AllColour(*boxed, RECT{3, 2, 20, 3}, kSelected)) << "filled in the selected colour";
    EXPECT_TRUE(AllColour(*boxed, RECT{4, 3, 20, 19}, 0x0000FF)) << "the image over the box";

    item->ImageIndex = 1;  // beyond the list: a plain check mark again
    auto plain = DrawItem(item, 200, 21, false);
    EXPECT_EQ(CountColour(*plain, RECT{0, 0, 200, 21}, 0x0000FF), 0);
    EXPECT_GT(CountColour(*plain, RECT{4, 3, 20, 19}, 0x000000), 5);
}

TEST_F(SkinnedMenu, AGradientBarRunsFromBarColorToBarToColor) {
    menu->BarColor = 0x000000;
    menu->BarToColor = 0xFF8040;
    auto b = DrawItem(Add(menu->Items(), "Gradient"), 200, 21, false);
    for (int x = 0; x < 26; ++x)
        EXPECT_TRUE(AllColour(*b, RECT{x, 0, x + 1, 21}, skin::BarColumnColour(0x000000, 0xFF8040, 26, x)))
            << "column " << x;
    EXPECT_EQ(b->Pixel(0, 10), 0x000000u);
    EXPECT_EQ(b->Pixel(25, 10), 0xFF8040u);
    EXPECT_EQ(b->Pixel(13, 10), 0x7F4020u);  // 13/26 of the way, truncated per channel
}

TEST_F(SkinnedMenu, TheDefaultItemIsBold) {
    rt::MenuItem* normal = Add(menu->Items(), "About...");
    rt::MenuItem* bold = Add(menu->Items(), "About...");
    bold->Default = true;
    const RECT text{30, 0, 200, 21};
    EXPECT_GT(CountPixels(*DrawItem(bold, 200, 21, false), text, IsTextPixel),
              CountPixels(*DrawItem(normal, 200, 21, false), text, IsTextPixel));
}

TEST(SkinnedMenuHooks, EveryDepthIsHookedAndLaterItemsToo) {
    rt::Component owner(nullptr);
    // Made before the menu, like the items of a form loaded before its menu
    // hooks them.
    auto* group = new rt::MenuItem(&owner);
    group->Caption = "Apple iPhone";
    auto* profile = new rt::MenuItem(&owner);
    profile->Caption = "iPhone - High Quality";
    group->Add(profile);
    auto* deeper = new rt::MenuItem(&owner);
    deeper->Caption = "Deeper";
    profile->Add(deeper);
    bool formHandlerRan = false;
    profile->OnDrawItem = [&](rt::MenuItem*, rt::Canvas&, const RECT&, bool) { formHandlerRan = true; };

    auto* menu = new TsuiPopupMenu(&owner);
    menu->Items()->Add(group);
    EXPECT_FALSE(deeper->OnDrawItem);
    menu->HookItems();
    for (rt::MenuItem* item : {group, profile, deeper}) {
        EXPECT_TRUE(item->OnMeasureItem) << item->Caption;
        auto b = DrawItem(item, 200, 21, false);
        EXPECT_TRUE(AllColour(*b, RECT{0, 0, 26, 21}, kBar)) << item->Caption;
        EXPECT_TRUE(AllColour(*b, RECT{26, 0, 30, 21}, kWhite)) << item->Caption;
    }
    EXPECT_FALSE(formHandlerRan) << "the form's own handler is replaced";

    // Inserted under the same owner later, into the submenu.
    auto* later = new rt::MenuItem(&owner);
    later->Caption = "iPhone - Economy Quality";
    group->Add(later);
    EXPECT_EQ(MeasureItem(later).height, 21);
    auto selected = DrawItem(later, 200, 21, true);
    EXPECT_TRUE(AllColour(*selected, RECT{1, 1, 30, 20}, kSelected));
}

// The handlers through the platform's owner-drawn menu: the open menu's
// window is read while it is on the screen.
TEST(SkinnedMenuOnScreen, TheOpenMenuShowsBarItemsAndSeparator) {
    rt::Component owner(nullptr);
    auto* menu = new TsuiPopupMenu(&owner);
    ApplyProgramLook(*menu);
    for (const char* caption : {"&Home Page", "-", "&About..."}) {
        auto* item = new rt::MenuItem(&owner);
        item->Caption = caption;
        menu->Items()->Add(item);
    }
    menu->HookItems();

    bool seen = false;
    int barLeft = -1, barWidth = 0, firstRow = -1, rows = 0, lineRow = -1;
    wintest::RunSoon([&] {
        HWND w = wintest::FindProcessWindow("#32768", "");
        if (w) {
            seen = true;
            HDC dc = GetDC(w);
            RECT c;
            GetClientRect(w, &c);
            const int mid = 10;
            for (int y = 0; y < c.bottom && barLeft < 0; ++y)
                for (int x = 0; x < c.right / 2; ++x)
                    if ((GetPixel(dc, x, y) & 0xFFFFFF) == kBar) {
                        barLeft = x;
                        firstRow = y;
                        break;
                    }
            if (barLeft >= 0) {
                while ((GetPixel(dc, barLeft + barWidth, firstRow + mid) & 0xFFFFFF) == kBar) ++barWidth;
                while ((GetPixel(dc, barLeft, firstRow + rows) & 0xFFFFFF) == kBar) ++rows;
                for (int y = firstRow; y < firstRow + rows; ++y)
                    if ((GetPixel(dc, barLeft + 40, y) & 0xFFFFFF) == kSeparator) lineRow = y;
            }
            ReleaseDC(w, dc);
        }
        EndMenu();
    }, 400);
    menu->Popup(200, 200);
    ASSERT_TRUE(seen) << "no menu window was found";
    EXPECT_EQ(barWidth, 26);
    EXPECT_EQ(rows, 21 + 5 + 21) << "two items and a separator, all with the bar";
    EXPECT_EQ(lineRow - firstRow, 21 + 2) << "the line two pixels into the separator";
}
