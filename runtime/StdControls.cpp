#include "runtime/StdControls.h"

#include "runtime/SystemLibraries.h"

namespace rt {

// ---- Label ----

Label::Label(Component* owner) : GraphicControl(owner) {
    SetParentColor(true);
    SetBounds(0, 0, 65, 13);
}

void Label::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void Label::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void Label::SetAlignment(Alignment a) {
    alignment_ = a;
    Invalidate();
}

void Label::SetWordWrap(bool on) {
    wordWrap_ = on;
    AdjustSize();
}

void Label::SetShowAccelChar(bool on) {
    showAccelChar_ = on;
    AdjustSize();
    Invalidate();
}

void Label::CaptionChanged() {
    AdjustSize();
    Invalidate();
}

void Label::FontChanged() {
    AdjustSize();
    Invalidate();
}

void Label::AdjustSize() {
    if (!autoSize_) return;
    // Measured on the same kind of surface the label is painted on (an
    // off-screen bitmap), whose glyphs may be wider than the screen's.
    Bitmap surface(1, 1);
    int w, h;
    {
        Canvas canvas(surface.DC());
        canvas.SetFont(GetFont());
        RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
        UINT flags = DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0) | (showAccelChar_ ? 0 : DT_NOPREFIX);
        std::string text = Caption().empty() ? std::string(" ") : Caption();
        canvas.DrawText(text, r, flags);
        w = r.right;
        h = r.bottom;
    }
    SetBounds(Left(), Top(), wordWrap_ ? Width() : w, h);
}

void Label::Paint(Canvas& canvas) {
    RECT r = ClientRect();
    if (!transparent_) canvas.FillRect(r, Color());
    canvas.SetBrushClear();
    UINT flags = (wordWrap_ ? DT_WORDBREAK : 0) | (showAccelChar_ ? 0 : DT_NOPREFIX);
    if (alignment_ == Alignment::Right) flags |= DT_RIGHT;
    if (alignment_ == Alignment::Center) flags |= DT_CENTER;
    const Font f = GetFont();
    if (Enabled()) {
        canvas.SetFont(f);
        canvas.DrawText(Caption(), r, flags);
    } else {
        // Disabled text is embossed: a light copy one pixel down and right,
        // the grey text in place.
        canvas.SetFont(f);
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        canvas.SetTextColor(clBtnHighlight);
        canvas.DrawText(Caption(), shifted, flags);
        canvas.SetTextColor(clBtnShadow);
        canvas.DrawText(Caption(), r, flags);
    }
}

// ---- Image ----

Image::Image(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void Image::PictureChanged() {
    if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void Image::SetStretch(bool on) {
    stretch_ = on;
    Invalidate();
}

void Image::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void Image::SetAutoSize(bool on) {
    autoSize_ = on;
    PictureChanged();
}

void Image::Paint(Canvas& canvas) {
    if (picture_.Empty()) return;
    if (stretch_) {
        RECT r = ClientRect();
        if (transparent_) {
            TransparentBlit(canvas.Handle(), 0, 0, Width(), Height(), picture_.DC(), 0, 0, picture_.Width(),
                           picture_.Height(), ColorToRGB(picture_.BottomLeftColor()));
        } else {
            canvas.StretchDraw(r, picture_);
        }
        return;
    }
    if (transparent_)
        canvas.DrawTransparent(0, 0, picture_, picture_.BottomLeftColor());
    else
        canvas.Draw(0, 0, picture_);
}

// ---- Panel ----

Panel::Panel(Component* owner) : CustomControl(owner) { SetBounds(0, 0, 185, 41); }

void Panel::SetBevelOuter(Bevel b) {
    outer_ = b;
    Invalidate();
}

void Panel::SetBevelInner(Bevel b) {
    inner_ = b;
    Invalidate();
}

static void DrawBevel(Canvas& canvas, RECT& r, Bevel b) {
    if (b == Bevel::None) return;
    const TColor topLeft = b == Bevel::Lowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = b == Bevel::Lowered ? clBtnHighlight : clBtnShadow;
    canvas.SetPenColor(topLeft);
    canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
    canvas.SetPenColor(bottomRight);
    canvas.Polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
    InflateRect(&r, -1, -1);
}

void Panel::Paint(Canvas& canvas) {
    RECT r = ClientRect();
    DrawBevel(canvas, r, outer_);
    DrawBevel(canvas, r, inner_);
    if (!Caption().empty()) {
        canvas.SetBrushClear();
        canvas.SetFont(GetFont());
        UINT flags = DT_SINGLELINE | DT_VCENTER |
                     (alignment_ == Alignment::Center ? DT_CENTER : alignment_ == Alignment::Right ? DT_RIGHT : 0);
        canvas.DrawText(Caption(), r, flags);
    }
}

// ---- GroupBox ----

GroupBox::GroupBox(Component* owner) : CustomControl(owner) { SetBounds(0, 0, 185, 105); }

void GroupBox::Paint(Canvas& canvas) {
    canvas.SetFont(GetFont());
    const int th = canvas.TextHeight("0");
    RECT frame{0, th / 2, Width(), Height()};
    // An etched frame: shadow line, highlight line one pixel inside.
    RECT outer{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
    canvas.FrameRect(outer, clBtnShadow);
    RECT inner{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
    canvas.SetPenColor(clBtnHighlight);
    canvas.Polyline({{inner.left, inner.bottom - 2}, {inner.left, inner.top}, {inner.right - 2, inner.top}});
    canvas.Polyline({{inner.left - 1, inner.bottom - 1}, {inner.right - 1, inner.bottom - 1},
                     {inner.right - 1, inner.top - 2}});
    if (!Caption().empty()) {
        RECT tr{8, 0, 0, 0};
        canvas.DrawText(Caption(), tr, DT_CALCRECT | DT_SINGLELINE);
        RECT bg{tr.left - 1, tr.top, tr.right + 1, tr.bottom};
        canvas.FillRect(bg, Color());
        canvas.SetBrushClear();
        canvas.SetFont(GetFont());
        if (!Enabled()) canvas.SetTextColor(clBtnShadow);
        canvas.DrawText(Caption(), tr, DT_SINGLELINE);
    }
}

// ---- Edit ----

Edit::Edit(Component* owner) : WinControl(owner) {
    SetSelfPainted(false);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void Edit::CreateParams(CreateParamsA& p) {
    WinControl::CreateParams(p);
    p.BaseClass = "EDIT";
    p.Style |= ES_AUTOHSCROLL;
    p.Style &= ~WS_CLIPCHILDREN;
    if (readOnly_) p.Style |= ES_READONLY;
    p.ExStyle = border_ ? WS_EX_CLIENTEDGE : 0;
}

std::string Edit::Text() const {
    HWND h = HandleIfAllocated();
    if (!h) return Caption();
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return s;
}

void Edit::SetText(const std::string& s) {
    if (HandleIfAllocated()) {
        SetCaption(s);
        if (Text() != s) SetWindowTextA(HandleIfAllocated(), s.c_str());
    } else {
        const bool changed = s != Caption();
        SetCaption(s);
        if (changed) Change();
    }
}

void Edit::SetReadOnly(bool on) {
    readOnly_ = on;
    if (HandleIfAllocated()) SendMessageA(HandleIfAllocated(), EM_SETREADONLY, on, 0);
}

void Edit::CommandNotify(WORD code) {
    if (code == EN_CHANGE) {
        SetCaption(Text());
        Change();
    }
}

void Edit::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace rt
