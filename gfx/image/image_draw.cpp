#include "image_table.h"
#include "state.h"
#include "texture_filter.h"

// The display's transform starts with a +0.375 shift; taking it back puts
// the quad's corners on whole pixel boundaries, one texel a pixel.
constexpr float kPixelOffset = 0.375f;

// The texels' own colours: white modulates nothing.
constexpr GrColor kUntinted = {255, 255, 255};

static void bindImageTexture(TextureHandle texture)
{
    backend().bindTexture(TextureSlot::Surface, texture);
    applyTextureFilter(TextureSlot::Surface);
    backend().setTextureWrap(TextureSlot::Surface, TextureWrap::Clamp);
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

    Backend& target = backend();
    target.setCapability(Capability::SurfaceTexture, true);
    target.setCapability(Capability::TexCoords, true);
    target.setCapability(Capability::Blend, true);
    bindImageTexture(image->texture);
    target.draw({Primitive::TriangleStrip, vertices, texCoords, 4, kUntinted, true});
    target.setCapability(Capability::SurfaceTexture, false);
    target.setCapability(Capability::TexCoords, false);
    target.setCapability(Capability::Blend, false);
    GR_CHECK_GL("image");
}
