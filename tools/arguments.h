// Numbers on the tools' command lines.
#pragma once

#include <charconv>
#include <cstring>
#include <string>

#include "gr_display.h"

// The largest view side the tools render.
constexpr int kMaxViewSide = 16384;

// A whole decimal number and nothing else.
template <typename Number>
bool parseNumber(const char* text, Number* value)
{
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, *value);
    return ec == std::errc() && ptr == end;
}

// The most threads --threads takes (the drawing library's limit).
constexpr int kMaxThreadsOption = 64;

// A --threads count: 1 to kMaxThreadsOption.
inline bool parseThreadCount(const char* text, int* threads)
{
    return parseNumber(text, threads) && *threads >= 1 && *threads <= kMaxThreadsOption;
}

// "WxH" with both sides from 1 to kMaxViewSide.
inline bool parseViewSize(const char* text, int* width, int* height)
{
    const char* x = std::strchr(text, 'x');
    return x && parseNumber(std::string(text, x).c_str(), width) && parseNumber(x + 1, height) && *width >= 1 &&
           *height >= 1 && *width <= kMaxViewSide && *height <= kMaxViewSide;
}

// A --samples value: a count from 0, or "exact" for the CPU backend's exact
// coverage (GR_EXACT_COVERAGE_SAMPLES, which is taken as a number too).
inline bool parseSampleCount(const char* text, int* samples)
{
    if (std::strcmp(text, "exact") == 0) {
        *samples = GR_EXACT_COVERAGE_SAMPLES;
        return true;
    }
    return parseNumber(text, samples) && *samples >= 0;
}
