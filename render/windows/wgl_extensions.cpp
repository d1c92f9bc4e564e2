#include "wgl_extensions.h"

#include "pixel_format_table.h"

bool wglExtensionListed(bool hasWglQuery, const char* wglExtensions, const char* glExtensions, const char* name)
{
    if (!hasWglQuery)
        return false;
    const char* text = wglExtensions && *wglExtensions ? wglExtensions : glExtensions;
    if (!text || !*text)
        return false;
    return extensionListed(text, name);
}
