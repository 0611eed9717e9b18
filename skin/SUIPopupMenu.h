#pragma once
// Skinned popup menu: every item drawn by the menu itself.
#include "runtime/Menus.h"
#include "skin/ThemeTable.h"

using skin::TsuiUIStyle;

class TsuiPopupMenu : public rt::PopupMenu {
public:
    explicit TsuiPopupMenu(rt::Component* owner);
    const char* ClassName() const override { return "TsuiPopupMenu"; }

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    bool OwnerDraw() const override { return true; }

    int MenuItemHeight = 21;
    int SeparatorHeight = 21;
    int BarWidth = 0;
    rt::TColor BarColor = rt::clBtnFace;
    rt::TColor BarToColor = rt::clBtnFace;
    rt::TColor Color = rt::clWhite;
    rt::TColor SeparatorColor = 0x808080;
    rt::TColor SelectedBorderColor = rt::clHighlight;
    rt::TColor SelectedColor = rt::clHighlight;
    rt::TColor SelectedFontColor = rt::clWhite;
    rt::TColor FontColor = rt::clWhite;
    rt::TColor BorderColor = rt::clBlack;
    bool FlatMenu = false;
    std::string FontName = "MS Sans Serif";
    int FontSize = 8;
    BYTE FontCharset = DEFAULT_CHARSET;
    bool UseSystemFont = true;

    // Gives every item at every depth the menu's measure and draw handlers;
    // called once the form has built the menu's items.
    void HookItems();
    void Notification(rt::Component* component, rt::Operation op) override;

    void MeasureItem(rt::MenuItem* item, rt::Canvas& canvas, int& width, int& height);
    void DrawItem(rt::MenuItem* item, rt::Canvas& canvas, const RECT& rect, bool selected);

private:
    void Hook(rt::MenuItem* item);
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
};
