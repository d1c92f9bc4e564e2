#include <GL/gl.h>

#include <string>

#include "display_renderer.h"
#include "egl_headless.h"
#include "image_files.h"
#include "pixel_fixture.h"
#include "tables.h"

namespace {

constexpr Rgb kBlue = {0, 0, 255};
constexpr int kImageWidth = 20;
constexpr int kImageHeight = 12;

// The distinct picture with a magenta key colour in two places and a fully
// transparent (but not keyed) pixel.
RgbaImage sceneImage()
{
    RgbaImage image = distinctImage(kImageWidth, kImageHeight);
    auto set = [&](int x, int y, std::array<uint8_t, 4> rgba) {
        std::copy(rgba.begin(), rgba.end(), &image.pixels[(static_cast<size_t>(y) * kImageWidth + x) * 4]);
    };
    set(0, 0, {255, 0, 255, 255});
    set(7, 5, {255, 0, 255, 128});
    set(12, 9, {90, 90, 90, 0});
    return image;
}

bool keyedOrClear(int x, int row) { return (x == 0 && row == 0) || (x == 7 && row == 5) || (x == 12 && row == 9); }

class ImagePixelTest : public PixelTest {
protected:
    void SetUp() override
    {
        writeTestImage("image-tests/scene.png", sceneImage());
        PixelTest::SetUp();
        grShutdown();
        tables_ = displayTables();
        tables_.images = kImages;
        tables_.imageCount = 1;
        ASSERT_TRUE(grUseTables(&tables_));
        ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
        grBeginFrame();
        grSetColor(2);  // blue ground under the images
        grSetMode(GR_MODE_FILL, 1);
        grRect(-10, -10, 246, 246);
        grSetImage(0);
    }

    // Expects the picture drawn with its lower left corner at display (x, y),
    // one texel a pixel, the keyed and transparent pixels showing the ground.
    void ExpectImageAt(int x, int y)
    {
        const RgbaImage image = sceneImage();
        int wrong = 0;
        for (int row = 0; row < kImageHeight; ++row)
            for (int col = 0; col < kImageWidth; ++col) {
                const uint8_t* p = &image.pixels[(static_cast<size_t>(row) * kImageWidth + col) * 4];
                const Rgb want = keyedOrClear(col, row) ? kBlue : Rgb{p[0], p[1], p[2]};
                const Rgb got = At(x + col, y + kImageHeight - 1 - row);
                if (!(got == want) && ++wrong <= 3)
                    ADD_FAILURE() << "texel (" << col << ", " << row << "): " << got << " is not " << want;
            }
        EXPECT_EQ(wrong, 0);
        for (int i = -1; i <= kImageWidth; ++i) {
            EXPECT_EQ(At(x + i, y - 1), kBlue) << "below, at " << i;
            EXPECT_EQ(At(x + i, y + kImageHeight), kBlue) << "above, at " << i;
        }
        for (int j = 0; j < kImageHeight; ++j) {
            EXPECT_EQ(At(x - 1, y + j), kBlue) << "left, at " << j;
            EXPECT_EQ(At(x + kImageWidth, y + j), kBlue) << "right: the padding is not drawn, at " << j;
        }
    }

    static constexpr ImageSpec kImages[] = {{u"image-tests/scene.png", 1, 0x00FF00FF}};
    GrTables tables_{};
};

// Shows the failure message instead of a message box, and remembers it.
class ReportingSurface : public EglPbufferSurface {
public:
    using EglPbufferSurface::EglPbufferSurface;
    void ReportError(const char* text, const char* caption) override
    {
        ++reports;
        this->text = text;
        this->caption = caption;
    }
    int reports = 0;
    std::string text, caption;
};

}  // namespace

TEST_F(ImagePixelTest, ImageCoversItsOwnPixelsTexelForPixelAndKeyedPixelsShowWhatLiesBeneath)
{
    grImage(0, 0);
    grImage(150, 101);
    grPushMatrix(0);
    grTranslate(40, 200);
    grImage(0, 0);
    grPopMatrix(0);
    Capture();
    Save("image_scene");
    ExpectImageAt(0, 0);
    ExpectImageAt(150, 101);
    ExpectImageAt(40, 200);
}

TEST(ImageRenderer, MissingImageFileShowsTheSymbolMessageAndCreateFails)
{
    static const ImageSpec missing[] = {{u"image-tests/no-such-file.png", 0, 0}};
    GrTables tables = displayTables();
    tables.images = missing;
    tables.imageCount = 1;

    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    ReportingSurface surface(16, 16);
    EXPECT_FALSE(renderer.Create(&surface, 0, &tables));
    EXPECT_EQ(surface.reports, 1);
    EXPECT_EQ(surface.text, "Ошибка загрузки символов.");
    EXPECT_EQ(surface.caption, "Ошибка");

    ReportingSurface working(16, 16);
    EXPECT_TRUE(renderer.Create(&working, 0)) << "the display's own tables name no image";
    EXPECT_EQ(working.reports, 0);
    renderer.Destroy();
}
