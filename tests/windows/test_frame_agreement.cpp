// The same frame from the Windows and the Linux build: they may differ only
// where the text rasterisers differ (GDI here, FreeType there).
//
// The Linux frames come from the Linux panel-snapshot (in PANEL_LINUX_FRAMES,
// frame_linux_S.png rendered with --samples S). This build renders the same
// first frame twice at as many samples: as it is, and with no fonts, so
// that the pixels text covers are known. Every difference must lie within a
// few pixels of text: the geometry is where Linux puts it, and antialiased
// as there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "display_renderer.h"
#include "display_state.h"
#include "snapshot.h"
#include "tables.h"
#include "wgl_probe.h"
#include "wgl_surface.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
// Channel differences up to this are rounding, not a difference.
constexpr int kLevelTolerance = 2;
// How far from the Windows text a difference may lie: a readout's plate is
// as wide as its text, and Wine hints monochrome glyphs to other advances,
// so plate edges move too (measured: 6 pixels at most).
constexpr int kTextReach = 6;
// Differing pixels away from text: none.
constexpr int kOutsideTextLimit = 0;
// All differing pixels: measured 3.1 % of the frame (all at text); some room
// for another FreeType version.
constexpr double kDifferingShareLimit = 0.04;

int channelDifference(const RgbaImage& a, const RgbaImage& b, size_t pixel)
{
    int most = 0;
    for (int c = 0; c < 3; ++c)
        most = std::max(most, std::abs(a.pixels[pixel * 4 + c] - b.pixels[pixel * 4 + c]));
    return most;
}

// Pixels set in mask, grown by reach in every direction.
std::vector<uint8_t> dilate(const std::vector<uint8_t>& mask, int reach)
{
    std::vector<uint8_t> grown(mask.size(), 0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (!mask[static_cast<size_t>(y) * kWidth + x])
                continue;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight)
                        grown[static_cast<size_t>(ny) * kWidth + nx] = 1;
                }
        }
    return grown;
}

class FrameAgreementTest : public ::testing::TestWithParam<int> {
protected:
    RgbaImage Render(DisplayRenderer& renderer, const GrTables* tables)
    {
        WglHiddenSurface surface(kWidth, kHeight);
        EXPECT_TRUE(renderer.Create(&surface, GetParam(), tables)) << surface.Error();
        renderer.Resize(kWidth, kHeight);
        renderer.Paint(true);
        const RgbaImage image = readFramebuffer(kWidth, kHeight, surface.TopRowFirst());
        renderer.Destroy();
        return image;
    }
};

}  // namespace

TEST_P(FrameAgreementTest, WindowsAndLinuxFramesDifferOnlyAtText)
{
    const char* linuxFolder = std::getenv("PANEL_LINUX_FRAMES");
    ASSERT_NE(linuxFolder, nullptr) << "PANEL_LINUX_FRAMES names the folder of the Linux build's frames";
    const std::string linuxPath =
        std::string(linuxFolder) + "/frame_linux_" + std::to_string(GetParam()) + ".png";
    RgbaImage linuxFrame;
    std::string error;
    ASSERT_TRUE(readPng(linuxPath, &linuxFrame, &error)) << error;
    ASSERT_EQ(linuxFrame.width, kWidth);
    ASSERT_EQ(linuxFrame.height, kHeight);

    DisplayRenderer renderer;
    {
        WglProbe probe;
        ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    }
    ASSERT_TRUE(renderer.Formats().IsSupported(GetParam())) << "no format of " << GetParam() << " samples";
    // Both renderings show the first frame: the animated values and the
    // panel layout are put back in between.
    resetDisplayModel();
    const DisplayState first;
    GrTables noText = displayTables();
    noText.fonts = nullptr;
    noText.fontCount = 0;
    const RgbaImage bare = Render(renderer, &noText);
    first.restore();
    const RgbaImage frame = Render(renderer, nullptr);
    ASSERT_EQ(frame.pixels.size(), linuxFrame.pixels.size());

    const size_t count = static_cast<size_t>(kWidth) * kHeight;
    std::vector<uint8_t> text(count, 0);
    size_t textPixels = 0;
    for (size_t i = 0; i < count; ++i)
        if (channelDifference(frame, bare, i) > 0) {
            text[i] = 1;
            ++textPixels;
        }
    EXPECT_GT(textPixels, count / 100) << "the display shows text";
    const std::vector<uint8_t> nearText = dilate(text, kTextReach);

    RgbaImage diff{kWidth, kHeight, std::vector<uint8_t>(count * 4, 0)};
    size_t differing = 0, outside = 0;
    for (size_t i = 0; i < count; ++i) {
        diff.pixels[i * 4 + 3] = 255;
        if (channelDifference(frame, linuxFrame, i) <= kLevelTolerance)
            continue;
        ++differing;
        const bool away = !nearText[i];
        outside += away;
        diff.pixels[i * 4 + (away ? 0 : 1)] = 255;  // red away from text, green at text
    }
    const double share = static_cast<double>(differing) / static_cast<double>(count);
    std::printf("differing pixels: %zu (%.2f %%), away from text: %zu, text pixels: %zu\n", differing,
                share * 100.0, outside, textPixels);
    const bool agree = outside <= kOutsideTextLimit && share <= kDifferingShareLimit;
    if (!agree) {
        const std::string path =
            std::string(PANEL_TEST_OUTPUT) + "/frame_agreement_diff_" + std::to_string(GetParam()) + ".png";
        EXPECT_TRUE(writePng(path, diff, &error)) << error;
        ADD_FAILURE() << "differences written to " << path;
    }
    EXPECT_LE(outside, static_cast<size_t>(kOutsideTextLimit)) << "a difference away from any text";
    EXPECT_LE(share, kDifferingShareLimit);
}

INSTANTIATE_TEST_SUITE_P(Samples, FrameAgreementTest, ::testing::Values(0, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "Samples";
                         });
