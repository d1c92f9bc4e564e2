// Numbers written as text with a point whatever the locale: to_chars where
// the standard library has it for floating point, else snprintf in the "C"
// locale a page (Emscripten's libc++, which lacks it) always runs in.
#pragma once

#include <charconv>
#include <cstdio>

// value with decimals digits after the point (printf's %.Nf); returns the end.
inline char* writeFixed(char* first, char* last, double value, int decimals)
{
#if __cpp_lib_to_chars >= 201611L
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals).ptr;
#else
    const int length = std::snprintf(first, static_cast<size_t>(last - first), "%.*f", decimals, value);
    return length < 0 || length >= last - first ? first : first + length;
#endif
}

// value with up to significant digits (printf's %.Ng); returns the end.
inline char* writeGeneral(char* first, char* last, double value, int significant)
{
#if __cpp_lib_to_chars >= 201611L
    return std::to_chars(first, last, value, std::chars_format::general, significant).ptr;
#else
    const int length = std::snprintf(first, static_cast<size_t>(last - first), "%.*g", significant, value);
    return length < 0 || length >= last - first ? first : first + length;
#endif
}
