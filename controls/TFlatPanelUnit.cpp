#include "controls/TFlatPanelUnit.h"

#include "runtime/ParentBackground.h"
#include "skin/SkinGeometry.h"

namespace {

std::vector<POINT> ToPoints(const std::array<skin::Point, 3>& line) {
    std::vector<POINT> points;
    for (const skin::Point& p : line) points.push_back(POINT{p.x, p.y});
    return points;
}

}  // namespace

TFlatPanel::TFlatPanel(rt::Component* owner) : rt::CustomControl(owner) {
    SetParentFont(true);
    SetParentColor(true);
    SetBounds(0, 0, 185, 41);
}

void TFlatPanel::SetColors(int index, rt::TColor c) {
    colors_[index == 0 ? 0 : 1] = c;
    Invalidate();
}

void TFlatPanel::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void TFlatPanel::SetAlignment(rt::Alignment a) {
    alignment_ = a;
    Invalidate();
}

void TFlatPanel::PaintWindow(rt::Canvas& canvas) {
    RECT r = ClientRect();
    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (alignment_ == rt::Alignment::Center) flags |= DT_CENTER;
    if (alignment_ == rt::Alignment::Right) flags |= DT_RIGHT;

    if (transparent_)
        rt::PaintParentBackground(*this, canvas.Handle());
    else
        canvas.FillRect(r, Color());

    const skin::Rect client{r.left, r.top, r.right, r.bottom};
    for (const skin::FrameRing& ring : skin::FlatPanelFrame(client, 1)) {
        canvas.SetPenColor(colors_[0]);
        canvas.Polyline(ToPoints(ring.highlight));
        canvas.SetPenColor(colors_[1]);
        canvas.Polyline(ToPoints(ring.shadow));
    }

    canvas.SetFont(GetFont());
    canvas.SetBrushClear();
    if (Enabled()) {
        canvas.DrawText(Caption(), r, flags);
    } else {
        // Embossed: a light copy one pixel down and right under the grey text.
        OffsetRect(&r, 1, 1);
        canvas.SetTextColor(rt::clBtnHighlight);
        canvas.DrawText(Caption(), r, flags);
        OffsetRect(&r, -1, -1);
        canvas.SetTextColor(rt::clBtnShadow);
        canvas.DrawText(Caption(), r, flags);
    }
}
