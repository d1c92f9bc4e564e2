#include "image_table.h"
#include "state.h"
#include "texture_filter.h"

// The display's transform starts with a +0.375 shift; taking it back puts
// the quad's corners on whole pixel boundaries, one texel a pixel.
constexpr float kPixelOffset = 0.375f;

static void bindImageTexture(GLuint texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    applyTextureFilter(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

void grImage(int x, int y)
{
    const ImageRecord* image = loadedImage(g_imageTable, g_draw.image);
    if (!image)
        return;
    const float left = static_cast<float>(x) - kPixelOffset;
    const float bottom = static_cast<float>(y) - kPixelOffset;
    const float right = left + image->width;
    const float top = bottom + image->height;
    // Texture row 0 is the image's top row, so t runs from tMax at the bottom to 0.
    const float vertices[] = {left, bottom, left, top, right, bottom, right, top};
    const float texCoords[] = {0, image->tMax, 0, 0, image->sMax, image->tMax, image->sMax, 0};

    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_BLEND);
    bindImageTexture(image->texture);
    glColor4f(1, 1, 1, 1);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_BLEND);
    GR_CHECK_GL("image");
}
