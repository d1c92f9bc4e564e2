#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gr.h"
#include "pixel_fixture.h"

namespace {

constexpr Rgb kRed = {255, 0, 0};     // colour 0
constexpr Rgb kGreen = {0, 255, 0};   // colour 1
constexpr Rgb kYellow = {255, 255, 0};  // colour 3
constexpr Rgb kBlue = {0, 0, 255};    // border colour 2

class LinePixels : public PixelTest {
protected:
    // Pixels of the captured image in the block x0..x1 × y0..y1 (inclusive)
    // that do not have the colour expected there.
    int Mismatches(int x0, int y0, int x1, int y1, const Rgb& expected) const
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                n += At(x, y) == expected ? 0 : 1;
        return n;
    }
};

TEST_F(LinePixels, TenUnitLinesCoverExactlyTenPixels)
{
    grLine(20, 20, 30, 20);
    grLine(40, 20, 40, 30);
    grLine(70, 50, 60, 50);
    Capture();
    EXPECT_EQ(Mismatches(20, 20, 29, 20, kRed), 0);
    EXPECT_EQ(Mismatches(40, 20, 40, 29, kRed), 0);
    EXPECT_EQ(Mismatches(61, 50, 70, 50, kRed), 0) << "backwards, from the first point's pixel";
    EXPECT_EQ(Count(kRed), 30) << "no pixel beyond the ends or the sides";
}

TEST_F(LinePixels, DashesFallWhereThePatternSays)
{
    grSetLinePattern(1);  // 0xF0F0: four off, four on
    grLine(0, 100, 64, 100);
    grSetLinePattern(3);  // 0xF18F: bit i of the mask is unit i of every 16
    grLine(0, 110, 64, 110);
    Capture();
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(At(x, 100), (0xF0F0 >> (x % 16)) & 1 ? kRed : kClear) << "x " << x;
        EXPECT_EQ(At(x, 110), (0xF18F >> (x % 16)) & 1 ? kRed : kClear) << "x " << x;
    }
    EXPECT_EQ(Count(kRed), 32 + 40);
}

TEST_F(LinePixels, RectanglesCoverExactlyTheirPixels)
{
    grSetMode(GR_MODE_FILL, 1);
    grRect(10, 10, 20, 15);
    grSetMode(GR_MODE_FILL, 0);
    grSetColor(1);
    grRect(40, 10, 50, 15);  // width 1: the fill's outermost pixels
    grSetColor(3);
    grSetLineWidth(3);
    grRect(70, 10, 80, 20);  // centre lines 70, 79 and 10, 19
    Capture();
    EXPECT_EQ(Mismatches(10, 10, 19, 14, kRed), 0);
    EXPECT_EQ(Count(kRed), 50);
    EXPECT_EQ(Mismatches(40, 10, 49, 10, kGreen), 0);
    EXPECT_EQ(Mismatches(40, 14, 49, 14, kGreen), 0);
    EXPECT_EQ(Mismatches(40, 10, 40, 14, kGreen), 0);
    EXPECT_EQ(Mismatches(49, 10, 49, 14, kGreen), 0);
    EXPECT_EQ(Mismatches(41, 11, 48, 13, kClear), 0);
    EXPECT_EQ(Count(kGreen), 26);
    EXPECT_EQ(Mismatches(72, 12, 77, 17, kClear), 0);
    EXPECT_EQ(Count(kYellow), 12 * 12 - 6 * 6);
    EXPECT_EQ(At(69, 9), kYellow);
    EXPECT_EQ(At(80, 20), kYellow);
}

// Every width and pattern, with and without border; bordered rectangles
// filled and outlined, solid and dashed. Saved for a look.
TEST_F(LinePixels, Scene)
{
    grSetColor(5);
    grSetMode(GR_MODE_FILL, 1);
    grRect(-10, -10, 246, 246);
    grSetMode(GR_MODE_FILL, 0);
    grSetBorderColor(3);
    for (int pattern = 0; pattern < 5; ++pattern) {
        grSetLinePattern(pattern);
        for (int row = 0; row < 10; ++row) {
            grSetLineWidth(row % 5 + 1);
            grSetMode(GR_MODE_BORDER, row >= 5);
            grSetColor(row >= 5 ? 0 : 3);
            const int x = 46 * pattern, y = 236 - 12 * row;
            grLine(x, y, x + 42, y);
        }
    }
    grSetMode(GR_MODE_BORDER, 1);
    grSetBorderColor(2);
    grSetColor(6);
    grSetLinePattern(0);
    grSetMode(GR_MODE_FILL, 1);
    grRect(2, 62, 42, 102);
    grSetMode(GR_MODE_FILL, 0);
    for (int i = 0; i < 3; ++i) {
        grSetLineWidth(2 * i + 1);
        grRect(60 + 58 * i, 62, 100 + 58 * i, 102);
    }
    for (int i = 0; i < 4; ++i) {
        grSetLinePattern(i + 1);
        grSetLineWidth(i + 2);
        grRect(8 + 58 * i, 8, 48 + 58 * i, 48);
    }
    grSetLinePattern(3);
    grSetLineWidth(2);
    grSetMode(GR_MODE_BORDER, 0);
    grSetColor(1);
    const GrPoint zigzag[] = {{2, 112}, {40, 126}, {80, 112}, {120, 126}, {160, 112}, {200, 126}, {236, 112}};
    grPolyline(zigzag, 7);
    Capture();
    Save("lines_scene");
    EXPECT_GT(Count({255, 255, 255}), 0);
    EXPECT_GT(Count(kBlue), 0);
}

}  // namespace
