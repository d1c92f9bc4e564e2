#include "wire_formats.h"

#include <charconv>

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
    return error == std::errc() && at == end;
}

void parseDatagram(WireFormat format, char separator, std::string_view bytes, const FieldSink& sink,
                   ParseCounts* counts)
{
    switch (format) {
    case WireFormat::Generic:
        parseGenericLines(bytes, separator, sink, counts);
        return;
    case WireFormat::XPlane:
        parseXPlaneData(bytes, sink, counts);
        return;
    case WireFormat::Json:
        parseJsonObjects(bytes, sink, counts);
        return;
    }
}
