#include "gr_display.h"
#include "pixel_fixture.h"

namespace {

constexpr Rgb kRed = {255, 0, 0};
constexpr Rgb kGreen = {0, 255, 0};
constexpr int kRedIndex = 0;
constexpr int kGreenIndex = 1;
constexpr int kAllPixels = 256 * 256;

class ClipPixels : public PixelTest {
protected:
    void SetUp() override
    {
        PixelTest::SetUp();
        grSetMode(GR_MODE_FILL, GR_ON);
    }
    // A filled rectangle covering display units x1..x2-1, y1..y2-1.
    static void fill(int color, int x1, int y1, int x2, int y2)
    {
        grSetColor(color);
        grRect(x1, y1, x2, y2);
    }
    static void fillAll(int color) { fill(color, -20, -20, 300, 300); }
    // Through the library, so that every backend clears its own frame.
    static void startOver()
    {
        grClipOp(GR_CLIP_OFF);
        grClearFrame(0, 0, 0, 0);
    }
    // Checks the pixels on both sides of each edge of the kept box
    // x0..x1, y0..y1 (inclusive), across its middle.
    void expectKeptBox(int x0, int y0, int x1, int y1)
    {
        const int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
        EXPECT_EQ(At(x0 - 1, my), kClear);
        EXPECT_EQ(At(x0, my), kRed);
        EXPECT_EQ(At(x1, my), kRed);
        EXPECT_EQ(At(x1 + 1, my), kClear);
        EXPECT_EQ(At(mx, y0 - 1), kClear);
        EXPECT_EQ(At(mx, y0), kRed);
        EXPECT_EQ(At(mx, y1), kRed);
        EXPECT_EQ(At(mx, y1 + 1), kClear);
        EXPECT_EQ(Count(kRed), (x1 - x0 + 1) * (y1 - y0 + 1));
    }
};

TEST_F(ClipPixels, RectKeepsHalfAPixelInsideItsEdges)
{
    grClipRect(10, 20, 110, 70);
    fillAll(kRedIndex);
    Capture();
    expectKeptBox(11, 21, 109, 69);
}

TEST_F(ClipPixels, RectIsSetInTheCoordinateSystemOfTheCall)
{
    grPushMatrix(1);
    grTranslate(30, 40);
    grClipRect(10, 20, 110, 70);
    grPopMatrix(1);
    fillAll(kRedIndex);
    Capture();
    expectKeptBox(41, 61, 139, 109);
}

TEST_F(ClipPixels, HalfPlanesKeepOneSide)
{
    grClipHalfPlane(GR_KEEP_RIGHT, 50);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(At(50, 100), kClear);
    EXPECT_EQ(At(51, 100), kRed);
    EXPECT_EQ(Count(kRed), (245 - 51 + 1) * 256);

    startOver();
    grClipHalfPlane(GR_KEEP_BELOW, 50);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(At(100, 49), kRed);
    EXPECT_EQ(At(100, 50), kClear);
    EXPECT_EQ(Count(kRed), (49 + 10 + 1) * 256);
}

TEST_F(ClipPixels, StencilMaskDrawsInsideOrOutsideAndStaysInvisible)
{
    auto fillWithSquareMask = [](int operation) {
        startOver();
        grClipOp(GR_CLIP_MASK_START);
        fill(kGreenIndex, 50, 50, 150, 150);
        grClipOp(operation);
        fillAll(kRedIndex);
    };
    fillWithSquareMask(GR_CLIP_INSIDE_MASK);
    Capture();
    expectKeptBox(50, 50, 149, 149);
    EXPECT_EQ(Count(kGreen), 0) << "the mask itself is not drawn";

    fillWithSquareMask(GR_CLIP_OUTSIDE_MASK);
    Capture();
    EXPECT_EQ(At(49, 100), kRed);
    EXPECT_EQ(At(50, 100), kClear);
    EXPECT_EQ(At(149, 100), kClear);
    EXPECT_EQ(At(150, 100), kRed);
    EXPECT_EQ(Count(kRed), kAllPixels - 100 * 100);
}

TEST_F(ClipPixels, CutOutOfTheMaskLeavesAHole)
{
    grClipOp(GR_CLIP_MASK_START);
    fill(kGreenIndex, 50, 50, 150, 150);
    grClipOp(GR_CLIP_MASK_CUT);
    fill(kGreenIndex, 80, 80, 120, 120);
    grClipOp(GR_CLIP_INSIDE_MASK);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(At(79, 100), kRed);
    EXPECT_EQ(At(80, 100), kClear);
    EXPECT_EQ(At(119, 100), kClear);
    EXPECT_EQ(At(120, 100), kRed);
    EXPECT_EQ(Count(kRed), 100 * 100 - 40 * 40);
}

// The documented meaning of each clip name, as the guide's picture shows it.
TEST_F(ClipPixels, NamedOperationsDoWhatTheirNamesSay)
{
    grClipOp(GR_CLIP_MASK_START);
    fill(kGreenIndex, 10, 10, 60, 60);
    grClipOp(GR_CLIP_MASK_START);  // clears the first square's mask
    fill(kGreenIndex, 100, 10, 150, 60);
    grClipOp(GR_CLIP_MASK_ADD);
    fill(kGreenIndex, 100, 100, 150, 150);
    grClipOp(GR_CLIP_INSIDE_MASK);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(At(30, 30), kClear) << "started over";
    EXPECT_EQ(At(120, 30), kRed);
    EXPECT_EQ(At(120, 120), kRed) << "added";
    EXPECT_EQ(Count(kRed), 2 * 50 * 50);
    EXPECT_EQ(Count(kGreen), 0) << "writing the mask shows no colour";

    // Over that mask, a half-plane or a rectangle kept alone drops the mask.
    startOver();
    grClipOp(GR_CLIP_MASK_START);
    fill(kGreenIndex, 100, 10, 150, 60);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grClipHalfPlane(GR_KEEP_LEFT, 50);
    grClipOp(GR_CLIP_HALF_PLANE_ONLY);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(Count(kRed), (49 + 10 + 1) * 256) << "x <= 49.5, mask dropped";

    startOver();
    grClipOp(GR_CLIP_MASK_START);
    fill(kGreenIndex, 100, 10, 150, 60);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grClipRect(10, 20, 110, 70);
    grClipOp(GR_CLIP_RECT_ONLY);
    fillAll(kRedIndex);
    Capture();
    expectKeptBox(11, 21, 109, 69);

    startOver();
    grClipHalfPlane(GR_KEEP_ABOVE, 200);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(Count(kRed), (245 - 201 + 1) * 256) << "y >= 200.5";
}

// The half-plane and the rectangle share a clip plane: with both on,
// keeping the half-plane alone switches both off, and keeping the rectangle
// alone loses its left edge.
TEST_F(ClipPixels, HalfPlaneAndRectangleShareAPlane)
{
    grClipRect(10, 20, 110, 70);
    grClipHalfPlane(GR_KEEP_RIGHT, 50);
    grClipOp(GR_CLIP_HALF_PLANE_ONLY);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(Count(kRed), kAllPixels);

    startOver();
    grClipHalfPlane(GR_KEEP_RIGHT, 50);
    grClipRect(10, 20, 110, 70);
    grClipOp(GR_CLIP_RECT_ONLY);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(At(5, 45), kRed) << "no left edge";
    EXPECT_EQ(At(109, 45), kRed);
    EXPECT_EQ(At(110, 45), kClear);
    EXPECT_EQ(Count(kRed), (109 + 10 + 1) * (69 - 21 + 1));
}

TEST_F(ClipPixels, PopRestoresTheUnclippedState)
{
    grPushClip(1);
    grClipRect(10, 20, 110, 70);
    grPopClip(1);
    grPushClip(2);
    grClipOp(GR_CLIP_MASK_START);
    fill(kGreenIndex, 50, 50, 150, 150);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grPopClip(2);
    fillAll(kRedIndex);
    Capture();
    EXPECT_EQ(Count(kRed), kAllPixels);
}

TEST_F(ClipPixels, DisplayNeedleMaskScene)
{
    grClipRect(10, 20, 110, 70);
    fillAll(2);
    grClipOp(GR_CLIP_OFF);

    grPushClip(1);
    grClipOp(GR_CLIP_MASK_ADD);  // the stencil was cleared with the frame
    fill(kGreenIndex, 130, 100, 230, 200);
    grClipOp(GR_CLIP_MASK_CUT);
    fill(kGreenIndex, 160, 130, 200, 170);
    grPopClip(1);
    grPushClip(2);
    grClipOp(GR_CLIP_INSIDE_MASK);
    fillAll(3);
    grPopClip(2);

    grClipHalfPlane(GR_KEEP_ABOVE, 220);
    fill(kRedIndex, -10, 200, 246, 246);
    Capture();
    Save("clip_scene");

    EXPECT_EQ(At(60, 45), (Rgb{0, 0, 255}));
    EXPECT_EQ(At(140, 110), (Rgb{255, 255, 0}));
    EXPECT_EQ(At(180, 150), kClear);
    EXPECT_EQ(At(120, 110), kClear);
    EXPECT_EQ(At(100, 220), kClear);
    EXPECT_EQ(At(100, 221), kRed);
    EXPECT_EQ(Count(kGreen), 0);
}

}  // namespace
