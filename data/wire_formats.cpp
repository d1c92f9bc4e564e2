#include "wire_formats.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

bool parseWireFormat(std::string_view name, WireFormat* format)
{
    if (name == "generic")
        *format = WireFormat::Generic;
    else if (name == "xplane")
        *format = WireFormat::XPlane;
    else if (name == "json")
        *format = WireFormat::Json;
    else if (name == "mqtt")
        *format = WireFormat::Mqtt;
    else
        return false;
    return true;
}

const char* wireFormatName(WireFormat format)
{
    switch (format) {
    case WireFormat::Generic:
        return "generic";
    case WireFormat::XPlane:
        return "xplane";
    case WireFormat::Mqtt:
        return "mqtt";
    case WireFormat::Json:
        break;
    }
    return "json";
}

namespace {

#if __cpp_lib_to_chars >= 201611L
std::from_chars_result decimalFromChars(const char* first, const char* last, double* value)
{
    return std::from_chars(first, last, *value);
}
#else
// A standard library without from_chars for floating point (Emscripten's
// libc++): strtod in the "C" locale a page always has, held to what
// from_chars takes, no blanks before it and no hexadecimal.
std::from_chars_result decimalFromChars(const char* first, const char* last, double* value)
{
    const std::string text(first, last);
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())) ||
        text.find_first_of("xX") != std::string::npos)
        return {first, std::errc::invalid_argument};
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return {first, std::errc::invalid_argument};
    *value = parsed;
    return {first + (end - text.c_str()), errno == ERANGE ? std::errc::result_out_of_range : std::errc()};
}
#endif

}  // namespace

bool parseWireNumber(std::string_view text, double* value)
{
    // from_chars takes no leading '+', which senders do write.
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [at, error] = decimalFromChars(text.data(), end, value);
    if (at != end)
        return false;
    if (error == std::errc::result_out_of_range) {
        // Too large is an infinity, to be refused as one; too small is 0.
        const size_t exponent = text.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < text.size() && text[exponent + 1] == '-';
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        *value = text.front() == '-' ? -magnitude : magnitude;
        return true;
    }
    return error == std::errc();
}

void parseDatagram(WireFormat format, char separator, std::string_view bytes, const FieldSink& sink,
                   ParseCounts* counts, int* genericFieldCount)
{
    switch (format) {
    case WireFormat::Generic:
        parseGenericLines(bytes, separator, sink, counts, genericFieldCount);
        return;
    case WireFormat::XPlane:
        parseXPlaneData(bytes, sink, counts);
        return;
    case WireFormat::Json:
    case WireFormat::Mqtt:
        parseJsonObjects(bytes, sink, counts);
        return;
    }
}
