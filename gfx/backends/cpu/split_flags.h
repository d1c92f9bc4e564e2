// One bit a pixel, set while the pixel's samples differ. A bit a pixel
// stays in cache while the frame's colours stream through it (a byte a
// pixel did not); each row starts on a word of its own, so that threads
// drawing neighbouring bands of rows never write the same word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cpu {

class SplitFlags {
public:
    // Sizes for width x height pixels, all clear.
    void Resize(int width, int height);

    bool Test(int x, int y) const { return (words_[Word(x, y)] >> (x & kLast) & 1) != 0; }
    void Set(int x, int y, bool split)
    {
        uint64_t& word = words_[Word(x, y)];
        const uint64_t bit = uint64_t{1} << (x & kLast);
        word = split ? word | bit : word & ~bit;
    }
    // Clears pixels [x0, x1) of row y; inline, as every filled span calls it.
    void ClearSpan(int y, int x0, int x1)
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
        for (int i = first + 1; i < last; ++i)
            row[i] = 0;
        row[last] &= ~tail;
    }
    // Clears rows [y0, y1).
    void ClearRows(int y0, int y1);

private:
    static constexpr int kShift = 6;
    static constexpr int kLast = 63;
    size_t Word(int x, int y) const { return static_cast<size_t>(y) * stride_ + static_cast<size_t>(x >> kShift); }

    size_t stride_ = 0;  // words a row
    std::vector<uint64_t> words_;
};

}  // namespace cpu
