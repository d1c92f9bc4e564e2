// Starting the drawing library on a kiosk surface, the same for every
// presenter: the surface sized first, the renderer created on it, and a
// failure worded once.
#pragma once

#include <string>

#include "display_renderer.h"

// Sizes surface to width x height and starts renderer on it with samples.
// False with the reason in *error: empty when the surface has told the user
// already, else the surface's own error, else fallback.
template <class Surface>
bool startRendererOn(DisplayRenderer& renderer, Surface& surface, int samples, int width, int height,
                     const char* fallback, std::string* error)
{
    surface.SetSize(width, height);
    if (renderer.Create(&surface, samples)) {
        renderer.Resize(width, height);
        return true;
    }
    if (surface.Reported())
        error->clear();
    else
        *error = surface.Error().empty() ? std::string(fallback) : surface.Error();
    return false;
}
