// The straight edges of sector and ring sector outlines, and the small
// triangle lists their borders are built in before one draw.
#pragma once

#include "band.h"
#include "gr.h"

// A straight edge from a to b with the dash coordinate at each end.
struct EdgeRun {
    Vec2f a, b;
    float sa, sb;
};

// The straight edges of one shape collected in local arrays, with their
// dash coordinates when dashed, and drawn as one list of triangles.
class EdgeBatch {
public:
    explicit EdgeBatch(bool dashed) : dashed_(dashed) {}

    // The edge's line band of width w, ends not moved (6 vertices; none
    // when the ends coincide).
    void addLine(const EdgeRun& edge, float w);
    // The two bands of width bw along both sides of that line band, from
    // w / 2 to w / 2 + bw off the edge (12 vertices; none when the ends
    // coincide).
    void addSides(const EdgeRun& edge, float w, float bw);

    void draw(const GrColor* color) const;

private:
    static constexpr int kMaxVertices = 24;

    void addBand(Vec2f a, Vec2f b, float sa, float sb, float width);

    bool dashed_;
    float v_[2 * kMaxVertices];
    float tex_[2 * kMaxVertices];
    int count_ = 0;
};

// The straight edges of an outline: their line bands (bodies) and, with a
// border, the bands along both their sides.
struct EdgeOutline {
    explicit EdgeOutline(bool dashed) : bodies(dashed), sides(dashed) {}

    void add(const EdgeRun& edge, float w, float bw, bool border)
    {
        bodies.addLine(edge, w);
        if (border)
            sides.addSides(edge, w, bw);
    }

    EdgeBatch bodies;
    EdgeBatch sides;
};

// Up to N triangles collected in a local array.
template <int N>
struct TriangleList {
    float v[6 * N];
    int count = 0;  // vertices

    void add(Vec2f a, Vec2f b, Vec2f c)
    {
        if (count + 3 > 3 * N)
            return;
        put(a);
        put(b);
        put(c);
    }

    // A convex polygon as a fan of triangles from its first corner.
    void polygon(const Vec2f* corners, int n)
    {
        for (int i = 1; i + 1 < n; ++i)
            add(corners[0], corners[i], corners[i + 1]);
    }

private:
    void put(Vec2f p)
    {
        v[2 * count] = p.x;
        v[2 * count + 1] = p.y;
        ++count;
    }
};
