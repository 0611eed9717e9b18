#include "skin/SUIPopupMenu.h"

TsuiPopupMenu::TsuiPopupMenu(rt::Component* owner) : rt::PopupMenu(owner) {}

void TsuiPopupMenu::SetUIStyle(TsuiUIStyle style) { uiStyle_ = style; }

void TsuiPopupMenu::Hook(rt::MenuItem* item) {
    item->OnMeasureItem = [this](rt::MenuItem* i, rt::Canvas& c, int& w, int& h) { MeasureItem(i, c, w, h); };
    item->OnDrawItem = [this](rt::MenuItem* i, rt::Canvas& c, const RECT& r, bool s) { DrawItem(i, c, r, s); };
    for (int k = 0; k < item->Count(); ++k) Hook(item->Item(k));
}

void TsuiPopupMenu::HookItems() { Hook(Items()); }

void TsuiPopupMenu::Notification(rt::Component* component, rt::Operation op) {
    rt::PopupMenu::Notification(component, op);
    if (op == rt::Operation::Insert)
        if (auto* item = dynamic_cast<rt::MenuItem*>(component)) Hook(item);
}

void TsuiPopupMenu::MeasureItem(rt::MenuItem* item, rt::Canvas& canvas, int& width, int& height) {
    if (item->IsLine()) {
        height = SeparatorHeight;
    } else {
        height = std::max(canvas.TextHeight(item->Caption), MenuItemHeight);
    }
    width = canvas.TextWidth(item->Caption) + BarWidth + 40;
}

void TsuiPopupMenu::DrawItem(rt::MenuItem* item, rt::Canvas& canvas, const RECT& rect, bool selected) {
    RECT r = rect;
    if (item->IsLine()) {
        canvas.FillRect(r, Color);
        canvas.SetPenColor(SeparatorColor);
        canvas.LineTo(r.left + BarWidth + 4, r.top + 2, r.right - 2, r.top + 2);
        return;
    }
    if (selected && item->Enabled) {
        canvas.FillRect(r, SelectedColor);
        canvas.FrameRect(r, SelectedBorderColor);
    } else {
        canvas.FillRect(r, Color);
    }
    canvas.SetBrushClear();
    canvas.SetTextColor(!item->Enabled ? 0x808080 : selected ? SelectedFontColor : FontColor);
    RECT t{r.left + BarWidth + 4, r.top, r.right, r.bottom};
    canvas.DrawText(item->Caption, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}
