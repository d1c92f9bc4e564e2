#include "shell_images.h"

extern const unsigned char toolbar_png[];
extern const size_t toolbar_png_size;
extern const unsigned char icon_256_png[];
extern const size_t icon_256_png_size;
extern const unsigned char icon_48_png[];
extern const size_t icon_48_png_size;
extern const unsigned char icon_32_png[];
extern const size_t icon_32_png_size;
extern const unsigned char icon_16_png[];
extern const size_t icon_16_png_size;

EmbeddedFile ToolbarPng() { return {toolbar_png, toolbar_png_size}; }

EmbeddedFile IconPng(int size)
{
    switch (size) {
    case 256:
        return {icon_256_png, icon_256_png_size};
    case 48:
        return {icon_48_png, icon_48_png_size};
    case 32:
        return {icon_32_png, icon_32_png_size};
    case 16:
        return {icon_16_png, icon_16_png_size};
    default:
        return {nullptr, 0};
    }
}
