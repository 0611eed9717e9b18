#include "skin/SUIButton.h"

#include <algorithm>

#include "runtime/Forms.h"
#include "runtime/Strings.h"
#include "runtime/SystemLibraries.h"

namespace {

constexpr UINT_PTR kRepeatTimerId = 1;

// Word-wrapped, tab-expanded, "&" marking the accelerator letter.
constexpr UINT kCaptionFlags = DT_WORDBREAK | DT_EXPANDTABS;

RECT ToRECT(const skin::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The embossed look of a glyph on a disabled button: its darker pixels as a
// highlight copy one pixel right and down under a shadow copy in place. The
// transparent colour and light pixels stay background.
void DrawGreyedGlyph(HDC dc, const rt::Bitmap& glyph, const skin::Rect& source, int x, int y) {
    const rt::TColor key = glyph.TopLeftColor();
    const COLORREF highlight = rt::ColorToRGB(rt::clBtnHighlight);
    const COLORREF shadow = rt::ColorToRGB(rt::clBtnShadow);
    for (const auto& [dx, colour] : {std::pair{1, highlight}, std::pair{0, shadow}}) {
        for (int sy = source.top; sy < source.bottom; ++sy) {
            for (int sx = source.left; sx < source.right; ++sx) {
                const rt::TColor c = glyph.Pixel(sx, sy);
                const int luma = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
                if (c == key || luma >= 0xC0) continue;
                SetPixelV(dc, x + sx - source.left + dx, y + sy - source.top + dx, colour);
            }
        }
    }
}

}  // namespace

// ---- TsuiCustomButton ----

TsuiCustomButton::TsuiCustomButton(rt::Component* owner) : rt::CustomControl(owner) {
    SetTabStop(true);
    SetParentColor(true);
    uiStyle_ = skin::DefaultStyleFor(owner);
}

TsuiCustomButton::~TsuiCustomButton() { StopRepeatTimer(); }

void TsuiCustomButton::CreateParams(rt::CreateParamsA& params) {
    rt::CustomControl::CreateParams(params);
    // A quick second click is an ordinary click, not a double click.
    params.ClassStyle = 0;
}

void TsuiCustomButton::AfterCreateHandle() { activeDefault_ = default_; }

void TsuiCustomButton::SetUIStyle(skin::TsuiUIStyle style) {
    uiStyle_ = style;
    StyleChanged();
    Invalidate();
}

void TsuiCustomButton::SetAutoSize(bool on) {
    autoSize_ = on;
    ApplyAutoSize();
    Invalidate();
}

void TsuiCustomButton::ApplyAutoSize() {
    if (!autoSize_) return;
    // The stored style, not the resolved one: FromThemeFile has no size.
    rt::Bitmap whole;
    skin::LoadStyleBitmap(uiStyle_, skin::entry::Button, &whole);
    const skin::Size size = skin::ButtonAutoSize({whole.Width(), whole.Height()});
    SetBounds(Left(), Top(), size.width, size.height);
}

void TsuiCustomButton::SetTransparent(bool on) {
    transparent_ = on;
    TransparentChanged();
}

void TsuiCustomButton::TransparentChanged() {
    maskFace_ = transparent_;
    Invalidate();
}

void TsuiCustomButton::SetDefault(bool on) {
    default_ = on;
    rt::Form* form = ParentForm();
    if (HandleAllocated() && form) form->FocusedControlChanged(form->ActiveControl());
}

void TsuiCustomButton::SetFocusedRectMargin(int margin) {
    focusedRectMargin_ = margin;
    Invalidate();
}

void TsuiCustomButton::SetMouseState(bool hovering, bool pressed) {
    if (hovering == hovering_ && pressed == pressed_) return;
    hovering_ = hovering;
    pressed_ = pressed;
    Invalidate();
}

void TsuiCustomButton::StartRepeatTimer() {
    if (timerRunning_) return;
    SetTimer(Handle(), kRepeatTimerId, static_cast<UINT>(std::max(0, MouseContinuouslyDownInterval)), nullptr);
    timerRunning_ = true;
}

void TsuiCustomButton::StopRepeatTimer() {
    if (!timerRunning_) return;
    if (HandleAllocated()) KillTimer(HandleIfAllocated(), kRepeatTimerId);
    timerRunning_ = false;
}

void TsuiCustomButton::Click() {
    if (pressed_) {
        StopRepeatTimer();
        SetMouseState(hovering_, false);
    }
    if (rt::Form* form = ParentForm()) form->SetModalResult(modalResult_);
    rt::CustomControl::Click();
}

void TsuiCustomButton::MouseDown(rt::MouseButton button, unsigned shift, int x, int y) {
    if (button == rt::MouseButton::Left) {
        SetMouseState(hovering_, true);
        StartRepeatTimer();
        if (TabStop() && CanFocus()) {
            // A button that cannot take the focus still presses.
            try {
                SetFocus();
            } catch (const rt::Error&) {
            }
        }
    }
    rt::CustomControl::MouseDown(button, shift, x, y);
}

void TsuiCustomButton::MouseMove(unsigned shift, int x, int y) {
    rt::CustomControl::MouseMove(shift, x, y);
    // Dragged off while held: the button lets go, though the timer keeps
    // ticking until release or leave.
    if (x < 0 || x > Width() || y < 0 || y > Height()) SetMouseState(false, false);
}

void TsuiCustomButton::MouseEnter() {
    SetMouseState(true, pressed_);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TsuiCustomButton::MouseLeave() {
    StopRepeatTimer();
    SetMouseState(false, false);
    if (OnMouseExit) OnMouseExit(this);
}

void TsuiCustomButton::CancelMode() {
    rt::CustomControl::CancelMode();
    StopRepeatTimer();
    SetMouseState(false, false);
}

void TsuiCustomButton::KeyDown(WORD& key, unsigned shift) {
    if ((key == VK_SPACE || key == VK_RETURN) && Focused() && Enabled()) SetMouseState(hovering_, true);
    rt::CustomControl::KeyDown(key, shift);
}

void TsuiCustomButton::KeyUp(WORD& key, unsigned shift) {
    const bool release = (key == VK_SPACE || key == VK_RETURN) && Focused() && pressed_ && Enabled();
    rt::CustomControl::KeyUp(key, shift);
    if (release) {
        SetMouseState(hovering_, false);
        Click();
    }
}

bool TsuiCustomButton::DialogKey(WORD key, unsigned shift) {
    const bool wanted = (key == VK_RETURN && activeDefault_) || (key == VK_ESCAPE && cancel_);
    if (!wanted || (shift & (rt::ssShift | rt::ssCtrl | rt::ssAlt)) || !CanFocus()) return false;
    Click();
    return true;
}

bool TsuiCustomButton::DialogChar(char ch, unsigned shift) {
    if (!text::IsAccel(ch, Caption())) return false;
    // A plain letter counts while a skinned button has the focus, as the
    // focused button itself does nothing with letters.
    HWND focus = GetFocus();
    const bool fromButton = focus && SendMessageA(focus, SUIM_ISSKINNEDBUTTON, 0, 0) == 1;
    if (!(shift & rt::ssAlt) && !fromButton) return false;
    if (!Parent() || !Parent()->Enabled() || !Enabled() || !Visible()) return false;
    Click();
    return true;
}

void TsuiCustomButton::FocusChanged(rt::WinControl* focused) {
    auto* button = dynamic_cast<TsuiButton*>(focused);
    activeDefault_ = button ? button == this : default_;
    Invalidate();
}

void TsuiCustomButton::DoEnter() {
    rt::CustomControl::DoEnter();
    Invalidate();
}

void TsuiCustomButton::DoExit() {
    rt::CustomControl::DoExit();
    Invalidate();
}

LRESULT TsuiCustomButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case SUIM_ISSKINNEDBUTTON:
            return 1;
        case WM_TIMER:
            if (wp == kRepeatTimerId) {
                if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
                return 0;
            }
            break;
        case WM_SETTEXT: {
            // Text set on the window directly becomes the caption too.
            const LRESULT r = rt::CustomControl::WndProc(msg, wp, lp);
            if (lp) SetCaption(reinterpret_cast<const char*>(lp));
            return r;
        }
        default:
            break;
    }
    return rt::CustomControl::WndProc(msg, wp, lp);
}

void TsuiCustomButton::LoadFace(rt::Bitmap& face) const {
    const int piece = skin::ButtonFacePiece(Enabled(), pressed_, hovering_);
    if (!skin::LoadStyleBitmap(ResolvedStyle(), skin::entry::Button, &face, 3, piece) || face.Empty())
        face.SetSize(skin::kBlankFace.width, skin::kBlankFace.height);
}

void TsuiCustomButton::PaintWindow(rt::Canvas& canvas) {
    // The framework hands us the off-screen buffer of the whole client area.
    rt::Bitmap face;
    LoadFace(face);
    const RECT client = ClientRect();
    if (transparent_)
        skin::PaintParentBackground(canvas, this);
    else
        canvas.FillRect(client, Color());
    DrawFace(canvas, face);
    if (ShowsFocus()) DrawFocus(canvas);
    canvas.SetFont(GetFont());
    if (!text::Trim(Caption()).empty()) DrawCaption(canvas, Caption());
}

void TsuiCustomButton::DrawFace(rt::Canvas& canvas, const rt::Bitmap& face) {
    skin::DrawSkinImage(face, canvas, ClientRect(), maskFace_);
}

rt::Font TsuiCustomButton::CaptionFont() const {
    rt::Font font = GetFont();
    if (FocusShownBold() && ShowsFocus()) font.Style |= rt::fsBold;
    return font;
}

void TsuiCustomButton::DrawCaption(rt::Canvas& canvas, const std::string& caption) {
    canvas.SetBrushClear();
    const rt::Font font = CaptionFont();
    canvas.SetFont(font);
    const skin::Rect client{0, 0, Width(), Height()};
    for (const skin::CaptionPass& pass : skin::CaptionPasses(Enabled(), pressed_)) {
        const skin::Rect area = client.Offset(pass.dx, pass.dy);
        RECT measured = ToRECT(area);
        canvas.DrawText(caption, measured, kCaptionFlags | DT_CALCRECT);
        RECT block = ToRECT(skin::CentreBlock(
            area, {measured.right - measured.left, measured.bottom - measured.top}));
        canvas.SetTextColor(pass.colour.value_or(font.Color));
        canvas.DrawText(caption, block, kCaptionFlags | DT_CENTER);
    }
}

void TsuiCustomButton::DrawFocus(rt::Canvas& canvas) {
    canvas.DrawFocusRect(ToRECT(skin::FocusRectangle({Width(), Height()}, focusedRectMargin_)));
}

// ---- TsuiButton ----

TsuiButton::TsuiButton(rt::Component* owner) : TsuiCustomButton(owner) {
    SetBounds(0, 0, 80, 27);
    // The base cannot reach this class's style effects while it is built.
    SetUIStyle(UIStyle());
}

void TsuiButton::StyleChanged() {
    SetTransparent(skin::StyleFlag(ResolvedStyle(), skin::entry::ButtonTransparent));
    rt::Font f = GetFont();
    f.Color = rt::clBlack;
    SetFont(f);
}

void TsuiButton::SetGlyph(const rt::Bitmap& glyph) {
    glyph_.Assign(glyph);
    Invalidate();
}

void TsuiButton::SetLayout(skin::TButtonLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TsuiButton::SetSpacing(int spacing) {
    spacing_ = spacing;
    Invalidate();
}

void TsuiButton::DrawFace(rt::Canvas& canvas, const rt::Bitmap& face) {
    TsuiCustomButton::DrawFace(canvas, face);
    if (!glyph_.Empty()) DrawGlyph(canvas);
}

skin::GlyphPlacement TsuiButton::PlaceGlyphAndCaption(rt::Canvas& canvas) const {
    canvas.SetFont(GetFont());
    RECT measured{0, 0, 0, 0};
    canvas.DrawText(Caption(), measured, DT_CALCRECT | DT_SINGLELINE);
    return skin::PlaceGlyph(layout_, {Width(), Height()}, {glyph_.Width(), glyph_.Height()},
                            {measured.right - measured.left, measured.bottom - measured.top}, spacing_, Pressed());
}

void TsuiButton::DrawGlyph(rt::Canvas& canvas) {
    const skin::GlyphPlacement at = PlaceGlyphAndCaption(canvas);
    const skin::Size glyphSize{glyph_.Width(), glyph_.Height()};
    const skin::GlyphImage image = skin::SelectGlyphImage(glyphSize, Enabled());
    const skin::Rect& s = image.source;
    if (image.greyed) {
        DrawGreyedGlyph(canvas.Handle(), glyph_, s, at.glyph.x, at.glyph.y);
        return;
    }
    rt::TransparentBlit(canvas.Handle(), at.glyph.x, at.glyph.y, s.Width(), s.Height(), glyph_.DC(), s.left, s.top,
                   s.Width(), s.Height(), rt::ColorToRGB(glyph_.TopLeftColor()));
}

void TsuiButton::DrawCaption(rt::Canvas& canvas, const std::string& caption) {
    if (glyph_.Empty()) {
        TsuiCustomButton::DrawCaption(canvas, caption);
        return;
    }
    const skin::Point at = PlaceGlyphAndCaption(canvas).caption;
    canvas.SetBrushClear();
    const rt::Font font = CaptionFont();
    canvas.SetFont(font);
    for (const skin::CaptionPass& pass : skin::CaptionPasses(Enabled(), Pressed())) {
        RECT r{at.x + pass.dx, at.y + pass.dy, Width(), Height()};
        canvas.SetTextColor(pass.colour.value_or(font.Color));
        canvas.DrawText(caption, r, DT_SINGLELINE);
    }
}

bool TsuiButton::FocusShownBold() const {
    const skin::TsuiUIStyle style = ResolvedStyle();
    return style == skin::TsuiUIStyle::MacOS || style == skin::TsuiUIStyle::BlueGlass;
}

void TsuiButton::DrawFocus(rt::Canvas& canvas) {
    if (!FocusShownBold()) TsuiCustomButton::DrawFocus(canvas);
}

void UsePlainButtonLook(TsuiButton& button) {
    button.SetUIStyle(skin::TsuiUIStyle::WinXP);
    rt::Font f = button.GetFont();
    f.Height = -11;
    f.Color = rt::clBlack;
    button.SetFont(f);
}

// ---- TsuiArrowButton ----

TsuiArrowButton::TsuiArrowButton(rt::Component* owner) : TsuiCustomButton(owner) {
    SetBounds(0, 0, 21, 21);
    SetUIStyle(UIStyle());
}

void TsuiArrowButton::SetArrow(skin::TsuiArrowButtonType a) {
    arrow_ = a;
    Invalidate();
}

void TsuiArrowButton::StyleChanged() {
    SetTransparent(skin::StyleFlag(ResolvedStyle(), skin::entry::ButtonTransparent));
}

void TsuiArrowButton::DrawFace(rt::Canvas& canvas, const rt::Bitmap& face) {
    TsuiCustomButton::DrawFace(canvas, face);
    canvas.SetPenColor(rt::clBlack);
    canvas.SetBrushColor(rt::clBlack);
    std::vector<POINT> points;
    for (const skin::Point& p : skin::ArrowTriangle(arrow_, {Width(), Height()})) points.push_back({p.x, p.y});
    canvas.Polygon(points);
}
