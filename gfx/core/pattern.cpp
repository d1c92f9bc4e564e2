#include "pattern.h"

#include "texture_filter.h"

enum { kPatternBits = 16, kMaxPatternTexels = kPatternBits * (GR_MAX_PATTERN_REPEAT + 1) };

static int clampedRepeat(int repeat)
{
    if (repeat < 0)
        return 0;
    return repeat > GR_MAX_PATTERN_REPEAT ? GR_MAX_PATTERN_REPEAT : repeat;
}

int patternBitTexels(const LinePattern& pattern) { return clampedRepeat(pattern.repeat) + 1; }

float patternLength(const LinePattern& pattern)
{
    // Repeats above the texture's limit keep their designed length: the
    // texture is stretched over it rather than the dashes shortened.
    const int repeat = pattern.repeat < 0 ? 0 : pattern.repeat;
    return 16.0f * (static_cast<float>(repeat) + 1.0f);
}

int buildPatternTexels(const LinePattern& pattern, unsigned char* out)
{
    const int run = patternBitTexels(pattern);
    int n = 0;
    for (int bit = 0; bit < kPatternBits; ++bit) {
        const unsigned char value = (pattern.mask >> bit) & 1 ? 255 : 0;
        for (int i = 0; i < run; ++i)
            out[n++] = value;
    }
    return n;
}

bool createPatternTexture(const LinePattern& pattern, TextureHandle* name)
{
    unsigned char texels[kMaxPatternTexels];
    const int width = buildPatternTexels(pattern, texels);
    *name = backend().createTexture(TextureFormat::PatternAlpha, width, 1, texels);
    return *name != 0;
}

PatternTexture* ensurePatternTexture(const LinePattern& pattern, PatternTexture& record)
{
    if (record.name != 0)
        return &record;
    TextureHandle name = 0;
    if (!createPatternTexture(pattern, &name))
        return nullptr;
    record.name = name;
    record.length = patternLength(pattern);
    return &record;
}

void clearPatternTextures(PatternTexture* records, int count)
{
    for (int i = 0; i < count; ++i)
        records[i].name = 0;
}

void releasePatternTextures(PatternTexture* records, int count)
{
    for (int i = 0; i < count; ++i) {
        if (records[i].name == 0)
            continue;
        backend().deleteTexture(records[i].name);
        records[i].name = 0;
    }
}

void grSetLinePattern(int index)
{
    if (!patternTableInUse() || index < 0 || index >= g_draw.tables.patternCount) {
        ++g_draw.diagnostics.rejectedIndices;
        return;
    }
    const LinePattern* entry = &g_draw.tables.patterns[index];
    if (entry == g_draw.pattern)
        return;
    g_draw.pattern = entry;
    if (entry->mask == 0) {
        g_draw.patternTexture = nullptr;
        return;
    }
    g_draw.patternTexture = ensurePatternTexture(*entry, g_draw.patternTextures[index]);
    if (!g_draw.patternTexture)
        return;
    backend().bindTexture(TextureSlot::Pattern, g_draw.patternTexture->name);
    applyTextureFilter(TextureSlot::Pattern);
    backend().setTextureWrap(TextureSlot::Pattern, TextureWrap::Repeat);
    GR_CHECK_GL("select pattern");
}
