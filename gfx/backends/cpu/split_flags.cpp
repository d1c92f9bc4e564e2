#include "split_flags.h"

#include <algorithm>

namespace cpu {

void SplitFlags::Resize(int width, int height)
{
    stride_ = (static_cast<size_t>(width) + kLast) >> kShift;
    words_.assign(stride_ * static_cast<size_t>(height), 0);
}

void SplitFlags::ClearRows(int y0, int y1)
{
    std::fill(words_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y0) * stride_),
              words_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y1) * stride_), uint64_t{0});
}

}  // namespace cpu
