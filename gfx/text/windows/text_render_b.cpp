#include "text_render_b.h"

#include <algorithm>
#include <new>

#include "gdi_glyph.h"

TextRenderB::TextRenderB() : white_(CreateSolidBrush(RGB(255, 255, 255))) {}

TextRenderB::~TextRenderB()
{
    if (white_)
        DeleteObject(white_);
}

unsigned char TextRenderB::MapGrey(unsigned char grey) { return grey; }

const unsigned char* TextRenderB::GetGlyphBitmap(GlyphOrigin* origin, GlyphSize* size, int* advance)
{
    if (origin)
        *origin = origin_;
    if (size)
        *size = size_;
    if (advance)
        *advance = advance_;
    return bitmap_.get();
}

bool TextRenderB::RenderGlyph(HDC dc, uint16_t code, bool antialiased)
{
    bitmap_.reset();
    LOGFONTW logFont = {};
    HGDIOBJ current = GetCurrentObject(dc, OBJ_FONT);
    if (!current || GetObjectW(current, sizeof logFont, &logFont) != sizeof logFont)
        return false;
    logFont.lfQuality = antialiased ? CLEARTYPE_QUALITY : NONANTIALIASED_QUALITY;
    HFONT font = CreateFontIndirectW(&logFont);
    if (!font)
        return false;
    HGDIOBJ previous = SelectObject(dc, font);
    const bool rendered = renderOffscreen(dc, code, font);
    SelectObject(dc, previous);
    DeleteObject(font);
    return rendered;
}

bool TextRenderB::renderOffscreen(HDC dc, uint16_t code, HFONT font)
{
    bitmap_.reset();
    GLYPHMETRICS metrics = {};
    if (GetGlyphOutlineW(dc, code, GGO_METRICS, &metrics, 0, nullptr, &kIdentityTransform) == GDI_ERROR)
        return false;
    TEXTMETRICW text = {};
    if (!GetTextMetricsW(dc, &text) || !white_)
        return false;
    origin_ = {static_cast<int>(metrics.gmptGlyphOrigin.x), static_cast<int>(metrics.gmptGlyphOrigin.y)};
    size_ = {static_cast<int>(metrics.gmBlackBoxX), static_cast<int>(metrics.gmBlackBoxY)};
    advance_ = metrics.gmCellIncX;

    const int left = std::max(origin_.x, 0);
    const int width = left + size_.cx;
    const int height = text.tmHeight;
    if (width < 1 || height < 1)
        return false;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP target = memory ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (!target) {
        if (memory)
            DeleteDC(memory);
        return false;
    }
    HGDIOBJ previousBitmap = SelectObject(memory, target);
    HGDIOBJ previousFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    const RECT all = {0, 0, width, height};
    FillRect(memory, &all, white_);
    const wchar_t unit = static_cast<wchar_t>(code);
    TextOutW(memory, -std::min(origin_.x, 0), 0, &unit, 1);

    // GDI wants the bitmap deselected before reading it back.
    SelectObject(memory, previousBitmap);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bool read = GetDIBits(memory, target, 0, static_cast<UINT>(height), nullptr, &info, DIB_RGB_COLORS) != 0;
    const size_t imageBytes = static_cast<size_t>(width) * height * 4;
    std::unique_ptr<uint32_t[]> image;
    if (read && info.bmiHeader.biSizeImage >= imageBytes)
        image.reset(new (std::nothrow) uint32_t[info.bmiHeader.biSizeImage / 4 + 1]);
    read = image && GetDIBits(memory, target, 0, static_cast<UINT>(height), image.get(), &info, DIB_RGB_COLORS) ==
                        height;
    if (read)
        read = copyCoverage(image.get(), width, height, text.tmAscent - origin_.y, left);
    SelectObject(memory, previousFont);
    DeleteDC(memory);
    DeleteObject(target);
    return read;
}

bool TextRenderB::copyCoverage(const uint32_t* image, int imageWidth, int imageHeight, int firstRow, int firstColumn)
{
    if (size_.cx < 1 || size_.cy < 1)
        return true;
    bitmap_.reset(new (std::nothrow) unsigned char[static_cast<size_t>(size_.cx) * size_.cy]);
    if (!bitmap_)
        return false;
    unsigned char* out = bitmap_.get();
    for (int y = 0; y < size_.cy; ++y) {
        const int row = firstRow + y;
        for (int x = 0; x < size_.cx; ++x) {
            const int column = firstColumn + x;
            if (row < 0 || row >= imageHeight || column < 0 || column >= imageWidth) {
                *out++ = 0;
                continue;
            }
            const uint32_t pixel = image[static_cast<size_t>(row) * imageWidth + column];
            const unsigned grey = (((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
            *out++ = static_cast<unsigned char>(255 - MapGrey(static_cast<unsigned char>(grey)));
        }
    }
    return true;
}
