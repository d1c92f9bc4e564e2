// Bounded printf-style formatting into UTF-16 buffers.
//
// Text, %c and %s are copied as UTF-16 code units, so non-ASCII text passes
// through untouched. Numbers are rendered by the narrow snprintf in the "C"
// locale (always a decimal point) without width; the padding is added here,
// which keeps the work bounded by the caller's buffer even for huge widths.
#include <stdio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "runtime_internal.h"

namespace {

// Writes into buf[0 .. cap) and silently drops what does not fit.
class Sink {
public:
    Sink(char16_t* buf, int cap) : buf_(buf), cap_(cap) {}
    void put(char16_t c) {
        if (pos_ < cap_) buf_[pos_++] = c;
    }
    void repeat(char16_t c, long long n) {
        for (; n > 0 && pos_ < cap_; --n) buf_[pos_++] = c;
    }
    bool full() const { return pos_ >= cap_; }
    int room() const { return cap_ - pos_; }
    void terminate() { buf_[pos_] = 0; }

private:
    char16_t* buf_;
    int cap_;
    int pos_ = 0;
};

enum class Length { None, hh, h, l, ll, j, z, t };

struct Directive {
    bool minus = false, plus = false, space = false, alt = false, zero = false;
    bool widthStar = false;
    int width = 0;
    bool hasPrecision = false, precisionStar = false;
    int precision = 0;
    Length length = Length::None;
    char conv = 0;  // 0 when the conversion is not one this formatter knows
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Decimal digits, saturating instead of overflowing.
int readNumber(const char16_t*& p) {
    int v = 0;
    for (; isDigit(*p); ++p) {
        const int d = *p - u'0';
        v = v > (std::numeric_limits<int>::max() - d) / 10 ? std::numeric_limits<int>::max() : v * 10 + d;
    }
    return v;
}

// Parses the directive after a '%' and leaves p after its last code
// unit. Reads no argument: a directive found invalid must consume none.
Directive parseDirective(const char16_t*& p) {
    Directive s;
    for (;; ++p) {
        if (*p == u'-') s.minus = true;
        else if (*p == u'+') s.plus = true;
        else if (*p == u' ') s.space = true;
        else if (*p == u'#') s.alt = true;
        else if (*p == u'0') s.zero = true;
        else break;
    }
    if (*p == u'*') {
        s.widthStar = true;
        ++p;
    } else {
        s.width = readNumber(p);
    }
    if (*p == u'.') {
        ++p;
        s.hasPrecision = true;
        if (*p == u'*') {
            s.precisionStar = true;
            ++p;
        } else {
            s.precision = readNumber(p);
        }
    }
    switch (*p) {
    case u'h':
        ++p;
        if (*p == u'h') {
            ++p;
            s.length = Length::hh;
        } else {
            s.length = Length::h;
        }
        break;
    case u'l':
        ++p;
        if (*p == u'l') {
            ++p;
            s.length = Length::ll;
        } else {
            s.length = Length::l;
        }
        break;
    case u'j': ++p; s.length = Length::j; break;
    case u'z': ++p; s.length = Length::z; break;
    case u't': ++p; s.length = Length::t; break;
    default: break;
    }

    const char16_t c = *p;
    if (c == 0) return s;  // cut off by the end of the format
    ++p;
    const bool integer = c == u'd' || c == u'i' || c == u'o' || c == u'u' || c == u'x' || c == u'X';
    const bool floating = c == u'f' || c == u'F' || c == u'e' || c == u'E' || c == u'g' || c == u'G' ||
                          c == u'a' || c == u'A';
    const bool text = c == u'c' || c == u's';
    // A float takes no length but the harmless 'l'; %lc and %ls are the
    // wide forms, which here are the same UTF-16 ones.
    if (integer || ((floating || text) && (s.length == Length::None || s.length == Length::l)))
        s.conv = static_cast<char>(c);
    return s;
}

intmax_t signedArg(Length length, va_list* ap) {
    switch (length) {
    case Length::hh: return static_cast<signed char>(va_arg(*ap, int));
    case Length::h: return static_cast<short>(va_arg(*ap, int));
    case Length::l: return va_arg(*ap, long);
    case Length::ll: return va_arg(*ap, long long);
    case Length::j: return va_arg(*ap, intmax_t);
    case Length::z: return va_arg(*ap, std::make_signed_t<size_t>);
    case Length::t: return va_arg(*ap, ptrdiff_t);
    case Length::None: break;
    }
    return va_arg(*ap, int);
}

uintmax_t unsignedArg(Length length, va_list* ap) {
    switch (length) {
    case Length::hh: return static_cast<unsigned char>(va_arg(*ap, unsigned));
    case Length::h: return static_cast<unsigned short>(va_arg(*ap, unsigned));
    case Length::l: return va_arg(*ap, unsigned long);
    case Length::ll: return va_arg(*ap, unsigned long long);
    case Length::j: return va_arg(*ap, uintmax_t);
    case Length::z: return va_arg(*ap, size_t);
    case Length::t: return va_arg(*ap, std::make_unsigned_t<ptrdiff_t>);
    case Length::None: break;
    }
    return va_arg(*ap, unsigned);
}

// Pads body (n code units produced by get(i)) to the directive's width.
// zeroPrefix is how many leading units (sign, "0x") go before zero padding;
// a negative value means no zero padding.
template <typename Get>
void emitPadded(Sink& out, const Directive& s, long long n, int zeroPrefix, Get get) {
    const long long pad = s.width > n ? s.width - n : 0;
    if (s.minus) {
        for (long long i = 0; i < n && !out.full(); ++i) out.put(get(i));
        out.repeat(u' ', pad);
    } else if (zeroPrefix >= 0) {
        long long i = 0;
        for (; i < zeroPrefix && i < n && !out.full(); ++i) out.put(get(i));
        out.repeat(u'0', pad);
        for (; i < n && !out.full(); ++i) out.put(get(i));
    } else {
        out.repeat(u' ', pad);
        for (long long i = 0; i < n && !out.full(); ++i) out.put(get(i));
    }
}

// Runs snprintf in the "C" locale; returns the full length (buffer may hold
// fewer units) or -1.
template <typename T>
int cFormat(char* buf, size_t size, const char* fmt, int precision, T value) {
    const gr_runtime::CNumericScope c;
    return snprintf(buf, size, fmt, precision, value);
}

// A NaN as snprintf on glibc writes it: "nan" (upper case for the upper-case
// conversions) after the sign or the + or space flag.
int nanText(char* b, size_t size, const Directive& s, bool negative) {
    const bool upper = s.conv == 'F' || s.conv == 'E' || s.conv == 'G' || s.conv == 'A';
    const char* sign = negative ? "-" : s.plus ? "+" : s.space ? " " : "";
    return snprintf(b, size, "%s%s", sign, upper ? "NAN" : "nan");
}

void emitNumber(Sink& out, const Directive& s, bool floating, bool finite, intmax_t sv, uintmax_t uv, double fv) {
    // The flags snprintf still has to see; width and the 0 and - flags are
    // applied afterwards.
    char fmt[16];
    int k = 0;
    fmt[k++] = '%';
    if (s.plus) fmt[k++] = '+';
    if (s.space) fmt[k++] = ' ';
    if (s.alt) fmt[k++] = '#';
    fmt[k++] = '.';
    fmt[k++] = '*';
    if (!floating) fmt[k++] = 'j';
    fmt[k++] = s.conv;
    fmt[k] = 0;

    // Precision past what a value can show only adds zeros, so beyond what
    // fits the buffer it is cut; 1100 covers the longest exact expansion of
    // a double (1074 fraction digits) and of any integer. -1 means none.
    // The zeros cut off still count when the width is measured (cutZeros),
    // except for %g without '#', which drops trailing zeros anyway. They sit
    // beyond the room left (trailing) or among leading zeros that fill it,
    // so the text written is the same.
    int precision = -1;
    long long cutZeros = 0;
    if (s.hasPrecision) {
        const long long cap = static_cast<long long>(out.room()) + 1100;
        const long long limit = std::min<long long>(cap, std::numeric_limits<int>::max());
        precision = s.precision < limit ? s.precision : static_cast<int>(limit);
        const bool dropsZeros = (s.conv == 'g' || s.conv == 'G') && !s.alt;
        if (precision < s.precision && !dropsZeros && (!floating || finite))
            cutZeros = static_cast<long long>(s.precision) - precision;
    }

    char small[256];
    std::vector<char> large;
    char* text = small;
    const bool isSigned = s.conv == 'd' || s.conv == 'i';
    auto render = [&](char* b, size_t size) {
        // C libraries differ on the sign of a NaN; this one always shows it.
        if (floating && std::isnan(fv)) return nanText(b, size, s, std::signbit(fv));
        if (floating) return cFormat(b, size, fmt, precision, fv);
        if (isSigned) return cFormat(b, size, fmt, precision, sv);
        return cFormat(b, size, fmt, precision, uv);
    };
    const int n = render(small, sizeof small);
    if (n < 0) return;
    if (n >= static_cast<int>(sizeof small)) {
        // Only the part that can still reach the buffer matters; the width
        // is still measured against the full length n.
        const int keep = n < out.room() ? n : out.room();
        if (keep >= static_cast<int>(sizeof small)) {
            large.resize(static_cast<size_t>(keep) + 1);
            render(large.data(), large.size());
            text = large.data();
        }
    }

    int zeroPrefix = -1;
    if (s.zero && !s.minus && (floating ? finite : !s.hasPrecision)) {
        zeroPrefix = 0;
        if (text[0] == '+' || text[0] == '-' || text[0] == ' ') zeroPrefix = 1;
        const bool hexPrefix = s.conv == 'a' || s.conv == 'A' || ((s.conv == 'x' || s.conv == 'X') && s.alt);
        if (hexPrefix && n >= zeroPrefix + 2 && text[zeroPrefix] == '0' &&
            (text[zeroPrefix + 1] == 'x' || text[zeroPrefix + 1] == 'X'))
            zeroPrefix += 2;
    }
    emitPadded(out, s, n + cutZeros, zeroPrefix, [&](long long i) { return static_cast<char16_t>(text[i]); });
}

void format(Sink& out, const char16_t* fmt, va_list* ap) {
    for (const char16_t* p = fmt; *p != 0 && !out.full();) {
        if (*p != u'%') {
            out.put(*p++);
            continue;
        }
        const char16_t* start = p++;
        if (*p == u'%') {
            out.put(u'%');
            ++p;
            continue;
        }
        Directive s = parseDirective(p);
        if (s.conv == 0) {
            for (const char16_t* q = start; q < p; ++q) out.put(*q);  // copied as written
            continue;
        }
        if (s.widthStar) {
            const int w = va_arg(*ap, int);
            if (w < 0) {
                s.minus = true;
                s.width = w == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -w;
            } else {
                s.width = w;
            }
        }
        if (s.precisionStar) {
            s.precision = va_arg(*ap, int);
            s.hasPrecision = s.precision >= 0;  // negative means none given
        }

        switch (s.conv) {
        case 'c': {
            const char16_t c = static_cast<char16_t>(va_arg(*ap, int));
            emitPadded(out, s, 1, -1, [c](long long) { return c; });
            break;
        }
        case 's': {
            const char16_t* str = va_arg(*ap, const char16_t*);
            if (str == nullptr) str = u"(null)";
            // With a precision the argument need not be terminated.
            long long n = 0;
            while ((!s.hasPrecision || n < s.precision) && str[n] != 0) ++n;
            emitPadded(out, s, n, -1, [str](long long i) { return str[i]; });
            break;
        }
        case 'd':
        case 'i':
            emitNumber(out, s, false, true, signedArg(s.length, ap), 0, 0.0);
            break;
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            emitNumber(out, s, false, true, 0, unsignedArg(s.length, ap), 0.0);
            break;
        default: {
            const double v = va_arg(*ap, double);
            emitNumber(out, s, true, std::isfinite(v), 0, 0, v);
            break;
        }
        }
    }
}

}  // namespace

char16_t* grFormat(char16_t* buf, int size, const char16_t* fmt, ...) {
    if (buf == nullptr || size <= 0) return buf;
    Sink out(buf, size - 1);
    if (fmt != nullptr) {
        va_list ap;
        va_start(ap, fmt);
        format(out, fmt, &ap);
        va_end(ap);
    }
    out.terminate();
    return buf;
}
