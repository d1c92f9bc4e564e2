// The textures of the display's image table: one record per table entry,
// filled when the library starts and released when it shuts down.
#pragma once

#include "backends/backend.h"
#include "gr.h"

struct ImageRecord {
    TextureHandle texture;  // 0 while not loaded
    float width, height;
    float sMax, tMax;  // the part of the power-of-two texture the image fills
};

struct ImageTable {
    ImageRecord records[GR_MAX_IMAGES];
    int count;  // entries of the table loaded from; 0 while nothing was loaded
};

extern ImageTable g_imageTable;

// True when the current tables name images (the first entry has a file name).
bool imageTableInUse();

// Loads the entries in order into table, stopping at the first failure;
// entries before it keep their textures, the rest stay empty. Records of an
// earlier context are forgotten, not deleted: their names mean nothing here.
bool loadImages(const ImageSpec* entries, int count, ImageTable& table);

// Deletes the textures table holds and empties it.
void releaseImages(ImageTable& table);

// The loaded record at index, or null (counted as a rejected index).
const ImageRecord* loadedImage(const ImageTable& table, int index);
