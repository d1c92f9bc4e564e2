// Image files through GDI+ and the shell path functions: names resolved
// against the executable's folder, pixels in their byte order, the colour
// key and the padding of the texture.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "image_recording.h"
#include "png_file.h"

namespace fs = std::filesystem;

namespace {

fs::path exeFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

void writeImage(const fs::path& path, const RgbaImage& image)
{
    fs::create_directories(path.parent_path());
    std::string error;
    const std::u8string utf8 = path.u8string();
    ASSERT_TRUE(writePng(std::string(utf8.begin(), utf8.end()), image, &error)) << error;
}

// Every pixel differs and its alpha is 200 - x, so byte order and alpha show.
RgbaImage distinct(int width, int height)
{
    RgbaImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x * 2 + 1);
            p[1] = static_cast<uint8_t>(y * 7 + 3);
            p[2] = 50;
            p[3] = static_cast<uint8_t>(200 - x);
        }
    return image;
}

class GdiplusImageTest : public ImageRecordingTest {};

}  // namespace

TEST_F(GdiplusImageTest, RelativeNamesLiveUnderTheExecutablesFolderWhateverTheCurrentOne)
{
    const fs::path folder = exeFolder() / u8"картинки-gdiplus";
    writeImage(folder / u8"символ.png", distinct(100, 30));
    // A decoy of another size where the current directory would lead.
    const fs::path elsewhere = fs::temp_directory_path() / "panel-image-cwd";
    writeImage(elsewhere / u8"картинки-gdiplus" / u8"символ.png", distinct(5, 5));
    const fs::path previous = fs::current_path();
    fs::current_path(elsewhere);
    const int result = InitWith({{u"картинки-gdiplus\\символ.png", 0, 0}});
    fs::current_path(previous);
    fs::remove_all(elsewhere);
    ASSERT_EQ(result, GR_INIT_OK);

    EXPECT_EQ(Record(0).width, 100.0f);
    EXPECT_EQ(Record(0).height, 30.0f);
    EXPECT_EQ(Record(0).sMax, 0.78125f);
    EXPECT_EQ(Record(0).tMax, 0.9375f);
    const rec::Texture& texture = TextureOf(0);
    ASSERT_EQ(texture.width, 128);
    ASSERT_EQ(texture.height, 32);
    for (int y : {0, 29})
        for (int x : {0, 1, 99})
            EXPECT_EQ(Texel(texture, x, y),
                      (std::array<uint8_t, 4>{uint8_t(x * 2 + 1), uint8_t(y * 7 + 3), 50, uint8_t(200 - x)}))
                << "texel " << x << ", " << y << ": R, G, B, A with the file's alpha, top row first";
    EXPECT_EQ(Texel(texture, 100, 0), (std::array<uint8_t, 4>{0, 0, 0, 0})) << "padding right";
    EXPECT_EQ(Texel(texture, 0, 30), (std::array<uint8_t, 4>{0, 0, 0, 0})) << "padding below";
}

TEST_F(GdiplusImageTest, ColourKeyAbsoluteNamesAndFailures)
{
    RgbaImage keyed = distinct(4, 1);
    const uint8_t green[4] = {0, 255, 0, 77};
    std::copy(green, green + 4, keyed.pixels.begin());
    const fs::path absolute = exeFolder() / "gdiplus-keyed.png";
    writeImage(absolute, keyed);
    const std::u16string name = absolute.u16string();
    ASSERT_EQ(InitWith({{name.c_str(), 1, 0x0000FF00}, {name.c_str(), 0, 0x0000FF00}}), GR_INIT_OK);
    EXPECT_EQ(Texel(TextureOf(0), 0, 0), (std::array<uint8_t, 4>{0, 0, 0, 0})) << "pure green is keyed out";
    EXPECT_EQ(Texel(TextureOf(0), 1, 0), (std::array<uint8_t, 4>{3, 3, 50, 199}));
    EXPECT_EQ(Texel(TextureOf(1), 0, 0), (std::array<uint8_t, 4>{0, 255, 0, 77})) << "key off";
    grShutdown();

    const fs::path notAnImage = exeFolder() / "gdiplus-not-an-image.png";
    std::FILE* text = _wfopen(notAnImage.c_str(), L"wb");
    ASSERT_NE(text, nullptr);
    std::fputs("not a picture", text);
    std::fclose(text);
    EXPECT_EQ(InitWith({{name.c_str(), 0, 0}, {u"gdiplus-missing.png", 0, 0}}), GR_INIT_IMAGES_FAILED);
    EXPECT_NE(Record(0).texture, 0u) << "an entry before the failure keeps its texture until shutdown";
    EXPECT_EQ(Record(1).texture, 0u);
    grShutdown();
    EXPECT_EQ(InitWith({{u"gdiplus-not-an-image.png", 0, 0}}), GR_INIT_IMAGES_FAILED);
    grShutdown();
    EXPECT_EQ(InitWith({{u"", 0, 0}}), GR_INIT_IMAGES_FAILED) << "an empty name names no file";
}
