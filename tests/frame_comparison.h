// Two frames compared as the goldens are: a pixel differs when any colour
// channel is off by more than kChannelTolerance; frames agree with at most
// kDifferingShare of their pixels differing. The difference image shows
// differing pixels red over the dimmed reference.
#pragma once

#include <algorithm>
#include <cstdlib>

#include "png_file.h"

constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.0001;  // 0.01 %: about 80 pixels of a frame

struct FrameComparison {
    long differing = 0;
    long allowed = 0;
    RgbaImage difference;

    bool Agrees() const { return differing <= allowed; }
};

// Compares frames of equal size; a pixel differs when a channel is off by
// more than tolerance, and the frames agree with at most share of them.
inline FrameComparison compareFrames(const RgbaImage& frame, const RgbaImage& reference,
                                     int tolerance = kChannelTolerance, double share = kDifferingShare)
{
    FrameComparison result;
    result.allowed = static_cast<long>(share * frame.width * frame.height);
    result.difference = reference;
    for (size_t i = 0; i + 3 < frame.pixels.size() && i + 3 < reference.pixels.size(); i += 4) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(frame.pixels[i + c] - reference.pixels[i + c]));
        uint8_t* out = &result.difference.pixels[i];
        if (worst > tolerance) {
            ++result.differing;
            out[0] = 255;
            out[1] = 0;
            out[2] = 0;
        } else {
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(out[c] / 4);
        }
        out[3] = 255;
    }
    return result;
}
