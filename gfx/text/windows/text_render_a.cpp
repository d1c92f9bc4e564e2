#include <windows.h>

#include <new>

#include "gdi_glyph.h"
#include "text_render_a.h"

namespace {

// GDI pads grey rows to whole 32-bit words of bytes.
std::ptrdiff_t greyPitch(int width) { return width % 4 == 0 ? width : (width / 4) * 4 + 4; }

// GDI pads monochrome rows to whole 32-bit words of bits.
std::ptrdiff_t monoPitch(int width) { return width % 32 == 0 ? width / 8 : ((width / 32) + 1) * 4; }

}  // namespace

bool TextRenderA::RenderGlyph(HDC dc, uint16_t code, bool antialiased)
{
    bitmap_.reset();
    const UINT format = antialiased ? GGO_GRAY8_BITMAP : GGO_BITMAP;
    GLYPHMETRICS metrics = {};
    const DWORD bytes = GetGlyphOutlineW(dc, code, format, &metrics, 0, nullptr, &kIdentityTransform);
    if (bytes == GDI_ERROR)
        return false;
    origin_ = {static_cast<int>(metrics.gmptGlyphOrigin.x), static_cast<int>(metrics.gmptGlyphOrigin.y)};
    size_ = {static_cast<int>(metrics.gmBlackBoxX), static_cast<int>(metrics.gmBlackBoxY)};
    advance_ = metrics.gmCellIncX;
    if (bytes == 0)
        return true;

    std::unique_ptr<unsigned char[]> rows(new (std::nothrow) unsigned char[bytes]);
    if (!rows)
        return false;
    const DWORD written = GetGlyphOutlineW(dc, code, format, &metrics, bytes, rows.get(), &kIdentityTransform);
    if (written == GDI_ERROR || written < 1)
        return false;
    const std::ptrdiff_t pitch = antialiased ? greyPitch(size_.cx) : monoPitch(size_.cx);
    // Never read past what GDI wrote, whatever the black box claims.
    if (pitch * size_.cy > static_cast<std::ptrdiff_t>(bytes))
        return false;
    return storeBitmap(rows.get(), pitch, antialiased ? GlyphRows::GreyLevels : GlyphRows::MonoBits);
}
