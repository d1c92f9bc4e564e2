#pragma once

#include "backends/backend.h"

// Linear sampling while antialiasing is on, else nearest, for the texture
// of slot.
void applyTextureFilter(TextureSlot slot);
