// grFormat on fuzzed directives (flags, widths, precisions, length
// modifiers, conversions, star arguments), fuzzed literal text and buffer
// sizes. Each value is passed with the type its directive reads. Where the
// directive is one the formatter supports and its width and precision are
// moderate, the text must be the C library's own (swprintf) cut to size - 1.
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "gr.h"

namespace {

constexpr int kOracleLimit = 4096;  // widths and precisions swprintf is asked for

struct Directive {
    std::u16string text;
    bool widthStar = false, precisionStar = false;
    int width = 0, precision = -1;  // as the text or the stars give them
    std::string length;
    char conv = 0;
    bool supported = false;
};

std::u16string decimal(int v)
{
    std::u16string s;
    for (char c : std::to_string(v))
        s.push_back(static_cast<char16_t>(c));
    return s;
}

// A width or precision: small, around the buffer and the formatter's own
// limits (a few thousand), or anything.
int amount(FuzzInput& in)
{
    switch (in.below(3)) {
    case 0: return in.below(40);
    case 1: return (in.byte() << 8 | in.byte()) % 5000;
    default: return in.integer();
    }
}

Directive makeDirective(FuzzInput& in)
{
    static const char kConversions[] = "diouxXfFeEgGaAcsnqL";
    static const char* const kLengths[] = {"", "", "", "hh", "h", "l", "ll", "j", "z", "t", "L", "q"};
    Directive d;
    d.text = u"%";
    const int flags = in.byte();
    for (int i = 0; i < 5; ++i)
        if (flags & (1 << i))
            d.text.push_back(u"-+ #0"[i]);
    switch (in.below(3)) {
    case 1:
        d.width = amount(in) & 0x7FFFFFFF;
        d.text += decimal(d.width);
        break;
    case 2: d.widthStar = true; d.text += u"*"; break;
    default: break;
    }
    switch (in.below(4)) {
    case 1:
        d.precision = amount(in) & 0x7FFFFFFF;
        d.text += u"." + decimal(d.precision);
        break;
    case 2: d.precisionStar = true; d.text += u".*"; break;
    case 3: d.precision = 0; d.text += u"."; break;
    default: break;
    }
    d.length = kLengths[in.below(sizeof kLengths / sizeof kLengths[0])];
    for (char c : d.length)
        d.text.push_back(static_cast<char16_t>(c));
    d.conv = kConversions[in.below(sizeof kConversions - 1)];
    d.text.push_back(static_cast<char16_t>(d.conv));
    const std::string integer = "diouxX", floating = "fFeEgGaA";
    if (integer.find(d.conv) != std::string::npos)
        d.supported = d.length != "L" && d.length != "q";
    else if (floating.find(d.conv) != std::string::npos || d.conv == 'c' || d.conv == 's')
        d.supported = d.length.empty() || d.length == "l";
    return d;
}

// Literal text without '%', which would start a directive of its own.
std::u16string literal(FuzzInput& in)
{
    std::u16string s = in.text(6);
    for (char16_t& c : s)
        if (c == u'%')
            c = u'x';
    if (in.below(4) == 0)
        s += u"%%";  // a literal percent sign
    return s;
}

struct Call {
    std::u16string format;
    std::vector<char16_t> buffer;
    int size = 0;
    std::wstring expected;  // the C library's full text; empty when not compared
    bool compare = false;
};

template <typename... Args>
void runBoth(Call& call, bool compare, Args... args)
{
    grFormat(call.buffer.data(), call.size, call.format.c_str(), args...);
    if (!compare)
        return;
    std::vector<wchar_t> full(3 * kOracleLimit + 256);
    const std::wstring format = wide(call.format);
    const int n = std::swprintf(full.data(), full.size(), format.c_str(), args...);
    if (n >= 0) {
        call.expected.assign(full.data(), static_cast<size_t>(n));
        call.compare = true;
    }
}

template <typename V>
void withStars(Call& call, const Directive& d, int width, int precision, bool compare, V value)
{
    if (d.widthStar && d.precisionStar)
        runBoth(call, compare, width, precision, value);
    else if (d.widthStar)
        runBoth(call, compare, width, value);
    else if (d.precisionStar)
        runBoth(call, compare, precision, value);
    else
        runBoth(call, compare, value);
}

template <typename S, typename U>
void withInteger(Call& call, const Directive& d, int width, int precision, bool compare, int64_t v)
{
    const bool isSigned = d.conv == 'd' || d.conv == 'i';
    if (isSigned)
        withStars(call, d, width, precision, compare, static_cast<S>(v));
    else
        withStars(call, d, width, precision, compare, static_cast<U>(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    Call call;
    call.size = in.below(4) == 0 ? in.integer() % 5000 : in.below(40);
    const Directive d = makeDirective(in);
    const std::u16string before = literal(in), after = literal(in);
    call.format = before + d.text + after;
    if (in.below(8) == 0)
        call.format += u"%";  // a directive cut off by the end
    // Room for size units exactly, so that a unit too many is a heap overflow.
    call.buffer.assign(call.size > 0 ? static_cast<size_t>(call.size) : 1, u'\xAAAA');

    const int width = in.below(4) == 0 ? -(amount(in) & 0x7FFFFFFF) : amount(in);
    const int precision = in.below(4) == 0 ? -(amount(in) & 0x7FFFFFFF) : amount(in);
    const int effectiveWidth = d.widthStar ? width : d.width;
    const int effectivePrecision = d.precisionStar ? precision : d.precision;
    const bool moderate = effectiveWidth > -kOracleLimit && effectiveWidth < kOracleLimit &&
                          effectivePrecision < kOracleLimit && call.size > 0;
    const bool compare = d.supported && moderate && d.conv != 's' && d.conv != 'c';

    const int64_t integer = static_cast<int64_t>(in.raw32()) << (in.below(2) ? 32 : 0) | in.raw32();
    switch (d.conv) {
    case 'd': case 'i': case 'o': case 'u': case 'x': case 'X':
        if (d.length.empty() || d.length == "hh" || d.length == "h")
            withInteger<int, unsigned>(call, d, width, precision, compare, integer);
        else if (d.length == "l")
            withInteger<long, unsigned long>(call, d, width, precision, compare, integer);
        else if (d.length == "j")
            withInteger<intmax_t, uintmax_t>(call, d, width, precision, compare, integer);
        else if (d.length == "z")
            withInteger<ssize_t, size_t>(call, d, width, precision, compare, integer);
        else if (d.length == "t")
            withInteger<ptrdiff_t, size_t>(call, d, width, precision, compare, integer);
        else
            withInteger<long long, unsigned long long>(call, d, width, precision, compare, integer);
        break;
    case 'c': {
        const int unit = static_cast<char16_t>(in.raw32());
        withStars(call, d, width, precision, false, unit);
        break;
    }
    case 's': {
        const std::u16string text = in.text(30);
        withStars(call, d, width, precision, false, text.c_str());
        break;
    }
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': {
        double value = in.real();
        if (in.below(2))
            std::memcpy(&value, &integer, sizeof value);
        withStars(call, d, width, precision, compare, value);
        break;
    }
    default:  // not a conversion grFormat takes: copied as written, reads nothing
        grFormat(call.buffer.data(), call.size, call.format.c_str());
        break;
    }

    if (call.size <= 0)
        return 0;
    // Always terminated within the buffer.
    const size_t cap = static_cast<size_t>(call.size) - 1;
    size_t written = 0;
    while (written < cap && call.buffer[written] != 0)
        ++written;
    FUZZ_CHECK(call.buffer[written] == 0);
    if (call.compare && call.expected.find(L'\0') == std::wstring::npos) {
        const std::wstring cut = call.expected.substr(0, cap);
        FUZZ_CHECK(written == cut.size());
        for (size_t i = 0; i < cut.size(); ++i)
            FUZZ_CHECK(call.buffer[i] == static_cast<char16_t>(cut[i]));
    }
    return 0;
}
