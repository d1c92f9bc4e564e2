// Headless frames are drawn with a stencil buffer of their own, without the
// depth buffer the configurations pair it with: the display's stencil
// clipping must give the very pixels it gives with the packed buffer.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <vector>

#include "differing_pixels.h"
#include "display_renderer.h"
#include "egl_headless.h"
#include "gl_choice.h"
#include "gr_display.h"
#include "model.h"
#include "snapshot.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
constexpr int kFrames = 120;  // a stretch of the layout cycle, clipping in every frame
constexpr int kEvery = 40;    // frames compared: one in kEvery
// The share of pixels whose samples on an edge may break the tie the other
// way when the projection, not clip control, turns a frame upside down.
constexpr double kTiedEdgeShare = 0.005;

struct Frames {
    std::vector<RgbaImage> images;
    bool stencilOnly = false;
    GLint depthBits = -1;
    GLint stencilBits = -1;
    GLenum glError = GL_NO_ERROR;
};

Frames render(DisplayRenderer& renderer, int samples, bool packedStencil)
{
    Frames frames;
    EglPbufferSurface surface(kWidth, kHeight);
    surface.UsePackedStencil(packedStencil);
    if (!renderer.Create(&surface, samples))
        return frames;
    renderer.Resize(kWidth, kHeight);
    frames.stencilOnly = surface.StencilOnly();
    glGetIntegerv(GL_DEPTH_BITS, &frames.depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &frames.stencilBits);
    resetDisplayModel();
    for (int frame = 1; frame <= kFrames; ++frame) {
        renderer.Paint(true);
        if (frame % kEvery == 0)
            frames.images.push_back(readFramebuffer(kWidth, kHeight, surface.TopRowFirst()));
    }
    frames.glError = glGetError();  // while the context is still current
    renderer.Destroy();
    return frames;
}

}  // namespace

TEST(HeadlessFrame, StencilAloneDrawsThePixelsOfStencilPackedWithDepth)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    for (const PixelFormatEntry& entry : renderer.Formats().Entries()) {
        SCOPED_TRACE(testing::Message() << entry.samples << " samples");
        const Frames alone = render(renderer, entry.samples, false);
        const Frames packed = render(renderer, entry.samples, true);
        EXPECT_TRUE(alone.stencilOnly);
        EXPECT_EQ(alone.depthBits, 0);
        EXPECT_EQ(alone.stencilBits, 8);
        EXPECT_FALSE(packed.stencilOnly);
        EXPECT_GT(packed.depthBits, 0);
        EXPECT_EQ(packed.stencilBits, 8);
        EXPECT_EQ(alone.glError, static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(packed.glError, static_cast<GLenum>(GL_NO_ERROR));
        ASSERT_EQ(alone.images.size(), static_cast<size_t>(kFrames / kEvery));
        ASSERT_EQ(packed.images.size(), alone.images.size());
        for (size_t i = 0; i < alone.images.size(); ++i)
            EXPECT_EQ(differingPixels(alone.images[i], packed.images[i]), 0) << "frame " << (i + 1) * kEvery;
    }
}

namespace {

// A frame drawn with the clip control the target chose, or with the clip
// control turned back to lower left and the projection upside down instead,
// as a host without clip control draws.
RgbaImage drawUpsideDown(DisplayRenderer& renderer, int samples, GlContextKind kind, bool byProjection)
{
    EglPbufferSurface surface(kWidth, kHeight);
    surface.UseContextKind(kind);
    if (!renderer.Create(&surface, samples))
        return {};
    if (byProjection) {
        const bool es = kind == GlContextKind::Es3;
        const auto clipControl =
            reinterpret_cast<PFNGLCLIPCONTROLPROC>(eglProcAddress(es ? "glClipControlEXT" : "glClipControl"));
        if (!clipControl)
            return {};
        clipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
        grSetUpsideDown(true);
    }
    renderer.Resize(kWidth, kHeight);
    resetDisplayModel();
    for (int frame = 1; frame <= kEvery; ++frame)
        renderer.Paint(true);
    RgbaImage image = readFramebuffer(kWidth, kHeight, surface.TopRowFirst());
    grSetUpsideDown(false);
    renderer.Destroy();
    return image;
}

}  // namespace

// Hosts without clip control turn the projection upside down instead: the
// geometry must land exactly where the clip-controlled frame puts it. Pixel
// centres then give the very pixels; samples lying exactly on an edge may
// fall the other way (clip control also turns the fill rule), a small share
// of the edge pixels, where drawing upright moves every antialiased edge.
TEST(HeadlessFrame, UpsideDownProjectionDrawsThePixelsOfClipControl)
{
    const struct {
        const char* backend;
        GlContextKind kind;
    } kBackends[] = {{"gl1", GlContextKind::Compatibility}, {"es3", GlContextKind::Es3}};
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    for (const auto& backend : kBackends) {
        renderer.UseBackend(backend.backend, eglProcAddress);
        for (const PixelFormatEntry& entry : renderer.Formats().Entries()) {
            SCOPED_TRACE(testing::Message() << backend.backend << ", " << entry.samples << " samples");
            const RgbaImage clipped = drawUpsideDown(renderer, entry.samples, backend.kind, false);
            const RgbaImage projected = drawUpsideDown(renderer, entry.samples, backend.kind, true);
            ASSERT_FALSE(clipped.pixels.empty());
            ASSERT_FALSE(projected.pixels.empty());
            const int differing = differingPixels(clipped, projected);
            if (entry.samples == 0)
                EXPECT_EQ(differing, 0);
            else
                EXPECT_LT(differing, kWidth * kHeight * kTiedEdgeShare);
        }
    }
}
