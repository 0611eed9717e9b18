#include "runtime/Control.h"

#include "runtime/Forms.h"

namespace rt {

unsigned KeyboardShift() {
    unsigned s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// ---- Control ----

Control::Control(Component* owner) : Component(owner) {}

Control::~Control() {
    if (parent_) parent_->RemoveChild(this);
}

void Control::SetParent(WinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveChild(this);
    parent_ = parent;
    if (parent_) parent_->AddChild(this);
}

Form* Control::ParentForm() const {
    const Control* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<Form*>(const_cast<Control*>(c));
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (!IsWindowed() && parent_) Invalidate();  // the old place
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
}

void Control::BoundsChanged() {
    Invalidate();
    UpdateHintTool();
}

POINT Control::ClientToScreen(POINT p) const {
    if (IsWindowed()) {
        auto* self = static_cast<WinControl*>(const_cast<Control*>(this));
        ::ClientToScreen(self->Handle(), &p);
        return p;
    }
    p.x += left_;
    p.y += top_;
    return parent_ ? parent_->ClientToScreen(p) : p;
}

POINT Control::ScreenToClient(POINT p) const {
    if (IsWindowed()) {
        auto* self = static_cast<WinControl*>(const_cast<Control*>(this));
        ::ScreenToClient(self->Handle(), &p);
        return p;
    }
    if (parent_) p = parent_->ScreenToClient(p);
    p.x -= left_;
    p.y -= top_;
    return p;
}

void Control::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    CaptionChanged();
}

void Control::CaptionChanged() { Invalidate(); }

void Control::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    UpdateHintTool();
}

void Control::SetShowHint(bool on) {
    showHint_ = on;
    UpdateHintTool();
}

void Control::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    EnabledChanged();
}

void Control::EnabledChanged() { Invalidate(); }

void Control::SetVisible(bool on) {
    if (on == visible_) return;
    if (!on) Invalidate();
    visible_ = on;
    VisibleChanged();
}

void Control::VisibleChanged() { Invalidate(); }

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

Font Control::GetFont() const {
    if (parentFont_ && parent_) return parent_->GetFont();
    return font_;
}

void Control::SetFont(const Font& f) {
    font_ = f;
    parentFont_ = false;
    FontChanged();
}

void Control::SetParentFont(bool on) {
    if (!on && parentFont_) font_ = GetFont();
    parentFont_ = on;
    FontChanged();
}

void Control::FontChanged() { Invalidate(); }

TColor Control::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void Control::SetColor(TColor c) {
    color_ = c;
    parentColor_ = false;
    ColorChanged();
}

void Control::SetParentColor(bool on) {
    if (!on && parentColor_) color_ = Color();
    parentColor_ = on;
    ColorChanged();
}

void Control::ColorChanged() { Invalidate(); }

void Control::Invalidate() {}

void Control::Repaint() {
    Invalidate();
    WinControl* w = IsWindowed() ? static_cast<WinControl*>(this) : parent_;
    if (w && w->HandleAllocated()) UpdateWindow(w->HandleIfAllocated());
}

void Control::Click() {
    if (OnClick) OnClick(this);
}

void Control::MouseDown(MouseButton button, unsigned shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void Control::MouseUp(MouseButton button, unsigned shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void Control::MouseMove(unsigned shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void Control::UpdateHintTool() {
    Form* form = ParentForm();
    if (!form || !form->HandleAllocated()) return;
    HWND host = IsWindowed() ? static_cast<WinControl*>(this)->HandleIfAllocated()
                             : (parent_ ? parent_->HandleIfAllocated() : nullptr);
    if (!host) return;
    HWND tip = form->TooltipHandle();
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = IsWindowed() ? GetParent(host) : host;
    ti.uId = IsWindowed() ? reinterpret_cast<UINT_PTR>(host) : reinterpret_cast<UINT_PTR>(this);
    if (IsWindowed() && !ti.hwnd) ti.hwnd = host;
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!showHint_ || hint_.empty()) return;
    ti.uFlags = TTF_SUBCLASS | (IsWindowed() ? TTF_IDISHWND : 0);
    if (!IsWindowed()) ti.rect = BoundsRect();
    std::string text = hint_;
    ti.lpszText = text.data();
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// ---- GraphicControl ----

void GraphicControl::Invalidate() {
    WinControl* p = Parent();
    if (p && p->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(p->HandleIfAllocated(), &r, FALSE);
    }
}

}  // namespace rt
