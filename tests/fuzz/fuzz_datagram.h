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
    // With the field count learnt from the first line, a line of another
    // count delivers none of its fields.
    ParseCounts counted;
    int fieldCount = 0;
    long long delivered = 0;
    parseDatagram(
        format, ',', bytes, [&](std::string_view, double) { ++delivered; }, &counted, &fieldCount);
    FUZZ_CHECK(counted.wrongFieldCount <= counted.malformed && counted.malformed <= counted.units);
    FUZZ_CHECK(delivered == (counted.units - counted.malformed) * fieldCount ||
               format != WireFormat::Generic);

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
