// Whether a GL draws on the processor itself, told by its GL_RENDERER
// string: there the library's CPU backend draws the same frames several
// times faster than the GL does.
#pragma once

#include <string>

// True for the software rasterisers: Mesa's llvmpipe, softpipe and swrast,
// SwiftShader (alone or under ANGLE), Windows' "GDI Generic" and the
// Microsoft Basic Render Driver (WARP), Apple's software renderer.
bool isSoftwareRasteriser(const std::string& glRenderer);
