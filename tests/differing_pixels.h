// How many pixels of two frames differ in colour (alpha is no part of what
// a window shows); pixels one frame lacks count as differing.
#pragma once

#include <algorithm>
#include <cstddef>

#include "snapshot.h"

inline int differingPixels(const RgbaImage& a, const RgbaImage& b)
{
    const size_t common = std::min(a.pixels.size(), b.pixels.size());
    int n = static_cast<int>((std::max(a.pixels.size(), b.pixels.size()) - common) / 4);
    for (size_t i = 0; i + 3 < common; i += 4)
        n += !std::equal(&a.pixels[i], &a.pixels[i] + 3, &b.pixels[i]);
    return n;
}
