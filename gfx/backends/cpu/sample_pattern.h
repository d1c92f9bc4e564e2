// Where a pixel is sampled: its centre without multisampling, else the
// GL's standard multisample positions (those of Direct3D, which Mesa and
// the desktop drivers use), so that coverage is the GL backends' own.
#pragma once

namespace cpu {

// Vertex positions are snapped to 1/256 of a pixel, as llvmpipe snaps them.
constexpr int kSubpixelBits = 8;
constexpr int kSubpixelOne = 1 << kSubpixelBits;
constexpr int kMaxSamples = 8;

struct SamplePattern {
    int count;                 // 1 for centre sampling
    int shift;                 // log2(count)
    int x[kMaxSamples];        // offsets within the pixel in 1/256,
    int y[kMaxSamples];        // rows counted in memory order
};

// The pattern for samples 0, 2, 4 or 8; nullptr for any other count.
const SamplePattern* samplePattern(int samples);

}  // namespace cpu
