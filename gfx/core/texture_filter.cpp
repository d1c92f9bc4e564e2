#include "texture_filter.h"

#include "state.h"

void applyTextureFilter(TextureSlot slot)
{
    backend().setTextureFilter(slot, g_draw.antialias ? TextureFilter::Linear : TextureFilter::Nearest);
}
