#pragma once
// A see-through control's background: what its parent paints behind it.
#include "runtime/WinControl.h"

namespace rt {

// Has the parent of `control` erase and paint itself into dc, shifted so
// that the part lying under the control lands at dc's origin. A control
// without a parent gets nothing drawn.
void PaintParentBackground(Control& control, HDC dc);

}  // namespace rt
