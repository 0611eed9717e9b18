#include "runtime/Menus.h"

#include <algorithm>

#include "runtime/Forms.h"
#include "runtime/MenuKeys.h"

namespace rt {

MenuItem::MenuItem(Component* owner) : Component(owner) { AnnounceInsertion(); }

MenuItem::~MenuItem() {
    for (MenuItem* i : items_) i->parentItem_ = nullptr;
    if (parentItem_) parentItem_->Remove(this);
}

void MenuItem::Add(MenuItem* item) {
    if (item->parentItem_) item->parentItem_->Remove(item);
    item->parentItem_ = this;
    items_.push_back(item);
}

void MenuItem::Remove(MenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parentItem_ = nullptr;
}

void MenuItem::Click() {
    if (OnClick) OnClick(this);
}

namespace {

const char kOwnerClass[] = "TPopupList";

// The item a drawn menu keeps as its data (null for an item the system
// draws), with the item's type and state.
MenuItem* DrawnItem(HMENU menu, int pos, UINT& type, UINT& state) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info)) return nullptr;
    type = info.fType;
    state = info.fState;
    return (info.fType & MFT_OWNERDRAW) ? reinterpret_cast<MenuItem*>(info.dwItemData) : nullptr;
}

// The system finds no letters in items it does not draw, so a typed letter
// is matched here. It sends the letter only after its own search of the
// items it draws found nothing. Some systems act only on an item to run,
// not on one to select (Wine does): the item is highlighted here as well.
LRESULT MenuChar(HWND owner, WPARAM wp, LPARAM lp) {
    auto* menu = reinterpret_cast<HMENU>(lp);
    const char key = static_cast<char>(LOWORD(wp));
    std::vector<menukeys::Entry> entries;
    int current = -1;
    bool drawn = false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT type = 0, state = 0;
        MenuItem* item = DrawnItem(menu, i, type, state);
        drawn = drawn || item;
        const bool choosable = item && !(type & MFT_SEPARATOR) && !(state & MFS_DISABLED);
        entries.push_back({item ? item->Caption : std::string(), choosable});
        if (state & MFS_HILITE) current = i;
    }
    if (!drawn) return DefWindowProcA(owner, WM_MENUCHAR, wp, lp);
    const menukeys::Choice choice = menukeys::FindMenuChar(entries, current, key);
    switch (choice.action) {
    case menukeys::Action::Execute:
        return MAKELRESULT(choice.index, MNC_EXECUTE);
    case menukeys::Action::Select:
        HiliteMenuItem(owner, menu, static_cast<UINT>(choice.index), MF_BYPOSITION | MF_HILITE);
        return MAKELRESULT(choice.index, MNC_SELECT);
    case menukeys::Action::None:
        break;
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

}  // namespace

PopupMenu::PopupMenu(Component* owner) : Component(owner), items_(new MenuItem(this)) {}

PopupMenu::~PopupMenu() = default;

HMENU PopupMenu::Build(MenuItem* parent, std::vector<MenuItem*>& ids) {
    HMENU menu = CreatePopupMenu();
    const bool drawn = OwnerDraw();
    for (int i = 0; i < parent->Count(); ++i) {
        MenuItem* item = parent->Item(i);
        if (!item->Visible) continue;
        std::string text = item->Caption;
        if (item->ShortCut) text += "\t" + ShortCutToText(item->ShortCut);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        // A separator stays a separator when the menu draws it, so the
        // arrow keys and the mouse pass over it.
        info.fType = (item->IsLine() ? MFT_SEPARATOR : 0) | (drawn ? MFT_OWNERDRAW : MFT_STRING);
        info.fState = (item->Enabled ? 0 : MFS_GRAYED) | (item->Checked ? MFS_CHECKED : 0) |
                      (item->Default ? MFS_DEFAULT : 0);
        if (drawn) {
            info.fMask |= MIIM_DATA;
            info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        } else if (!item->IsLine()) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        if (item->Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = Build(item, ids);
        } else if (!item->IsLine()) {
            ids.push_back(item);
            info.fMask |= MIIM_ID;
            info.wID = static_cast<UINT>(ids.size());
        }
        InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    }
    return menu;
}

LRESULT CALLBACK PopupMenu::OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (mis->CtlType == ODT_MENU) {
                auto* item = reinterpret_cast<MenuItem*>(mis->itemData);
                if (!item) return FALSE;
                WindowDC dc(h);
                Canvas canvas(dc.Get());
                canvas.SetFontHandle(SystemMenuFont(), clMenuText);
                int width = canvas.TextWidth(item->Caption) + 20, height = canvas.TextHeight("W") + 4;
                if (item->OnMeasureItem) item->OnMeasureItem(item, canvas, width, height);
                mis->itemWidth = static_cast<UINT>(width);
                mis->itemHeight = static_cast<UINT>(height);
                return TRUE;
            }
        } else if (msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            if (dis->CtlType == ODT_MENU) {
                auto* item = reinterpret_cast<MenuItem*>(dis->itemData);
                if (!item) return FALSE;
                const int saved = SaveDC(dis->hDC);
                {
                    Canvas canvas(dis->hDC);
                    canvas.SetFontHandle(SystemMenuFont(), clMenuText);
                    if (item->OnDrawItem)
                        item->OnDrawItem(item, canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
                    else {
                        RECT r = dis->rcItem;
                        canvas.FillRect(r, (dis->itemState & ODS_SELECTED) ? clHighlight : 0xFF000004);
                        r.left += 20;
                        canvas.SetBrushClear();
                        canvas.DrawText(item->Caption, r, DT_SINGLELINE | DT_VCENTER);
                    }
                }
                RestoreDC(dis->hDC, saved);
                return TRUE;
            }
        } else if (msg == WM_MENUCHAR) {
            return MenuChar(h, wp, lp);
        }
    } catch (...) {
        if (Application) Application->HandleException();
    }
    return DefWindowProcA(h, msg, wp, lp);
}

void PopupMenu::Popup(int x, int y) {
    static HWND owner = CreateHelperWindow(kOwnerClass, OwnerProc, false);
    std::vector<MenuItem*> ids;
    HMENU menu = Build(items_, ids);
    UINT flags = TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON | TPM_TOPALIGN;
    if (Alignment == PopupAlignment::Center) flags |= TPM_CENTERALIGN;
    else if (Alignment == PopupAlignment::Right) flags |= TPM_RIGHTALIGN;
    else flags |= TPM_LEFTALIGN;
    SetForegroundWindow(owner);
    const UINT cmd = static_cast<UINT>(TrackPopupMenuEx(menu, flags, x, y, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    // Give the activation back to the window the menu was opened from.
    if (Application && Application->MainForm) {
        HWND top = GetLastActivePopup(Application->MainForm->Handle());
        if (top) SetForegroundWindow(top);
    }
    if (cmd >= 1 && cmd <= ids.size()) ids[cmd - 1]->Click();
}

}  // namespace rt
