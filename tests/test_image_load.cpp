#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "image/image_texels.h"
#include "image/utf8_name.h"
#include "image_recording.h"

namespace {

const char16_t* const kOnePixel = u"image-tests/one.png";
const char16_t* const kWide = u"image-tests/wide.png";
const char16_t* const kKeyRow = u"image-tests/key.png";
const char16_t* const kSymbol = u"image-tests/sub/symbol.png";
const char16_t* const kSymbolBackslash = u"image-tests\\sub\\symbol.png";
const char16_t* const kCyrillic = u"image-tests/символы/знак.png";
const char16_t* const kJunk = u"image-tests/junk.png";
const char16_t* const kMissing = u"image-tests/missing.png";

using Rgba = std::array<uint8_t, 4>;
constexpr Rgba kTransparent = {0, 0, 0, 0};

const Rgba kKeyPixels[] = {
    {0, 255, 0, 255}, {0, 255, 0, 77}, {0, 255, 0, 0},  // pure green, any alpha
    {1, 255, 0, 255}, {0, 254, 0, 90}, {0, 255, 1, 200}, {255, 0, 0, 255}, {0, 0, 255, 255},
};
constexpr int kRedPixel = 6;

class ImageLoadTest : public ImageRecordingTest {
protected:
    static void SetUpTestSuite()
    {
        const Rgba one[] = {{10, 20, 30, 40}};
        writeTestImage("image-tests/one.png", rowImage(one));
        writeTestImage("image-tests/wide.png", distinctImage(100, 30));
        writeTestImage("image-tests/key.png", rowImage(kKeyPixels));
        writeTestImage("image-tests/sub/symbol.png", distinctImage(3, 2));
        writeTestImage("image-tests/символы/знак.png", distinctImage(2, 5));
        std::ofstream(executableFolder() / "image-tests/junk.png") << "not an image";
    }
};

}  // namespace

TEST(ImageTexels, TextureSidesArePowersOfTwoAndOverflowingSidesAreRefused)
{
    EXPECT_EQ(nextPowerOfTwo(128), 128u);
    EXPECT_EQ(nextPowerOfTwo(129), 256u);
    EXPECT_EQ(nextPowerOfTwo(1u << 30), 1u << 30);
    EXPECT_EQ(nextPowerOfTwo((1u << 30) + 1), 0u) << "would overflow";
    EXPECT_EQ(nextPowerOfTwo(0), 0u);
    TextureSize size{};
    EXPECT_FALSE(textureSizeFor(1, 0x7FFFFFFF, 1 << 30, &size));
    EXPECT_FALSE(textureSizeFor(0, 5, 64, &size));
}

TEST(ImageNames, Utf16NamesBecomeUtf8AndBrokenSurrogatesAreRefused)
{
    std::string out;
    ASSERT_TRUE(utf16ToUtf8(u"a/знак\U0001F600.png", &out));
    EXPECT_EQ(out, "a/\xD0\xB7\xD0\xBD\xD0\xB0\xD0\xBA\xF0\x9F\x98\x80.png");
    EXPECT_FALSE(utf16ToUtf8(u"a\xD800.png", &out)) << "high surrogate without its partner";
    EXPECT_FALSE(utf16ToUtf8(u"\xDC00", &out)) << "low surrogate alone";
}

TEST_F(ImageLoadTest, OnePixelImageUploadsAsAnRgbaTextureOfItsOwnSize)
{
    ASSERT_EQ(InitWith({{kOnePixel, 0, 0}}), GR_INIT_OK);
    EXPECT_EQ(Record(0).width, 1.0f);
    EXPECT_EQ(Record(0).height, 1.0f);
    EXPECT_EQ(Record(0).sMax, 1.0f);
    EXPECT_EQ(Record(0).tMax, 1.0f);
    const rec::Texture& texture = TextureOf(0);
    EXPECT_EQ(texture.target, static_cast<GLenum>(GL_TEXTURE_2D));
    EXPECT_EQ(texture.internalFormat, GL_RGBA);
    EXPECT_EQ(texture.width, 1);
    EXPECT_EQ(texture.height, 1);
    EXPECT_EQ(texture.texels, (std::vector<uint8_t>{10, 20, 30, 40})) << "R, G, B, A as in the file";
    EXPECT_TRUE(texture.parameters.empty()) << "filter and wrap are set when drawing";

    const std::vector<rec::Call> store = rec::callsNamed("glPixelStorei");
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store[0].args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}));
    const std::vector<rec::Call> upload = rec::callsNamed("glTexImage2D");
    ASSERT_EQ(upload.size(), 1u);
    EXPECT_EQ(upload[0].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
}

TEST_F(ImageLoadTest, OddSizesArePaddedToPowersOfTwoWithTransparentTexels)
{
    ASSERT_EQ(InitWith({{kWide, 0, 0}}), GR_INIT_OK);
    EXPECT_EQ(Record(0).width, 100.0f);
    EXPECT_EQ(Record(0).height, 30.0f);
    EXPECT_FLOAT_EQ(Record(0).sMax, 0.78125f);
    EXPECT_FLOAT_EQ(Record(0).tMax, 0.9375f);
    const rec::Texture& texture = TextureOf(0);
    ASSERT_EQ(texture.width, 128);
    ASSERT_EQ(texture.height, 32);
    const RgbaImage image = distinctImage(100, 30);
    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 128; ++x) {
            const Rgba want = x < 100 && y < 30 ? Pixel(image, x, y) : kTransparent;
            wrong += Texel(texture, x, y) != want;
        }
    EXPECT_EQ(wrong, 0) << "texture row 0 is the image's top row; the rest is transparent";
}

TEST_F(ImageLoadTest, ColourKeyClearsMatchingColoursWhateverTheirAlphaAndKeepsTheRest)
{
    const uint32_t green = 0x0000FF00;
    ASSERT_EQ(InitWith({{kKeyRow, 1, green}, {kKeyRow, 0, green}, {kKeyRow, 1, 0x000000FF}}), GR_INIT_OK);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(Texel(TextureOf(0), x, 0), x < 3 ? kTransparent : kKeyPixels[x]) << "pixel " << x;
        EXPECT_EQ(Texel(TextureOf(1), x, 0), kKeyPixels[x]) << "key off, pixel " << x;
        EXPECT_EQ(Texel(TextureOf(2), x, 0), x == kRedPixel ? kTransparent : kKeyPixels[x])
            << "key 0x0000FF is red, pixel " << x;
    }
}

TEST_F(ImageLoadTest, RelativeNamesAreFoundUnderTheExecutablesFolderAndAbsoluteOnesAsGiven)
{
    // A decoy of another size where the current directory would lead.
    char folder[] = "/tmp/image-cwd-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    writeImageFile(std::filesystem::path(folder) / "image-tests/sub/symbol.png", distinctImage(9, 9));
    const std::string absolute = std::string(folder) + "/abs.png";
    writeImageFile(absolute, distinctImage(4, 6));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    const int result =
        InitWith({{kSymbol, 0, 0}, {kSymbolBackslash, 0, 0}, {kCyrillic, 0, 0}, {Name(absolute), 0, 0}});
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(result, GR_INIT_OK);
    EXPECT_EQ(Record(0).width, 3.0f);
    EXPECT_EQ(Record(0).height, 2.0f);
    EXPECT_EQ(Record(1).width, 3.0f) << "backslashes separate folders";
    EXPECT_EQ(Record(2).width, 2.0f) << "a Cyrillic name reaches the file";
    EXPECT_EQ(Record(2).height, 5.0f);
    EXPECT_EQ(Record(3).width, 4.0f);
    EXPECT_EQ(Record(3).height, 6.0f);
}

TEST_F(ImageLoadTest, AFailingEntryStopsLoadingAndEarlierEntriesKeepTheirsUntilShutdown)
{
    for (const char16_t* bad : {kMissing, kJunk, u"", u"image-tests/\xD800.png"}) {
        SCOPED_TRACE(::testing::Message() << "bad name " << std::u16string(bad).size() << " units long");
        EXPECT_EQ(InitWith({{kOnePixel, 0, 0}, {bad, 0, 0}, {kWide, 0, 0}}), GR_INIT_IMAGES_FAILED);
        EXPECT_NE(Record(0).texture, 0u);
        EXPECT_EQ(Record(1).texture, 0u);
        EXPECT_EQ(Record(2).texture, 0u) << "loading stopped at the failure";
        EXPECT_EQ(rec::liveTextureCount(), 1);
        EXPECT_EQ(rec::callsNamed("glGenTextures").size(), 1u);
        grShutdown();
        EXPECT_EQ(rec::liveTextureCount(), 0);
    }
}

TEST_F(ImageLoadTest, RefusedFilesAreCountedAndTheReasonNamesTheFile)
{
    std::ofstream(executableFolder() / "image-tests/header.tga", std::ios::binary)
        << std::string("\0\0\2\0\0\0\0\0\0\0\0\0\x76\x40\0\x6D\x20\0\0\0\0\0", 22);
    ASSERT_EQ(InitWith({{kOnePixel, 0, 0}}), GR_INIT_OK);
    EXPECT_STREQ(grImageError(), "");
    grShutdown();

    EXPECT_EQ(InitWith({{kOnePixel, 0, 0}, {u"image-tests/header.tga", 0, 0}}), GR_INIT_IMAGES_FAILED);
    EXPECT_EQ(std::string(grImageError()),
              (executableFolder() / "image-tests/header.tga").string() + ": not a PNG, BMP, JPEG or GIF file");
    EXPECT_EQ(grDiagnostics().rejectedImages, 1);
    EXPECT_EQ(rec::liveTextureCount(), 1) << "only the first image has a texture";
    grShutdown();

    EXPECT_EQ(InitWith({{kMissing, 0, 0}}), GR_INIT_IMAGES_FAILED);
    EXPECT_NE(std::string(grImageError()).find("image-tests/missing.png: cannot be opened"), std::string::npos);
    EXPECT_EQ(grDiagnostics().rejectedImages, 2);
    grShutdown();
    EXPECT_EQ(InitWith({{kOnePixel, 0, 0}}), GR_INIT_OK);
    EXPECT_STREQ(grImageError(), "") << "a successful start forgets the old reason";
}

TEST_F(ImageLoadTest, UploadErrorFailsWithNoTextureLeftAndEarlierErrorsDoNotCount)
{
    rec::failNextTexImage(GL_OUT_OF_MEMORY);
    EXPECT_EQ(InitWith({{kOnePixel, 0, 0}}), GR_INIT_IMAGES_FAILED);
    EXPECT_EQ(Record(0).texture, 0u);
    EXPECT_EQ(rec::liveTextureCount(), 0);
    EXPECT_EQ(rec::callsNamed("glDeleteTextures").size(), 1u);
    grShutdown();

    rec::raiseError(GL_INVALID_ENUM);  // left over from some earlier call
    EXPECT_EQ(InitWith({{kOnePixel, 0, 0}}), GR_INIT_OK);
    EXPECT_NE(Record(0).texture, 0u);
}

TEST_F(ImageLoadTest, ImagesLargerThanTheContextsTexturesAreRefusedBeforeAnyUpload)
{
    rec::setMaxTextureSize(64);
    EXPECT_EQ(InitWith({{kWide, 0, 0}}), GR_INIT_IMAGES_FAILED) << "needs 128 x 32";
    EXPECT_TRUE(rec::callsNamed("glGenTextures").empty());
    grShutdown();
    EXPECT_EQ(InitWith({{kSymbol, 0, 0}}), GR_INIT_OK);
}

TEST_F(ImageLoadTest, TableWithoutAFirstNameLoadsNothingAndSucceeds)
{
    EXPECT_EQ(InitWith({{nullptr, 0, 0}, {kOnePixel, 0, 0}}), GR_INIT_OK);
    EXPECT_EQ(Record(1).texture, 0u);
    EXPECT_TRUE(rec::callsNamed("glGenTextures").empty());
    grShutdown();
    EXPECT_TRUE(rec::callsNamed("glIsTexture").empty());
}

TEST_F(ImageLoadTest, ShutdownDeletesEveryLoadedTextureOnce)
{
    ASSERT_EQ(InitWith({{kOnePixel, 0, 0}, {kWide, 0, 0}}), GR_INIT_OK);
    const GLuint first = Record(0).texture, second = Record(1).texture;
    ASSERT_NE(first, second);
    grShutdown();
    const std::vector<rec::Call> deletes = rec::callsNamed("glDeleteTextures");
    ASSERT_EQ(deletes.size(), 2u);
    EXPECT_EQ(deletes[0].args[1], first);
    EXPECT_EQ(deletes[1].args[1], second);
    EXPECT_EQ(Record(0).texture, 0u);
    rec::clearCalls();
    grShutdown();
    EXPECT_TRUE(rec::callsNamed("glDeleteTextures").empty());
}
