#pragma once
// The arithmetic of the skinned controls and the flat panel: where each piece
// of a theme bitmap goes, where glyphs, captions and focus rectangles sit,
// how much of a progress bar is filled, how big a menu item is. No Windows
// API here; the Windows painters turn these rectangles into GDI calls, so
// every rule is tested natively.
//
// Rectangles are (left, top, right, bottom) with right and bottom exclusive.
// "Half" of a value is the value divided by 2 rounded toward zero, also when
// the value is negative (a caption wider than its button).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Grows by dx and dy on every side; negative values shrink.
    Rect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect RectOf(Size s) { return {0, 0, s.width, s.height}; }

// ---------------------------------------------------------------------------
// Theme bitmaps

// Piece `index` (1-based) of `count` equal pieces of a horizontal strip.
// The piece is sourceWidth / count columns wide (rounded down) and the full
// height; the last piece is the rightmost columns, so remainder columns are
// skipped just left of it (a 53-pixel strip in three: 0-16, 17-33, 36-52).
// count <= 0 means the whole strip; an index outside 1..count gives an empty
// rectangle (nothing to copy).
Rect CutStripPiece(int sourceWidth, int sourceHeight, int count, int index);

// Which of the nine pieces of a stretched state image a piece is.
enum class SkinPart : uint8_t { TopLeft, BottomLeft, Left, TopRight, BottomRight, Right, Top, Centre, Bottom };

struct SkinPiece {
    SkinPart part;
    Rect source;             // in the image
    Rect dest;               // in the destination, which starts at (0, 0)
    bool stretched;          // false: a corner, copied unscaled (source and dest have one size)
    bool transparentAlways;  // true: magenta is transparent whatever the caller's flag
};

// DrawSkinImage: an image of `image` drawn onto a destination of `dest` with
// its corners unscaled and the rest stretched. Returns the pieces in drawing
// order (top-left, bottom-left, left, top-right, bottom-right, right, top,
// centre, bottom); a piece with no area, in its source or its destination,
// is left out, and an empty image or destination gives no pieces. Corners
// take the smaller of the image's and the destination's quadrant, keeping
// the image's own corner pixels; an edge whose destination is thinner than
// its source takes only the part of the source next to the outside, so a
// small button keeps its outline unscaled. Corners are drawn masked
// only when the caller asks for it; the stretched pieces are always drawn
// with magenta (0xFF00FF) transparent.
std::vector<SkinPiece> SkinImagePieces(Size image, Size dest);

// The key colour of every theme bitmap.
constexpr uint32_t kKeyColour = 0xFF00FF;

// ---------------------------------------------------------------------------
// Buttons

// The face of a button, as piece 1..3 of the three-face strip: disabled and
// normal use 1, pointer over 2, pressed 3 (pressed wins over hovering).
int ButtonFacePiece(bool enabled, bool pressed, bool hovering);

// Substitute size when a face cannot be loaded.
constexpr Size kBlankFace = {74, 21};

// Auto size from the whole three-face bitmap: one face. A zero height counts
// as 21 and a zero width as 74 (an unloadable bitmap).
Size ButtonAutoSize(Size wholeBitmap);

// The dotted focus rectangle inset by `margin` on every side.
Rect FocusRectangle(Size client, int margin);

enum class TsuiArrowButtonType : uint8_t { suiUp, suiDown };

// The filled triangle of the arrow button, centred on the client area
// (21 x 21 gives (7, 9), (10, 12), (13, 9) for suiDown).
std::array<Point, 3> ArrowTriangle(TsuiArrowButtonType arrow, Size client);

enum class TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A glyph bitmap exactly twice as wide as high holds two square images:
// normal, then disabled.
int GlyphImageCount(Size glyphBitmap);

struct GlyphImage {
    Rect source;  // the part of the glyph bitmap to draw
    bool greyed;  // draw it in the platform's disabled form
};
// The image a button draws: a two-image glyph picks image 1 or 2 and is
// never greyed; a single glyph is greyed while the button is disabled.
GlyphImage SelectGlyphImage(Size glyphBitmap, bool enabled);

struct GlyphPlacement {
    Point glyph;    // top-left of the glyph image, already moved while pressed
    Point caption;  // stored caption position; CaptionPasses adds the press shift
};
// Glyph and caption positions for a button of `button` size with a caption
// of `text` size (measured in the button font) and the whole glyph bitmap
// `glyphBitmap`, of which a two-image glyph places one image (see
// GlyphImageCount). While pressed the glyph moves by (1, 1). The caption is
// then drawn single-line from its position to the button's right and bottom
// edges.
GlyphPlacement PlaceGlyph(TButtonLayout layout, Size button, Size glyphBitmap, Size text, int spacing,
                          bool pressed);

// One drawing of a caption: offset from its place, and its colour (nullopt:
// the font's colour). A disabled caption is a white copy one pixel right and
// down under a grey one; a pressed caption moves one pixel right and down.
struct CaptionPass {
    int dx = 0;
    int dy = 0;
    std::optional<uint32_t> colour;
    friend bool operator==(const CaptionPass&, const CaptionPass&) = default;
};
std::vector<CaptionPass> CaptionPasses(bool enabled, bool pressed);

// A measured text block centred in `area` (offsets rounded toward zero),
// for text measured word-wrapped and then drawn centred in the result.
Rect CentreBlock(const Rect& area, Size measured);

// Top-left of a single text line centred on an area starting at (0, 0):
// ((width - text width) / 2, (height - text height) / 2), rounded toward zero.
Point CentredOrigin(Size area, Size text);

// ---------------------------------------------------------------------------
// Progress bar

// (Position - Min) / (Max - Min) x 100 truncated toward zero; 0 when Min = Max.
// Not clamped: 150 of 100 is 150.
int PercentDone(int min, int max, int position);

// The caption the bar shows: PercentDone followed by "%".
std::string ProgressCaption(int min, int max, int position);

// The filled part of a bar `length` pixels long: 0 when Min >= Max or
// Position <= Min, the whole length when Position > Max, else the share
// truncated toward zero. The painter passes client width - 1 and draws at
// least one column.
int FilledExtent(int min, int max, int position, int length);

// SmartShowCaption hides the caption while the bar sits at Min.
bool ProgressShowsCaption(bool showCaption, bool smartShowCaption, int position, int min);

// ---------------------------------------------------------------------------
// Check box

// The glyph as piece 1..4 of the four-glyph strip: checked 1, unchecked 2,
// checked and disabled 3, unchecked and disabled 4.
int CheckBoxGlyphPiece(bool checked, bool enabled);

// AutoSize: height max(text height of "W" + 2, glyph height) + 4, width
// glyph width + caption width + 8.
Size CheckBoxAutoSize(Size glyph, int textHeightW, int captionWidth);

struct CheckBoxLayout {
    Point glyph;               // top-left of the glyph
    Rect caption;              // single line, top aligned
    bool captionRightAligned;  // right-to-left boxes align the caption right
    Rect focus;                // the dotted focus rectangle
};
// Glyph, caption and focus of a check box (textHeightW: the height of "W" in
// its font). rightToLeft only when the box asks for it and the system runs
// right-to-left; the glyph then sits at the right.
CheckBoxLayout PlaceCheckBox(Size client, Size glyph, int textHeightW, bool rightToLeft);

// ---------------------------------------------------------------------------
// Popup menu

// An item whose caption is exactly "-".
bool IsMenuSeparator(std::string_view caption);

// Item height: a separator takes separatorHeight, any other item the larger
// of its caption's text height and menuItemHeight.
int MeasureMenuItemHeight(bool separator, int textHeight, int menuItemHeight, int separatorHeight);

// Item width: caption width (with its "&") + shortcut text width + bar + 40.
int MeasureMenuItemWidth(int captionWidth, int shortcutWidth, int barWidth);

// The colour of column `column` (0 at the bar's outer edge) of a gradient
// side bar `barWidth` wide, both colours RGB (convert system colours first).
// The outer column is `from`, the inner column `to`; in between each channel
// is from + (to - from) x column / barWidth truncated toward zero. A
// one-column bar shows `to`, which is drawn last.
uint32_t BarColumnColour(uint32_t from, uint32_t to, int barWidth, int column);

// Where an ordinary item or a separator draws its parts inside item
// rectangle `item`. Right-to-left mirrors every rectangle about the item's
// centre (bar at the right, text right-aligned, check mark at right - 20).
struct MenuItemLayout {
    Rect bar;                    // side bar (empty when barWidth is 0)
    Rect background;             // the rest, filled with the item colour
    Rect caption;                // caption, single line, vertically centred
    Rect shortcut;               // shortcut text, aligned like the caption
    bool textRightAligned;
    Point checkMark;             // the 16 x 16 check mark or the item image
    Rect imageFrame;             // black frame of a checked item with an image
    Rect imageFill;              // its inside, in the selected colour
    Point separatorFrom;         // separator line; separatorTo is not drawn
    Point separatorTo;
};
MenuItemLayout PlaceMenuItem(const Rect& item, int barWidth, int shortcutWidth, bool rightToLeft);

// The flat frame around a menu window (window rectangle `window`, screen
// coordinates): a black frame, a white frame one pixel inside it, then a
// line in the menu-border colour through the five points.
struct MenuFlatFrame {
    Rect black;
    Rect white;
    std::array<Point, 5> line;
};
MenuFlatFrame FlatMenuFrame(const Rect& window);

// ---------------------------------------------------------------------------
// Flat panel frame

// One ring of the frame, drawn as two polylines whose last points are not
// drawn: the highlight runs bottom-left, top-left, top-right; the shadow
// top-right, bottom-right, one pixel left of bottom-left. So the left and
// top edges take the highlight colour, the right and bottom edges (with the
// bottom-left pixel) the shadow colour.
struct FrameRing {
    std::array<Point, 3> highlight;
    std::array<Point, 3> shadow;
};
// `width` rings, each one pixel inside the one before.
std::vector<FrameRing> FlatPanelFrame(const Rect& client, int width);

}  // namespace skin
