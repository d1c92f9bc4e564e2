// Rasterisers hold window positions in fixed point of different precision
// (Mesa's llvmpipe 1/256 pixel, SwiftShader under the browsers' WebGL 1/16),
// and some interpolate attributes from the rounded corners: the same glyph
// then samples its page up to a sixteenth of a texel apart, a few levels on
// every edge of the text. A textured triangle's corners are therefore put on
// sixteenths first, without crossing a sampled position, and its texture
// coordinates moved along the triangle's own gradient so that the texture
// lands where it did. The backend does this for glyph pages and images
// only: other triangles keep their corners, and their slanted edges.
#pragma once

// A triangle corner: position in clip coordinates, texture coordinates.
struct GridCorner {
    float x, y, s, t;
};

class SubpixelGrid {
public:
    // The viewport's size in pixels; its origin is the window's.
    void setViewport(int width, int height);

    // Puts the triangle's corners on the grid, keeping the texture's mapping
    // onto the window as it was.
    void snapTexturedTriangle(GridCorner corners[3]) const;

private:
    double halfWidth_ = 0.5, halfHeight_ = 0.5;
};
