#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "gl.h"
#include "recording_fixture.h"
#include "pattern.h"
#include "scratch.h"
#include "segments.h"
#include "state.h"
#include "tables.h"

class StateTest : public RecordingTest {};

TEST_F(StateTest, BeginFrameSetsTheBaselineInOrder)
{
    grSetMode(GR_MODE_ANTIALIAS, 1);
    grSetLinePattern(1);
    rec::clearCalls();
    grBeginFrame();
    EXPECT_EQ(rec::callNames(),
              (std::vector<std::string>{"glDisable", "glDisable", "glShadeModel", "glBlendFunc", "glDisable",
                                        "glDisable", "glTexEnvi", "glDisable", "glEnableClientState",
                                        "glDisableClientState", "glDisable"}));
    const std::vector<rec::Call> disables = rec::callsNamed("glDisable");
    const std::vector<double> order = {GL_STENCIL_TEST, GL_DEPTH_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D, GL_BLEND,
                                       GL_MULTISAMPLE};
    ASSERT_EQ(disables.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(disables[i].args[0], order[i]);
    EXPECT_EQ(g_draw.antialias, 0);
    EXPECT_EQ(g_draw.pattern, nullptr);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(StateTest, AntialiasSwitchCallsGlOnlyOnChangeAndRefiltersTheDashTexture)
{
    grSetMode(GR_MODE_ANTIALIAS, 0);
    EXPECT_TRUE(rec::callNames().empty());

    grSetLinePattern(1);
    const GLuint name = g_draw.patternTexture->name;
    EXPECT_EQ(rec::texture(name)->parameters.at(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    grSetMode(GR_MODE_ANTIALIAS, 1);
    EXPECT_TRUE(rec::isEnabled(GL_MULTISAMPLE));
    EXPECT_EQ(rec::texture(name)->parameters.at(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(rec::texture(name)->parameters.at(GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    grSetLinePattern(0);  // solid: its texture is not refiltered
    rec::clearCalls();
    grSetMode(GR_MODE_ANTIALIAS, 0);
    EXPECT_EQ(rec::callNames(), (std::vector<std::string>{"glDisable"}));

    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    grSetMode(7, 1);
    EXPECT_EQ(g_draw.fill, 1);
    EXPECT_EQ(g_draw.border, 1);
}

TEST_F(StateTest, SettersIndexTheTablesAndRejectBadIndices)
{
    grSetColor(4);
    grSetBorderColor(3);
    grSetLineWidth(5);
    grSetBorderWidth(1);
    EXPECT_EQ(g_draw.color->r, 121);
    EXPECT_EQ(g_draw.color->b, 140);
    EXPECT_EQ(g_draw.borderColor->g, 255);
    EXPECT_EQ(g_draw.lineWidth, 5.0f);
    EXPECT_EQ(g_draw.borderWidth, 1.0f);

    grSetColor(8);
    grSetColor(-1);
    grSetLineWidth(6);
    grSetBorderColor(5);
    grSetBorderWidth(2);
    grSetLinePattern(5);
    EXPECT_EQ(g_draw.color->r, 121);
    EXPECT_EQ(g_draw.lineWidth, 5.0f);
    EXPECT_EQ(grDiagnostics().rejectedIndices, 6);

    GrTables broken = displayTables();
    broken.colors = nullptr;
    EXPECT_FALSE(grUseTables(&broken));
    EXPECT_FALSE(grUseTables(nullptr));
}

// A host that shuts one display down and starts another in the same process:
// nothing selected for the first reaches the second, and nothing points into
// the first's tables once they are freed (the sanitizers watch).
TEST_F(StateTest, NewTablesResetEverySelectionSoTwoDisplaysNeverMix)
{
    grShutdown();
    const GrTables& second = displayTables();
    auto first = std::make_unique<GrColor[]>(2);
    first[0] = {200, 10, 10};
    first[1] = {10, 200, 10};
    auto firstPatterns = std::make_unique<LinePattern[]>(1);
    firstPatterns[0] = {0x0F0F, 1};
    GrTables tables = second;
    tables.colors = tables.borderColors = first.get();
    tables.colorCount = tables.borderColorCount = 2;
    tables.patterns = firstPatterns.get();
    tables.patternCount = 1;
    ASSERT_TRUE(grUseTables(&tables));
    ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
    grBeginFrame();
    grSetColor(1);
    grSetBorderColor(1);
    grSetLineWidth(3);
    grSetBorderWidth(2);
    grSetLinePattern(0);
    grSetFont(3);
    grSetImage(2);
    grSetTextAlign(2, 3);
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    grShutdown();
    first.reset();
    firstPatterns.reset();

    ASSERT_TRUE(grUseTables(&second));
    EXPECT_EQ(g_draw.color, nullptr);
    EXPECT_EQ(g_draw.borderColor, nullptr);
    EXPECT_EQ(g_draw.lineWidth, 0.0f);
    EXPECT_EQ(g_draw.borderWidth, 0.0f);
    EXPECT_EQ(g_draw.pattern, nullptr);
    EXPECT_EQ(g_draw.patternTexture, nullptr);
    EXPECT_EQ(g_draw.font, 0);
    EXPECT_EQ(g_draw.image, 0);
    EXPECT_EQ(g_draw.alignHorizontal, 0);
    EXPECT_EQ(g_draw.alignVertical, 0);
    EXPECT_EQ(g_draw.fill, 0);
    EXPECT_EQ(g_draw.border, 0);
    ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
    grBeginFrame();
    rec::clearCalls();
    grRect(0, 0, 10, 10);
    grLine(0, 0, 10, 10);
    EXPECT_TRUE(rec::callsNamed("glColor3ub").empty()) << "nothing is drawn before the second display selects a colour";
    grSetColor(0);
    grSetLineWidth(1);
    grRect(0, 0, 10, 10);
    const std::vector<rec::Call> colors = rec::callsNamed("glColor3ub");
    ASSERT_EQ(colors.size(), 1u) << "a plain fill: the second display's fill switch starts off as well";
    EXPECT_EQ(colors[0].args, (std::vector<double>{second.colors[0].r * 1.0, second.colors[0].g * 1.0,
                                                   second.colors[0].b * 1.0}));
}

TEST_F(StateTest, MatrixStackSavesAndRestoresAndRefusesToOverflow)
{
    grTranslate(5, 7);
    grPushMatrix(1);
    grRotate(90.0f);
    grScale(2.0f, 3.0f);
    EXPECT_NEAR(rec::modelview()[0], 0.0f, 1e-6);
    grPopMatrix(1);
    EXPECT_FLOAT_EQ(rec::modelview()[0], 1.0f);
    EXPECT_FLOAT_EQ(rec::modelview()[12], 5.0f);
    EXPECT_FLOAT_EQ(rec::modelview()[13], 7.0f);

    // Pushes beyond the stack are ignored, and so are their pops, so the
    // outer pairs still restore their own matrices.
    grPushMatrix(0);  // holds the translation (5, 7)
    grTranslate(100, 0);
    for (int i = 0; i < GR_MAX_MATRIX_DEPTH + 2; ++i)
        grPushMatrix(i);
    EXPECT_EQ(grDiagnostics().matrixOverflows, 3);
    for (int i = 0; i < GR_MAX_MATRIX_DEPTH + 2; ++i)
        grPopMatrix(i);
    EXPECT_FLOAT_EQ(rec::modelview()[12], 105.0f);
    grPopMatrix(0);
    EXPECT_FLOAT_EQ(rec::modelview()[12], 5.0f);
    EXPECT_EQ(g_draw.matrixIndex, -1);
    grPopMatrix(0);
    grPopMatrix(0);
    EXPECT_EQ(grDiagnostics().matrixUnderflows, 2);
    EXPECT_EQ(g_draw.matrixIndex, -1);
}

TEST_F(StateTest, PatternSelectionCreatesOnceBindsOncePerFrame)
{
    grSetLinePattern(2);
    grSetLinePattern(2);
    EXPECT_EQ(rec::callsNamed("glGenTextures").size(), 1u);
    EXPECT_EQ(rec::callsNamed("glBindTexture").size(), 2u) << "one bind to upload, one to select";
    const GLuint name = g_draw.patternTexture->name;
    EXPECT_EQ(rec::texture(name)->parameters.at(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(rec::texture(name)->parameters.at(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(g_draw.patternTexture->length, 32.0f);

    grBeginFrame();
    rec::clearCalls();
    grSetLinePattern(2);
    EXPECT_EQ(rec::callsNamed("glGenTextures").size(), 0u);
    ASSERT_EQ(rec::callsNamed("glBindTexture").size(), 1u);
    EXPECT_EQ(rec::callsNamed("glBindTexture")[0].args[1], name);

    grSetLinePattern(0);
    EXPECT_NE(g_draw.patternTexture, nullptr) << "the solid mask gets its texture too";
}

TEST_F(StateTest, TheEmptyMaskCreatesNoTexture)
{
    selectEmptyMask();
    EXPECT_EQ(g_draw.patternTexture, nullptr);
    EXPECT_TRUE(rec::callsNamed("glGenTextures").empty());
}

TEST_F(StateTest, PatternTexelsFollowTheMaskAndRepeat)
{
    unsigned char texels[256];
    auto expand = [](std::initializer_list<std::pair<int, int>> runs) {
        std::vector<unsigned char> out;
        for (auto [value, count] : runs)
            out.insert(out.end(), count, static_cast<unsigned char>(value));
        return out;
    };
    int n = buildPatternTexels({0xF0F0, 0}, texels);
    EXPECT_EQ(std::vector<unsigned char>(texels, texels + n), expand({{0, 4}, {255, 4}, {0, 4}, {255, 4}}));
    n = buildPatternTexels({0xF18F, 0}, texels);
    EXPECT_EQ(std::vector<unsigned char>(texels, texels + n),
              expand({{255, 4}, {0, 3}, {255, 2}, {0, 3}, {255, 4}}));
    n = buildPatternTexels({0xF0F0, 1}, texels);
    EXPECT_EQ(std::vector<unsigned char>(texels, texels + n), expand({{0, 8}, {255, 8}, {0, 8}, {255, 8}}));
    n = buildPatternTexels({0xF18F, 1}, texels);
    EXPECT_EQ(std::vector<unsigned char>(texels, texels + n),
              expand({{255, 8}, {0, 6}, {255, 4}, {0, 6}, {255, 8}}));
    EXPECT_EQ(buildPatternTexels({0x0001, 15}, texels), 256);
    EXPECT_EQ(buildPatternTexels({0x0001, 20}, texels), 256);
    EXPECT_EQ(texels[15], 255);
    EXPECT_EQ(texels[16], 0);
    EXPECT_EQ(patternLength({0x0001, 20}), 336.0f) << "the designed length is kept";
    EXPECT_EQ(buildPatternTexels({0x0001, -7}, texels), 16);

    // What reaches GL is the same byte string, as GL_ALPHA.
    grSetLinePattern(1);
    const rec::Texture* texture = rec::texture(g_draw.patternTexture->name);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->internalFormat, GL_ALPHA);
    EXPECT_EQ(texture->texels, expand({{0, 4}, {255, 4}, {0, 4}, {255, 4}}));
}

TEST_F(StateTest, FailedUploadLeavesNoTextureAndIsRetried)
{
    rec::raiseError(GL_INVALID_OPERATION);  // an earlier error must not be blamed on the upload
    rec::failNextTexImage();
    grSetLinePattern(3);
    EXPECT_EQ(g_draw.patternTexture, nullptr);
    EXPECT_EQ(g_draw.patternTextures[3].name, 0u);
    EXPECT_EQ(rec::liveTextureCount(), 0);

    grBeginFrame();
    grSetLinePattern(3);
    ASSERT_NE(g_draw.patternTexture, nullptr);
    EXPECT_NE(g_draw.patternTextures[3].name, 0u);
}

TEST_F(StateTest, ShutdownReleasesTexturesAndScratch)
{
    grSetLinePattern(1);
    grSetLinePattern(2);
    ASSERT_TRUE(ensureScratchPair(10, 10));
    EXPECT_EQ(rec::liveTextureCount(), 2);
    grShutdown();
    EXPECT_EQ(rec::liveTextureCount(), 0);
    EXPECT_EQ(g_draw.vertexScratch.data, nullptr);
    EXPECT_EQ(g_draw.texCoordScratch.capacity, 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g_draw.patternTextures[i].name, 0u);
    grShutdown();  // a second release is harmless
}

TEST(Scratch, GrowsByTheFactorAndOnlyWhenNeeded)
{
    grInit(1.5f);
    ASSERT_TRUE(ensureVertexScratch(10));
    EXPECT_EQ(g_draw.vertexScratch.capacity, 15);
    float* first = g_draw.vertexScratch.data;
    ASSERT_TRUE(ensureVertexScratch(15));
    EXPECT_EQ(g_draw.vertexScratch.data, first);
    ASSERT_TRUE(ensureVertexScratch(16));
    EXPECT_EQ(g_draw.vertexScratch.capacity, 24);
    ASSERT_TRUE(ensureScratchPair(3, 7));
    EXPECT_EQ(g_draw.texCoordScratch.capacity, 10);
    EXPECT_FALSE(ensureVertexScratch(kMaxScratchPairs + 1));

    grInit(0.25f);  // a factor below 1 must still give the room asked for
    ASSERT_TRUE(ensureVertexScratch(100));
    EXPECT_GE(g_draw.vertexScratch.capacity, 100);
    grShutdown();
}

TEST(Scratch, GrowthFactorsOutOfRangeAreClampedAndCounted)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float given;
        int capacityFor100;  // pairs held after asking for 100
        int counted;
    } cases[] = {
        {1.5f, 150, 0}, {1.0f, 100, 0}, {8.0f, 800, 0}, {0.25f, 100, 1}, {-3.0f, 100, 1}, {0.0f, 100, 1},
        {std::nanf(""), 100, 1}, {-inf, 100, 1}, {8.5f, 800, 1}, {1e30f, 800, 1}, {inf, 800, 1},
    };
    for (const auto& c : cases) {
        grResetDiagnostics();
        grInit(c.given);
        ASSERT_TRUE(ensureVertexScratch(100)) << c.given;
        EXPECT_EQ(g_draw.vertexScratch.capacity, c.capacityFor100) << c.given;
        EXPECT_EQ(grDiagnostics().rejectedArguments, c.counted) << c.given;
        grShutdown();
    }
}

TEST(SegmentCounts, MatchTheirFormulas)
{
    EXPECT_EQ(arcSegments(100.0f, 90.0f), 15);
    EXPECT_EQ(arcSegments(100.5f, 90.0f), 15);
    EXPECT_EQ(arcSegments(1.0f, 30.0f), 2);
    EXPECT_EQ(arcSegments(100.0f, -90.0f), 15);
    EXPECT_EQ(arcSegments(100.0f, 720.0f), 60);
    EXPECT_EQ(arcSegments(0.0f, 360.0f), 2);
    EXPECT_EQ(circleSegments(0.5f), 6);
    EXPECT_EQ(circleSegments(100.0f), 60);
    EXPECT_EQ(circleSegments(10.5f), 18);
    EXPECT_EQ(circleSegments(-3.0f), 6);
    EXPECT_EQ(ellipseSegments(16.0f, 16.0f), 24);
    EXPECT_EQ(ellipseSegments(16.0f, 4.0f), 48);
    EXPECT_EQ(ellipseSegments(0.0f, 4.0f), 0);
    EXPECT_LE(ellipseSegments(1.0e9f, 1.0f), 65536);
    EXPECT_EQ(minf(1.0f, 2.0f), 1.0f);
    EXPECT_EQ(maxf(1.0f, 2.0f), 2.0f);
    EXPECT_EQ(maxi(-3, 2), 2);
}
