// Reads a fuzzer's bytes as typed values. Integers and floats come either
// raw or as one of the edge values that break arithmetic (extremes, zero,
// NaN, infinities), so short inputs reach them often. An exhausted input
// reads as zeros.
#pragma once

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    uint32_t raw32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | byte();
        return v;
    }

    // Values 0..n-1.
    int below(int n) { return n > 0 ? byte() % n : 0; }

    int32_t integer()
    {
        static const int32_t edges[] = {0, 1, -1, 2, 3, 5, 7, 10, 16, 100, -100, 360, -360, 1000, 65535,
                                        1 << 20, -(1 << 20), 1 << 30, INT_MAX, INT_MIN, INT_MAX - 1,
                                        INT_MIN + 1, 46341, -46341};
        const uint8_t pick = byte();
        if (pick < 64)
            return static_cast<int32_t>(raw32());
        return edges[pick % (sizeof edges / sizeof edges[0])];
    }

    // A small integer around the range a display uses, or now and then an
    // edge value (huge radii make every primitive slow to fuzz).
    int32_t coordinate()
    {
        const uint8_t pick = byte();
        if (pick < 232)
            return static_cast<int32_t>(static_cast<int16_t>(byte() << 8 | byte())) / 64;
        return integer();
    }

    float real()
    {
        static const float edges[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 1.5f, 90.0f, 360.0f, -360.0f, 720.0f,
                                      1e9f, -1e9f, 1e-30f, FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN,
                                      std::numeric_limits<float>::infinity(),
                                      -std::numeric_limits<float>::infinity(),
                                      std::numeric_limits<float>::quiet_NaN(), 2147483648.0f, -2147483904.0f};
        const uint8_t pick = byte();
        if (pick < 64) {
            const uint32_t bits = raw32();
            float v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        if (pick < 160)
            return static_cast<float>(static_cast<int16_t>(byte() << 8 | byte())) / 16.0f;
        return edges[pick % (sizeof edges / sizeof edges[0])];
    }

    // Up to maxUnits code units, two bytes each, without a terminator.
    std::u16string text(size_t maxUnits)
    {
        const size_t n = below(static_cast<int>(maxUnits) + 1);
        std::u16string s;
        for (size_t i = 0; i < n && !empty(); ++i) {
            const char16_t unit = static_cast<char16_t>(byte() << 8 | byte());
            if (unit != 0)
                s.push_back(unit);
        }
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A failed check: prints what and aborts, which the fuzzer and the replay
// both report as a crash with this input.
[[noreturn]] void fuzzFailure(const char* what);
#define FUZZ_CHECK(condition)                 \
    do {                                      \
        if (!(condition))                     \
            fuzzFailure(#condition);          \
    } while (0)

// UTF-16 code units as a wide string, one to one, for the C library's wide
// functions that the results are compared with.
inline std::wstring wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
