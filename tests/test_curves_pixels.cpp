#include <GL/gl.h>

#include <utility>

#include "pixel_fixture.h"

namespace {

constexpr Rgb kRed = {255, 0, 0};
constexpr Rgb kGreen = {0, 255, 0};
constexpr Rgb kSlate = {102, 104, 124};
constexpr Rgb kBlue = {0, 0, 255};
constexpr int kRedIndex = 0;
constexpr int kGreenIndex = 1;
constexpr int kSlateIndex = 5;
constexpr int kGreenBorder = 0;
constexpr int kBlueBorder = 2;

using Offsets = std::initializer_list<std::pair<int, int>>;

class CurvePixels : public PixelTest {
protected:
    void SetUp() override
    {
        PixelTest::SetUp();
        grSetBorderColor(kGreenBorder);
        grSetMode(GR_MODE_FILL, 1);
    }

    // Expects each offset from (ox, oy) to show color; pixel x covers x..x+1.
    void ExpectAt(int ox, int oy, Offsets offsets, const Rgb& color) const
    {
        for (auto [dx, dy] : offsets)
            EXPECT_EQ(At(ox + dx, oy + dy), color) << "at offset (" << dx << ", " << dy << ")";
    }

    // Pixels of the captured image that are none of the given colours.
    int CountOthers(std::initializer_list<Rgb> colors) const
    {
        int others = 256 * 256;
        for (const Rgb& c : colors)
            others -= Count(c);
        return others;
    }

    // Draws with additive blending, so that a pixel covered twice shows a
    // colour no single draw produces.
    template <typename Draw>
    static void Additively(Draw draw)
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        draw();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_BLEND);
    }
};

}  // namespace

TEST_F(CurvePixels, FilledDiscCoversItsRadiusAndItsBorderTheNextUnit)
{
    grCircle(100, 100, 30);
    grSetMode(GR_MODE_BORDER, 1);
    grCircle(180, 190, 20);
    Capture();
    ExpectAt(100, 100, {{0, 0}, {28, 0}, {-29, 0}, {0, 28}, {0, -29}, {20, 20}, {-20, -20}}, kRed);
    ExpectAt(100, 100, {{31, 0}, {-31, 0}, {0, 31}, {0, -31}, {22, 22}, {-22, -22}}, kClear);
    EXPECT_NEAR(Count(kRed), 2827 + 1200, 60) << "pi 30^2 and pi 20^2";
    ExpectAt(180, 190, {{18, 0}, {-19, 0}, {0, 18}}, kRed);
    ExpectAt(180, 190, {{20, 0}, {-21, 0}, {0, 20}, {0, -21}}, kGreen);
    ExpectAt(180, 190, {{22, 0}, {-22, 0}, {0, 22}, {0, -22}}, kClear);
}

TEST_F(CurvePixels, FilledRingCoversOnlyBetweenItsRadii)
{
    grRing(100, 100, 60, 30);
    Capture();
    ExpectAt(100, 100, {{0, 0}, {28, 0}, {-29, 0}, {0, 28}, {0, -29}, {61, 0}, {0, 61}, {-62, 0}, {44, 44}}, kClear);
    ExpectAt(100, 100, {{31, 0}, {45, 0}, {58, 0}, {-31, 0}, {-59, 0}, {0, 31}, {0, 58}, {30, 30}, {-30, -30}},
             kRed);
}

TEST_F(CurvePixels, FilledRingSectorCoversItsSweepBetweenItsRadii)
{
    grRingSector(100, 100, 60, 30, 0.0f, 90.0f);
    Capture();
    // Inside, near each of the four edges.
    ExpectAt(100, 100, {{32, 32}, {45, 1}, {1, 45}, {31, 3}, {3, 31}, {58, 3}, {3, 58}}, kRed);
    // Just across each edge.
    ExpectAt(100, 100, {{45, -2}, {-2, 45}, {28, 3}, {3, 28}, {61, 3}, {3, 61}, {0, 0}, {-32, -32}}, kClear);
}

TEST_F(CurvePixels, RingLineWiderThanTheRingNeverCoversAPixelTwice)
{
    grSetMode(GR_MODE_FILL, 0);
    grSetMode(GR_MODE_BORDER, 1);
    grSetColor(kSlateIndex);
    grSetBorderColor(kBlueBorder);
    grSetLineWidth(5);
    Additively([] {
        grRing(70, 70, 44, 40);
        grRingSector(170, 170, 44, 40, 30.0f, 360.0f);
        grCircle(180, 60, 30);
    });
    Capture();
    EXPECT_EQ(CountOthers({kClear, kSlate, kBlue}), 0) << "some pixel was drawn twice";
    // Line 37.5..46.5 (the two bands meeting at 42), borders one unit beyond.
    ExpectAt(70, 70, {{38, 0}, {41, 0}, {42, 0}, {46, 0}, {0, -42}}, kSlate);
    ExpectAt(70, 70, {{37, 0}, {47, 0}, {0, 47}}, kBlue);
    ExpectAt(70, 70, {{35, 0}, {49, 0}, {0, 0}}, kClear);
    ExpectAt(180, 60, {{30, 0}, {28, 0}}, kSlate);
    ExpectAt(180, 60, {{27, 0}, {33, 0}}, kBlue);
}

TEST_F(CurvePixels, CircleMaskClipsARectangleToTheDisc)
{
    grClipOp(3);
    grCircle(100, 100, 30);
    grClipOp(1);
    grSetColor(kGreenIndex);
    grRect(-20, -20, 300, 300);
    grClipOp(0);
    Capture();
    EXPECT_EQ(Count(kRed), 0) << "the mask itself is not drawn";
    ExpectAt(100, 100, {{0, 0}, {28, 0}, {-29, 0}, {0, 28}, {0, -29}}, kGreen);
    ExpectAt(100, 100, {{31, 0}, {-31, 0}, {0, 31}, {0, -31}, {-100, -100}, {140, 140}}, kClear);
    EXPECT_NEAR(Count(kGreen), 2827, 40);
}

// Every circular shape, solid, dashed, filled and bordered, in a grid of
// 60-unit cells, top row first. Saved for a look.
TEST_F(CurvePixels, SceneOfEveryCurve)
{
    const struct {
        int color, width, pattern, fill, border;
        void (*draw)(int x, int y);
    } cells[] = {
        {0, 3, 0, 0, 1, [](int x, int y) { grArc(x - 10, y - 10, 30, 0.0f, 90.0f); }},
        {3, 3, 1, 0, 0, [](int x, int y) { grArc(x, y, 22, 45.0f, 270.0f); }},
        {1, 2, 2, 0, 0, [](int x, int y) { grCircle(x, y, 22); }},
        {0, 2, 3, 0, 1, [](int x, int y) { grCircle(x, y, 20); }},
        {2, 1, 0, 1, 1, [](int x, int y) { grCircle(x, y, 22); }},
        {0, 1, 0, 1, 1, [](int x, int y) { grSector(x - 8, y - 8, 30, 0.0f, 120.0f); }},
        {3, 1, 0, 1, 1, [](int x, int y) { grSector(x, y, 22, 30.0f, 300.0f); }},
        {1, 2, 4, 0, 1, [](int x, int y) { grSector(x - 10, y - 10, 34, 0.0f, 90.0f); }},
        {4, 1, 0, 1, 1, [](int x, int y) { grRing(x, y, 24, 12); }},
        {5, 5, 0, 0, 1, [](int x, int y) { grRing(x, y, 22, 18); }},
        {3, 2, 1, 0, 0, [](int x, int y) { grRing(x, y, 24, 12); }},
        {0, 1, 0, 1, 1, [](int x, int y) { grRingSector(x, y, 24, 12, 100.0f, 340.0f); }},
        {3, 1, 0, 1, 1, [](int x, int y) { grRingSector(x - 12, y - 12, 40, 20, 0.0f, 90.0f); }},
        {1, 2, 3, 0, 0, [](int x, int y) { grRingSector(x, y, 26, 12, -30.0f, 240.0f); }},
        {1, 3, 0, 0, 1, [](int x, int y) { grRingSector(x - 12, y - 12, 40, 24, 0.0f, 90.0f); }},
        {0, 1, 2, 0, 1, [](int x, int y) { grRingSector(x - 12, y - 12, 38, 0, 0.0f, 90.0f); }},
    };
    grSetBorderColor(3);
    for (int i = 0; i < 16; ++i) {
        grSetColor(cells[i].color);
        grSetLineWidth(cells[i].width);
        grSetLinePattern(cells[i].pattern);
        grSetMode(GR_MODE_FILL, cells[i].fill);
        grSetMode(GR_MODE_BORDER, cells[i].border);
        cells[i].draw(30 + 60 * (i % 4), 210 - 60 * (i / 4));
    }
    Capture();
    Save("curves_scene");
    for (int i = 0; i < 16; ++i) {
        int drawn = 0;
        for (int px = 0; px < 60; ++px)
            for (int py = 0; py < 60; ++py)
                drawn += At(60 * (i % 4) + px, 180 - 60 * (i / 4) + py) == kClear ? 0 : 1;
        EXPECT_GT(drawn, 100) << "cell " << i;
    }
}
