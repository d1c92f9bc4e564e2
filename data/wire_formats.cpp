#include "wire_formats.h"

#include <charconv>
#include <limits>

bool parseWireFormat(std::string_view name, WireFormat* format)
{
    if (name == "generic")
        *format = WireFormat::Generic;
    else if (name == "xplane")
        *format = WireFormat::XPlane;
    else if (name == "json")
        *format = WireFormat::Json;
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
    case WireFormat::Json:
        break;
    }
    return "json";
}

bool parseWireNumber(std::string_view text, double* value)
{
    // from_chars takes no leading '+', which senders do write.
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, *value);
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
        parseJsonObjects(bytes, sink, counts);
        return;
    }
}
