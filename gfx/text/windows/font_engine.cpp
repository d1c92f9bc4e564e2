#include <windows.h>

#include "font_engine.h"

#include <string>

#include "text_render.h"

namespace {

constexpr int kPointsPerInch = 72;

// The face name in UTF-16 through the thread's ANSI code page; empty when
// it cannot be converted.
std::wstring wideFaceName(const char* faceName)
{
    const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, faceName, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_THREAD_ACP, 0, faceName, -1, wide.data(), length) != length)
        return {};
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

}  // namespace

FontHandle openTableFont(const char* faceName, int pointSize, bool bold, bool italic, FontMetrics* metrics)
{
    if (!faceName)
        return nullptr;
    const std::wstring face = wideFaceName(faceName);
    if (face.empty())
        return nullptr;
    HDC screen = GetWindowDC(nullptr);
    if (!screen)
        return nullptr;
    // A negative height asks for the em height rather than the cell height.
    const int height = -MulDiv(pointSize, GetDeviceCaps(screen, LOGPIXELSY), kPointsPerInch);
    HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? 1 : 0, 0, 0, DEFAULT_CHARSET,
                             OUT_TT_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             face.c_str());
    if (font) {
        HGDIOBJ previous = SelectObject(screen, font);
        TEXTMETRICW text = {};
        if (GetTextMetricsW(screen, &text)) {
            *metrics = {static_cast<float>(text.tmHeight), static_cast<float>(text.tmDescent)};
        } else {
            DeleteObject(font);
            font = nullptr;
        }
        SelectObject(screen, previous);
    }
    ReleaseDC(nullptr, screen);
    return font;
}

void closeTableFont(FontHandle font)
{
    if (font)
        DeleteObject(font);
}

bool renderTableGlyph(ITextRender& renderer, FontHandle font, uint16_t code, bool antialiased)
{
    HDC screen = GetWindowDC(nullptr);
    if (!screen)
        return false;
    HGDIOBJ previous = SelectObject(screen, font);
    const bool rendered = renderer.RenderGlyph(screen, code, antialiased);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return rendered;
}
