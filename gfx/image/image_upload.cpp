#include "image_upload.h"

#include "gl_state.h"
#include "state.h"

int maxTextureSide()
{
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}

bool uploadImageTexture(const uint8_t* texels, const TextureSize& size, GLuint* name)
{
    drainGlErrors();
    glGenTextures(1, name);
    gls::bindTextureNow(GL_TEXTURE_2D, *name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size.width, size.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    if (glGetError() == GL_NO_ERROR) {
        ++g_draw.counters.textureUploads;
        return true;
    }
    if (glIsTexture(*name))
        gls::deleteTexture(*name);
    *name = 0;
    return false;
}
