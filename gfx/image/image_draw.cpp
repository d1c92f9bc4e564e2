#include "batch.h"
#include "gl_state.h"
#include "image_table.h"
#include "state.h"
#include "texture_filter.h"

// The display's transform starts with a +0.375 shift; taking it back puts
// the quad's corners on whole pixel boundaries, one texel a pixel.
constexpr float kPixelOffset = 0.375f;

// The texels' own colours: white modulates nothing.
constexpr GrColor kUntinted = {255, 255, 255};

static void bindImageTexture(GLuint texture)
{
    gls::bindTexture(GL_TEXTURE_2D, texture);
    applyTextureFilter(GL_TEXTURE_2D);
    gls::texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    gls::texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
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

    gls::enable(GL_TEXTURE_2D);
    gls::enableTexCoordArray();
    gls::enable(GL_BLEND);
    bindImageTexture(image->texture);
    if (batching()) {
        batchDraw(GL_TRIANGLE_STRIP, vertices, texCoords, 4, kUntinted);
    } else {
        glColor4f(1, 1, 1, 1);
        glVertexPointer(2, GL_FLOAT, 0, vertices);
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        ++g_draw.counters.draws;
        g_draw.counters.vertices += 4;
    }
    gls::disable(GL_TEXTURE_2D);
    gls::disableTexCoordArray();
    gls::disable(GL_BLEND);
    GR_CHECK_GL("image");
}
