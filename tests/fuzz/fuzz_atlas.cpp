// The glyph atlas packer on fuzzed sequences of bitmap sizes, through the
// recording GL (with a fuzzed largest texture side). Every cell given out
// must lie inside its page, be the size asked for plus the padding, and
// overlap no other cell of its page.
#include <map>
#include <vector>

#include "fuzz_input.h"
#include "gl_recorder.h"
#include "text/atlas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    rec::reset();
    rec::setRecording(false);
    static const int kSides[] = {512, 256, 64, 16, 2048, 1, 0, -1};
    rec::setMaxTextureSize(kSides[in.below(8)]);

    AtlasPages pages;
    std::map<const AtlasPage*, std::vector<uint8_t>> taken;  // texels given out, per page
    for (int i = 0; i < 400 && !in.empty(); ++i) {
        int w, h;
        if (in.below(8) == 0) {
            w = in.integer();
            h = in.integer();
        } else {
            w = in.below(40);
            h = in.below(40);
        }
        GlyphSpace space;
        if (!reserveGlyphSpace(pages, w, h, &space))
            continue;
        FUZZ_CHECK(w >= 0 && h >= 0);
        const AtlasPage& page = *space.page;
        const PackNode& cell = *space.cell;
        const int pw = pageWidth(page), ph = pageHeight(page);
        FUZZ_CHECK(cell.x1 - cell.x0 == w + 2 * kGlyphPadding && cell.y1 - cell.y0 == h + 2 * kGlyphPadding);
        FUZZ_CHECK(cell.x0 >= 0 && cell.y0 >= 0 && cell.x1 <= pw && cell.y1 <= ph);
        std::vector<uint8_t>& used = taken[&page];
        used.resize(static_cast<size_t>(pw) * ph);
        for (int y = cell.y0; y < cell.y1; ++y)
            for (int x = cell.x0; x < cell.x1; ++x) {
                uint8_t& texel = used[static_cast<size_t>(y) * pw + x];
                FUZZ_CHECK(texel == 0);
                texel = 1;
            }
        FUZZ_CHECK(rec::texture(page.texture) != nullptr);
    }
    releaseAtlasPages(pages);
    FUZZ_CHECK(rec::liveTextureCount() == 0);
    return 0;
}
