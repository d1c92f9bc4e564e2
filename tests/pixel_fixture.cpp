#include "pixel_fixture.h"

#include <GL/gl.h>

#include "cpu_formats.h"
#include "display_renderer.h"
#include "drawing_state.h"
#include "snapshot.h"
#include "tables.h"
#include "test_backend.h"

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

void PixelTest::SetUp()
{
    grResetDiagnostics();
    StartContext(0);
}

void PixelTest::TearDown()
{
    if (surface_) {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    EXPECT_EQ(grDiagnostics().glErrors, 0) << "GL errors at the library's checked points";
    StopContext();
}

void PixelTest::StartContext(int samples)
{
    StopContext();
    const bool cpu = testBackend() == kCpuChoice;
    if (cpu) {
        CpuFormatProbe probe;
        ASSERT_TRUE(formats_.Probe(probe));
    } else {
        EglProbe probe;
        ASSERT_TRUE(formats_.Probe(probe)) << probe.Error();
    }
    ASSERT_TRUE(formats_.IsSupported(samples)) << "no format with " << samples << " samples";
    if (!cpu) {
        surface_ = std::make_unique<EglPbufferSurface>(kWidth, kHeight);
        GlContextKind kind;
        ASSERT_TRUE(glContextKindFor(testBackend(), &kind)) << testBackend();
        surface_->UseContextKind(kind);
        ASSERT_TRUE(surface_->Bind());
        ASSERT_TRUE(surface_->CreateContext(formats_.FormatFor(samples)));
        ASSERT_TRUE(surface_->MakeCurrent());
    }
    started_ = true;
    ASSERT_TRUE(grSelectBackend((cpu ? cpuBackendName(samples) : testBackend()).c_str(), eglProcAddress));
    ASSERT_TRUE(grUseTables(&displayTables()));
    ASSERT_EQ(grInit(1.5f), GR_INIT_OK) << grBackendError();
    useKnownDrawingState();
    setDisplayProjection(kWidth, kHeight);
    grClearFrame(0, 0, 0, 0);
    grBeginFrame();
}

void PixelTest::StopContext()
{
    if (!started_)
        return;
    grShutdown();
    started_ = false;
    if (!surface_)
        return;
    surface_->DeleteContext();
    surface_->Release();
    surface_.reset();
}

void PixelTest::Capture()
{
    // The frame's end, where a multisampled surface resolves its samples.
    if (surface_) {
        surface_->SwapBuffers();
        glFinish();
    }
    ASSERT_TRUE(readFrame(kWidth, kHeight, surface_ && surface_->TopRowFirst(), &image_));
}

Rgb PixelTest::At(int x, int y) const
{
    const int px = x + static_cast<int>(kDisplayMargin);
    const int row = kHeight - 1 - (y + static_cast<int>(kDisplayMargin));
    if (px < 0 || px >= image_.width || row < 0 || row >= image_.height)
        return {-1, -1, -1};
    const uint8_t* p = &image_.pixels[(static_cast<size_t>(row) * image_.width + px) * 4];
    return {p[0], p[1], p[2]};
}

int PixelTest::Count(const Rgb& color) const
{
    int n = 0;
    for (size_t i = 0; i + 3 < image_.pixels.size(); i += 4)
        if (Rgb{image_.pixels[i], image_.pixels[i + 1], image_.pixels[i + 2]} == color)
            ++n;
    return n;
}

std::string PixelTest::Save(const std::string& name) const
{
    const std::string path = std::string(PANEL_TEST_OUTPUT) + "/" + name + ".png";
    std::string error;
    EXPECT_TRUE(writePng(path, image_, &error)) << error;
    return path;
}
