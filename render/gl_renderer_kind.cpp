#include "gl_renderer_kind.h"

#include <algorithm>
#include <cctype>

namespace {

// Lower-case parts of the renderer strings software rasterisers report.
// "llvm" alone is no mark: AMD's hardware drivers name their LLVM too.
const char* const kSoftwareMarks[] = {
    "llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader", "gdi generic",
    "microsoft basic render driver", "apple software renderer", "lavapipe",
};

}  // namespace

bool isSoftwareRasteriser(const std::string& glRenderer)
{
    std::string lower = glRenderer;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* mark : kSoftwareMarks)
        if (lower.find(mark) != std::string::npos)
            return true;
    return false;
}
