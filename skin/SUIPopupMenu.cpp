#include "skin/SUIPopupMenu.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "runtime/Forms.h"
#include "skin/SkinGeometry.h"

namespace {

// The one check mark all skinned menus draw: a 16 x 16 image on white,
// white being its transparent colour. Made on first use, freed at exit.
class CheckMarkList {
public:
    CheckMarkList() : list_(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0)) {
        rt::GdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), "MENU_CHECKED", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (list_ && bitmap) ImageList_AddMasked(list_, bitmap.Get(), RGB(255, 255, 255));
    }
    ~CheckMarkList() {
        if (list_) ImageList_Destroy(list_);
    }
    CheckMarkList(const CheckMarkList&) = delete;
    CheckMarkList& operator=(const CheckMarkList&) = delete;
    HIMAGELIST Get() const { return list_; }

private:
    HIMAGELIST list_;
};

HIMAGELIST CheckMarks() {
    static const CheckMarkList list;
    return list.Get();
}

// A disabled item shows its check mark or image in the platform's greyed
// form.
void DrawListImage(HIMAGELIST list, int index, HDC dc, skin::Point at, bool greyed) {
    if (!list || index < 0 || index >= ImageList_GetImageCount(list)) return;
    if (!greyed) {
        ImageList_Draw(list, index, dc, at.x, at.y, ILD_TRANSPARENT);
        return;
    }
    std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)> icon(
        ImageList_GetIcon(list, index, ILD_TRANSPARENT), &DestroyIcon);
    if (icon)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, at.x, at.y, 0, 0,
                   DST_ICON | DSS_DISABLED);
}

// MacOS items are a one-pixel-wide bitmap column, cut to the item's
// nominal height and stretched over the whole item.
void StretchMenuBitmap(rt::Canvas& canvas, const char* name, int height, const RECT& r) {
    rt::Bitmap whole;
    if (!whole.LoadFromResourceName(name)) return;
    rt::Bitmap cut;
    cut.CopyFrom(whole, RECT{0, 0, whole.Width(), std::min(height, whole.Height())});
    canvas.StretchDraw(r, cut);
}

RECT ToRECT(const skin::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// The item font: the system menu font or the menu's own, bold for the
// menu's default item.
rt::Font ItemFont(const TsuiPopupMenu& menu, bool bold) {
    rt::Font f;
    if (menu.UseSystemFont) {
        LOGFONTA lf{};
        GetObjectA(rt::SystemMenuFont(), sizeof lf, &lf);
        f.Name = lf.lfFaceName;
        f.Height = lf.lfHeight;
        f.Charset = lf.lfCharSet;
        if (lf.lfItalic) f.Style |= rt::fsItalic;
        if (lf.lfWeight >= FW_BOLD) f.Style |= rt::fsBold;
    } else {
        ScreenDC screen;
        f.Name = menu.FontName;
        f.Height = -MulDiv(menu.FontSize, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
        f.Charset = menu.FontCharset;
    }
    if (bold) f.Style |= rt::fsBold;
    return f;
}

}  // namespace

TsuiMenuHeight& TsuiMenuHeight::operator=(int value) {
    if (menu_.UIStyle() != skin::TsuiUIStyle::MacOS) value_ = value;
    return *this;
}

TsuiPopupMenu::TsuiPopupMenu(rt::Component* owner) : rt::PopupMenu(owner), uiStyle_(skin::DefaultStyleFor(owner)) {
    ApplyStyle();
}

void TsuiPopupMenu::SetUIStyle(skin::TsuiUIStyle style) {
    uiStyle_ = style;
    ApplyStyle();
}

void TsuiPopupMenu::SetFileTheme(TsuiFileTheme* theme) {
    fileTheme_ = theme;
    ApplyStyle();
}

void TsuiPopupMenu::ApplyStyle() {
    const skin::MenuStyleValues v = skin::MenuStyleFor(skin::ResolvedBuiltInStyle(fileTheme_, uiStyle_));
    MenuItemHeight.value_ = v.menuItemHeight;
    SeparatorHeight.value_ = v.separatorHeight;
    BarWidth = v.barWidth;
    BarColor = v.barColor;
    BarToColor = v.barToColor;
    Color = v.color;
    SeparatorColor = v.separatorColor;
    SelectedBorderColor = v.selectedBorderColor;
    SelectedColor = v.selectedColor;
    SelectedFontColor = v.selectedFontColor;
    FontColor = v.fontColor;
}

void TsuiPopupMenu::Hook(rt::MenuItem* item) {
    item->OnMeasureItem = [this](rt::MenuItem* i, rt::Canvas& c, int& w, int& h) { MeasureItem(i, c, w, h); };
    item->OnDrawItem = [this](rt::MenuItem* i, rt::Canvas& c, const RECT& r, bool s) { DrawItem(i, c, r, s); };
    for (int k = 0; k < item->Count(); ++k) Hook(item->Item(k));
}

void TsuiPopupMenu::HookItems() { Hook(Items()); }

void TsuiPopupMenu::Notification(rt::Component* component, rt::Operation op) {
    rt::PopupMenu::Notification(component, op);
    if (op == rt::Operation::Insert) {
        if (auto* item = dynamic_cast<rt::MenuItem*>(component)) Hook(item);
    } else if (component == fileTheme_) {
        fileTheme_ = nullptr;
        SetUIStyle(skin::TsuiUIStyle::DeepBlue);
    }
}

bool TsuiPopupMenu::MirrorsLayout() const { return RightToLeft && GetSystemMetrics(SM_MIDEASTENABLED) != 0; }

bool TsuiPopupMenu::ValidImage(const rt::MenuItem* item) const {
    return Images && item->ImageIndex >= 0 && item->ImageIndex < ImageList_GetImageCount(Images);
}

void TsuiPopupMenu::MeasureItem(rt::MenuItem* item, rt::Canvas& canvas, int& width, int& height) {
    const std::string shortcut = item->ShortCut ? rt::ShortCutToText(item->ShortCut) : std::string();
    height = skin::MeasureMenuItemHeight(skin::IsMenuSeparator(item->Caption), canvas.TextHeight(item->Caption),
                                         MenuItemHeight, SeparatorHeight);
    width = skin::MeasureMenuItemWidth(canvas.TextWidth(item->Caption),
                                       shortcut.empty() ? 0 : canvas.TextWidth(shortcut), BarWidth);
}

void TsuiPopupMenu::PaintBarAndBackground(rt::Canvas& canvas, const RECT& bar, const RECT& background) {
    if (BarWidth > 0) {
        if (BarColor == BarToColor) {
            canvas.FillRect(bar, BarColor);
        } else {
            const COLORREF from = rt::ColorToRGB(BarColor);
            const COLORREF to = rt::ColorToRGB(BarToColor);
            const bool mirrored = MirrorsLayout();
            // Column 0 is the bar's outer edge: the left one, or the right
            // one of a mirrored menu.
            for (int column = 0; column < bar.right - bar.left; ++column) {
                const int x = mirrored ? bar.right - 1 - column : bar.left + column;
                canvas.SetPenColor(skin::BarColumnColour(from, to, BarWidth, column));
                canvas.LineTo(x, bar.top, x, bar.bottom);
            }
        }
    }
    canvas.FillRect(background, Color);
}

void TsuiPopupMenu::DrawFlatFrame(HDC itemDC) const {
    HWND window = WindowFromDC(itemDC);
    if (!window) return;
    RECT w;
    GetWindowRect(window, &w);
    const skin::MenuFlatFrame frame = skin::FlatMenuFrame({w.left, w.top, w.right, w.bottom});
    ScreenDC screen;
    rt::Canvas canvas(screen.Get());
    canvas.FrameRect(ToRECT(frame.black), rt::clBlack);
    canvas.FrameRect(ToRECT(frame.white), rt::clWhite);
    canvas.SetPenColor(skin::StyleColor(skin::ResolvedBuiltInStyle(fileTheme_, uiStyle_), skin::entry::MenuBorder));
    std::vector<POINT> line;
    for (const skin::Point& p : frame.line) line.push_back(POINT{p.x, p.y});
    canvas.Polyline(line);
}

void TsuiPopupMenu::DrawItem(rt::MenuItem* item, rt::Canvas& canvas, const RECT& rect, bool selected) {
    const bool macOS = skin::ResolvedBuiltInStyle(fileTheme_, uiStyle_) == skin::TsuiUIStyle::MacOS;
    const bool mirrored = MirrorsLayout();
    const std::string shortcut = item->ShortCut ? rt::ShortCutToText(item->ShortCut) : std::string();
    const int shortcutWidth = shortcut.empty() ? 0 : canvas.TextWidth(shortcut);
    const skin::MenuItemLayout layout =
        skin::PlaceMenuItem({rect.left, rect.top, rect.right, rect.bottom}, BarWidth, shortcutWidth, mirrored);

    if (FlatMenu) DrawFlatFrame(canvas.Handle());

    if (skin::IsMenuSeparator(item->Caption)) {
        if (macOS) {
            StretchMenuBitmap(canvas, "MACOS_MENU_BAR", 12, rect);
        } else {
            PaintBarAndBackground(canvas, ToRECT(layout.bar), ToRECT(layout.background));
            canvas.SetPenColor(SeparatorColor);
            canvas.LineTo(layout.separatorFrom.x, layout.separatorFrom.y, layout.separatorTo.x, layout.separatorTo.y);
        }
        return;
    }

    // A disabled item under the pointer is still drawn as not selected.
    const bool highlighted = selected && item->Enabled;
    if (highlighted) {
        if (macOS) {
            StretchMenuBitmap(canvas, "MACOS_MENU_SELECT", 20, rect);
        } else {
            canvas.FillRect(rect, SelectedColor);
            canvas.FrameRect(rect, SelectedBorderColor);
        }
    } else if (macOS) {
        StretchMenuBitmap(canvas, "MACOS_MENU_BAR", 20, rect);
    } else {
        PaintBarAndBackground(canvas, ToRECT(layout.bar), ToRECT(layout.background));
    }

    if (!UseSystemFont || item->Default) canvas.SetFont(ItemFont(*this, item->Default));
    canvas.SetBrushClear();
    canvas.SetTextColor(!item->Enabled ? rt::clGray : highlighted ? SelectedFontColor : FontColor);
    const UINT align = layout.textRightAligned ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    RECT caption = ToRECT(layout.caption);
    canvas.DrawText(item->Caption, caption, DT_SINGLELINE | DT_VCENTER | align);
    if (!shortcut.empty()) {
        RECT place = ToRECT(layout.shortcut);
        canvas.DrawText(shortcut, place, DT_SINGLELINE | DT_VCENTER | align);
    }

    const bool hasImage = ValidImage(item);
    if (item->Checked) {
        if (hasImage) {
            canvas.FrameRect(ToRECT(layout.imageFrame), rt::clBlack);
            canvas.FillRect(ToRECT(layout.imageFill), SelectedColor);
        } else {
            DrawListImage(CheckMarks(), 0, canvas.Handle(), layout.checkMark, !item->Enabled);
        }
    }
    if (hasImage) DrawListImage(Images, item->ImageIndex, canvas.Handle(), layout.checkMark, !item->Enabled);
}
