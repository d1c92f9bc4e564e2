#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "display.h"
#include "instrument_parts.h"
#include "instruments.h"
#include "layout.h"
#include "model.h"
#include "recording_fixture.h"

namespace {

constexpr GrColor kRed = {255, 0, 0};
constexpr GrColor kWhite = {255, 255, 255};
constexpr GrColor kGreyBlue = {102, 104, 124};
constexpr GrColor kBlack = {0, 0, 0};

// A 2-D affine map: x' = a x + c y + tx, y' = b x + d y + ty.
struct Affine {
    double a, b, c, d, tx, ty;
};

Affine operator*(const Affine& m, const Affine& n)
{
    return {m.a * n.a + m.c * n.b, m.b * n.a + m.d * n.b,         m.a * n.c + m.c * n.d,
            m.b * n.c + m.d * n.d, m.a * n.tx + m.c * n.ty + m.tx, m.b * n.tx + m.d * n.ty + m.ty};
}

Affine translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
Affine scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
Affine rotate(double degrees)
{
    const double r = degrees * std::numbers::pi / 180;
    return {std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
}

// Compares the x-y part of a column-major modelview with an affine map.
::testing::AssertionResult sameMatrix(const float* m, const Affine& w)
{
    const double got[] = {m[0], m[1], m[4], m[5], m[12], m[13]};
    const double want[] = {w.a, w.b, w.c, w.d, w.tx, w.ty};
    for (int i = 0; i < 6; ++i) {
        if (std::fabs(got[i] - want[i]) > 1e-3 * std::max(1.0, std::fabs(want[i])))
            return ::testing::AssertionFailure() << "term " << i << " is " << got[i] << ", not " << want[i];
    }
    return ::testing::AssertionSuccess();
}

// The turn of a draw's modelview, in degrees within (-180, 180].
double rotationOf(const rec::Draw& draw) { return std::atan2(draw.modelview[1], draw.modelview[0]) * 180 / std::numbers::pi; }

::testing::AssertionResult sameAngle(double got, double want)
{
    const double d = std::remainder(got - want, 360.0);
    if (std::fabs(d) < 1e-3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got << " degrees is not " << want;
}

// The fan draws of a needle outline, in drawing order.
template <int N>
std::vector<const rec::Draw*> needleDraws(const GrPoint (&needle)[N])
{
    std::vector<const rec::Draw*> found;
    for (const rec::Draw& draw : rec::draws()) {
        if (draw.mode != GL_TRIANGLE_FAN || draw.vertices.size() != N)
            continue;
        if (std::equal(needle, needle + N, draw.vertices.begin(),
                       [](const GrPoint& p, const rec::Vec2& v) { return p.x == v.x && p.y == v.y; }))
            found.push_back(&draw);
    }
    return found;
}

// The turn under which the routine drew the needle, which it draws once.
template <int N>
double needleAngle(const GrPoint (&needle)[N])
{
    const std::vector<const rec::Draw*> found = needleDraws(needle);
    EXPECT_EQ(found.size(), 1u);
    return found.empty() ? NAN : rotationOf(*found[0]);
}

struct Mark {
    double degrees;
    float width;
    GrColor color;
};

// Solid lines from (x1, y1) to (x2, y2) in their own frame, in drawing
// order. A line's body runs from half a pixel before each end point.
std::vector<Mark> marks(float x1, float y1, float x2, float y2)
{
    const float length = std::hypot(x2 - x1, y2 - y1);
    const float dx = (x2 - x1) / length / 2, dy = (y2 - y1) / length / 2;
    std::vector<Mark> found;
    for (const rec::Draw& draw : rec::draws()) {
        if (draw.mode != GL_TRIANGLE_STRIP || draw.vertices.size() != 4)
            continue;
        const auto& v = draw.vertices;
        const rec::Vec2 start = {(v[0].x + v[1].x) / 2, (v[0].y + v[1].y) / 2};
        const rec::Vec2 end = {(v[2].x + v[3].x) / 2, (v[2].y + v[3].y) / 2};
        if (near(start, {x1 - dx, y1 - dy}, 1e-2f) && near(end, {x2 - dx, y2 - dy}, 1e-2f))
            found.push_back({rotationOf(draw), std::hypot(v[0].x - v[1].x, v[0].y - v[1].y), draw.color});
    }
    return found;
}

::testing::AssertionResult sameMarks(const std::vector<Mark>& got, const std::vector<Mark>& want)
{
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << got.size() << " marks, not " << want.size();
    for (size_t i = 0; i < got.size(); ++i) {
        if (!sameAngle(got[i].degrees, want[i].degrees) || std::fabs(got[i].width - want[i].width) > 1e-3f ||
            !sameColor(got[i].color, want[i].color))
            return ::testing::AssertionFailure() << "mark " << i << " at " << got[i].degrees << " width "
                                                 << got[i].width << ", not at " << want[i].degrees << " width "
                                                 << want[i].width;
    }
    return ::testing::AssertionSuccess();
}

// A main mark of width 3 followed by its minor marks of width 1, all white
// unless the main mark is red.
void addScaleStep(std::vector<Mark>* want, double main, std::initializer_list<double> minors, GrColor color = kWhite)
{
    want->push_back({main, 3, color});
    for (double minor : minors)
        want->push_back({main + minor, 1, kWhite});
}

std::u16string text(char16_t* s) { return s; }

class InstrumentTest : public RecordingTest {};

TEST_F(InstrumentTest, Instrument1NeedlesFollowTheirScalesAndStopAtTheirEnds)
{
    DrawInstrument1(0, 0);
    EXPECT_TRUE(sameAngle(needleAngle(kNeedle1), -32)) << "on the first outer main tick";
    EXPECT_TRUE(sameAngle(needleAngle(kNeedle2), 130)) << "on the first inner main tick";

    const struct {
        int a, b;
        double longNeedle, shortNeedle;
    } cases[] = {
        {16 * 500, 16 * 16 * 55, -132, 130 - 170.5},  // 500 degrees, 55 percent
        {16 * 920 + 15, 16 * 16 * 110, -216, 130 - 341},
        {17600, 28168 + 4000, -216, 130 - 341},         // t 1100 and e 125.6 stop at the scale ends
        {16 * 256, 16 * 8, -(51.2 + 32), 130 - 1.55},   // fractions of a unit move the needles
    };
    for (const auto& c : cases) {
        rec::clearCalls();
        DrawInstrument1(c.a, c.b);
        EXPECT_TRUE(sameAngle(needleAngle(kNeedle1), c.longNeedle)) << c.a;
        EXPECT_TRUE(sameAngle(needleAngle(kNeedle2), c.shortNeedle)) << c.b;
    }
}

TEST_F(InstrumentTest, Instrument1Scales)
{
    DrawInstrument1(0, 0);
    std::vector<Mark> outer;
    for (int i = 0; i <= 180; i += 20)
        outer.push_back({-(i + 32.0), 5, kWhite});
    for (int i = 0; i <= 160; i += 20)
        outer.push_back({-(i + 42.0), 3, kWhite});
    EXPECT_TRUE(sameMarks(marks(0, -124, 0, -150), outer));

    std::vector<Mark> inner;
    for (int k = 0; k <= 10; ++k)
        addScaleStep(&inner, -(31 * k + 50), {-6.25, -12.5, -18.75, -25}, k == 6 || k == 10 ? kRed : kWhite);
    inner.push_back({-391, 3, kWhite});
    EXPECT_TRUE(sameMarks(marks(0, 98, 0, 122), inner));
}

TEST_F(InstrumentTest, ReadoutTexts)
{
    char16_t s[kReadoutSize];
    EXPECT_EQ(text(formatInstrument1Temperature(s, 0)), u"0°C");
    EXPECT_EQ(text(formatInstrument1Temperature(s, 17600)), u"1100°C") << "the readout goes past the needle's stop";
    EXPECT_EQ(text(formatInstrument1Temperature(s, 17615)), u"1100°C");
    EXPECT_EQ(text(formatInstrument1Temperature(s, -17)), u"-2°C") << "an arithmetic shift";

    EXPECT_EQ(text(formatInstrument1Percent(s, 0)), u" 0.0") << "padded to four characters";
    EXPECT_EQ(text(formatInstrument1Percent(s, 16 * 8)), u" 0.5");
    EXPECT_EQ(text(formatInstrument1Percent(s, 16 * 16 * 55 + 15)), u"55.0");
    EXPECT_EQ(text(formatInstrument1Percent(s, 40000)), u"110.0") << "clamped to the scale";

    EXPECT_EQ(text(formatInstrument2Speed(s, 3000)), u"3000") << "the readout goes past the needle's stop";
    EXPECT_EQ(text(formatInstrument2Torque(s, 0)), u"0");
    EXPECT_EQ(text(formatInstrument2Torque(s, 16 * 495)), u"30") << "30.94 truncated";
    EXPECT_EQ(text(formatInstrument2Torque(s, -32)), u"0") << "-0.125 truncated toward zero";
    EXPECT_EQ(text(formatInstrument2Torque(s, -16 * 40)), u"-2");
    EXPECT_EQ(text(formatInstrument2Torque(s, 40000)), u"120") << "clamped to the scale";
}

TEST_F(InstrumentTest, Instrument2NeedlesFollowTheirScales)
{
    const struct {
        int a, b;
        double speedNeedle, torqueNeedle;
    } cases[] = {
        {0, 0, 90, 45},
        {600, 16 * 16 * 15, 90 - 78, 45 - 36},
        {2500, 7680, 90 - 325, -27},  // e = 30, where the two parts of the torque scale meet
        {3000, 7680 + 16, 90 - 325, -27 - 0.0625 * 194.4 / 90},  // the needle stops at 2500
        {1, 16 * 16 * 75, 90 - 0.13, -27 - 45 * 2.16},
        {INT_MAX, 40000, 90 - 325, -27 - 194.4},  // torque clamped to 120
    };
    for (const auto& c : cases) {
        rec::clearCalls();
        DrawInstrument2(c.a, c.b);
        EXPECT_TRUE(sameAngle(needleAngle(kNeedle1), c.speedNeedle)) << c.a;
        EXPECT_TRUE(sameAngle(needleAngle(kNeedle2), c.torqueNeedle)) << c.b;
    }
}

TEST_F(InstrumentTest, Instrument2Scales)
{
    DrawInstrument2(0, 0);
    std::vector<Mark> outer;
    for (int i = 0; i <= 25; ++i)
        outer.push_back({90.0 - 13 * i, 5, kWhite});
    EXPECT_TRUE(sameMarks(marks(0, -134, 0, -150), outer));

    std::vector<Mark> inner;
    for (int k = 0; k <= 2; ++k)
        addScaleStep(&inner, -(24 * k + 135), {-4.8, -9.6, -14.4, -19.2});
    for (int k = 0; k <= 8; ++k)
        addScaleStep(&inner, -(21.6 * k + 207), {-4.32, -8.64, -12.96, -17.28});
    inner.push_back({-401, 3, kWhite});
    EXPECT_TRUE(sameMarks(marks(0, 100, 0, 128), inner));
    EXPECT_TRUE(sameMarks(marks(0, 90, 0, 128), {{-371, 3, kRed}})) << "the limit mark";
}

TEST_F(InstrumentTest, Instrument3NeedlesTurnAboutTheirDialCentres)
{
    const struct {
        int a, b;
        double pressure, temperature;
    } cases[] = {
        {0, 0, -50, 45},
        {160, 1024, -20, 45 - 48},        // p 10 and v 64: where the dials' steps change
        {320, -320, 0, 45 + 10},          // p 20: 30 + 20 degrees; v -20
        {512, -560, 24, 45 + 15},         // v -35 stops at -30
        {-1, 40000, 40, 45 - 90},         // a as an unsigned value clamps to 40; v clamps to 120
    };
    for (const auto& c : cases) {
        rec::clearCalls();
        DrawInstrument3(c.a, c.b);
        const std::vector<const rec::Draw*> pressure = needleDraws(kNeedle3);
        const std::vector<const rec::Draw*> temperature = needleDraws(kNeedle4);
        ASSERT_EQ(pressure.size(), 1u);
        ASSERT_EQ(temperature.size(), 1u);
        EXPECT_TRUE(sameMatrix(pressure[0]->modelview, translate(-90, 0) * rotate(c.pressure))) << c.a;
        EXPECT_TRUE(sameMatrix(temperature[0]->modelview, translate(88, 0) * rotate(c.temperature))) << c.b;
    }
}

TEST_F(InstrumentTest, Instrument3Scales)
{
    DrawInstrument3(0, 0);
    const auto white = [](std::initializer_list<double> angles, float width) {
        std::vector<Mark> want;
        for (double a : angles)
            want.push_back({a, width, kWhite});
        return want;
    };
    EXPECT_TRUE(sameMarks(marks(73, 0, 84, 0), white({-50, -35, -20, 0, 20, 40}, 2)));
    EXPECT_TRUE(sameMarks(marks(77, 0, 84, 0), white({-10, 10, 30}, 1)));
    EXPECT_TRUE(sameMarks(marks(73, 0, 85, 0), {{33, 2, kRed}, {-16, 2, kRed}}));
    EXPECT_TRUE(sameMarks(marks(-73, 0, -84, 0), white({60, 45, 22.5, 0, -22.5, -45}, 2)));
    EXPECT_TRUE(sameMarks(marks(-77, 0, -84, 0), white({55, 50, 37.5, 30, 15, 7.5, -7.5, -15, -30, -37.5}, 1)));
    EXPECT_TRUE(sameMarks(marks(-73, 0, -85, 0), {{-18.5, 2, kRed}}));
}

TEST_F(InstrumentTest, Instrument3MasksItsNeedlesToTheFace)
{
    DrawInstrument3(0, 0);
    // What the stencil does around each draw: w the mask is written, t the
    // drawing is tested against it, - the test is switched off, d a draw
    // made while the test is on.
    std::string sequence;
    bool stencilOn = false;
    std::vector<size_t> stencilDraws;
    size_t draw = 0;
    for (const rec::Call& call : rec::calls()) {
        const bool aboutStencil = !call.args.empty() && call.args[0] == GL_STENCIL_TEST;
        if (call.name == "glStencilFunc")
            sequence += call.args[0] == GL_NEVER ? "w" : call.args[0] == GL_EQUAL ? "t" : "?";
        else if (call.name == "glEnable" && aboutStencil)
            stencilOn = true;
        else if (call.name == "glDisable" && aboutStencil) {
            stencilOn = false;
            sequence += "-";
        } else if (call.name == "glDrawArrays") {
            if (stencilOn) {
                sequence += "d";
                stencilDraws.push_back(draw);
            }
            ++draw;
        }
        EXPECT_NE(call.name, "glClear") << "masks add to what the frame's stencil holds";
    }
    EXPECT_EQ(sequence, "wd-tdd-wd-tdd-");
    ASSERT_EQ(stencilDraws.size(), 6u);
    const auto& draws = rec::draws();
    EXPECT_EQ(needleDraws(kNeedle3).at(0), &draws[stencilDraws[2]]);
    EXPECT_EQ(needleDraws(kNeedle4).at(0), &draws[stencilDraws[5]]);
    EXPECT_TRUE(rec::isDraw(draws[stencilDraws[0]], GL_TRIANGLE_STRIP, kRed,
                            {{16.5f, -75.5f}, {16.5f, 56.5f}, {89.5f, -75.5f}, {89.5f, 56.5f}}))
        << "the pressure mask";
    EXPECT_TRUE(sameMatrix(draws[stencilDraws[0]].modelview, translate(-90, 0)));
    EXPECT_TRUE(sameMatrix(draws[stencilDraws[3]].modelview, translate(88, 0)));
    EXPECT_TRUE(sameColor(draws[stencilDraws[3]].color, kRed)) << "the mask colour carries over";
}

TEST_F(InstrumentTest, EveryRoutineBalancesItsStacks)
{
    const std::function<void(int, int)> routines[] = {DrawInstrument1, DrawInstrument2, DrawInstrument3};
    const int inputs[][2] = {{0, 0}, {17600, 28168}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {-1, -560}};
    for (const auto& routine : routines) {
        for (const auto& in : inputs) {
            rec::clearCalls();
            routine(in[0], in[1]);
            EXPECT_EQ(g_draw.matrixIndex, -1);
            EXPECT_EQ(g_draw.clipIndex, -1);
            EXPECT_FALSE(g_draw.clip.stencilActive);
            EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
            EXPECT_TRUE(sameMatrix(rec::modelview(), translate(0, 0)));
            for (const rec::Draw& draw : rec::draws())
                ASSERT_TRUE(std::isfinite(draw.modelview[0]) && std::isfinite(draw.modelview[1]));
        }
    }
    const GrDiagnostics d = grDiagnostics();
    EXPECT_EQ(d.matrixOverflows + d.matrixUnderflows + d.clipOverflows + d.clipUnderflows, 0);
    EXPECT_EQ(d.rejectedIndices, 0);
    EXPECT_EQ(d.rejectedShapes, 0);
}

// DrawDisplay on the first frame of a run: panels at home with phase 0's
// first step applied.
class DisplayTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        resetDisplayModel();
        UpdateDisplayModel();
        DrawDisplay();
    }
};

TEST_F(DisplayTest, BackgroundThenSixCopiesInTheirPlacesWithTheirCounters)
{
    const auto& draws = rec::draws();
    ASSERT_FALSE(draws.empty());
    EXPECT_TRUE(rec::isDraw(draws[0], GL_TRIANGLE_STRIP, {121, 121, 140},
                            {{-0.5f, -0.5f}, {-0.5f, 1022.5f}, {766.5f, -0.5f}, {766.5f, 1022.5f}}));
    EXPECT_TRUE(sameMatrix(draws[0].modelview, translate(0, 0)));

    // Panel 1 at (371.5, 735.85) truncated, scale 0.97; panel 2 at
    // (394.5, 376.75), 0.97; panel 3 at (383, 125), 0.965.
    const Affine panel1 = translate(371, 735) * scale(0.97f, 0.97f);
    const Affine panel2 = translate(394, 376) * scale(0.97f, 0.97f);
    const Affine panel3 = translate(383, 125) * scale(0.965f, 0.965f);
    const Affine copies[] = {
        panel1 * translate(-182, 0) * scale(0.7f, 1.1f), panel1 * translate(182, 0),
        panel2 * translate(-182, 0), panel2 * translate(182, 0) * scale(1.1f, 0.7f),
        panel3 * translate(-152, 0), panel3 * translate(152, 0),
    };

    std::vector<const rec::Draw*> rings, faces;
    for (const rec::Draw& draw : draws) {
        if (sameColor(draw.color, kGreyBlue))
            rings.push_back(&draw);
        if (sameColor(draw.color, kBlack) && draw.vertices.size() == 4 &&
            draw.vertices[2].x - draw.vertices[0].x > 140)
            faces.push_back(&draw);
    }
    ASSERT_EQ(rings.size(), 4u);
    ASSERT_EQ(faces.size(), 2u);
    const rec::Draw* first[] = {rings[0], rings[1], rings[2], rings[3], faces[0], faces[1]};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(sameMatrix(first[i]->modelview, copies[i])) << "copy " << i;
    EXPECT_LT(rings[3], faces[0]) << "panel 3 is drawn last";

    // Each copy's needles follow its own counters: 1 and 3, 2 and 4, ...
    const std::vector<const rec::Draw*> longNeedles = needleDraws(kNeedle1);
    const std::vector<const rec::Draw*> shortNeedles = needleDraws(kNeedle2);
    const std::vector<const rec::Draw*> temperatureNeedles = needleDraws(kNeedle4);
    ASSERT_EQ(longNeedles.size(), 4u);
    ASSERT_EQ(shortNeedles.size(), 4u);
    ASSERT_EQ(temperatureNeedles.size(), 2u);
    const double longAngles[] = {-(128.0 + 32), -(64.0 + 32), 90, 90 - 78};
    const double shortAngles[] = {130 - 279, 130 - 93, -27 - 70 * 2.16, 45 - 48};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(sameMatrix(longNeedles[i]->modelview, copies[i] * rotate(longAngles[i]))) << "copy " << i;
        EXPECT_TRUE(sameMatrix(shortNeedles[i]->modelview, copies[i] * rotate(shortAngles[i]))) << "copy " << i;
    }
    EXPECT_TRUE(sameMatrix(temperatureNeedles[0]->modelview, copies[4] * translate(88, 0) * rotate(45 + 10)));
    EXPECT_TRUE(sameMatrix(temperatureNeedles[1]->modelview, copies[5] * translate(88, 0) * rotate(45)));

    EXPECT_EQ(g_draw.matrixIndex, -1);
    EXPECT_TRUE(sameMatrix(rec::modelview(), translate(0, 0)));
}

}  // namespace
