// Batched submission draws exactly the pixels of exact submission: frames
// spread over the display's whole layout cycle, at every sample count the
// headless target offers (the GL's, or the CPU backend's), rendered both ways and compared pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "display_renderer.h"
#include "differing_pixels.h"
#include "display_state.h"
#include "gr.h"
#include "headless_target.h"
#include "layout.h"
#include "model.h"
#include "snapshot.h"
#include "test_backend.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
constexpr int kCycleFrames = 500;  // the layout's phase sequence, once round
constexpr int kEvery = 5;          // frames compared: one in kEvery

RgbaImage paint(DisplayRenderer& renderer, HeadlessTarget& target, bool batched)
{
    grSetBatching(batched);
    renderer.Paint(true);
    grSetBatching(false);
    target.FinishFrame();
    RgbaImage image;
    EXPECT_TRUE(target.Read(kWidth, kHeight, &image));
    return image;
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
    HeadlessTarget target(testBackend());
    DisplayRenderer renderer;
    std::string error;
    ASSERT_TRUE(target.Init(renderer, &error)) << error;
    ASSERT_TRUE(target.Prepare(renderer, kWidth, kHeight, &error)) << error;
    for (const PixelFormatEntry& entry : renderer.Formats().Entries()) {
        SCOPED_TRACE(testing::Message() << entry.samples << " samples");
        ASSERT_TRUE(renderer.Create(target.Surface(), entry.samples));
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
            const RgbaImage exact = paint(renderer, target, false);
            before.restore();
            const RgbaImage batched = paint(renderer, target, true);
            const int differing = differingPixels(exact, batched);
            EXPECT_EQ(differing, 0) << "frame " << frame;
            if (differing)
                savePair(exact, batched, entry.samples, frame);
        }
        EXPECT_EQ(target.DrainGlErrors(), 0);
        renderer.Destroy();
    }
}
