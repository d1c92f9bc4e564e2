#include "atlas.h"

#include <new>

#include "state.h"

static int roundUpToPowerOfTwo(int n)
{
    int p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
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
    backend().deleteTexture(page->texture);
    freePackTree(page->root);
    delete page;
}

AtlasPage* openAtlasPage(AtlasPages& pages, int width, int height, PackSize need)
{
    int w = roundUpToPowerOfTwo(width);
    int h = roundUpToPowerOfTwo(height);
    const int maxSide = backend().maxTextureSide();
    if (static_cast<long long>(maxSide) * maxSide < static_cast<long long>(w) * h)
        w = h = maxSide;
    if (w < need.w || h < need.h)
        return nullptr;
    const TextureHandle texture = backend().createTexture(TextureFormat::GlyphAlpha, w, h, nullptr);
    if (texture == 0)
        return nullptr;
    PackNode* root = newPackNode(0, 0, w, h, 0);
    AtlasPage* page = root ? new (std::nothrow) AtlasPage{texture, root} : nullptr;
    if (!page) {
        freePackTree(root);
        backend().deleteTexture(texture);
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
    backend().updateTexture(page.texture, x, y, w, h, bitmap);
}

void releaseAtlasPages(AtlasPages& pages)
{
    for (AtlasPage* page : pages)
        freePage(page);
    pages.clear();
}
