#pragma once
// Skinned popup menu: every item, at every depth, is measured and drawn by
// the menu itself (side bar, flat background, filled and framed selection,
// thin separators, check mark and item images).
#include <string>

#include "runtime/Menus.h"
#include "skin/SUIThemes.h"

class TsuiPopupMenu;

// An item or separator height. MacOS draws its items from bitmaps of fixed
// height, so while the menu's style is MacOS a write is ignored.
class TsuiMenuHeight {
public:
    TsuiMenuHeight(const TsuiPopupMenu& menu, int value) : menu_(menu), value_(value) {}
    TsuiMenuHeight(const TsuiMenuHeight&) = delete;
    TsuiMenuHeight& operator=(const TsuiMenuHeight&) = delete;
    operator int() const { return value_; }
    TsuiMenuHeight& operator=(int value);

private:
    friend class TsuiPopupMenu;
    const TsuiPopupMenu& menu_;
    int value_;
};

class TsuiPopupMenu : public rt::PopupMenu {
public:
    explicit TsuiPopupMenu(rt::Component* owner);
    const char* ClassName() const override { return "TsuiPopupMenu"; }

    // Setting a style writes that style's item heights, bar and colours,
    // overwriting whatever was set before.
    skin::TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(skin::TsuiUIStyle style);
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TsuiFileTheme* theme);
    // Every item is drawn by the menu; writes are ignored.
    bool OwnerDraw() const override { return true; }

    TsuiMenuHeight MenuItemHeight{*this, 21};   // least height of an ordinary item
    TsuiMenuHeight SeparatorHeight{*this, 21};
    int BarWidth = 0;
    rt::TColor BarColor = rt::clBtnFace;        // outer edge of the side bar
    rt::TColor BarToColor = rt::clBtnFace;      // inner edge; equal colours fill plainly
    rt::TColor Color = rt::clWhite;             // item background
    rt::TColor SeparatorColor = 0x808080;
    rt::TColor SelectedBorderColor = rt::clHighlight;
    rt::TColor SelectedColor = rt::clHighlight;
    rt::TColor SelectedFontColor = rt::clWhite;
    rt::TColor FontColor = rt::clWhite;
    rt::TColor BorderColor = rt::clBlack;       // kept for the form; the drawing has no use for it
    bool FlatMenu = false;                      // own frame around the menu window
    std::string FontName = "MS Sans Serif";     // item font unless UseSystemFont
    int FontSize = 8;                           // points
    BYTE FontCharset = DEFAULT_CHARSET;
    bool UseSystemFont = true;
    // Item images, not owned; an item's ImageIndex selects one.
    HIMAGELIST Images = nullptr;

    // Gives every item at every depth the menu's measure and draw handlers;
    // called once the form has built the menu's items. Items created later
    // under the same owner are hooked when their insertion is announced.
    void HookItems();
    void Notification(rt::Component* component, rt::Operation op) override;

    void MeasureItem(rt::MenuItem* item, rt::Canvas& canvas, int& width, int& height);
    void DrawItem(rt::MenuItem* item, rt::Canvas& canvas, const RECT& rect, bool selected);

private:
    void Hook(rt::MenuItem* item);
    void ApplyStyle();
    bool MirrorsLayout() const;
    bool ValidImage(const rt::MenuItem* item) const;
    void PaintBarAndBackground(rt::Canvas& canvas, const RECT& bar, const RECT& background);
    void DrawFlatFrame(HDC itemDC) const;

    skin::TsuiUIStyle uiStyle_ = skin::TsuiUIStyle::DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
};
