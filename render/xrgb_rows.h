// Read-back frames turned into the 32-bit XRGB images that cairo (RGB24) and
// Wayland shared memory (XRGB8888) show.
#pragma once

#include <cstdint>

// data holds height rows of width RGBA pixels (bytes R, G, B, A), bottom row
// first, each row stride bytes apart (stride >= 4 * width). Turns them in
// place into rows of native-endian 32-bit words 0xFFRRGGBB, top row first.
void flipRgbaIntoXrgb(uint8_t* data, int width, int height, int stride);
