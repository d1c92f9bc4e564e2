// The shell's images, embedded in the program as PNG files (drawn by
// tools/make_shell_images.py).
#pragma once

#include <cstddef>

struct EmbeddedFile {
    const unsigned char* data;
    size_t size;
};

// Bitmap IDR_MAINFRAME: the three 16 x 16 toolbar images (Start, Pause,
// About) side by side on the mask colour kToolbarMaskColour.
EmbeddedFile ToolbarPng();
constexpr unsigned char kToolbarMaskColour[3] = {192, 192, 192};
constexpr int kToolbarImageSize = 16;

// Icon IDR_MAINFRAME: 32-bit images of these sizes.
constexpr int kIconSizes[] = {256, 48, 32, 16};
// The icon image of one of kIconSizes; empty for any other size.
EmbeddedFile IconPng(int size);
