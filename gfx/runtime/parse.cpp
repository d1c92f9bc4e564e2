// Number parsing on UTF-16 strings with the semantics of wcstol, wcstoul and
// wcstod as a 32-bit `long` platform has them, always with the point as the
// decimal separator.
#include <stdlib.h>
#include <wctype.h>

#include <cstdint>
#include <limits>
#include <string>

#include "runtime_internal.h"

namespace {

const char16_t* skipSpace(const char16_t* s) {
    // The same white space the wide C functions skip (the LC_CTYPE set).
    while (*s != 0 && iswspace(static_cast<wint_t>(*s))) ++s;
    return s;
}

// Reads an optional sign and decimal digits. The magnitude saturates at
// limit + 1 so that overflow is still visible without wrapping.
uint64_t readDecimal(const char16_t* s, bool* negative, bool* any, uint64_t limit) {
    s = skipSpace(s);
    *negative = false;
    if (*s == u'+' || *s == u'-') {
        *negative = *s == u'-';
        ++s;
    }
    uint64_t value = 0;
    *any = false;
    for (; *s >= u'0' && *s <= u'9'; ++s) {
        *any = true;
        if (value <= limit) value = value * 10 + static_cast<uint64_t>(*s - u'0');
        if (value > limit) value = limit + 1;
    }
    return value;
}

}  // namespace

int32_t grStrToInt(const char16_t* s) {
    if (s == nullptr) return 0;
    bool negative = false, any = false;
    const uint64_t maxMagnitude = uint64_t{1} << 31;  // |INT32_MIN|
    const uint64_t m = readDecimal(s, &negative, &any, maxMagnitude);
    if (!any) return 0;
    if (negative) {
        if (m >= maxMagnitude) return std::numeric_limits<int32_t>::min();
        return -static_cast<int32_t>(m);
    }
    if (m >= maxMagnitude) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(m);
}

uint32_t grStrToUInt(const char16_t* s) {
    if (s == nullptr) return 0;
    bool negative = false, any = false;
    const uint64_t maxMagnitude = std::numeric_limits<uint32_t>::max();
    const uint64_t m = readDecimal(s, &negative, &any, maxMagnitude);
    if (!any) return 0;
    // Too large a magnitude saturates whatever the sign; a negative one that
    // fits is negated modulo 2^32, as the unsigned C conversion does.
    if (m > maxMagnitude) return std::numeric_limits<uint32_t>::max();
    const uint32_t v = static_cast<uint32_t>(m);
    return negative ? 0u - v : v;
}

float grStrToFloat(const char16_t* s) {
    if (s == nullptr) return 0.0f;
    s = skipSpace(s);
    // Every character a number can contain is ASCII, so the run of printable
    // ASCII ahead holds the whole number; strtod finds where it ends.
    std::string narrow;
    for (const char16_t* p = s; *p > 0x20 && *p < 0x7F; ++p) narrow.push_back(static_cast<char>(*p));
    if (narrow.empty()) return 0.0f;
    const gr_runtime::CNumericScope c;
    return static_cast<float>(strtod(narrow.c_str(), nullptr));
}
