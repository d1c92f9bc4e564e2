// Where a string goes: its rotated frame, the pen's start after alignment,
// and the corners of its background plate.
#pragma once

#include "font_metrics.h"
#include "vec2.h"

// Baseline direction d and up direction n of text turned by angleDeg.
struct TextFrame {
    Vec2f d, n;
};

TextFrame textFrame(float angleDeg);

// The anchor moved by the pen offset (-0.375, -0.375) of the text's frame.
Vec2f penAtAnchor(float x, float y, const TextFrame& frame);

// True when horizontal alignment h needs the string's width.
bool alignmentNeedsWidth(int h);

// The pen moved for alignment (h 0..2, v 0..3; any other value of either
// moves it not at all). width is the string's advance.
Vec2f alignPen(Vec2f pen, const TextFrame& frame, int h, int v, float width, const FontMetrics& metrics);

// Strip order Q, Q + U, Q + L, Q + L + U of a plate reaching b beyond the
// string's advance and cell on every side.
void plateCorners(Vec2f pen, const TextFrame& frame, float width, const FontMetrics& metrics, float b,
                  float out[8]);
