#include "cpu_frame.h"

#include <algorithm>
#include <cstring>

namespace cpu {

bool validSamples(int samples) { return samples == kExactCoverage || samplePattern(samples) != nullptr; }

bool CpuFrame::Resize(int width, int height, int samples)
{
    const bool exact = samples == kExactCoverage;
    const SamplePattern* pattern = samplePattern(exact ? 0 : samples);
    if (!pattern || width <= 0 || height <= 0)
        return false;
    exact_ = exact;
    width_ = width;
    height_ = height;
    pattern_ = pattern;
    const size_t pixels = static_cast<size_t>(width) * height;
    const size_t perPixel = static_cast<size_t>(pattern->count);
    color_.resize(pixels);
    split_.Resize(width, height);
    samples_.resize(perPixel > 1 ? pixels * perPixel : 0);
    stencil_.assign(pixels * perPixel, 0);
    stencilDirty_.assign(static_cast<size_t>(height), 0);
    stencilRowValue_.assign(static_cast<size_t>(height), 0);
    return true;
}

void CpuFrame::ClearColor(int y0, int y1, uint32_t rgba)
{
    const size_t first = static_cast<size_t>(y0) * width_;
    const size_t count = static_cast<size_t>(y1 - y0) * width_;
    std::fill_n(color_.data() + first, count, rgba);
    if (pattern_->count > 1)
        split_.ClearRows(y0, y1);
}

void CpuFrame::ClearColorAround(int y0, int y1, uint32_t rgba, const PixelBox& keep)
{
    const int x0 = std::clamp(keep.x0, 0, width_), x1 = std::clamp(keep.x1, x0, width_);
    const int k0 = std::clamp(keep.y0, y0, y1), k1 = std::clamp(keep.y1, k0, y1);
    if (x0 == x1 || k0 == k1) {
        ClearColor(y0, y1, rgba);
        return;
    }
    ClearColor(y0, k0, rgba);
    for (int y = k0; y < k1; ++y) {
        uint32_t* row = color_.data() + static_cast<size_t>(y) * width_;
        std::fill(row, row + x0, rgba);
        std::fill(row + x1, row + width_, rgba);
    }
    if (pattern_->count > 1)
        split_.ClearRows(k0, k1);
    ClearColor(k1, y1, rgba);
}

void CpuFrame::ClearStencil(int y0, int y1, uint8_t value)
{
    const size_t row = static_cast<size_t>(width_) * pattern_->count;
    for (int y = y0; y < y1; ++y) {
        if (!stencilDirty_[y] && stencilRowValue_[y] == value)
            continue;
        std::memset(stencil_.data() + row * y, value, row);
        stencilDirty_[y] = 0;
        stencilRowValue_[y] = value;
    }
}

void CpuFrame::NoteStencilRows(int y0, int y1)
{
    std::fill(stencilDirty_.begin() + y0, stencilDirty_.begin() + y1, 1);
}

}  // namespace cpu
