// Dash patterns as 1-D alpha textures: one texel per unit of line length.
#pragma once

#include "state.h"

// Number of texels one bit of the mask spans in the texture (repeat + 1,
// with repeat limited to 0..GR_MAX_PATTERN_REPEAT).
int patternBitTexels(const LinePattern& pattern);

// Pattern length in units of line length: 16 * (repeat + 1).
float patternLength(const LinePattern& pattern);

// Writes the texels of one repeat into out (room for 256) and returns their number.
int buildPatternTexels(const LinePattern& pattern, unsigned char* out);

// Hands the pattern's texels to the backend as a pattern texture; false
// (and no texture left behind) when the backend refuses it.
bool createPatternTexture(const LinePattern& pattern, TextureHandle* name);

// The record with its texture, creating it on first use; null on failure,
// leaving the record untouched so that the next selection retries.
PatternTexture* ensurePatternTexture(const LinePattern& pattern, PatternTexture& record);

void clearPatternTextures(PatternTexture* records, int count);
void releasePatternTextures(PatternTexture* records, int count);
