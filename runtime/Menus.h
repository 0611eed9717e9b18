#pragma once
// Popup menus built from a tree of items. A menu may draw its items itself:
// each item then has a measure and a draw handler that the menu calls.
#include "runtime/Component.h"
#include "runtime/Graphics.h"

#include <functional>
#include <string>
#include <vector>

namespace rt {

class MenuItem;
class PopupMenu;

using MenuMeasureEvent = std::function<void(MenuItem* item, Canvas& canvas, int& width, int& height)>;
using MenuDrawEvent = std::function<void(MenuItem* item, Canvas& canvas, const RECT& rect, bool selected)>;

class MenuItem : public Component {
public:
    explicit MenuItem(Component* owner);
    ~MenuItem() override;
    const char* ClassName() const override { return "TMenuItem"; }

    std::string Caption;  // "-" is a separator
    std::string Hint;
    WORD ShortCut = 0;
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
    bool Default = false;
    int ImageIndex = -1;
    NotifyEvent OnClick;
    MenuMeasureEvent OnMeasureItem;
    MenuDrawEvent OnDrawItem;

    bool IsLine() const { return Caption == "-"; }
    void Add(MenuItem* item);
    void Remove(MenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    MenuItem* Item(int i) const { return items_[static_cast<size_t>(i)]; }
    MenuItem* ParentItem() const { return parentItem_; }
    virtual void Click();

private:
    std::vector<MenuItem*> items_;
    MenuItem* parentItem_ = nullptr;
};

enum class PopupAlignment { Left, Right, Center };

class PopupMenu : public Component {
public:
    explicit PopupMenu(Component* owner);
    ~PopupMenu() override;
    const char* ClassName() const override { return "TPopupMenu"; }

    MenuItem* Items() const { return items_; }
    PopupAlignment Alignment = PopupAlignment::Left;
    bool RightToLeft = false;
    virtual bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool on) { ownerDraw_ = on; }

    // Shows the menu with its top at y and x placed after Alignment; runs
    // the chosen item's click after the menu has closed.
    void Popup(int x, int y);

private:
    static LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HMENU Build(MenuItem* parent, std::vector<MenuItem*>& ids);
    MenuItem* items_;
    bool ownerDraw_ = false;
};

}  // namespace rt
