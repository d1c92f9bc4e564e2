// Sampling a circular sweep and writing the strips and fans the curved
// primitives (arcs, circles, discs, sectors, rings, ring sectors) are made
// of. cos and sin are evaluated once per sample and shared by every radius
// written for it.
#pragma once

#include "vec2.h"

// cos and sin of a float angle, evaluated in double and rounded to float.
float cosOf(float radians);
float sinOf(float radians);
inline Vec2f unitAt(float radians) { return {cosOf(radians), sinOf(radians)}; }

// The sample angles of a sweep of n segments: samples 0..n.
class Sweep {
public:
    // start, start + step, ... accumulated in float: arcs and sectors.
    static Sweep accumulated(float startRad, float sweepRad, int segments);
    // start + k * step: ring sectors.
    static Sweep stepped(float startRad, float sweepRad, int segments);
    // k * (2 pi / n) for each k in double: circles, discs and rings. The
    // last sample repeats the first direction.
    static Sweep fullTurn(int segments);

    int segments() const { return n_; }
    int stripVertices() const { return 2 * n_ + 2; }
    int fanVertices() const { return n_ + 2; }

    // Angle of sample k; previous is the angle of sample k - 1 (unused for
    // k = 0), which the accumulated rule builds on.
    float angle(int k, float previous) const;

private:
    enum class Rule { Accumulated, Stepped, FullTurn };
    Sweep(Rule rule, float start, float step, int segments)
        : rule_(rule), start_(start), step_(step), n_(segments)
    {
    }

    Rule rule_;
    float start_;
    float step_;
    int n_;
};

// One pass over the samples of a sweep around one centre, writing every
// strip and fan registered with it.
class BandPass {
public:
    static constexpr int kMaxTargets = 6;

    BandPass(const Sweep& sweep, float cx, float cy) : sweep_(sweep), cx_(cx), cy_(cy) {}

    // Band(r1, r2): per sample the point at r1, then the point at r2;
    // stripVertices() vertices at out.
    void strip(float* out, float r1, float r2);
    // The centre, then per sample the point at r; fanVertices() vertices.
    void fan(float* out, float r);
    void write() const;

private:
    struct Target {
        float* out;
        float r1, r2;
        bool pair;
    };

    Sweep sweep_;
    float cx_, cy_;
    Target targets_[kMaxTargets];
    int count_ = 0;
};

// Dash coordinates along a band: s at the first sample and its change per
// step (the arc length of one step over the pattern length).
struct DashRun {
    float s0;
    float ds;
};

// Per sample the pair (s, 0), (s, width), s accumulated in float from
// run.s0: the coordinates of one strip of segments + 1 sample pairs.
void writeDashCoords(float* out, int segments, DashRun run, float width);

// False, counting a rejected shape, for angles no sweep can be drawn from:
// a NaN start or sweep, or an infinite start. An infinite sweep is clamped
// like any other.
bool acceptSweep(float startDeg, float sweepDeg);
// False, counting a rejected shape, for a NaN or infinite radius.
bool acceptRadius(float r);
