// What draws the page's frames: WebGL 2, or the drawing library's CPU
// backend onto a 2-D canvas where the browser has no WebGL 2 (missing,
// disabled or blocklisted) or the address asks for it (?renderer=cpu).
#pragma once

#include <string>

#include "display_renderer.h"
#include "webgl_surface.h"

enum class PageRenderer { Auto, WebGl, Cpu };

// "auto", "webgl" or "cpu" into *renderer; false for another name.
bool pageRendererNamed(const std::string& name, PageRenderer* renderer);

// What was chosen, and why in words for the page.
struct PageRendering {
    bool cpu = false;
    std::string why;
};

// Probes the formats of the renderer asked for into renderer and points it
// at its backend: WebGL 2 unless asked for the CPU or the browser refuses
// WebGL 2 (then the CPU, unless WebGL was asked for). False with the
// reason in *error when nothing can draw.
bool choosePageRendering(PageRenderer asked, DisplayRenderer& renderer, WebGlProbe& probe,
                         PageRendering* chosen, std::string* error);

// Shows chosen.why in the page's header.
void pageShowRendering(const PageRendering& chosen);
