// What the hosts need to show the CPU backend's frames: its sample counts
// as the view's format table, and read-back rows turned into the XRGB
// bitmaps cairo and Wayland shared memory show.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cpu_formats.h"
#include "gr_display.h"
#include "pixel_format_table.h"
#include "xrgb_rows.h"

namespace {

TEST(CpuFormats, TheTableOffersEveryCountTheLibraryDrawsAndNothingElse)
{
    CpuFormatProbe probe;
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(probe));
    std::vector<int> offered;
    for (const PixelFormatEntry& entry : table.Entries()) {
        offered.push_back(entry.samples);
        EXPECT_EQ(entry.format, entry.samples);
        EXPECT_TRUE(grSelectBackend(cpuBackendName(entry.samples).c_str(), nullptr)) << entry.samples;
        EXPECT_STREQ(grBackendName(), cpuBackendName(entry.samples).c_str());
    }
    EXPECT_EQ(offered, (std::vector<int>{0, 2, 4, 8, GR_EXACT_COVERAGE_SAMPLES}));
    EXPECT_FALSE(grSelectBackend(cpuBackendName(16).c_str(), nullptr));
    EXPECT_EQ(table.DefaultSampleCount(), 8);
    grSelectBackend("gl1", nullptr);
}

struct Rows {
    int width;
    int height;
    int stride;
};

class XrgbRows : public testing::TestWithParam<Rows> {};

// Pixel (x, y), y counted from the bottom, as the library reads it back.
void ReadBackPixel(int x, int y, uint8_t* rgba)
{
    rgba[0] = static_cast<uint8_t>(7 * x + 1);
    rgba[1] = static_cast<uint8_t>(20 * y + 2);
    rgba[2] = static_cast<uint8_t>(x + y + 3);
    rgba[3] = 0;  // the clear's alpha: the bitmap must not show through
}

TEST_P(XrgbRows, BecomeOpaqueWordsTopRowFirstLeavingThePaddingAlone)
{
    const Rows rows = GetParam();
    constexpr uint8_t kPadding = 0xa5;
    std::vector<uint8_t> data(static_cast<size_t>(rows.stride) * rows.height, kPadding);
    for (int y = 0; y < rows.height; ++y)
        for (int x = 0; x < rows.width; ++x)
            ReadBackPixel(x, y, &data[static_cast<size_t>(y) * rows.stride + 4 * x]);

    flipRgbaIntoXrgb(data.data(), rows.width, rows.height, rows.stride);

    for (int row = 0; row < rows.height; ++row) {
        const int y = rows.height - 1 - row;
        for (int x = 0; x < rows.width; ++x) {
            uint8_t rgba[4];
            ReadBackPixel(x, y, rgba);
            uint32_t word = 0;
            std::memcpy(&word, &data[static_cast<size_t>(row) * rows.stride + 4 * x], 4);
            const uint32_t expected = 0xff000000u | rgba[0] << 16 | rgba[1] << 8 | rgba[2];
            ASSERT_EQ(word, expected) << "pixel " << x << " of row " << row;
        }
        for (int pad = 4 * rows.width; pad < rows.stride; ++pad)
            ASSERT_EQ(data[static_cast<size_t>(row) * rows.stride + pad], kPadding) << "row " << row;
    }
}

// Odd heights have a middle row that only changes its words; padded rows
// keep their padding.
INSTANTIATE_TEST_SUITE_P(Sizes, XrgbRows,
                         testing::Values(Rows{3, 1, 12}, Rows{2, 2, 8}, Rows{5, 3, 20}, Rows{4, 4, 24},
                                         Rows{7, 5, 32}, Rows{16, 3, 64}, Rows{37, 4, 160}));

}  // namespace
