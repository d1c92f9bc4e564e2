// Loading one image of the display's tables into a texture.
#pragma once

#include "image_table.h"

// Reads, keys and uploads the entry's file into *record; on failure (no
// file, undecodable, too large for a texture, no memory, a GL error) the
// record is left empty and no texture is left behind.
bool loadImage(const ImageSpec& entry, ImageRecord* record);
