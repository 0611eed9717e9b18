#include "runtime/Menus.h"

#include <algorithm>

#include "runtime/Forms.h"

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
HMENU g_openMenu = nullptr;
const char kOwnerClass[] = "TPopupList";
}  // namespace

PopupMenu::PopupMenu(Component* owner) : Component(owner), items_(new MenuItem(this)) {}

PopupMenu::~PopupMenu() = default;

HMENU PopupMenu::OpenMenu() { return g_openMenu; }

HMENU PopupMenu::Build(MenuItem* parent, std::vector<MenuItem*>& ids) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < parent->Count(); ++i) {
        MenuItem* item = parent->Item(i);
        if (!item->Visible) continue;
        UINT flags = 0;
        if (!item->Enabled) flags |= MF_GRAYED;
        if (item->Checked) flags |= MF_CHECKED;
        std::string text = item->Caption;
        if (item->ShortCut) text += "\t" + ShortCutToText(item->ShortCut);
        const bool drawn = OwnerDraw();
        // A drawn separator is an ordinary item with no command.
        if (item->IsLine() && !drawn) flags |= MF_SEPARATOR;
        if (drawn) flags |= MF_OWNERDRAW;
        const LPCSTR data = drawn ? reinterpret_cast<LPCSTR>(item) : text.c_str();
        if (item->Count() > 0) {
            HMENU sub = Build(item, ids);
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), data);
        } else {
            ids.push_back(item);
            AppendMenuA(menu, flags, item->IsLine() ? 0 : ids.size(), data);
        }
        if (item->Default) SetMenuDefaultItem(menu, GetMenuItemCount(menu) - 1, TRUE);
    }
    return menu;
}

LRESULT CALLBACK PopupMenu::OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (mis->CtlType == ODT_MENU) {
                auto* item = reinterpret_cast<MenuItem*>(mis->itemData);
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
        } else if (msg == WM_INITMENUPOPUP) {
            g_openMenu = reinterpret_cast<HMENU>(wp);
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
    g_openMenu = nullptr;
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
