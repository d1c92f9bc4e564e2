// What every datagram parser must hold to, whatever the bytes: skipped
// units are among those read, and a mapped value reaching the display is
// finite.
#pragma once

#include <cmath>
#include <string_view>

#include "datagram_decoder.h"
#include "fuzz_input.h"
#include "wire_formats.h"

inline void fuzzDatagram(WireFormat format, const char* mappingText, const uint8_t* data, size_t size,
                         const std::function<void(std::string_view key)>& checkKey)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParseCounts counts;
    parseDatagram(format, ',', bytes, [&](std::string_view key, double) { checkKey(key); }, &counts);
    FUZZ_CHECK(counts.malformed <= counts.units);

    Mapping mapping;
    std::string error;
    FUZZ_CHECK(parseMapping(mappingText, "fuzz.map", &mapping, &error));
    DatagramDecoder decoder(mapping);
    decoder.Decode(
        bytes,
        [&](int input, double value) {
            FUZZ_CHECK(input >= 0 && input < static_cast<int>(decoder.Inputs().size()));
            FUZZ_CHECK(std::isfinite(value));
        },
        [](const std::string&) {});
    FUZZ_CHECK(decoder.Counts().datagrams == 1);
}
