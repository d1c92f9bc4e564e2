#include <GL/gl.h>
#include <cstring>
#include <gtest/gtest.h>

#include "display_renderer.h"
#include "egl_headless.h"
#include "layout.h"
#include "model.h"
#include "pixel_fixture.h"
#include "snapshot.h"

namespace {

// A headless surface whose window can be made to disappear or fail.
class TestSurface : public EglPbufferSurface {
public:
    using EglPbufferSurface::EglPbufferSurface;
    bool exists = true;
    int swaps = 0;
    int releases = 0;
    bool Exists() const override { return exists; }
    void Release() override
    {
        ++releases;
        EglPbufferSurface::Release();
    }
    void SwapBuffers() override
    {
        ++swaps;
        EglPbufferSurface::SwapBuffers();
    }
};

Rgb pixelAt(const RgbaImage& image, int x, int yFromBottom)
{
    const uint8_t* p = &image.pixels[(static_cast<size_t>(image.height - 1 - yFromBottom) * image.width + x) * 4];
    return {p[0], p[1], p[2]};
}

}  // namespace

TEST(Renderer, FirstPaintUpdatesOnceEvenWhilePaused)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    TestSurface surface(64, 64);
    ASSERT_TRUE(renderer.Create(&surface, 0));
    renderer.Resize(64, 64);

    renderer.Paint(false);
    EXPECT_EQ(g_model.frameCounter, 0);
    EXPECT_EQ(g_model.firstFrame, 1);
    renderer.Paint(false);
    renderer.Paint(false);
    EXPECT_EQ(g_model.frameCounter, 0) << "paused repaints do not advance";
    renderer.Paint(true);
    EXPECT_EQ(g_model.frameCounter, 1);
    EXPECT_EQ(surface.swaps, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    renderer.Destroy();
}

// A repaint no tick asked for (an expose, the one at Pause) shows the frame
// as it was, the built-in display's panel layout included: mid-transition,
// so that a second layout step would show the next frame's places.
TEST(Renderer, RepaintsShowTheFrameAsItWasMidTransition)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    TestSurface surface(64, 64);
    ASSERT_TRUE(renderer.Create(&surface, 0));
    renderer.Resize(64, 64);
    resetDisplayModel();
    for (int frame = 0; frame < 5; ++frame)
        renderer.Paint(true);
    PanelLayout drawn[kPanelCount];
    std::memcpy(drawn, g_panels, sizeof drawn);
    for (int repaint = 0; repaint < 3; ++repaint) {
        renderer.Paint(false);
        EXPECT_EQ(std::memcmp(g_panels, drawn, sizeof drawn), 0) << "repaint " << repaint << " moved the panels";
    }
    renderer.Paint(true);
    EXPECT_NE(std::memcmp(g_panels, drawn, sizeof drawn), 0) << "the next frame moves them on";
    renderer.Destroy();
}

TEST(Renderer, PaintsTheBackgroundAtTheDisplayOriginAndClearsAroundIt)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe));
    TestSurface surface(100, 80);
    ASSERT_TRUE(renderer.Create(&surface, 0));
    renderer.Resize(100, 80);
    renderer.Paint(false);
    const RgbaImage image = readFramebuffer(100, 80, surface.TopRowFirst());
    const Rgb background = {121, 121, 140};
    const Rgb clear = {21, 21, 21};  // 0.082 of 255
    EXPECT_EQ(pixelAt(image, 10, 10), background);
    EXPECT_EQ(pixelAt(image, 99, 79), background) << "a small view cuts the display off top and right";
    EXPECT_EQ(pixelAt(image, 9, 10), clear);
    EXPECT_EQ(pixelAt(image, 10, 9), clear);
    EXPECT_EQ(pixelAt(image, 0, 0), clear);
    renderer.Destroy();
}

TEST(Renderer, ResizeSetsAPixelProjectionAnchoredTenPixelsIn)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe));
    TestSurface surface(16, 16);
    ASSERT_TRUE(renderer.Create(&surface, 0));
    renderer.Resize(1, 1);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // ortho(-10, -9, -10, -9, 1, -1): scale 2, offset -(r + l) / (r - l) = 19.
    EXPECT_DOUBLE_EQ(projection[0], 2.0);
    EXPECT_DOUBLE_EQ(projection[5], 2.0);
    EXPECT_DOUBLE_EQ(projection[10], 1.0);
    EXPECT_DOUBLE_EQ(projection[12], 19.0);
    EXPECT_DOUBLE_EQ(projection[13], 19.0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[12], 0.375f);
    EXPECT_FLOAT_EQ(modelview[13], 0.375f);
    renderer.Destroy();
}

TEST(Renderer, DestroyIsSafeRepeatedlyAndKeepsHandlesOfAVanishedWindow)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe));
    TestSurface surface(16, 16);
    ASSERT_TRUE(renderer.Create(&surface, 0));
    surface.exists = false;
    renderer.Destroy();
    EXPECT_EQ(surface.releases, 0);
    renderer.Destroy();
    surface.exists = true;
    renderer.Destroy();
    EXPECT_EQ(surface.releases, 1);
    renderer.Destroy();
    EXPECT_EQ(surface.releases, 1);
}

TEST(Renderer, MultisampledContextsGetTheirSampleCount)
{
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe));
    const PixelFormatTable& formats = renderer.Formats();
    ASSERT_TRUE(formats.IsSupported(0));
    for (const PixelFormatEntry& entry : formats.Entries()) {
        TestSurface surface(16, 16);
        ASSERT_TRUE(renderer.Create(&surface, entry.samples));
        EXPECT_EQ(surface.Samples(), entry.samples);
        renderer.Destroy();
    }
    TestSurface surface(16, 16);
    EXPECT_FALSE(renderer.Create(&surface, 3)) << "a count the table lacks is refused";
    renderer.Destroy();
}

namespace {

class HeadlessMultisampling : public PixelTest {
protected:
    // A white triangle whose upper edge rises 80 pixels over 220, drawn with
    // antialiasing on.
    void DrawWedge()
    {
        static const GrPoint kWedge[] = {{10, 20}, {230, 20}, {230, 100}};
        grSetColor(6);
        grSetMode(GR_MODE_ANTIALIAS, 1);
        grPolygon(kWedge, 3);
        Capture();
    }

    // Pixels of the captured image that are neither black nor white; grey
    // turns false when one of them is not a grey.
    int IntermediatePixels(bool* grey) const
    {
        int count = 0;
        *grey = true;
        for (size_t i = 0; i + 3 < image_.pixels.size(); i += 4) {
            const uint8_t* p = &image_.pixels[i];
            if (p[0] == 0 || p[0] == 255)
                continue;
            ++count;
            *grey = *grey && p[0] == p[1] && p[1] == p[2];
        }
        return count;
    }

    // Columns clear of the straight edges whose slanted edge holds a partly
    // covered pixel.
    int ShadedColumnsOfTheSlope() const
    {
        int columns = 0;
        for (int x = 20; x < 220; ++x) {
            const int edge = 20 + 80 * (x - 10) / 220;
            for (int y = edge - 2; y <= edge + 2; ++y) {
                const int level = At(x, y).r;
                if (y > 22 && level > 0 && level < 255) {
                    ++columns;
                    break;
                }
            }
        }
        return columns;
    }
};

}  // namespace

TEST_F(HeadlessMultisampling, FourSamplesShadeADiagonalEdgeWhereNoSamplesDoNot)
{
    ASSERT_TRUE(Formats().IsSupported(4)) << "Mesa offers 4 samples headless";
    bool grey = false;
    DrawWedge();
    EXPECT_EQ(IntermediatePixels(&grey), 0) << "without samples every pixel is in or out";
    EXPECT_EQ(ShadedColumnsOfTheSlope(), 0);

    StartContext(4);
    DrawWedge();
    Save("multisampled_wedge");
    EXPECT_GT(IntermediatePixels(&grey), 0);
    EXPECT_TRUE(grey);
    // Of 200 columns, those where the edge passes a pixel's samples unevenly.
    EXPECT_GE(ShadedColumnsOfTheSlope(), 150);
    EXPECT_EQ(At(200, 30), (Rgb{255, 255, 255})) << "the inside resolves to the full colour";
    EXPECT_EQ(At(20, 60), kClear);
    const Rgb onEdge = At(120, 20 + 80 * 110 / 220);
    EXPECT_GT(onEdge.r, 0);
    EXPECT_LT(onEdge.r, 255);
}
