#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "display_renderer.h"
#include "headless_target.h"
#include "pixel_fixture.h"
#include "snapshot.h"
#include "test_backend.h"

namespace {

constexpr int kViewWidth = 778;
constexpr int kViewHeight = 1034;

constexpr Rgb kBackground = {121, 121, 140};
constexpr Rgb kGreyBlue = {102, 104, 124};
constexpr Rgb kBlack = {0, 0, 0};

// The whole display as the program paints its first frame, on the plain
// pixel format so that edges are not blended, through the backend under test.
class DisplayFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(target_.Init(renderer_, &error)) << error;
        ASSERT_TRUE(target_.Prepare(renderer_, kViewWidth, kViewHeight, &error)) << error;
        ASSERT_TRUE(renderer_.Create(target_.Surface(), 0));
        renderer_.Resize(kViewWidth, kViewHeight);
        renderer_.Paint(false);
        target_.FinishFrame();
        ASSERT_TRUE(target_.Read(kViewWidth, kViewHeight, &image_));
    }
    void TearDown() override { renderer_.Destroy(); }

    // The pixel that holds display point (x, y).
    Rgb At(double x, double y) const
    {
        const int px = static_cast<int>(std::floor(x + kDisplayMargin));
        const int row = kViewHeight - 1 - static_cast<int>(std::floor(y + kDisplayMargin));
        if (px < 0 || px >= image_.width || row < 0 || row >= image_.height)
            return {-1, -1, -1};
        const uint8_t* p = &image_.pixels[(static_cast<size_t>(row) * image_.width + px) * 4];
        return {p[0], p[1], p[2]};
    }

    // Pixels of the display box [x0, x1] x [y0, y1] that are nearly white.
    int WhiteIn(double x0, double y0, double x1, double y1) const
    {
        int n = 0;
        for (double y = y0; y <= y1; ++y)
            for (double x = x0; x <= x1; ++x) {
                const Rgb c = At(x, y);
                n += c.r > 200 && c.g > 200 && c.b > 200;
            }
        return n;
    }

    std::string Save(const std::string& name) const
    {
        const std::string path = std::string(PANEL_TEST_OUTPUT) + "/" + name + ".png";
        std::string error;
        EXPECT_TRUE(writePng(path, image_, &error)) << error;
        return path;
    }

    DisplayRenderer renderer_;
    HeadlessTarget target_{testBackend()};
    RgbaImage image_;
};

// A point (u, v) of an instrument copy centred at (x, y) with scale k.
struct Copy {
    double x, y, k;
    double X(double u) const { return x + u * k; }
    double Y(double v) const { return y + v * k; }
};

TEST_F(DisplayFrameTest, FirstFrameShowsTheBackgroundRingsFacesAndMaskedNeedles)
{
    Save("display_first_frame");

    EXPECT_EQ(At(3, 3), kBackground);
    EXPECT_EQ(At(764, 1020), kBackground);
    EXPECT_NE(At(-5, -5), kBackground) << "the background stops at the display area";

    // Instrument 1's right copy (panel 1 at (371, 735), scale 0.97): the ring
    // between radii 123 and 150 is bare grey-blue in its lower right.
    const Copy gauge = {371 + 182 * 0.97, 735, 0.97};
    const double a = 300 * std::numbers::pi / 180;
    EXPECT_EQ(At(gauge.X(136 * std::cos(a)), gauge.Y(136 * std::sin(a))), kGreyBlue);
    EXPECT_EQ(At(gauge.X(60 * std::cos(a)), gauge.Y(60 * std::sin(a))), kBlack) << "the black dial";

    // Instrument 3's copies (panel 3 at (383, 125), scale 0.965): black
    // faces between their two dials.
    const Copy left = {383 - 152 * 0.965, 125, 0.965};
    const Copy right = {383 + 152 * 0.965, 125, 0.965};
    EXPECT_EQ(At(left.X(0), left.Y(-40)), kBlack);
    EXPECT_EQ(At(right.X(0), right.Y(-40)), kBlack);

    // The left copy's pressure needle (input 0) turns -50 degrees about the
    // dial centre (-90, 0): its outline shows on the face, while its shaft
    // line, which starts at the centre off the face, is cut at the mask.
    const double c = std::cos(-50 * std::numbers::pi / 180), s = std::sin(-50 * std::numbers::pi / 180);
    const double bodyX = left.X(-90 + 50 * c), bodyY = left.Y(50 * s);
    EXPECT_GT(WhiteIn(bodyX - 2, bodyY - 2, bodyX + 2, bodyY + 2), 0);
    const double offX = left.X(-90 + 10 * c), offY = left.Y(10 * s);
    EXPECT_EQ(WhiteIn(offX - 4, offY - 4, offX + 4, offY + 4), 0);
}

}  // namespace
