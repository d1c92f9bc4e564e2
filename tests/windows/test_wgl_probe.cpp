// The WGL probe on this machine's driver, the rules of its extension test,
// and the surface that shows the view's frames through GDI.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/wglext.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "pixel_format_table.h"
#include "wgl_extensions.h"
#include "wgl_probe.h"
#include "wgl_surface.h"

namespace {

// The sample counts the probe must find: PANEL_EXPECTED_SAMPLES, else what
// Wine on Mesa offers (plain and 4 samples).
std::vector<int> expectedSamples()
{
    const char* given = std::getenv("PANEL_EXPECTED_SAMPLES");
    std::istringstream in(given ? given : "0 4");
    std::vector<int> samples;
    for (int n; in >> n;)
        samples.push_back(n);
    return samples;
}

}  // namespace

TEST(WglExtensionTest, SearchesTheWglStringElseTheGlStringAsPlainSubstrings)
{
    const char* gl = "GL_ARB_multisample WGL_ARB_pixel_format";
    EXPECT_FALSE(wglExtensionListed(false, "WGL_ARB_pixel_format", gl, "WGL_ARB_pixel_format"))
        << "without wglGetExtensionsStringARB nothing counts";
    EXPECT_TRUE(wglExtensionListed(true, "", gl, "WGL_ARB_pixel_format")) << "an empty WGL string falls back";
    EXPECT_TRUE(wglExtensionListed(true, nullptr, gl, "WGL_ARB_pixel_format"));
    EXPECT_FALSE(wglExtensionListed(true, "WGL_EXT_swap_control", gl, "WGL_ARB_pixel_format"))
        << "a non-empty WGL string is the only one searched";
    EXPECT_TRUE(wglExtensionListed(true, "WGL_ARB_pixel_format_float", nullptr, "WGL_ARB_pixel_format"))
        << "the beginning of a longer name counts";
    EXPECT_FALSE(wglExtensionListed(true, "", "", "WGL_ARB_multisample"));
}

TEST(WglExtensionTest, TheRetryChangesOnlyTheSwapMethod)
{
    const std::vector<int> exchange = multisampleAttributes(true);
    const std::vector<int> copy = multisampleAttributes(false);
    ASSERT_EQ(exchange.size(), 26u) << "twelve pairs and the terminating pair";
    ASSERT_EQ(copy.size(), exchange.size());
    EXPECT_EQ(exchange[24], 0);
    EXPECT_EQ(exchange[25], 0);
    for (size_t i = 0; i < exchange.size(); i += 2) {
        EXPECT_EQ(exchange[i], copy[i]);
        if (exchange[i] == WGL_SWAP_METHOD_ARB) {
            EXPECT_EQ(exchange[i + 1], WGL_SWAP_EXCHANGE_ARB);
            EXPECT_EQ(copy[i + 1], WGL_SWAP_COPY_ARB);
        } else {
            EXPECT_EQ(exchange[i + 1], copy[i + 1]) << "attribute 0x" << std::hex << exchange[i];
        }
    }
}

TEST(WglProbeTest, FindsThePlainFormatAndOneFormatPerSampleCount)
{
    PixelFormatTable table;
    {
        WglProbe probe;
        ASSERT_TRUE(table.Probe(probe)) << probe.Error();
    }
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "the probe leaves no context current";
    std::vector<int> samples;
    for (const PixelFormatEntry& entry : table.Entries()) {
        samples.push_back(entry.samples);
        EXPECT_GT(entry.format, 0);
    }
    EXPECT_EQ(samples, expectedSamples());
    EXPECT_EQ(table.IndexOf(0), 0);

    // Each multisampled format really has its count, and it is the driver's
    // first choice with that count.
    WglProbe probe;
    int plain = 0;
    ASSERT_TRUE(probe.ChoosePlainFormat(&plain));
    EXPECT_EQ(plain, table.FormatFor(0));
    ASSERT_TRUE(probe.HasMultisampleExtension());
    std::vector<int> listed;
    if (!probe.ChooseMultisampleFormats(true, &listed) || listed.empty()) {
        ASSERT_TRUE(probe.ChooseMultisampleFormats(false, &listed));
    }
    for (const PixelFormatEntry& entry : table.Entries()) {
        if (entry.samples == 0)
            continue;
        int count = -1;
        ASSERT_TRUE(probe.QuerySamples(entry.format, &count));
        EXPECT_EQ(count, entry.samples);
        for (int format : listed) {
            int other = -1;
            ASSERT_TRUE(probe.QuerySamples(format, &other));
            if (other == entry.samples) {
                EXPECT_EQ(format, entry.format) << "the first listed format wins";
                break;
            }
        }
    }
}

namespace {

constexpr int kViewWidth = 200;
constexpr int kViewHeight = 120;

// A shown top-level window with a child view that paints nothing itself.
struct ViewUnderTest {
    HWND frame = nullptr;
    HWND view = nullptr;

    ViewUnderTest()
    {
        static const bool registered = [] {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"PresentedSurfaceTest";
            return RegisterClassW(&windowClass) != 0;
        }();
        if (!registered)
            return;
        frame = CreateWindowExW(0, L"PresentedSurfaceTest", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                                0, 0, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        view = CreateWindowExW(0, L"PresentedSurfaceTest", nullptr, WS_CHILD | WS_VISIBLE, 10, 10, kViewWidth,
                               kViewHeight, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(frame);
    }
    ~ViewUnderTest()
    {
        if (frame)
            DestroyWindow(frame);
    }
    ViewUnderTest(const ViewUnderTest&) = delete;
    ViewUnderTest& operator=(const ViewUnderTest&) = delete;

    COLORREF Pixel(int x, int y) const
    {
        HDC dc = GetDC(view);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(view, dc);
        return colour;
    }
};

}  // namespace

// Red below, blue above in GL's coordinates: the view must show blue at
// its top and red at its bottom, in those colours, for every format, and
// the surface must take another format after Release.
TEST(WglPresentedSurfaceTest, ShowsTheFrameUprightInTheViewForEveryFormat)
{
    PixelFormatTable table;
    {
        WglProbe probe;
        ASSERT_TRUE(table.Probe(probe)) << probe.Error();
    }
    ViewUnderTest window;
    ASSERT_NE(window.view, nullptr);
    WglPresentedSurface surface;
    surface.SetView(window.view);
    EXPECT_TRUE(surface.Exists());
    for (const PixelFormatEntry& entry : table.Entries()) {
        SCOPED_TRACE(entry.samples);
        ASSERT_TRUE(surface.Bind());
        ASSERT_TRUE(surface.CreateContext(entry.format)) << "a new hidden window for each format";
        ASSERT_TRUE(surface.MakeCurrent());
        glViewport(0, 0, kViewWidth, kViewHeight);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // The upper half drawn as the display draws, with geometry: the
        // frame's rows may be stored either way up.
        glColor3f(0.0f, 0.0f, 1.0f);
        glRectf(-1.0f, 0.0f, 1.0f, 1.0f);
        surface.SwapBuffers();
        EXPECT_EQ(window.Pixel(kViewWidth / 2, 5), RGB(0, 0, 255));
        EXPECT_EQ(window.Pixel(kViewWidth / 2, kViewHeight - 5), RGB(255, 0, 0));
        EXPECT_EQ(window.Pixel(3, kViewHeight / 2 + 3), RGB(255, 0, 0));
        EXPECT_EQ(window.Pixel(kViewWidth - 3, kViewHeight / 2 - 3), RGB(0, 0, 255));
        surface.DeleteContext();
        surface.Release();
    }
    DestroyWindow(window.view);
    EXPECT_FALSE(surface.Exists()) << "the surface exists as long as its view";
}
