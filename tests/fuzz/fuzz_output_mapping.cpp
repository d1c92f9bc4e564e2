// Mapping files' output lines and the datagrams made through them: an
// accepted output has a field of its format (or an X-Plane command), finite
// conversions and a valid name; every datagram has its format's shape
// whatever the values, and nothing is made for outputs not sent.
#include <algorithm>
#include <cmath>
#include <map>

#include "fuzz_input.h"
#include "mapping.h"
#include "wire_encode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Mapping mapping;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!parseMapping(text, "fuzz.map", &mapping, &error)) {
        FUZZ_CHECK(error.rfind("fuzz.map", 0) == 0);
        return 0;
    }
    std::map<std::string, double> sent;
    int highest = 0;
    for (const OutputMapping& out : mapping.outputs) {
        FUZZ_CHECK(std::isfinite(out.scale) && std::isfinite(out.offset));
        FUZZ_CHECK(!out.output.empty() && out.field.empty() != out.command.empty());
        FUZZ_CHECK(out.command.empty() || mapping.format == WireFormat::XPlane);
        if (mapping.format == WireFormat::Generic)
            highest = std::max(highest, std::stoi(out.field));
        // Values a display may send, the largest a float holds among them.
        sent[out.output] = sent.size() % 2 ? -3.4e38 : 359.5;
    }
    FUZZ_CHECK(encodeOutputDatagrams(mapping, {}, sent).empty());
    const std::vector<std::string> datagrams = encodeOutputDatagrams(mapping, sent, sent);
    // A broker's outputs go as messages, never as datagrams.
    FUZZ_CHECK((mapping.outputs.empty() || mapping.format == WireFormat::Mqtt) == datagrams.empty());
    for (const std::string& datagram : datagrams) {
        switch (mapping.format) {
        case WireFormat::Generic:
            FUZZ_CHECK(datagram.back() == '\n' && datagram.find('\n') == datagram.size() - 1);
            FUZZ_CHECK(std::count(datagram.begin(), datagram.end(), mapping.separator) >= highest - 1);
            break;
        case WireFormat::XPlane:
            FUZZ_CHECK(datagram.compare(0, 5, std::string("DREF\0", 5)) == 0 ? datagram.size() == 5 + 4 + kXPlanePathBytes
                                                                          : datagram.compare(0, 5, std::string("CMND\0", 5)) == 0);
            break;
        case WireFormat::Json:
            FUZZ_CHECK(datagram.front() == '{' && datagram.compare(datagram.size() - 2, 2, "}\n") == 0);
            break;
        case WireFormat::Mqtt:
            FUZZ_CHECK(false);
            break;
        }
    }
    return 0;
}
