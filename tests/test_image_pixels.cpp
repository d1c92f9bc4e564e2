#include <GL/gl.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
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
    void ReportError(const char* text, const char* detail, const char* caption) override
    {
        ++reports;
        this->text = text;
        this->detail = detail;
        this->caption = caption;
    }
    int reports = 0;
    std::string text, detail, caption;
};

// A BMP header claiming 100000 x 100000 pixels and nothing after it.
std::string oversizedBmpHeader()
{
    std::string bytes(54, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 100000);
    put32(22, 100000);
    bytes[26] = 1;
    bytes[28] = 24;
    return bytes;
}

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

// Each unloadable image keeps the one message and adds its file and cause:
// as the box's detail, and on stderr whatever the surface.
TEST(ImageRenderer, ImageLoadFailuresShowTheSymbolMessageWithFileAndCause)
{
    struct Case {
        const char16_t* name;
        const char* file;
        bool exists;
        std::string contents;
        std::string cause;
    };
    const Case cases[] = {
        {u"image-tests/no-such-file.png", "no-such-file.png", false, "", "cannot be opened"},
        {u"image-tests/empty.png", "empty.png", true, "", "not a PNG, BMP, JPEG or GIF file"},
        {u"image-tests/oversized.bmp", "oversized.bmp", true, oversizedBmpHeader(), "is larger than"},
        {u"image-tests/text.png", "text.png", true, "plain text, no picture\n", "not a PNG, BMP, JPEG or GIF file"},
    };
    EglProbe probe;
    DisplayRenderer renderer;
    ASSERT_TRUE(renderer.Init(probe)) << probe.Error();
    for (const Case& c : cases) {
        const std::filesystem::path path = executableFolder() / "image-tests" / c.file;
        std::filesystem::create_directories(path.parent_path());
        if (c.exists) {
            // Replaced whole, never rewritten in place: the suite runs on
            // several backends at once, and another run may be reading it.
            const std::filesystem::path written = path.string() + "." + std::to_string(getpid());
            std::ofstream(written, std::ios::binary) << c.contents;
            std::filesystem::rename(written, path);
        }
        const ImageSpec images[] = {{c.name, 0, 0}};
        GrTables tables = displayTables();
        tables.images = images;
        tables.imageCount = 1;

        ReportingSurface surface(16, 16);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(renderer.Create(&surface, 0, &tables)) << c.file;
        const std::string stderrText = testing::internal::GetCapturedStderr();
        EXPECT_EQ(surface.reports, 1);
        EXPECT_EQ(surface.text, "Ошибка загрузки символов.");
        EXPECT_EQ(surface.caption, "Ошибка");
        EXPECT_EQ(surface.detail.rfind(path.string() + ": ", 0), 0u) << surface.detail;
        EXPECT_NE(surface.detail.find(c.cause), std::string::npos) << surface.detail;
        EXPECT_EQ(stderrText, "Ошибка: Ошибка загрузки символов. " + surface.detail + "\n");
    }

    ReportingSurface working(16, 16);
    EXPECT_TRUE(renderer.Create(&working, 0)) << "the display's own tables name no image";
    EXPECT_EQ(working.reports, 0);
    renderer.Destroy();
}
