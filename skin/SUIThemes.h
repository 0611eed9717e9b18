#pragma once
// What the skinned controls share on the Windows side: the default style,
// the theme-file component, the style bitmaps cut into state pieces, the
// stretch-with-fixed-corners drawing and the parent-background copy.
#include "runtime/StdControls.h"
#include "skin/ThemeTable.h"

// A theme read from an external file. The program never loads one, so it
// is never ready and FromThemeFile draws like DeepBlue.
class TsuiFileTheme : public rt::Component {
public:
    explicit TsuiFileTheme(rt::Component* owner) : rt::Component(owner) {}
    const char* ClassName() const override { return "TsuiFileTheme"; }
    bool Ready() const { return false; }
};

namespace skin {

// The style a skinned control takes at construction: DeepBlue unless its
// owner is a form holding a skinned form panel.
TsuiUIStyle DefaultStyleFor(rt::Component* owner);

// The built-in style a control with this style and theme file draws in.
TsuiUIStyle ResolvedBuiltInStyle(const TsuiFileTheme* fileTheme, TsuiUIStyle style);
// The same for a control without a theme file: FromThemeFile draws like
// DeepBlue.
TsuiUIStyle BuiltInStyle(TsuiUIStyle style);

// Loads the bitmap of a bitmap entry (kind 2) into target: the whole bitmap
// with count 0, else piece index (1-based) of count equal pieces. Nothing
// happens for an absent target, a non-bitmap entry or an empty name; then
// false. Each style's bitmaps are read from the resources once and kept.
bool LoadStyleBitmap(TsuiUIStyle style, int entry, rt::Bitmap* target, int count = 0, int index = 0);
void CutStripPiece(const rt::Bitmap& source, rt::Bitmap& target, int count, int index);

// Draws a state image into rect (which starts at the canvas origin) with
// its corners unscaled and its middle stretched; magenta is the key colour
// of edges and centre always, of the corners only when transparent.
void DrawSkinImage(const rt::Bitmap& image, rt::Canvas& canvas, const RECT& rect, bool transparent);

// Paints the control's parent (background and contents) into canvas as if
// canvas were the control's own area. Nothing when there is no parent.
void PaintParentBackground(rt::Canvas& canvas, rt::Control* control);

}  // namespace skin
