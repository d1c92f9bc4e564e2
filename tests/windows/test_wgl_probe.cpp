// The WGL probe on this machine's driver, and the rules of its extension test.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/wglext.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "pixel_format_table.h"
#include "wgl_extensions.h"
#include "wgl_probe.h"

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
