// What both GDI rasterisers share: the identity transform every glyph
// outline is asked for with.
#pragma once

#include <windows.h>

// 1.0 on the diagonal, 16.16 fixed point.
constexpr MAT2 kIdentityTransform = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
