#include "page_surface.h"

#include <string>

#include "page_bridge.h"

void PageSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    const std::string shown = detail && *detail ? std::string(text) + "\n" + detail : std::string(text);
    pageShowError(caption, shown.c_str());
}
