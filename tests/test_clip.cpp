#include <gtest/gtest.h>

#include "recording_fixture.h"
#include "state.h"
#include "tables.h"

namespace {

using Names = std::vector<std::string>;
using Args = std::vector<double>;

const GLenum kPlanes[] = {GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3};

class ClipTest : public RecordingTest {
protected:

    // The arguments of every call named name, in order.
    static std::vector<Args> argsOf(const std::string& name)
    {
        std::vector<Args> out;
        for (const rec::Call& call : rec::callsNamed(name))
            out.push_back(call.args);
        return out;
    }
    static std::vector<bool> planesEnabled()
    {
        std::vector<bool> out;
        for (GLenum plane : kPlanes)
            out.push_back(rec::isEnabled(plane));
        return out;
    }
};

TEST_F(ClipTest, HalfPlaneSidesSetPlaneZeroHalfAPixelInside)
{
    const std::vector<Args> expected = {
        {GL_CLIP_PLANE0, 1, 0, 0, -50.5},
        {GL_CLIP_PLANE0, -1, 0, 0, 49.5},
        {GL_CLIP_PLANE0, 0, -1, 0, 49.5},
        {GL_CLIP_PLANE0, 0, 1, 0, -50.5},
    };
    for (int side = 0; side < 4; ++side) {
        rec::clearCalls();
        grClipHalfPlane(side, 50);
        EXPECT_EQ(rec::callNames(), (Names{"glClipPlane", "glEnable"})) << "side " << side;
        EXPECT_EQ(argsOf("glClipPlane"), std::vector<Args>{expected[side]}) << "side " << side;
        EXPECT_EQ(argsOf("glEnable"), std::vector<Args>{{GL_CLIP_PLANE0}});
        EXPECT_EQ(g_draw.clip.halfPlaneSide, side);
    }
    EXPECT_EQ(g_draw.clip.halfPlaneValue, 50);
}

TEST_F(ClipTest, InvalidHalfPlaneSideIsRefusedAndKeepsTheState)
{
    grClipHalfPlane(1, 30);
    const ClipState before = g_draw.clip;
    rec::clearCalls();
    grClipHalfPlane(4, 10);
    grClipHalfPlane(-1, 10);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 2);
    EXPECT_EQ(g_draw.clip.halfPlaneSide, before.halfPlaneSide);
    EXPECT_EQ(g_draw.clip.halfPlaneValue, before.halfPlaneValue);
}

TEST_F(ClipTest, RectSetsFourPlanesThenEnablesThemInOrder)
{
    grClipRect(10, 20, 110, 70);
    EXPECT_EQ(rec::callNames(), (Names{"glClipPlane", "glClipPlane", "glClipPlane", "glClipPlane", "glEnable",
                                       "glEnable", "glEnable", "glEnable"}));
    const std::vector<Args> planes = {
        {GL_CLIP_PLANE0, 1, 0, 0, -10.5},
        {GL_CLIP_PLANE1, 0, 1, 0, -20.5},
        {GL_CLIP_PLANE2, -1, 0, 0, 109.5},
        {GL_CLIP_PLANE3, 0, -1, 0, 69.5},
    };
    EXPECT_EQ(argsOf("glClipPlane"), planes);
    EXPECT_EQ(argsOf("glEnable"),
              (std::vector<Args>{{GL_CLIP_PLANE0}, {GL_CLIP_PLANE1}, {GL_CLIP_PLANE2}, {GL_CLIP_PLANE3}}));

    rec::clearCalls();
    grClipRect(110, 70, 10, 20);
    EXPECT_EQ(argsOf("glClipPlane"), planes) << "swapped corners name the same rectangle";
}

TEST_F(ClipTest, HalfPlaneOverARectReplacesPlaneZeroOnly)
{
    grClipRect(10, 20, 110, 70);
    rec::clearCalls();
    grClipHalfPlane(1, 30);
    EXPECT_EQ(argsOf("glClipPlane"), (std::vector<Args>{{GL_CLIP_PLANE0, -1, 0, 0, 29.5}}));
    EXPECT_TRUE(rec::callsNamed("glDisable").empty());
    EXPECT_EQ(planesEnabled(), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(g_draw.clip.rectActive, 1);
}

TEST_F(ClipTest, StencilOpsSwitchThePlanesOffThenSetTheStencil)
{
    struct Case {
        int op;
        GLenum func;
        int ref;
        GLenum fail;
    };
    for (const Case& c : {Case{1, GL_EQUAL, 1, GL_KEEP}, Case{2, GL_EQUAL, 0, GL_KEEP},
                          Case{3, GL_NEVER, 1, GL_REPLACE}, Case{4, GL_NEVER, 1, GL_REPLACE},
                          Case{5, GL_NEVER, 0, GL_REPLACE}}) {
        grClipRect(10, 20, 110, 70);
        grClipHalfPlane(0, 5);
        rec::clearCalls();
        grClipOp(c.op);
        Names names = {"glDisable", "glDisable", "glDisable", "glDisable", "glDisable",
                       "glStencilFunc", "glStencilOp", "glEnable"};
        if (c.op == 3)
            names.insert(names.begin(), "glClear");
        EXPECT_EQ(rec::callNames(), names) << "op " << c.op;
        EXPECT_EQ(argsOf("glClear").size(), c.op == 3 ? 1u : 0u);
        EXPECT_EQ(argsOf("glStencilFunc"), (std::vector<Args>{{double(c.func), double(c.ref), 0xFFFFFFFFu}}));
        EXPECT_EQ(argsOf("glStencilOp"), (std::vector<Args>{{double(c.fail), GL_KEEP, GL_KEEP}}));
        EXPECT_TRUE(rec::isEnabled(GL_STENCIL_TEST));
        EXPECT_EQ(planesEnabled(), (std::vector<bool>{false, false, false, false})) << "op " << c.op;
        EXPECT_EQ(g_draw.clip.halfPlaneActive + g_draw.clip.rectActive, 0);
        EXPECT_EQ(g_draw.clip.stencilMode, c.func == GL_EQUAL ? 1 : 0);
        EXPECT_EQ(g_draw.clip.stencilRef, c.ref);
    }
}

TEST_F(ClipTest, SwitchingOpsTurnOffOnlyWhatIsActive)
{
    grClipOp(1);
    grClipHalfPlane(2, 40);
    rec::clearCalls();
    grClipOp(6);  // keep only the half-plane
    EXPECT_EQ(argsOf("glDisable"), (std::vector<Args>{{GL_STENCIL_TEST}}));
    EXPECT_TRUE(rec::isEnabled(GL_CLIP_PLANE0));

    grClipOp(1);
    grClipRect(0, 0, 50, 50);
    rec::clearCalls();
    grClipOp(7);  // keep only the rectangle
    EXPECT_EQ(argsOf("glDisable"), (std::vector<Args>{{GL_STENCIL_TEST}}));
    EXPECT_EQ(planesEnabled(), (std::vector<bool>{true, true, true, true}));

    grClipHalfPlane(0, 5);
    grClipOp(4);
    grClipRect(0, 0, 50, 50);
    grClipHalfPlane(0, 5);
    rec::clearCalls();
    grClipOp(0);
    EXPECT_EQ(rec::callNames(), (Names(6, "glDisable")));
    EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(planesEnabled(), (std::vector<bool>{false, false, false, false}));

    rec::clearCalls();
    grClipOp(0);
    grClipOp(8);
    grClipOp(-1);
    EXPECT_TRUE(rec::callNames().empty()) << "nothing active, nothing to switch off; 8 and -1 are no ops";
}

TEST_F(ClipTest, PushSavesWithoutGlAndPopSwitchesOffWhatWasNotSaved)
{
    grPushClip(1);
    EXPECT_TRUE(rec::callNames().empty());
    grClipRect(10, 20, 110, 70);
    rec::clearCalls();
    grPopClip(1);
    EXPECT_EQ(planesEnabled(), (std::vector<bool>{false, false, false, false}));
    EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
    EXPECT_TRUE(rec::callsNamed("glClipPlane").empty());
    EXPECT_EQ(g_draw.clip.rectActive, 0);
    EXPECT_EQ(g_draw.clipIndex, -1);
}

TEST_F(ClipTest, PopSwitchesTheStencilOffAndSetsTheHalfPlaneAgain)
{
    grClipHalfPlane(3, 12);
    grPushClip(1);
    grClipOp(1);
    rec::clearCalls();
    grPopClip(1);
    EXPECT_EQ(rec::callNames(), (Names{"glDisable", "glClipPlane", "glEnable"}));
    EXPECT_EQ(argsOf("glDisable"), (std::vector<Args>{{GL_STENCIL_TEST}}));
    EXPECT_EQ(argsOf("glClipPlane"), (std::vector<Args>{{GL_CLIP_PLANE0, 0, 1, 0, -12.5}}));
    EXPECT_EQ(g_draw.clip.halfPlaneActive, 1);
    EXPECT_EQ(g_draw.clip.stencilActive, 0);
}

TEST_F(ClipTest, PopLeavesNothingOnThatTheRestoredStateDoesNotKnow)
{
    grClipHalfPlane(0, 5);
    grPushClip(1);
    grClipOp(1);
    grClipRect(0, 0, 50, 50);  // stencil and rectangle at once
    grPopClip(1);
    EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(planesEnabled(), (std::vector<bool>{true, false, false, false}));

    grClipOp(2);
    grPushClip(2);
    grClipRect(0, 0, 50, 50);
    grClipHalfPlane(0, 5);  // half-plane over the rectangle
    grPopClip(2);
    EXPECT_EQ(planesEnabled(), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(rec::isEnabled(GL_STENCIL_TEST));
}

TEST_F(ClipTest, PopReappliesOnlyTheFirstActiveMechanism)
{
    grClipOp(1);
    grClipRect(10, 20, 110, 70);
    grPushClip(1);
    grClipOp(0);
    rec::clearCalls();
    grPopClip(1);
    EXPECT_EQ(argsOf("glClipPlane").size(), 4u);
    EXPECT_TRUE(rec::callsNamed("glStencilFunc").empty());
    EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(g_draw.clip.stencilActive, 1) << "the whole saved state comes back";
}

TEST_F(ClipTest, DisplayMasksItsNeedleWithAPushedStencil)
{
    grSetColor(0);
    grSetMode(GR_MODE_FILL, 1);
    grPushClip(1);
    grClipOp(4);
    grRect(20, 20, 60, 60);
    grPopClip(1);
    EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
    grPushClip(2);
    grClipOp(1);
    grRect(0, 0, 100, 100);
    const std::vector<Args> funcs = argsOf("glStencilFunc");
    grPopClip(2);

    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::draws()[0].isEnabled(GL_STENCIL_TEST));
    EXPECT_TRUE(rec::draws()[1].isEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(funcs, (std::vector<Args>{{GL_NEVER, 1, 0xFFFFFFFFu}, {GL_EQUAL, 1, 0xFFFFFFFFu}}));
    EXPECT_FALSE(rec::isEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(g_draw.clip.stencilActive, 0);
    EXPECT_EQ(g_draw.clipIndex, -1);
}

TEST_F(ClipTest, OverflowAndUnderflowAreCountedAndKeepPushesPaired)
{
    for (int i = 0; i <= GR_MAX_CLIP_DEPTH; ++i) {
        grClipHalfPlane(0, i);
        grPushClip(i);
    }
    EXPECT_EQ(grDiagnostics().clipOverflows, 1);
    grClipOp(0);
    rec::clearCalls();
    grPopClip(GR_MAX_CLIP_DEPTH);  // pairs with the ignored push
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(g_draw.clip.halfPlaneActive, 0);
    grPopClip(GR_MAX_CLIP_DEPTH - 1);
    EXPECT_EQ(g_draw.clip.halfPlaneValue, GR_MAX_CLIP_DEPTH - 1);
    for (int i = GR_MAX_CLIP_DEPTH - 2; i >= 0; --i)
        grPopClip(i);
    EXPECT_EQ(g_draw.clip.halfPlaneValue, 0);
    EXPECT_EQ(g_draw.clipIndex, -1);

    rec::clearCalls();
    grPopClip(0);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().clipUnderflows, 1);
    EXPECT_EQ(g_draw.clipIndex, -1);
    EXPECT_EQ(grDiagnostics().clipOverflows, 1);
}

}  // namespace
