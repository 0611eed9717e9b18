#include "skin/SUIThemes.h"

#include "runtime/ParentBackground.h"
#include "runtime/SystemLibraries.h"
#include "skin/SkinGeometry.h"

#include <map>
#include <memory>
#include <string>

namespace skin {

namespace {

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

COLORREF KeyColour() { return rt::ColorToRGB(skin::kKeyColour); }

}  // namespace

TsuiUIStyle DefaultStyleFor(rt::Component* /*owner*/) {
    // The starting look follows a skinned form panel on the owner form; no
    // window of this program carries one, so every control starts in
    // DeepBlue and its form's stored UIStyle then replaces it.
    return TsuiUIStyle::DeepBlue;
}

TsuiUIStyle ResolvedBuiltInStyle(const TsuiFileTheme* fileTheme, TsuiUIStyle style) {
    return skin::ResolveStyle(fileTheme && fileTheme->Ready(), style).style;
}

TsuiUIStyle BuiltInStyle(TsuiUIStyle style) { return ResolvedBuiltInStyle(nullptr, style); }

namespace {

// The bitmaps of one style, each loaded from the resources the first time
// it is asked for and kept for the life of the program; a failed load is
// remembered as an empty bitmap.
class StyleBitmapCache {
public:
    const rt::Bitmap& Get(const std::string& name) {
        auto it = bitmaps_.find(name);
        if (it == bitmaps_.end()) {
            auto bitmap = std::make_unique<rt::Bitmap>();
            if (!bitmap->LoadFromResourceName(name)) bitmap = std::make_unique<rt::Bitmap>();
            it = bitmaps_.emplace(name, std::move(bitmap)).first;
        }
        return *it->second;
    }

private:
    std::map<std::string, std::unique_ptr<rt::Bitmap>> bitmaps_;
};

const rt::Bitmap& CachedStyleBitmap(TsuiUIStyle style, const std::string& name) {
    static std::map<TsuiUIStyle, StyleBitmapCache> caches;
    return caches[style].Get(name);
}

}  // namespace

bool LoadStyleBitmap(TsuiUIStyle style, int entry, rt::Bitmap* target, int count, int index) {
    if (!target) return false;
    const skin::ThemeEntry e = skin::LookUpEntry(style, entry);
    if (e.kind != skin::EntryKind::Bitmap || e.name.empty()) return false;
    const rt::Bitmap& strip = CachedStyleBitmap(style, std::string(e.name));
    if (strip.Empty()) return false;
    if (count <= 0)
        target->Assign(strip);
    else
        CutStripPiece(strip, *target, count, index);
    return true;
}

void CutStripPiece(const rt::Bitmap& source, rt::Bitmap& target, int count, int index) {
    target.CopyFrom(source, ToRECT(skin::CutStripPiece(source.Width(), source.Height(), count, index)));
}

void DrawSkinImage(const rt::Bitmap& image, rt::Canvas& canvas, const RECT& rect, bool transparent) {
    const skin::Size destSize{rect.right - rect.left, rect.bottom - rect.top};
    const HDC dc = canvas.Handle();
    for (const skin::SkinPiece& piece : skin::SkinImagePieces({image.Width(), image.Height()}, destSize)) {
        const skin::Rect d = piece.dest.Offset(rect.left, rect.top);
        const rt::Bitmap* source = &image;
        skin::Rect s = piece.source;
        // A stretched piece is scaled into a bitmap of its destination's
        // size first, so the key colour is matched on the scaled pixels.
        rt::Bitmap scaled;
        if (piece.stretched) {
            scaled.StretchFrom(image, ToRECT(s), d.Width(), d.Height());
            source = &scaled;
            s = {0, 0, d.Width(), d.Height()};
        }
        if (piece.transparentAlways || transparent)
            rt::TransparentBlit(dc, d.left, d.top, d.Width(), d.Height(), source->DC(), s.left, s.top, s.Width(),
                           s.Height(), KeyColour());
        else
            BitBlt(dc, d.left, d.top, d.Width(), d.Height(), source->DC(), s.left, s.top, SRCCOPY);
    }
}

void PaintParentBackground(rt::Canvas& canvas, rt::Control* control) {
    if (control) rt::PaintParentBackground(*control, canvas.Handle());
}

}  // namespace skin
