#include <gtest/gtest.h>

#include "image_recording.h"

namespace {

class ImageDrawTest : public ImageRecordingTest {
protected:
    static void SetUpTestSuite()
    {
        writeTestImage("image-tests/draw-wide.png", distinctImage(100, 30));
        writeTestImage("image-tests/draw-one.png", distinctImage(1, 1));
    }

    void SetUp() override
    {
        ImageRecordingTest::SetUp();
        ASSERT_EQ(InitWith({{u"image-tests/draw-wide.png", 0, 0}, {u"image-tests/draw-one.png", 0, 0}}),
                  GR_INIT_OK);
        useKnownDrawingState();  // colour red: the image must not take it
        rec::clearCalls();
    }

    static GLint Parameter(int image, GLenum name) { return TextureOf(image).parameters.at(name); }
};

}  // namespace

TEST_F(ImageDrawTest, DrawsOneUntintedStripOnPixelBoundariesWithTheImagesPartOfTheTexture)
{
    grSetImage(0);
    grImage(10, 20);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& draw = rec::draws()[0];
    EXPECT_TRUE(rec::isDraw(draw, GL_TRIANGLE_STRIP, {255, 255, 255},
                            {{9.625f, 19.625f}, {9.625f, 49.625f}, {109.625f, 19.625f}, {109.625f, 49.625f}}));
    EXPECT_TRUE(rec::hasTexCoords(draw, {{0, 0.9375f}, {0, 0}, {0.78125f, 0.9375f}, {0.78125f, 0}}))
        << "the image's top row at the top";
    EXPECT_EQ(draw.texture2D, Record(0).texture);
    EXPECT_TRUE(draw.isEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(draw.isEnabled(GL_BLEND));
    EXPECT_FALSE(draw.isEnabled(GL_TEXTURE_1D));
    const std::vector<rec::Call> colors = rec::callsNamed("glColor4f");
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_EQ(colors[0].args, (std::vector<double>{1, 1, 1, 1}));
    EXPECT_EQ(Parameter(0, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(Parameter(0, GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ImageDrawTest, EachIndexDrawsItsOwnTextureAndSize)
{
    grSetImage(1);
    grImage(-3, 0);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, {255, 255, 255},
                            {{-3.375f, -0.375f}, {-3.375f, 0.625f}, {-2.375f, -0.375f}, {-2.375f, 0.625f}}));
    EXPECT_TRUE(rec::hasTexCoords(rec::draws()[0], {{0, 1}, {0, 0}, {1, 1}, {1, 0}}));
    EXPECT_EQ(rec::draws()[0].texture2D, Record(1).texture);
}

TEST_F(ImageDrawTest, FilterFollowsTheAntialiasingSwitchOnEveryDraw)
{
    grSetImage(0);
    grImage(0, 0);
    EXPECT_EQ(Parameter(0, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(Parameter(0, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    grSetMode(GR_MODE_ANTIALIAS, 1);
    grImage(0, 0);
    EXPECT_EQ(Parameter(0, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(0, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    grSetMode(GR_MODE_ANTIALIAS, 0);
    grImage(0, 0);
    EXPECT_EQ(Parameter(0, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ImageDrawTest, IndicesOutsideTheTableOrWithoutAnImageDrawNothing)
{
    for (int index : {-1, 2, int{GR_MAX_IMAGES}, 1 << 30}) {
        grSetImage(index);
        grImage(0, 0);
    }
    EXPECT_TRUE(rec::calls().empty());
    EXPECT_EQ(grDiagnostics().rejectedIndices, 4);

    grShutdown();
    grSetImage(0);
    grImage(0, 0);
    EXPECT_TRUE(rec::draws().empty()) << "released images are gone";
    EXPECT_EQ(grDiagnostics().rejectedIndices, 5);
}

TEST_F(ImageDrawTest, StartingAgainWithoutImagesForgetsTheEarlierOnes)
{
    ASSERT_TRUE(grUseTables(&displayTables()));
    ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
    rec::clearCalls();
    grSetImage(0);
    grImage(5, 5);
    EXPECT_TRUE(rec::draws().empty());
}
