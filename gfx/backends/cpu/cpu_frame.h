// The image the CPU backend draws into: 32-bit RGBA pixels, row 0 first in
// memory (the GL's window row 0, the bottom one), and an 8-bit stencil
// value per sample. With samples, every pixel holds its resolved colour;
// a pixel whose samples differ (an edge) also holds each sample, and its
// resolved colour is their mean, updated as they change. Pixels covered
// whole stay single, so clearing and resolving cost no more than the
// edges do.
#pragma once

#include <cstdint>
#include <vector>

#include "sample_pattern.h"
#include "split_flags.h"

namespace cpu {

// The samples value of the level drawn with exact coverage (exact_raster.h):
// above every sample count, as its quality is. Its frame holds pixels and a
// stencil value a pixel (tested at pixel centres), no samples.
constexpr int kExactCoverage = 256;

// Whether a frame can be drawn with samples per pixel: 0, 2, 4, 8 or
// kExactCoverage.
bool validSamples(int samples);

// Pixels [x0, x1) x rows [y0, y1); empty where x0 >= x1 or y0 >= y1.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class CpuFrame {
public:
    // Sizes the planes for a width x height image with samples per pixel
    // (validSamples); false, and nothing changed, for anything else. Memory
    // is kept across calls of the same size or smaller.
    bool Resize(int width, int height, int samples);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Samples() const { return exact_ ? kExactCoverage : (pattern_->count == 1 ? 0 : pattern_->count); }
    // Antialiased draws take exact coverage; the pattern is then the centre's.
    bool Exact() const { return exact_; }
    const SamplePattern& Pattern() const { return *pattern_; }

    // Clears rows [y0, y1) of the colour to rgba and of the stencil to value.
    void ClearColor(int y0, int y1, uint32_t rgba);
    // The same, leaving the pixels in keep as they are (a draw that follows
    // overwrites them whole): each pixel is written once, not twice.
    void ClearColorAround(int y0, int y1, uint32_t rgba, const PixelBox& keep);
    void ClearStencil(int y0, int y1, uint8_t value);

    // The resolved pixels, row 0 first.
    const uint32_t* Pixels() const { return color_.data(); }
    uint32_t* Pixels() { return color_.data(); }
    SplitFlags& Split() { return split_; }
    const SplitFlags& Split() const { return split_; }
    uint32_t* SampleColors() { return samples_.data(); }
    uint8_t* Stencil() { return stencil_.data(); }
    const uint8_t* Stencil() const { return stencil_.data(); }
    // Stencil rows written since they were last cleared: clearing skips
    // the rest. Each band of rows is tracked apart, by the thread that draws it.
    void NoteStencilRows(int y0, int y1);

private:
    int width_ = 0;
    int height_ = 0;
    const SamplePattern* pattern_ = samplePattern(0);
    bool exact_ = false;
    std::vector<uint32_t> color_;
    SplitFlags split_;
    std::vector<uint32_t> samples_;   // per sample; valid where split
    std::vector<uint8_t> stencil_;    // per sample
    std::vector<uint8_t> stencilDirty_;     // per row: drawn into since cleared
    std::vector<uint8_t> stencilRowValue_;  // per row: the value it was cleared to
};

}  // namespace cpu
