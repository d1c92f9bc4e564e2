#include "split_flags.h"

#include <algorithm>

namespace cpu {

void SplitFlags::Resize(int width, int height)
{
    stride_ = (static_cast<size_t>(width) + kLast) >> kShift;
    words_.assign(stride_ * static_cast<size_t>(height), 0);
}

void SplitFlags::ClearSpan(int y, int x0, int x1)
{
    if (x0 >= x1)
        return;
    uint64_t* row = words_.data() + static_cast<size_t>(y) * stride_;
    const int first = x0 >> kShift, last = (x1 - 1) >> kShift;
    const uint64_t head = ~uint64_t{0} << (x0 & kLast);
    const uint64_t tail = ~uint64_t{0} >> (kLast - ((x1 - 1) & kLast));
    if (first == last) {
        row[first] &= ~(head & tail);
        return;
    }
    row[first] &= ~head;
    std::fill(row + first + 1, row + last, uint64_t{0});
    row[last] &= ~tail;
}

void SplitFlags::ClearRows(int y0, int y1)
{
    std::fill(words_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y0) * stride_),
              words_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y1) * stride_), uint64_t{0});
}

}  // namespace cpu
