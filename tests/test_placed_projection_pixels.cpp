// A placed projection draws the display where the placement's own mapping
// says, on every backend: each pixel well inside or well outside a shape
// shows what the view-to-display mapping of its centre predicts.
#include <gtest/gtest.h>

#include <tuple>

#include "display_placement.h"
#include "display_renderer.h"
#include "pixel_fixture.h"

namespace {

// Two rectangles of different colours, placed off-centre so that a turn or
// a mirror the projection and the mapping disagree on cannot go unseen.
struct Shape {
    int x1, y1, x2, y2;
    Rgb color;
};
constexpr Shape kShapes[] = {{20, 30, 90, 60, {255, 0, 0}}, {150, 70, 200, 110, {0, 0, 255}}};
constexpr int kArea = 246;  // the fixture's view less the margin

class PlacedProjection : public PixelTest,
                         public ::testing::WithParamInterface<std::tuple<bool, int, bool>> {};

TEST_P(PlacedProjection, PixelsLandWhereTheMappingSays)
{
    const auto [fit, rotation, mirrored] = GetParam();
    PlacementOptions options;
    options.fit = fit;
    options.scale = fit ? 1.0 : 2.0;
    options.rotation = rotation;
    options.mirrored = mirrored;
    // A view that is not square and not the area's size: fitting scales.
    const DisplayPlacement rule(kArea, kArea / 2, kDisplayMargin, options);
    const ViewPlacement placed = rule.Place(kWidth, kHeight);
    grEndFrame();
    ASSERT_TRUE(grSetPlacedProjection(kWidth, kHeight, &placed.Gr(), 0.375f));
    grClearFrame(0, 0, 0, 0);
    grBeginFrame();
    grSetMode(GR_MODE_FILL, 1);
    grSetColor(0);
    grRect(kShapes[0].x1, kShapes[0].y1, kShapes[0].x2, kShapes[0].y2);
    grSetColor(2);
    grRect(kShapes[1].x1, kShapes[1].y1, kShapes[1].x2, kShapes[1].y2);
    grEndFrame();
    Capture();

    // A pixel counts when its centre lies more than a pixel from any edge.
    const double slack = 1.0 / placed.Scale() + 0.5;
    int checked[3] = {0, 0, 0};
    int wrong = 0;
    for (int row = 0; row < kHeight; ++row)
        for (int col = 0; col < kWidth; ++col) {
            double x = 0, y = 0;
            placed.ViewToDisplay(col + 0.5, row + 0.5, &x, &y);
            int expected = 0;  // 0 clear, 1 and 2 the shapes
            bool nearEdge = false;
            for (int s = 0; s < 2; ++s) {
                const Shape& r = kShapes[s];
                const bool inside = x > r.x1 + slack && x < r.x2 - slack && y > r.y1 + slack && y < r.y2 - slack;
                const bool outside = x < r.x1 - slack || x > r.x2 + slack || y < r.y1 - slack || y > r.y2 + slack;
                if (inside)
                    expected = s + 1;
                nearEdge = nearEdge || (!inside && !outside);
            }
            if (nearEdge)
                continue;
            const uint8_t* p = &image_.pixels[(static_cast<size_t>(row) * kWidth + col) * 4];
            const Rgb seen = {p[0], p[1], p[2]};
            const Rgb want = expected ? kShapes[expected - 1].color : kClear;
            ++checked[expected];
            wrong += !(seen == want);
        }
    EXPECT_EQ(wrong, 0) << Save("placed");
    // Both shapes were in view and checked, and so was the background.
    EXPECT_GT(checked[0], 1000);
    EXPECT_GT(checked[1], 100);
    EXPECT_GT(checked[2], 100);
}

INSTANTIATE_TEST_SUITE_P(FitAndTwice, PlacedProjection,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(0, 90, 180, 270), ::testing::Bool()));

TEST_F(PixelTest, PlacedProjectionRefusesWhatItCannotDraw)
{
    const GrPlacement good = {10, 10, 1, 0, 0};
    GrPlacement bad = good;
    bad.scale = 0;
    EXPECT_FALSE(grSetPlacedProjection(kWidth, kHeight, &bad, 0));
    bad = good;
    bad.rotation = 45;
    EXPECT_FALSE(grSetPlacedProjection(kWidth, kHeight, &bad, 0));
    EXPECT_FALSE(grSetPlacedProjection(0, kHeight, &good, 0));
    EXPECT_FALSE(grSetPlacedProjection(kWidth, kHeight, nullptr, 0));
    EXPECT_TRUE(grSetPlacedProjection(kWidth, kHeight, &good, 0));
}

}  // namespace
