// Batched submission draws exactly the pixels of exact submission: frames
// spread over the display's whole layout cycle, at every sample count the
// headless GL offers, rendered both ways and compared pixel for pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "display_renderer.h"
#include "differing_pixels.h"
#include "display_state.h"
#include "egl_headless.h"
#include "gr.h"
#include "layout.h"
#include "model.h"
#include "snapshot.h"
#include "test_backend.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
constexpr int kCycleFrames = 500;  // the layout's phase sequence, once round
constexpr int kEvery = 5;          // frames compared: one in kEvery

RgbaImage paint(DisplayRenderer& renderer, const EglPbufferSurface& surface, bool batched)
{
    grSetBatching(batched);
    renderer.Paint(true);
    grSetBatching(false);
    return readFramebuffer(kWidth, kHeight, surface.TopRowFirst());
}

void savePair(const RgbaImage& exact, const RgbaImage& batched, int samples, int frame)
{
    const std::string base = std::string(PANEL_TEST_OUTPUT) + "/batching_s" + std::to_string(samples) + "_f" +
                             std::to_string(frame);
    std::string error;
    writePng(base + "_exact.png", exact, &error);
    writePng(base + "_batched.png", batched, &error);
}

}  // namespace

TEST(BatchingPixelsAt, EverySampleCountOfTheTable)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    GlContextKind kind;
    ASSERT_TRUE(glContextKindFor(testBackend(), &kind)) << testBackend();
    renderer.UseBackend(testBackend(), eglProcAddress);
    for (const PixelFormatEntry& entry : renderer.Formats().Entries()) {
        SCOPED_TRACE(testing::Message() << entry.samples << " samples");
        EglPbufferSurface surface(kWidth, kHeight);
        surface.UseContextKind(kind);
        ASSERT_TRUE(renderer.Create(&surface, entry.samples));
        renderer.Resize(kWidth, kHeight);
        resetDisplayModel();
        for (int frame = 0; frame < kCycleFrames; ++frame) {
            if (frame % kEvery != 3) {  // frames 3, 8, 13, ... are compared
                // Moves the animation on as a drawn frame would.
                UpdateDisplayModel();
                advancePanelLayout(g_model.firstFrame, g_model.phase);
                continue;
            }
            const DisplayState before;
            const RgbaImage exact = paint(renderer, surface, false);
            before.restore();
            const RgbaImage batched = paint(renderer, surface, true);
            const int differing = differingPixels(exact, batched);
            EXPECT_EQ(differing, 0) << "frame " << frame;
            if (differing)
                savePair(exact, batched, entry.samples, frame);
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        renderer.Destroy();
    }
}
