// Image files: which formats are read, what size they claim, and what is
// refused before a pixel is decoded. The files are the image fuzzer's seeds
// and kept inputs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/image_bytes.h"
#include "image/image_header.h"
#include "image/image_limits.h"

namespace {

const std::string kSeeds = std::string(PANEL_FUZZ_DIR) + "/corpus/image/";
const std::string kKept = std::string(PANEL_FUZZ_DIR) + "/crashes/image/";

std::vector<uint8_t> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Rgba {
    int r, g, b, a;
};

Rgba pixel(const DecodedImage& image, int x, int y)
{
    const uint8_t* p = image.rgba.get() + (static_cast<size_t>(y) * image.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

::testing::AssertionResult near(Rgba got, Rgba want, int tolerance = 0)
{
    const int d[] = {got.r - want.r, got.g - want.g, got.b - want.b, got.a - want.a};
    for (int v : d)
        if (v > tolerance || v < -tolerance)
            return ::testing::AssertionFailure() << "rgba(" << got.r << ", " << got.g << ", " << got.b << ", "
                                                 << got.a << ") is not rgba(" << want.r << ", " << want.g
                                                 << ", " << want.b << ", " << want.a << ")";
    return ::testing::AssertionSuccess();
}

DecodedImage decodeFile(const std::string& path, std::string* error)
{
    DecodedImage image;
    const bool ok = decodeImageFile(path, &image, error);
    EXPECT_EQ(ok, image.rgba != nullptr) << path;
    return image;
}

}  // namespace

TEST(ImageDecode, PngBmpJpegAndGifDecodeToTheSizeTheirHeadersGive)
{
    struct Case {
        const char* file;
        ImageFormat format;
        int width, height;
    };
    const Case cases[] = {
        {"rgba.png", ImageFormat::Png, 3, 2},       {"deep16.png", ImageFormat::Png, 5, 3},
        {"palette.png", ImageFormat::Png, 4, 4},    {"gray.png", ImageFormat::Png, 4, 3},
        {"rgb24.bmp", ImageFormat::Bmp, 5, 3},      {"palette.bmp", ImageFormat::Bmp, 3, 3},
        {"baseline.jpg", ImageFormat::Jpeg, 8, 8},  {"progressive.jpg", ImageFormat::Jpeg, 16, 8},
        {"small.gif", ImageFormat::Gif, 4, 4},      {"anim.gif", ImageFormat::Gif, 3, 3},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = bytesOf(kSeeds + c.file);
        const ImageHeader header = readImageHeader(bytes.data(), bytes.size());
        EXPECT_EQ(header.format, c.format) << c.file;
        EXPECT_EQ(header.width, c.width) << c.file;
        EXPECT_EQ(header.height, c.height) << c.file;
        std::string error;
        const DecodedImage image = decodeFile(kSeeds + c.file, &error);
        EXPECT_EQ(error, "") << c.file;
        EXPECT_EQ(image.width, c.width) << c.file;
        EXPECT_EQ(image.height, c.height) << c.file;
    }
}

TEST(ImageDecode, ColoursComeOutAsRgbaRowsTopFirst)
{
    std::string error;
    const DecodedImage png = decodeFile(kSeeds + "rgba.png", &error);  // red, blue at (1, 1)
    ASSERT_NE(png.rgba, nullptr) << error;
    EXPECT_TRUE(near(pixel(png, 0, 0), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(png, 1, 1), {0, 0, 255, 255}));

    const DecodedImage gif = decodeFile(kSeeds + "small.gif", &error);  // white, red at (1, 1)
    ASSERT_NE(gif.rgba, nullptr) << error;
    EXPECT_TRUE(near(pixel(gif, 0, 0), {255, 255, 255, 255}));
    EXPECT_TRUE(near(pixel(gif, 1, 1), {255, 0, 0, 255}));

    const DecodedImage bmp = decodeFile(kSeeds + "palette.bmp", &error);  // yellow
    ASSERT_NE(bmp.rgba, nullptr) << error;
    EXPECT_TRUE(near(pixel(bmp, 2, 2), {255, 255, 0, 255}));

    const DecodedImage palette = decodeFile(kSeeds + "palette.png", &error);  // green
    ASSERT_NE(palette.rgba, nullptr) << error;
    EXPECT_TRUE(near(pixel(palette, 3, 0), {0, 128, 0, 255}));

    // A red-to-blue gradient from top to bottom, through JPEG's loss.
    const DecodedImage jpeg = decodeFile(kSeeds + "baseline.jpg", &error);
    ASSERT_NE(jpeg.rgba, nullptr) << error;
    EXPECT_TRUE(near(pixel(jpeg, 4, 0), {255, 0, 0, 255}, 24));
    EXPECT_TRUE(near(pixel(jpeg, 4, 7), {0, 0, 255, 255}, 24));
}

TEST(ImageDecode, OtherFormatsAreRefusedWithAReasonNamingTheFile)
{
    for (const std::string& path : {kSeeds + "truecolor.tga", kSeeds + "deep16.ppm", kKept + "pnm-16-bit-cut-short",
                                   kKept + "tga-claims-16502x27904", std::string(PANEL_FUZZ_DIR) + "/CMakeLists.txt"}) {
        std::string error;
        decodeFile(path, &error);
        EXPECT_EQ(error, path + ": not a PNG, BMP, JPEG or GIF file");
    }
    std::string error;
    decodeFile(kSeeds + "no such file.png", &error);
    EXPECT_EQ(error, kSeeds + "no such file.png: cannot be opened");
}

TEST(ImageDecode, OversizeIsRefusedFromTheHeaderBeforeAnyPixelIsDecoded)
{
    // The file is a bare header: were it decoded, it would fail as broken.
    std::string error;
    const std::string path = kKept + "png-claims-16502x27904";
    decodeFile(path, &error);
    EXPECT_EQ(error, path + ": PNG picture of 16502 x 27904 pixels is larger than the 16777216 pixels "
                            "(at most 16384 a side) an image may have");

    // Within the sides but over the area, and a limit below a real picture.
    std::vector<uint8_t> bytes = bytesOf(kSeeds + "small.gif");
    bytes[6] = bytes[8] = 0xFF;
    bytes[7] = bytes[9] = 0x3F;  // 16383 x 16383
    DecodedImage image;
    std::string why;
    EXPECT_FALSE(decodeImageBytes(bytes.data(), bytes.size(), kMaxImagePixels, &image, &why));
    EXPECT_EQ(why.rfind("GIF picture of 16383 x 16383 pixels is larger than", 0), 0u) << why;
    const std::vector<uint8_t> jpeg = bytesOf(kSeeds + "progressive.jpg");
    EXPECT_FALSE(decodeImageBytes(jpeg.data(), jpeg.size(), 127, &image, &why));
    EXPECT_EQ(why.rfind("JPEG picture of 16 x 8 pixels is larger than the 127 pixels", 0), 0u) << why;
    EXPECT_TRUE(decodeImageBytes(jpeg.data(), jpeg.size(), 128, &image, &why)) << why;
}

TEST(ImageDecode, BrokenFilesFailWithTheDecodersReasonAndNoPixels)
{
    std::vector<uint8_t> png = bytesOf(kSeeds + "rgba.png");
    png.resize(png.size() / 2);
    DecodedImage image;
    std::string why;
    EXPECT_FALSE(decodeImageBytes(png.data(), png.size(), kMaxImagePixels, &image, &why));
    EXPECT_EQ(why.rfind("broken PNG file: ", 0), 0u) << why;
    EXPECT_EQ(image.rgba, nullptr);

    std::vector<uint8_t> gif = bytesOf(kSeeds + "small.gif");
    gif.resize(14);
    EXPECT_FALSE(decodeImageBytes(gif.data(), gif.size(), kMaxImagePixels, &image, &why));
    EXPECT_EQ(why.rfind("broken GIF file: ", 0), 0u) << why;

    // A progressive file whose last scan repeats 300 times: each scan is a
    // pass over the whole picture, so past a limit the file is refused.
    std::string error;
    decodeFile(kSeeds + "many-scans.jpg", &error);
    EXPECT_EQ(error, kSeeds + "many-scans.jpg: broken JPEG file: more than 256 scans");

    const std::vector<uint8_t> bmp = bytesOf(kSeeds + "cut.bmp");
    EXPECT_FALSE(decodeImageBytes(bmp.data(), bmp.size(), kMaxImagePixels, &image, &why));
    EXPECT_EQ(why, "broken BMP header: no picture size");
    EXPECT_FALSE(decodeImageBytes(nullptr, 0, kMaxImagePixels, &image, &why));
    EXPECT_EQ(why, "not a PNG, BMP, JPEG or GIF file");
}

// What every platform decides before its decoder runs: a JPEG's scans are
// counted as libjpeg counts them, and a GIF cut after its first picture is
// the picture the whole file decodes to.
TEST(ImageLimits, JpegScansAndTheFirstPictureOfAGifComeFromTheBytes)
{
    const std::vector<uint8_t> many = bytesOf(kSeeds + "many-scans.jpg");
    EXPECT_EQ(jpegScanCount(many.data(), many.size(), kMaxJpegScans), kMaxJpegScans + 1);
    const std::vector<uint8_t> progressive = bytesOf(kSeeds + "progressive.jpg");
    const int scans = jpegScanCount(progressive.data(), progressive.size(), kMaxJpegScans);
    EXPECT_GT(scans, 1);
    EXPECT_LE(scans, kMaxJpegScans);
    const std::vector<uint8_t> baseline = bytesOf(kSeeds + "baseline.jpg");
    EXPECT_EQ(jpegScanCount(baseline.data(), baseline.size(), kMaxJpegScans), 1);

    const std::vector<uint8_t> gif = bytesOf(kSeeds + "anim.gif");
    const size_t first = gifFirstPictureBytes(gif.data(), gif.size());
    ASSERT_LT(first, gif.size()) << "the seed has more than one picture";
    std::vector<uint8_t> cut(gif.begin(), gif.begin() + static_cast<ptrdiff_t>(first));
    cut.push_back(kGifTrailer);
    DecodedImage whole, firstOnly;
    std::string why;
    ASSERT_TRUE(decodeImageBytes(gif.data(), gif.size(), kMaxImagePixels, &whole, &why)) << why;
    ASSERT_TRUE(decodeImageBytes(cut.data(), cut.size(), kMaxImagePixels, &firstOnly, &why)) << why;
    ASSERT_EQ(firstOnly.width, whole.width);
    ASSERT_EQ(firstOnly.height, whole.height);
    EXPECT_EQ(std::vector<uint8_t>(firstOnly.rgba.get(), firstOnly.rgba.get() + whole.width * whole.height * 4),
              std::vector<uint8_t>(whole.rgba.get(), whole.rgba.get() + whole.width * whole.height * 4));
    const std::vector<uint8_t> single = bytesOf(kSeeds + "small.gif");
    EXPECT_EQ(gifFirstPictureBytes(single.data(), single.size()) + 1, single.size()) << "all but the trailer";
}
