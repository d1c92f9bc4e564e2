#include "texture_filter.h"

#include "gl_state.h"
#include "state.h"

void applyTextureFilter(GLenum target)
{
    const GLint filter = g_draw.antialias ? GL_LINEAR : GL_NEAREST;
    gls::texParameter(target, GL_TEXTURE_MIN_FILTER, filter);
    gls::texParameter(target, GL_TEXTURE_MAG_FILTER, filter);
}
