#include "sample_pattern.h"

namespace cpu {

namespace {

// Offsets in 1/16 of a pixel from its top left corner, as the patterns are
// published; the frame's rows count up from the bottom, as the GL's window
// rows do, so y is taken from the bottom edge (measured against llvmpipe:
// this way round its 4-sample frames are matched to the pixel).
constexpr int kSixteenths = 16;
constexpr int kSixteenth = kSubpixelOne / kSixteenths;

constexpr SamplePattern make(int count, int shift, const int (&xy)[kMaxSamples][2])
{
    SamplePattern p{count, shift, {}, {}};
    for (int i = 0; i < count; ++i) {
        p.x[i] = xy[i][0] * kSixteenth;
        p.y[i] = (kSixteenths - xy[i][1]) * kSixteenth;
    }
    return p;
}

constexpr SamplePattern kCentre = make(1, 0, {{8, 8}});
constexpr SamplePattern kTwo = make(2, 1, {{12, 12}, {4, 4}});
constexpr SamplePattern kFour = make(4, 2, {{6, 2}, {14, 6}, {2, 10}, {10, 14}});
constexpr SamplePattern kEight =
    make(8, 3, {{9, 5}, {7, 11}, {13, 9}, {5, 3}, {3, 13}, {1, 7}, {11, 15}, {15, 1}});

}  // namespace

const SamplePattern* samplePattern(int samples)
{
    switch (samples) {
    case 0:
        return &kCentre;
    case 2:
        return &kTwo;
    case 4:
        return &kFour;
    case 8:
        return &kEight;
    default:
        return nullptr;
    }
}

}  // namespace cpu
