// Submitting built geometry: the helpers every primitive ends with, so that
// each part of a shape is one draw through the backend.
#pragma once

#include "state.h"

// How an outline is drawn under the current pattern: solid for mask 0xFFFF
// (and before any pattern is chosen in a frame), dashed when the pattern has
// a texture, hidden otherwise.
enum class OutlineStyle { Solid, Dashed, Hidden };
OutlineStyle outlineStyle();

// Length of the current dash pattern in units; only valid while dashed.
float dashLength();

// Draws count vertices (x, y float pairs) as mode in color. Nothing is drawn
// while no colour has been chosen.
void drawVertices(Primitive mode, const float* vertices, int count, const GrColor* color);

// The same with a texture coordinate pair per vertex.
void drawTexturedVertices(Primitive mode, const float* vertices, const float* texCoords, int count,
                          const GrColor* color);

// Turns dash texturing (pattern texture, texture-coordinate array, blending) on
// for its lifetime when dashed is true, and back off to the frame baseline.
class DashScope {
public:
    explicit DashScope(bool dashed);
    ~DashScope();
    DashScope(const DashScope&) = delete;
    DashScope& operator=(const DashScope&) = delete;

private:
    bool dashed_;
};
