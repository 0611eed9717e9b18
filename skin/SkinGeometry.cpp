#include "skin/SkinGeometry.h"

#include <algorithm>

namespace skin {

namespace {

// Integer division truncates toward zero, which is the rounding every
// placement rule of the controls uses.
int Half(int v) { return v / 2; }

// Mirrors a rectangle about the vertical centre line of `about`.
Rect MirrorX(const Rect& r, const Rect& about) {
    const int sum = about.left + about.right;
    return {sum - r.right, r.top, sum - r.left, r.bottom};
}

// The share of `length` that (value - low) is of (high - low), truncated
// toward zero; 64-bit so that large ranges cannot overflow.
int Share(int low, int high, int value, int length) {
    const int64_t num = (static_cast<int64_t>(value) - low) * length;
    return static_cast<int>(num / (static_cast<int64_t>(high) - low));
}

}  // namespace

Rect CutStripPiece(int sourceWidth, int sourceHeight, int count, int index) {
    if (count <= 0) return {0, 0, sourceWidth, sourceHeight};
    if (index < 1 || index > count) return {};
    const int piece = sourceWidth / count;
    if (index == count) return {sourceWidth - piece, 0, sourceWidth, sourceHeight};
    return {(index - 1) * piece, 0, index * piece, sourceHeight};
}

std::vector<SkinPiece> SkinImagePieces(Size image, Size dest) {
    const int w = image.width;
    const int h = image.height;
    const int dw = dest.width;
    const int dh = dest.height;
    const int hw = Half(w);
    const int hh = Half(h);
    const int hdw = Half(dw);
    const int hdh = Half(dh);
    std::vector<SkinPiece> pieces;
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return pieces;

    // A corner is the smaller of the image's and the destination's quadrant,
    // taken from the image's own corner and drawn in the destination's. Its
    // drawn area bounds the edges even when it is too small to draw.
    auto corner = [&](SkinPart part, const Rect& imageQuadrant, const Rect& destQuadrant, bool atRight,
                      bool atBottom) {
        const int pw = std::max(0, std::min(imageQuadrant.Width(), destQuadrant.Width()));
        const int ph = std::max(0, std::min(imageQuadrant.Height(), destQuadrant.Height()));
        const int sx = atRight ? imageQuadrant.right - pw : imageQuadrant.left;
        const int sy = atBottom ? imageQuadrant.bottom - ph : imageQuadrant.top;
        const int dx = atRight ? dw - pw : 0;
        const int dy = atBottom ? dh - ph : 0;
        const Rect drawn = {dx, dy, dx + pw, dy + ph};
        if (pw > 0 && ph > 0) {
            pieces.push_back({part, {sx, sy, sx + pw, sy + ph}, drawn, false, false});
        }
        return drawn;
    };

    // An edge or the centre is stretched; where its destination is thinner
    // than its source, only the source next to the outside is used, so
    // nothing is ever scaled down across the edge.
    auto stretch = [&](SkinPart part, Rect source, const Rect& target) {
        if (source.IsEmpty() || target.IsEmpty()) return;
        switch (part) {
            case SkinPart::Left:
                source.right = std::min(source.right, source.left + target.Width());
                break;
            case SkinPart::Right:
                source.left = std::max(source.left, source.right - target.Width());
                break;
            case SkinPart::Top:
                source.bottom = std::min(source.bottom, source.top + target.Height());
                break;
            case SkinPart::Bottom:
                source.top = std::max(source.top, source.bottom - target.Height());
                break;
            default:
                break;
        }
        pieces.push_back({part, source, target, true, true});
    };

    const Rect tl = corner(SkinPart::TopLeft, {0, 0, hw, hh}, {0, 0, hdw, hdh}, false, false);
    const Rect bl =
        corner(SkinPart::BottomLeft, {0, h - hh + 1, hw, h}, {0, dh - hdh + 1, hdw, dh}, false, true);
    stretch(SkinPart::Left, {0, hh, hw, h - hh}, {0, tl.bottom, tl.right, bl.top});
    const Rect tr =
        corner(SkinPart::TopRight, {w - hw + 1, 0, w, hh}, {dw - hdw + 1, 0, dw, hdh}, true, false);
    const Rect br = corner(SkinPart::BottomRight, {w - hw + 1, h - hh + 1, w, h},
                           {dw - hdw + 1, dh - hdh + 1, dw, dh}, true, true);
    // The right edge comes from one row lower than the left edge: with the
    // odd face heights (21, 23, 27) that row is the one just below the middle.
    stretch(SkinPart::Right, {w - hw + 1, h - hh, w, hh + 2}, {tr.left, tr.bottom, tr.right, br.top});
    stretch(SkinPart::Top, {hw, 0, w - hw + 1, hh}, {tl.right, 0, tr.left, tl.bottom});
    stretch(SkinPart::Centre, {hw, hh, w - hw + 1, h - hh}, {tl.right, tl.bottom, tr.left, br.top - 1});
    stretch(SkinPart::Bottom, {hw, h - hh, w - hw + 1, h}, {tl.right - 1, bl.top - 1, br.left, dh});
    return pieces;
}

int ButtonFacePiece(bool enabled, bool pressed, bool hovering) {
    if (!enabled) return 1;
    if (pressed) return 3;
    return hovering ? 2 : 1;
}

Size ButtonAutoSize(Size wholeBitmap) {
    const int height = wholeBitmap.height == 0 ? kBlankFace.height : wholeBitmap.height;
    const int width = wholeBitmap.width == 0 ? kBlankFace.width : wholeBitmap.width;
    return {width / 3, height};
}

Rect FocusRectangle(Size client, int margin) {
    return {margin, margin, client.width - margin, client.height - margin};
}

std::array<Point, 3> ArrowTriangle(TsuiArrowButtonType arrow, Size client) {
    const int x = Half(client.width - 6);
    const int y = Half(client.height - 3);
    if (arrow == TsuiArrowButtonType::suiDown) return {{{x, y}, {x + 3, y + 3}, {x + 6, y}}};
    return {{{x, y + 3}, {x + 3, y}, {x + 6, y + 3}}};
}

int GlyphImageCount(Size glyphBitmap) {
    return glyphBitmap.height > 0 && glyphBitmap.width == 2 * glyphBitmap.height ? 2 : 1;
}

GlyphImage SelectGlyphImage(Size glyphBitmap, bool enabled) {
    if (GlyphImageCount(glyphBitmap) == 2) {
        const int side = glyphBitmap.height;
        const int left = enabled ? 0 : side;
        return {{left, 0, left + side, side}, false};
    }
    return {RectOf(glyphBitmap), !enabled};
}

GlyphPlacement PlaceGlyph(TButtonLayout layout, Size button, Size glyphBitmap, Size text, int spacing,
                          bool pressed) {
    const int gw = GlyphImageCount(glyphBitmap) == 2 ? glyphBitmap.height : glyphBitmap.width;
    const int gh = glyphBitmap.height;
    const int w = button.width;
    const int h = button.height;
    const int tw = text.width;
    const int th = text.height;
    const int s = spacing;
    GlyphPlacement p;
    switch (layout) {
        case TButtonLayout::blGlyphLeft:
            p.glyph = {Half(w - gw - tw - s), Half(h - gh)};
            p.caption = {p.glyph.x + gw + s, Half(h - th)};
            break;
        case TButtonLayout::blGlyphRight:
            p.glyph = {Half(w + tw + s - gw), Half(h - gh)};
            p.caption = {p.glyph.x - tw - s, Half(h - th)};
            break;
        case TButtonLayout::blGlyphTop:
            p.glyph = {Half(w - gw), Half(h - th - gh - s)};
            p.caption = {Half(w - tw), p.glyph.y + gh + s};
            break;
        case TButtonLayout::blGlyphBottom:
            p.glyph = {Half(w - gw), Half(h + th + s - gh)};
            p.caption = {Half(w - tw), p.glyph.y - th - s};
            break;
    }
    if (pressed) p.glyph = {p.glyph.x + 1, p.glyph.y + 1};
    return p;
}

std::vector<CaptionPass> CaptionPasses(bool enabled, bool pressed) {
    if (!enabled) return {{1, 1, 0xFFFFFFu}, {0, 0, 0x808080u}};
    if (pressed) return {{1, 1, std::nullopt}};
    return {{0, 0, std::nullopt}};
}

Rect CentreBlock(const Rect& area, Size measured) {
    const int left = area.left + Half(area.Width() - measured.width);
    const int top = area.top + Half(area.Height() - measured.height);
    return {left, top, left + measured.width, top + measured.height};
}

Point CentredOrigin(Size area, Size text) {
    return {Half(area.width - text.width), Half(area.height - text.height)};
}

int PercentDone(int min, int max, int position) {
    if (min == max) return 0;
    return Share(min, max, position, 100);
}

std::string ProgressCaption(int min, int max, int position) {
    return std::to_string(PercentDone(min, max, position)) + "%";
}

int FilledExtent(int min, int max, int position, int length) {
    if (min >= max || position <= min) return 0;
    if (position > max) return length;
    return Share(min, max, position, length);
}

bool ProgressShowsCaption(bool showCaption, bool smartShowCaption, int position, int min) {
    return showCaption && (!smartShowCaption || position != min);
}

int CheckBoxGlyphPiece(bool checked, bool enabled) {
    if (enabled) return checked ? 1 : 2;
    return checked ? 3 : 4;
}

Size CheckBoxAutoSize(Size glyph, int textHeightW, int captionWidth) {
    return {glyph.width + captionWidth + 8, std::max(textHeightW + 2, glyph.height) + 4};
}

CheckBoxLayout PlaceCheckBox(Size client, Size glyph, int textHeightW, bool rightToLeft) {
    const int t = Half(client.height - textHeightW);
    const int g = Half(client.height - glyph.height);
    const int focusBottom = t + textHeightW + 2;
    if (rightToLeft) {
        return {{client.width - glyph.width - 1, g},
                {0, t, client.width - glyph.width - 4, client.height},
                true,
                {0, t, client.width - glyph.width - 2, focusBottom}};
    }
    return {{1, g},
            {glyph.width + 4, t, client.width, client.height},
            false,
            {glyph.width + 3, t, client.width, focusBottom}};
}

bool IsMenuSeparator(std::string_view caption) { return caption == "-"; }

int MeasureMenuItemHeight(bool separator, int textHeight, int menuItemHeight, int separatorHeight) {
    return separator ? separatorHeight : std::max(textHeight, menuItemHeight);
}

int MeasureMenuItemWidth(int captionWidth, int shortcutWidth, int barWidth) {
    return captionWidth + shortcutWidth + barWidth + 40;
}

uint32_t BarColumnColour(uint32_t from, uint32_t to, int barWidth, int column) {
    if (column >= barWidth - 1) return to;
    if (column <= 0) return from;
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((from >> shift) & 0xFF);
        const int b = static_cast<int>((to >> shift) & 0xFF);
        const int channel = a + (b - a) * column / barWidth;
        result |= static_cast<uint32_t>(channel) << shift;
    }
    return result;
}

MenuItemLayout PlaceMenuItem(const Rect& item, int barWidth, int shortcutWidth, bool rightToLeft) {
    const int bw = std::max(0, barWidth);
    const int l = item.left;
    const int t = item.top;
    const int r = item.right;
    const int b = item.bottom;
    const int x = l + 4;
    MenuItemLayout m;
    m.bar = {l, t, l + bw, b};
    m.background = {l + bw, t, r, b};
    m.caption = {l + bw + 4, t, r, b};
    m.shortcut = {r - shortcutWidth - 16, t, r, b};
    m.textRightAligned = false;
    m.checkMark = {x, t + 3};
    m.imageFrame = {x - 2, t + 1, x + 17, t + 20};
    m.imageFill = {x - 1, t + 2, x + 16, t + 19};
    m.separatorFrom = {l + bw + 4, t + 2};
    m.separatorTo = {r - 2, t + 2};
    if (!rightToLeft) return m;

    m.bar = MirrorX(m.bar, item);
    m.background = MirrorX(m.background, item);
    m.caption = MirrorX(m.caption, item);
    m.shortcut = MirrorX(m.shortcut, item);
    m.textRightAligned = true;
    const Rect mark = MirrorX({x, t + 3, x + 16, t + 19}, item);
    m.checkMark = {mark.left, mark.top};
    m.imageFrame = MirrorX(m.imageFrame, item);
    m.imageFill = MirrorX(m.imageFill, item);
    // The line covers [from, to); mirrored it covers the mirrored range.
    const Rect line = MirrorX({m.separatorFrom.x, t + 2, m.separatorTo.x, t + 3}, item);
    m.separatorFrom = {line.left, t + 2};
    m.separatorTo = {line.right, t + 2};
    return m;
}

MenuFlatFrame FlatMenuFrame(const Rect& window) {
    const Rect black = {window.left, window.top + 1, window.right - 1, window.bottom - 1};
    return {black,
            black.Inflate(-1, -1),
            {{{window.left, window.bottom - 1},
              {window.right - 1, window.bottom - 1},
              {window.right - 1, window.top},
              {window.right, window.top},
              {window.left, window.top}}}};
}

std::vector<FrameRing> FlatPanelFrame(const Rect& client, int width) {
    std::vector<FrameRing> rings;
    for (int k = 0; k < width; ++k) {
        const int l = client.left + k;
        const int t = client.top + k;
        const int r = client.right - 1 - k;
        const int b = client.bottom - 1 - k;
        rings.push_back({{{{l, b}, {l, t}, {r, t}}}, {{{r, t}, {r, b}, {l - 1, b}}}});
    }
    return rings;
}

}  // namespace skin
