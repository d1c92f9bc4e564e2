// The 2-D float vector the primitives and text build their geometry with.
#pragma once

struct Vec2f {
    float x, y;
};

inline Vec2f operator+(Vec2f a, Vec2f b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2f operator-(Vec2f a, Vec2f b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2f operator*(float k, Vec2f a) { return {k * a.x, k * a.y}; }
