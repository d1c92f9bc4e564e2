// Batched submission against exact submission on the recording GL: the same
// triangles, in the same order, in the same colours and under the same GL
// state, reach clip space, in far fewer draws. And the state cache of exact
// mode: bindings and texture parameters the GL holds are not set again
// within a frame, and are set again after grBeginFrame.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "batch.h"
#include "display.h"
#include "display_state.h"
#include "layout.h"
#include "model.h"
#include "recording_fixture.h"

namespace {

// One corner of a triangle as the rasteriser receives it.
struct Corner {
    double x, y, z, w;  // clip coordinates
    GrColor color;
    rec::Vec2 texCoord;
};

struct Triangle {
    Corner corners[3];
    std::set<GLenum> enabled;
    GLuint texture1D, texture2D;  // 0 unless that texturing is on
};

// Column-major 4x4 times (x, y, z, w), in double.
void apply(const float* m, const double in[4], double out[4])
{
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
}

// The GL's own split of strips and fans.
int sourceVertex(GLenum mode, int k)
{
    const int t = k / 3, c = k % 3;
    if (mode == GL_TRIANGLE_STRIP)
        return t % 2 == 1 && c < 2 ? t + 1 - c : t + c;
    if (mode == GL_TRIANGLE_FAN)
        return c == 0 ? 0 : t + c;
    return k;
}

std::vector<Triangle> triangles(const std::vector<rec::Draw>& draws)
{
    std::vector<Triangle> out;
    for (const rec::Draw& d : draws) {
        const int n = static_cast<int>(d.vertices.size());
        const int corners = d.mode == GL_TRIANGLES ? n - n % 3 : (n >= 3 ? 3 * (n - 2) : 0);
        EXPECT_TRUE(d.mode == GL_TRIANGLES || d.mode == GL_TRIANGLE_STRIP || d.mode == GL_TRIANGLE_FAN);
        for (int k = 0; k < corners; k += 3) {
            Triangle t = {};
            t.enabled = d.enabled;
            t.texture1D = d.isEnabled(GL_TEXTURE_1D) ? d.texture1D : 0;
            t.texture2D = d.isEnabled(GL_TEXTURE_2D) ? d.texture2D : 0;
            for (int c = 0; c < 3; ++c) {
                const int i = sourceVertex(d.mode, k + c);
                const double v[4] = {d.vertices[i].x, d.vertices[i].y, d.zw.empty() ? 0.0 : d.zw[2 * i],
                                     d.zw.empty() ? 1.0 : d.zw[2 * i + 1]};
                double eye[4], clip[4];
                apply(d.modelview, v, eye);
                apply(d.projection, eye, clip);
                t.corners[c] = {clip[0], clip[1], clip[2], clip[3], d.colors.empty() ? d.color : d.colors[i],
                                d.texCoords.empty() ? rec::Vec2{0, 0} : d.texCoords[i]};
            }
            out.push_back(t);
        }
    }
    return out;
}

::testing::AssertionResult sameTriangles(const std::vector<Triangle>& exact, const std::vector<Triangle>& batched)
{
    if (exact.size() != batched.size())
        return ::testing::AssertionFailure() << exact.size() << " triangles exact, " << batched.size() << " batched";
    for (size_t i = 0; i < exact.size(); ++i) {
        const Triangle& a = exact[i];
        const Triangle& b = batched[i];
        if (a.enabled != b.enabled || a.texture1D != b.texture1D || a.texture2D != b.texture2D)
            return ::testing::AssertionFailure() << "triangle " << i << " drawn under other GL state";
        for (int c = 0; c < 3; ++c) {
            const Corner& p = a.corners[c];
            const Corner& q = b.corners[c];
            // Float arithmetic against this double reference: a few units
            // in the last place.
            auto near = [](double u, double v) { return std::fabs(u - v) <= 2e-6 * (1 + std::fabs(u)); };
            if (!near(p.x, q.x) || !near(p.y, q.y) || !near(p.z, q.z) || !near(p.w, q.w))
                return ::testing::AssertionFailure() << "triangle " << i << " corner " << c << " at (" << q.x
                                                     << ", " << q.y << "), exact (" << p.x << ", " << p.y << ")";
            if (!sameColor(p.color, q.color))
                return ::testing::AssertionFailure() << "triangle " << i << " in another colour";
            if (p.texCoord.x != q.texCoord.x || p.texCoord.y != q.texCoord.y)
                return ::testing::AssertionFailure() << "triangle " << i << " with other texture coordinates";
        }
    }
    return ::testing::AssertionSuccess();
}

class BatchingTest : public DrawingTest {
protected:
    void TearDown() override
    {
        grSetBatching(false);
        DrawingTest::TearDown();
    }

    // One frame of the display, as the renderer paints it, recorded.
    static std::vector<rec::Draw> displayFrame(bool batched)
    {
        grSetBatching(batched);
        rec::clearCalls();
        grBeginFrame();
        DrawDisplay();
        grEndFrame();
        grSetBatching(false);
        EXPECT_TRUE(rec::atFrameBaseline());
        EXPECT_FALSE(rec::clientStateEnabled(GL_COLOR_ARRAY));
        return rec::draws();
    }
};

}  // namespace

// Frames spread over a whole layout cycle: panels moving, scaled and parked.
TEST_F(BatchingTest, DisplayFramesReachClipSpaceAsTheSameTrianglesInFewerDraws)
{
    resetDisplayModel();
    for (int frame = 0; frame < 500; ++frame) {
        UpdateDisplayModel();
        if (frame % 50 != 7) {
            advancePanelLayout(g_model.firstFrame, g_model.phase);
            continue;
        }
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        const DisplayState before;
        const std::vector<rec::Draw> exact = displayFrame(false);
        before.restore();
        const std::vector<rec::Draw> batched = displayFrame(true);
        EXPECT_TRUE(sameTriangles(triangles(exact), triangles(batched)));
        EXPECT_GT(exact.size(), 500u);
        EXPECT_LE(batched.size(), 80u);
        for (const rec::Draw& d : batched) {
            EXPECT_EQ(d.mode, static_cast<GLenum>(GL_TRIANGLES));
            EXPECT_EQ(d.colors.size(), d.vertices.size()) << "a colour a vertex";
        }
    }
}

TEST_F(BatchingTest, DrawsUnderDifferentMatricesShareADrawInClipCoordinates)
{
    grSetBatching(true);
    grSetMode(GR_MODE_FILL, 1);
    grTranslate(7, 3);  // a modelview the draw's identity matrices must give back
    grRect(0, 0, 10, 10);
    grPushMatrix(1);
    grTranslate(100, 50);
    grRotate(30.0f);
    grSetColor(1);
    grRect(0, 0, 10, 10);
    grPopMatrix(1);
    EXPECT_TRUE(rec::draws().empty()) << "nothing reaches the GL before the batch is drawn";
    grEndFrame();
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& d = rec::draws()[0];
    ASSERT_EQ(d.vertices.size(), 12u) << "two strips of 4 as 2 triangles each";
    EXPECT_TRUE(sameColor(d.colors[0], {255, 0, 0}));
    EXPECT_TRUE(sameColor(d.colors[11], {0, 255, 0}));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(d.modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "identity matrices while it draws";
        EXPECT_EQ(d.projection[i], i % 5 == 0 ? 1.0f : 0.0f);
    }
    EXPECT_FLOAT_EQ(rec::modelview()[12], 7.0f) << "the matrices are restored after";
    EXPECT_FLOAT_EQ(rec::modelview()[13], 3.0f);
}

TEST_F(BatchingTest, ClipPlanesKeepEachBatchUnderItsOwnMatrix)
{
    grSetBatching(true);
    grSetMode(GR_MODE_FILL, 1);
    grClipRect(-100, -100, 100, 100);
    grRect(0, 0, 10, 10);
    grTranslate(5, 0);
    grRect(0, 0, 10, 10);
    grClipOp(0);
    grEndFrame();
    ASSERT_EQ(rec::draws().size(), 2u) << "clip planes act in eye coordinates: no clip-space merging";
    EXPECT_TRUE(rec::draws()[0].isEnabled(GL_CLIP_PLANE0));
    EXPECT_EQ(rec::draws()[0].modelview[12], 0.0f);
    EXPECT_EQ(rec::draws()[1].modelview[12], 5.0f);
    EXPECT_EQ(rec::draws()[1].vertices[0].x, rec::draws()[0].vertices[0].x) << "raw vertices, own matrix";
}

TEST_F(BatchingTest, StateChangesAndSizeEndABatch)
{
    grSetBatching(true);
    grLine(0, 0, 10, 0);
    grSetLinePattern(1);  // dashed: texture and blending
    grLine(0, 5, 10, 5);
    grLine(0, 9, 10, 9);
    grSetLinePattern(0);
    grPushClip(0);
    grClipOp(4);  // stencil mask: drawn before the stencil changes
    grLine(0, 0, 10, 10);
    grPopClip(0);
    grEndFrame();
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_FALSE(rec::draws()[0].isEnabled(GL_BLEND));
    EXPECT_TRUE(rec::draws()[1].isEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(rec::draws()[1].vertices.size(), 12u) << "both dashed lines in one draw";
    EXPECT_EQ(rec::draws()[1].texCoords.size(), 12u);
    EXPECT_TRUE(rec::draws()[2].isEnabled(GL_STENCIL_TEST));

    // Fans that fill a batched draw start the next one; a fan bigger than a
    // batched draw goes to the GL on its own. None of it is lost.
    rec::clearCalls();
    const int points = kMaxBatchVertices / 3;
    std::vector<GrPoint> fan(2 * points);
    for (int i = 0; i < 2 * points; ++i)
        fan[i] = {static_cast<int>(1000 * std::cos(i * 0.001)), static_cast<int>(1000 * std::sin(i * 0.001))};
    grPolygon(fan.data(), points);
    grPolygon(fan.data(), points);
    grPolygon(fan.data(), 2 * points);
    grEndFrame();
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_EQ(rec::draws()[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(rec::draws()[1].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(rec::draws()[2].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(triangles(rec::draws()).size(), 2u * (points - 2) + (2 * points - 2));
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(BatchingTest, ExactModeSetsBindingsAndParametersOncePerFrame)
{
    grSetFont(2);
    grText(10, 20, 0.0f, u"12");  // builds the glyphs
    grBeginFrame();
    rec::clearCalls();
    grText(10, 20, 0.0f, u"12");
    grText(10, 40, 0.0f, u"21");
    EXPECT_EQ(rec::callsNamed("glBindTexture").size(), 1u);
    EXPECT_EQ(rec::callsNamed("glTexParameteri").size(), 4u) << "filters and wraps of the page, once";
    EXPECT_EQ(rec::callsNamed("glDrawArrays").size(), 2u);
    EXPECT_EQ(rec::callsNamed("glColor3ub").size(), 2u) << "one colour call a part, repeated or not";

    grSetMode(GR_MODE_ANTIALIAS, 1);
    rec::clearCalls();
    grText(10, 20, 0.0f, u"12");
    EXPECT_EQ(rec::callsNamed("glTexParameteri").size(), 2u) << "the antialiased filters";

    grBeginFrame();  // the host may have changed anything in between
    rec::clearCalls();
    grText(10, 20, 0.0f, u"12");
    EXPECT_EQ(rec::callsNamed("glBindTexture").size(), 1u);
    EXPECT_EQ(rec::callsNamed("glTexParameteri").size(), 4u);
}
