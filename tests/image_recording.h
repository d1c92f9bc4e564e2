// Recording tests of images: the library started again with the display's
// tables carrying an image table of the test's own (and no fonts, so that
// only images load).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "image/image_table.h"
#include "image_files.h"
#include "recording_fixture.h"

class ImageRecordingTest : public RecordingTest {
protected:
    int InitWith(std::vector<ImageSpec> entries)
    {
        entries_ = std::move(entries);
        tables_ = displayTables();
        tables_.images = entries_.data();
        tables_.imageCount = static_cast<int>(entries_.size());
        tables_.fonts = nullptr;
        tables_.fontCount = 0;
        EXPECT_TRUE(grUseTables(&tables_));
        rec::clearCalls();
        return grInit(1.5f);
    }

    // A file name that lives as long as the test.
    const char16_t* Name(const std::string& ascii)
    {
        return names_.emplace_back(ascii.begin(), ascii.end()).c_str();
    }

    static const ImageRecord& Record(int index) { return g_imageTable.records[index]; }

    static const rec::Texture& TextureOf(int index)
    {
        const rec::Texture* texture = rec::texture(Record(index).texture);
        EXPECT_NE(texture, nullptr) << "image " << index << " has no texture";
        static const rec::Texture none;
        return texture ? *texture : none;
    }

    static std::array<uint8_t, 4> Texel(const rec::Texture& texture, int x, int y)
    {
        const uint8_t* p = &texture.texels[(static_cast<size_t>(y) * texture.width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

    static std::array<uint8_t, 4> Pixel(const RgbaImage& image, int x, int y)
    {
        const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

private:
    std::vector<ImageSpec> entries_;
    GrTables tables_{};
    std::deque<std::u16string> names_;
};
