#include "texture_filter.h"

#include "state.h"

void applyTextureFilter(GLenum target)
{
    const GLint filter = g_draw.antialias ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, filter);
}
