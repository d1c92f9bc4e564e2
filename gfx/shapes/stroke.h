// Lines drawn along a circular sweep: the band of the line width centred on
// a radius and, with the border switch, a band of the border width on each
// side of it, optionally dashed. Arcs, circles, ring outlines and the curved
// edges of sectors and ring sectors are all strokes.
#pragma once

#include <limits>

#include "band.h"
#include "gr.h"

// The edges of one stroke: the line runs from in to out, its borders from
// in to borderIn and from out to borderOut.
struct StrokeRadii {
    float in, out, borderIn, borderOut;
};

// No upper limit for strokeRadii.
constexpr float kNoRadiusLimit = std::numeric_limits<float>::max();

// The stroke of half width hw and border width bw centred on radius r, every
// edge kept within [lo, hi] so that neighbouring strokes never overlap.
StrokeRadii strokeRadii(float r, float hw, float bw, float lo, float hi);

// Dash coordinates starting at s0 and running over the arc length
// radius * angle in segments equal steps, in pattern lengths.
DashRun dashAlong(float s0, float radius, float angle, int segments);

// Up to two strokes along one sweep, written in one pass into the scratch
// buffers and then drawn part by part in whatever order the shape needs.
class StrokeSet {
public:
    static constexpr int kMaxStrokes = 2;

    StrokeSet(const Sweep& sweep, float cx, float cy, bool border, bool dashed);

    // Adds a stroke; the dash run is used only when dashed. Returns its index.
    int add(const StrokeRadii& radii, DashRun dash);
    // False when the scratch buffers cannot hold the strokes.
    bool build();

    // The line band of stroke i in the colour.
    void drawBody(int i) const;
    // Its inner, then its outer border band in the border colour.
    void drawBorders(int i) const;

private:
    struct Stroke {
        StrokeRadii radii;
        DashRun dash;
    };

    int bandsPerStroke() const { return border_ ? 3 : 1; }
    int texPerStroke() const { return border_ ? 2 : 1; }
    void drawBand(int band, int texBand, const GrColor* color) const;

    Sweep sweep_;
    float cx_, cy_;
    bool border_;
    bool dashed_;
    Stroke strokes_[kMaxStrokes];
    int count_ = 0;
};
