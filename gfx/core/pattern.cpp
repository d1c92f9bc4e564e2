#include "pattern.h"

#include "gl_state.h"
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

bool createPatternTexture(const LinePattern& pattern, GLuint* name)
{
    unsigned char texels[kMaxPatternTexels];
    const int width = buildPatternTexels(pattern, texels);

    drainGlErrors();
    glGenTextures(1, name);
    gls::bindTextureNow(GL_TEXTURE_1D, *name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_ALPHA, width, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels);
    // Selecting the pattern binds it again: the upload's binding is not the
    // selection's.
    gls::forgetBinding(GL_TEXTURE_1D);
    if (glGetError() != GL_NO_ERROR) {
        if (glIsTexture(*name))
            gls::deleteTexture(*name);
        *name = 0;
        return false;
    }
    ++g_draw.counters.textureUploads;
    return true;
}

PatternTexture* ensurePatternTexture(const LinePattern& pattern, PatternTexture& record)
{
    if (record.name != 0)
        return &record;
    GLuint name = 0;
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
        if (glIsTexture(records[i].name))
            gls::deleteTexture(records[i].name);
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
    gls::bindTexture(GL_TEXTURE_1D, g_draw.patternTexture->name);
    applyTextureFilter(GL_TEXTURE_1D);
    gls::texParameter(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gls::texParameter(GL_TEXTURE_1D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    GR_CHECK_GL("select pattern");
}
