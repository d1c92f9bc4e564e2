// Where the display lands in its view: fitting, 1:1, turning and mirroring,
// and the way back from a view position to display units that pointer
// events take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "display_placement.h"

namespace {

constexpr int kDisplayWidth = 768;
constexpr int kDisplayHeight = 1024;
constexpr double kMargin = 10.0;

PlacementOptions optionsOf(bool fit, double scale, int rotation, bool mirrored)
{
    PlacementOptions options;
    options.fit = fit;
    options.scale = scale;
    options.rotation = rotation;
    options.mirrored = mirrored;
    return options;
}

// The view corners the display's area with its margin reaches, as the
// smallest box around its four corners mapped into the view.
struct Span {
    double left, top, right, bottom;
};

Span areaSpan(const ViewPlacement& placed)
{
    Span span = {1e9, 1e9, -1e9, -1e9};
    for (double x : {-kMargin, double(kDisplayWidth)})
        for (double y : {-kMargin, double(kDisplayHeight)}) {
            double vx = 0, vy = 0;
            placed.DisplayToView(x, y, &vx, &vy);
            span = {std::min(span.left, vx), std::min(span.top, vy), std::max(span.right, vx),
                    std::max(span.bottom, vy)};
        }
    return span;
}

class Placements : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Placements, FitKeepsTheAspectCentresAndMapsBackExactly)
{
    const auto [rotation, mirrored] = GetParam();
    const DisplayPlacement rule(kDisplayWidth, kDisplayHeight, kMargin, optionsOf(true, 1, rotation, mirrored));
    const bool sideways = rotation % 180 != 0;
    for (auto [w, h] : std::vector<std::pair<int, int>>{{800, 480}, {480, 800}, {1920, 1080}, {777, 1033}}) {
        const ViewPlacement placed = rule.Place(w, h);
        const Span span = areaSpan(placed);
        const double areaW = (sideways ? kDisplayHeight : kDisplayWidth) + kMargin;
        const double areaH = (sideways ? kDisplayWidth : kDisplayHeight) + kMargin;
        // The scale of the tighter side; the area touches two opposite edges
        // and is centred along the other axis.
        EXPECT_DOUBLE_EQ(placed.Scale(), std::min(w / areaW, h / areaH)) << w << "x" << h;
        EXPECT_NEAR(span.right - span.left, placed.Scale() * areaW, 1e-9);
        EXPECT_NEAR(span.left, w - span.right, 1e-9) << w << "x" << h;
        EXPECT_NEAR(span.top, h - span.bottom, 1e-9) << w << "x" << h;
        EXPECT_FALSE(placed.Cropped());
        for (double x : {0.0, 100.5, 767.0})
            for (double y : {0.0, 512.25, 1023.0}) {
                double vx = 0, vy = 0, bx = 0, by = 0;
                placed.DisplayToView(x, y, &vx, &vy);
                placed.ViewToDisplay(vx, vy, &bx, &by);
                EXPECT_NEAR(bx, x, 1e-9);
                EXPECT_NEAR(by, y, 1e-9);
            }
    }
}

TEST_P(Placements, OneToOneKeepsWholePixelsAndSaysWhenTheViewIsTooSmall)
{
    const auto [rotation, mirrored] = GetParam();
    const DisplayPlacement rule(kDisplayWidth, kDisplayHeight, kMargin, optionsOf(false, 1, rotation, mirrored));
    int w = 0, h = 0;
    rule.NaturalViewSize(&w, &h);
    EXPECT_EQ(w, rotation % 180 ? 1034 : 778);
    EXPECT_EQ(h, rotation % 180 ? 778 : 1034);
    const ViewPlacement natural = rule.Place(w, h);
    EXPECT_FALSE(natural.Cropped());
    const Span span = areaSpan(natural);
    EXPECT_EQ(span.left, 0);
    EXPECT_EQ(span.top, 0);
    EXPECT_EQ(span.right, w);
    EXPECT_EQ(span.bottom, h);
    // An odd leftover still puts the origin on a whole pixel.
    const ViewPlacement wider = rule.Place(w + 101, h + 3);
    EXPECT_EQ(wider.Scale(), 1.0);
    EXPECT_EQ(wider.Gr().originX, std::floor(wider.Gr().originX));
    EXPECT_EQ(wider.Gr().originY, std::floor(wider.Gr().originY));
    EXPECT_TRUE(rule.Place(800, 480).Cropped());
}

INSTANTIATE_TEST_SUITE_P(TurnsAndMirrors, Placements,
                         ::testing::Combine(::testing::Values(0, 90, 180, 270), ::testing::Bool()));

TEST(Placement, AtTheNaturalSizeFittingIsTheUnplacedProjection)
{
    // The window sized to the display draws exactly as before: scale 1, the
    // origin the margin in from the lower left corner.
    const DisplayPlacement rule(kDisplayWidth, kDisplayHeight, kMargin, PlacementOptions());
    const ViewPlacement placed = rule.Place(778, 1034);
    EXPECT_EQ(placed.Scale(), 1.0);
    EXPECT_EQ(placed.Gr().originX, kMargin);
    EXPECT_EQ(placed.Gr().originY, kMargin);
    EXPECT_TRUE(placed.OnDisplay(10.5, 1023.5));   // the display's lower left pixel
    EXPECT_FALSE(placed.OnDisplay(9.5, 1023.5));   // the margin
    EXPECT_FALSE(placed.OnDisplay(10.5, 1024.5));
}

TEST(Placement, TurningAndMirroringPutTheDisplaysCornersWhereAPersonLooks)
{
    // Display origin (its lower left) as seen in the view, y down.
    auto corner = [](int rotation, bool mirrored) {
        const DisplayPlacement rule(100, 50, 0, optionsOf(false, 1, rotation, mirrored));
        int w = 0, h = 0;
        rule.NaturalViewSize(&w, &h);
        double vx = 0, vy = 0;
        rule.Place(w, h).DisplayToView(0, 0, &vx, &vy);
        return std::make_pair(vx, vy);
    };
    using P = std::pair<double, double>;
    EXPECT_EQ(corner(0, false), P(0, 50));     // lower left
    EXPECT_EQ(corner(90, false), P(0, 0));     // clockwise: upper left
    EXPECT_EQ(corner(180, false), P(100, 0));  // upper right
    EXPECT_EQ(corner(270, false), P(50, 100)); // lower right of the 50 x 100 view
    EXPECT_EQ(corner(0, true), P(100, 50));    // mirrored: lower right
}

TEST(PlacementOptions, TakesItsOptionsAndLeavesTheRest)
{
    std::vector<std::string> words = {"prog", "--scale", "1", "--data", "udp:5000", "--rotate=270", "--mirror"};
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    PlacementOptions options;
    std::string error;
    ASSERT_TRUE(takePlacementOptions(&argc, argv.data(), &options, &error)) << error;
    EXPECT_FALSE(options.fit);
    EXPECT_EQ(options.scale, 1.0);
    EXPECT_EQ(options.rotation, 270);
    EXPECT_TRUE(options.mirrored);
    ASSERT_EQ(argc, 3);
    EXPECT_STREQ(argv[1], "--data");
    EXPECT_STREQ(argv[2], "udp:5000");
    EXPECT_EQ(argv[3], nullptr);
}

TEST(PlacementOptions, RefusesBadValuesNamingTheOption)
{
    for (std::vector<std::string> words : std::vector<std::vector<std::string>>{
             {"p", "--scale", "0"}, {"p", "--scale", "-2"}, {"p", "--scale", "nan"}, {"p", "--scale", "2x"},
             {"p", "--scale"}, {"p", "--rotate", "45"}, {"p", "--rotate", "-90"}, {"p", "--mirror", "--mirror"},
             {"p", "--scale", "1", "--scale", "fit"}}) {
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(words.size());
        PlacementOptions options;
        std::string error;
        EXPECT_FALSE(takePlacementOptions(&argc, argv.data(), &options, &error)) << words[1];
        EXPECT_NE(error.find(words[1]), std::string::npos) << error;
    }
}

}  // namespace
