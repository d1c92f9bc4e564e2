#include "atlas.h"

#include <cstdlib>
#include <new>

#include "batch.h"
#include "gl_state.h"
#include "state.h"

static int roundUpToPowerOfTwo(int n)
{
    int p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
}

// An all-zero alpha texture, left bound; 0 when GL or memory refuses it.
static GLuint createAlphaTexture(int width, int height)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    gls::bindTextureNow(GL_TEXTURE_2D, name);
    void* zeros = std::calloc(static_cast<size_t>(width) * height, 1);
    if (!zeros) {
        gls::deleteTexture(name);
        return 0;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    drainGlErrors();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, zeros);
    const GLenum error = glGetError();
    std::free(zeros);
    if (error != GL_NO_ERROR) {
        gls::deleteTexture(name);
        return 0;
    }
    ++g_draw.counters.textureUploads;
    return name;
}

static bool appendPage(AtlasPages& pages, AtlasPage* page)
{
    try {
        pages.push_back(page);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

static void freePage(AtlasPage* page)
{
    if (page->texture != 0 && glIsTexture(page->texture))
        gls::deleteTexture(page->texture);
    freePackTree(page->root);
    delete page;
}

AtlasPage* openAtlasPage(AtlasPages& pages, int width, int height, PackSize need)
{
    int w = roundUpToPowerOfTwo(width);
    int h = roundUpToPowerOfTwo(height);
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    if (static_cast<long long>(maxSide) * maxSide < static_cast<long long>(w) * h)
        w = h = maxSide;
    if (w < need.w || h < need.h)
        return nullptr;
    GLuint texture = createAlphaTexture(w, h);
    if (texture == 0)
        return nullptr;
    PackNode* root = newPackNode(0, 0, w, h, 0);
    AtlasPage* page = root ? new (std::nothrow) AtlasPage{texture, root} : nullptr;
    if (!page) {
        freePackTree(root);
        gls::deleteTexture(texture);
        return nullptr;
    }
    if (!appendPage(pages, page)) {
        freePage(page);
        return nullptr;
    }
    return page;
}

static bool fitsPage(const AtlasPage& page, PackSize need)
{
    return need.w <= pageWidth(page) && need.h <= pageHeight(page);
}

bool reserveGlyphSpace(AtlasPages& pages, int w, int h, GlyphSpace* out)
{
    // No page is larger than a texture can be, and the padding must not
    // overflow.
    if (w < 0 || h < 0 || w > kMaxGlyphSide || h > kMaxGlyphSide)
        return false;
    const PackSize need = {w + 2 * kGlyphPadding, h + 2 * kGlyphPadding};
    if (!pages.empty() && fitsPage(*pages.back(), need)) {
        const PackResult result = packInsert(pages.back()->root, need);
        if (result.cell) {
            *out = {pages.back(), result.cell};
            return true;
        }
    }
    AtlasPage* page = openAtlasPage(pages, kAtlasPageSize, kAtlasPageSize, need);
    if (!page)
        return false;
    const PackResult result = packInsert(page->root, need);
    if (!result.cell)
        return false;
    *out = {page, result.cell};
    return true;
}

void uploadGlyph(const AtlasPage& page, const unsigned char* bitmap, int x, int y, int w, int h)
{
    // Draws collected earlier come first; the GL itself says what is bound.
    flushBatch();
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    if (static_cast<GLuint>(bound) != page.texture)
        glBindTexture(GL_TEXTURE_2D, page.texture);
    gls::noteBound(GL_TEXTURE_2D, page.texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_ALPHA, GL_UNSIGNED_BYTE, bitmap);
    ++g_draw.counters.textureUploads;
}

void releaseAtlasPages(AtlasPages& pages)
{
    for (AtlasPage* page : pages)
        freePage(page);
    pages.clear();
}
