// Loading one image of the display's tables into a texture.
#pragma once

#include "image_table.h"

#include <string>

// Reads, keys and uploads the entry's file into *record; on failure (no
// file, undecodable, too large for a texture, no memory, a GL error) the
// record is left empty, no texture is left behind and *error says why,
// naming the file.
bool loadImage(const ImageSpec& entry, ImageRecord* record, std::string* error);
