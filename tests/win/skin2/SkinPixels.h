#pragma once
// Pixel helpers for the skinned-control tests: controls and menu items are
// drawn into memory bitmaps and read back exactly.
#include <functional>

#include "runtime/Graphics.h"

namespace skintest {

// Pixels of `area` for which pred holds.
inline int CountPixels(const rt::Bitmap& b, const RECT& area, const std::function<bool(rt::TColor)>& pred) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pred(b.Pixel(x, y))) ++n;
    return n;
}

inline int CountColour(const rt::Bitmap& b, const RECT& area, rt::TColor c) {
    return CountPixels(b, area, [c](rt::TColor p) { return p == c; });
}

inline bool AllColour(const rt::Bitmap& b, const RECT& area, rt::TColor c) {
    return CountColour(b, area, c) == (area.right - area.left) * (area.bottom - area.top);
}

inline bool SamePixels(const rt::Bitmap& a, const rt::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

}  // namespace skintest
