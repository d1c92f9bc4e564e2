// Image files through GDI+ and the shell path functions: names resolved
// against the executable's folder, pixels in their byte order, the colour
// key and the padding of the texture.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::vector<uint8_t> bytesOf(const fs::path& path)
{
    std::vector<uint8_t> bytes;
    if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
        uint8_t block[4096];
        for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
            bytes.insert(bytes.end(), block, block + got);
        std::fclose(file);
    }
    return bytes;
}

// A PNG's signature and IHDR claiming width x height RGBA pixels, then its
// end: what the header says is all a size check may read.
std::vector<uint8_t> pngHeaderOnly(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<uint8_t>(side >> shift));
    const uint8_t rest[] = {8, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    png.insert(png.end(), rest, rest + sizeof rest);
    return png;
}

// The CRC of PNG chunks over type and data.
uint32_t pngCrc(const uint8_t* bytes, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data)
{
    const uint32_t size = static_cast<uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        png->push_back(static_cast<uint8_t>(size >> shift));
    const size_t start = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), data.begin(), data.end());
    const uint32_t crc = pngCrc(png->data() + start, png->size() - start);
    for (int shift = 24; shift >= 0; shift -= 8)
        png->push_back(static_cast<uint8_t>(crc >> shift));
}

// A whole, valid PNG of side x side transparent RGBA pixels: its zlib stream
// of fixed Huffman codes copies 258 bytes at a distance of 1 over and over,
// so that a few megabytes decode to side x side x 4 bytes.
std::vector<uint8_t> pngOfZeros(uint32_t side)
{
    std::vector<uint8_t> stream = {0x78, 0x01};
    uint32_t bits = 0;
    int held = 0;
    // Huffman codes go most significant bit first into the LSB-first stream.
    const auto put = [&](uint32_t value, int count, bool huffman) {
        for (int i = 0; i < count; ++i) {
            const uint32_t bit = huffman ? (value >> (count - 1 - i)) & 1u : (value >> i) & 1u;
            bits |= bit << held;
            if (++held == 8) {
                stream.push_back(static_cast<uint8_t>(bits));
                bits = 0;
                held = 0;
            }
        }
    };
    constexpr uint32_t kLiteralZero = 0x30, kLength258 = 0xC5;  // 8-bit fixed codes
    const uint64_t total = static_cast<uint64_t>(side) * (1 + 4ull * side);  // a filter byte a row
    put(1, 1, false);  // the last block
    put(1, 2, false);  // of fixed codes
    put(kLiteralZero, 8, true);
    for (uint64_t copied = 1; copied + 258 <= total; copied += 258) {
        put(kLength258, 8, true);
        put(0, 5, true);  // distance 1
    }
    for (uint64_t rest = (total - 1) % 258; rest > 0; --rest)
        put(kLiteralZero, 8, true);
    put(0, 7, true);  // end of block
    if (held > 0)
        stream.push_back(static_cast<uint8_t>(bits));
    const uint32_t adler = (static_cast<uint32_t>(total % 65521) << 16) | 1u;
    for (int shift = 24; shift >= 0; shift -= 8)
        stream.push_back(static_cast<uint8_t>(adler >> shift));

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    for (int i = 0; i < 2; ++i)
        for (int shift = 24; shift >= 0; shift -= 8)
            header.push_back(static_cast<uint8_t>(side >> shift));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    appendChunk(&png, "IHDR", header);
    appendChunk(&png, "IDAT", stream);
    appendChunk(&png, "IEND", {});
    return png;
}

// A 2 x 2 GIF whose first picture is palette colour 0 (red) and whose
// second picture is cut off inside its data: a decoder that reads past the
// first picture fails on it.
std::vector<uint8_t> gifWithBrokenSecondPicture()
{
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0,
                                255, 0, 0, 0, 255, 0};  // palette: red, green
    const uint8_t picture[] = {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0x84, 0x51, 0};  // all colour 0
    gif.insert(gif.end(), picture, picture + sizeof picture);
    const uint8_t cut[] = {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 40, 0x84};
    gif.insert(gif.end(), cut, cut + sizeof cut);
    return gif;
}

// LZW codes of a GIF picture of one colour (palette index 0) and count
// pixels, with 2-bit codes, in its sub-blocks: runs that grow by one pixel
// a code, the table cleared before it is full.
std::vector<uint8_t> gifPictureOfOneColour(int count)
{
    constexpr int kClear = 4, kEnd = 5, kFirst = 6, kTableFull = 4000;
    std::vector<uint8_t> codes;
    uint32_t bits = 0;
    int held = 0, size = 3, next = kFirst;
    std::vector<int> longer(4096, -1);  // the code of a run one pixel longer
    const auto emit = [&](int code) {
        bits |= static_cast<uint32_t>(code) << held;
        for (held += size; held >= 8; held -= 8, bits >>= 8)
            codes.push_back(static_cast<uint8_t>(bits));
    };
    emit(kClear);
    int run = 0;
    for (int pixel = 1; pixel < count; ++pixel) {
        if (longer[run] >= 0) {
            run = longer[run];
            continue;
        }
        emit(run);
        if (next == kTableFull) {
            emit(kClear);
            std::fill(longer.begin(), longer.end(), -1);
            size = 3;
            next = kFirst;
        } else {
            longer[run] = next++;
            // The decoder adds its entry one code later than this.
            if (next > (1 << size) && size < 12)
                ++size;
        }
        run = 0;
    }
    emit(run);
    emit(kEnd);
    if (held > 0)
        codes.push_back(static_cast<uint8_t>(bits));
    std::vector<uint8_t> blocks = {2};  // the minimum code size
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t length = std::min<size_t>(255, codes.size() - at);
        blocks.push_back(static_cast<uint8_t>(length));
        blocks.insert(blocks.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
                      codes.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    blocks.push_back(0);
    return blocks;
}

// A GIF of pictures x side x side pixels, all black: what a decoder of every
// picture pays for in memory and time.
std::vector<uint8_t> gifOfManyPictures(int pictures, int side)
{
    const uint8_t lo = static_cast<uint8_t>(side & 0xFF), hi = static_cast<uint8_t>(side >> 8);
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', lo, hi, lo, hi, 0x81, 0, 0};
    gif.insert(gif.end(), {0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0});  // black, white, unused
    const std::vector<uint8_t> picture = gifPictureOfOneColour(side * side);
    for (int i = 0; i < pictures; ++i) {
        gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, lo, hi, lo, hi, 0});
        gif.insert(gif.end(), picture.begin(), picture.end());
    }
    gif.push_back(0x3B);
    return gif;
}

// The most memory the process has held so far, and what it holds now.
struct MemoryUse {
    size_t peak = 0;
    size_t now = 0;
};

MemoryUse memoryUse()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return {};
    return {std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage),
            std::max(counters.WorkingSetSize, counters.PagefileUsage)};
}

class GdiplusImageTest : public ImageRecordingTest {
protected:
    // The reason the library gives for the one image at path.
    std::string RefusalOf(const fs::path& path)
    {
        const std::u16string name = path.u16string();
        EXPECT_EQ(InitWith({{name.c_str(), 0, 0}}), GR_INIT_IMAGES_FAILED) << path;
        const std::string error = grImageError();
        grShutdown();
        return error;
    }
};

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

// What Linux refuses from a file's bytes, GDI+ must never be handed: a
// picture too large by its header, a JPEG of more scans than allowed. Of a
// GIF only the first picture is decoded. The reasons read as on Linux.
TEST_F(GdiplusImageTest, HeadersScansAndGifPicturesAreDecidedBeforeGdiplus)
{
    const fs::path folder = exeFolder() / "gdiplus-limits";
    fs::create_directories(folder);
    const fs::path huge = folder / "huge.png";
    writeBytes(huge, pngHeaderOnly(30000, 30000));
    EXPECT_EQ(RefusalOf(huge), huge.string() + ": PNG picture of 30000 x 30000 pixels is larger than the 16777216 "
                                               "pixels (at most 16384 a side) an image may have");

    const fs::path scans = folder / "many-scans.jpg";
    writeBytes(scans, bytesOf(fs::path(PANEL_FUZZ_DIR) / "corpus" / "image" / "many-scans.jpg"));
    EXPECT_EQ(RefusalOf(scans), scans.string() + ": broken JPEG file: more than 256 scans");

    const fs::path gif = folder / "two-pictures.gif";
    writeBytes(gif, gifWithBrokenSecondPicture());
    const std::u16string name = gif.u16string();
    ASSERT_EQ(InitWith({{name.c_str(), 0, 0}}), GR_INIT_OK) << grImageError();
    EXPECT_EQ(Texel(TextureOf(0), 1, 1), (std::array<uint8_t, 4>{255, 0, 0, 255})) << "the first picture's red";
    grShutdown();
}

// Files made to exhaust a decoder that trusts them: a valid picture too
// large by its header, thousands of large GIF pictures, a JPEG of 50 000
// scans. Refusing them (or taking the GIF's first picture) stays within
// 100 MB. The same PNG at 1024 x 1024 is taken whole: the files are sound.
TEST_F(GdiplusImageTest, HostileFilesStayWithinAHundredMegabytes)
{
    constexpr size_t kBound = 100u << 20;
    const fs::path folder = exeFolder() / "gdiplus-memory";
    fs::create_directories(folder);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool accepted;
    } files[] = {
        {"huge.png", pngOfZeros(30000), false},
        {"small.png", pngOfZeros(1024), true},
        {"many-pictures.gif", gifOfManyPictures(3000, 1024), true},
        {"many-scans.jpg", bytesOf(fs::path(PANEL_FUZZ_DIR) / "corpus" / "image" / "many-scans.jpg"), false},
    };
    const MemoryUse before = memoryUse();
    ASSERT_GT(before.now, 0u) << "the process's memory counters cannot be read";
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        ASSERT_FALSE(file.bytes.empty());
        const fs::path path = folder / file.name;
        writeBytes(path, file.bytes);
        const std::u16string name = path.u16string();
        EXPECT_EQ(InitWith({{name.c_str(), 0, 0}}), file.accepted ? GR_INIT_OK : GR_INIT_IMAGES_FAILED)
            << grImageError();
        if (file.accepted) {
            const bool gif = std::string(file.name).ends_with(".gif");
            EXPECT_EQ(Texel(TextureOf(0), 1023, 1023), (std::array<uint8_t, 4>{0, 0, 0, uint8_t(gif ? 255 : 0)}))
                << "the last pixel: black in the GIF's first picture, transparent in the PNG";
        }
        grShutdown();
        const MemoryUse after = memoryUse();
        EXPECT_LE(after.peak, before.now + kBound)
            << "peak " << (after.peak >> 20) << " MiB against " << (before.now >> 20) << " MiB before";
    }
}
