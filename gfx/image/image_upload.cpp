#include "image_upload.h"

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
    glBindTexture(GL_TEXTURE_2D, *name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size.width, size.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    if (glGetError() == GL_NO_ERROR)
        return true;
    if (glIsTexture(*name))
        glDeleteTextures(1, name);
    *name = 0;
    return false;
}
