// FlightGear generic lines: keys are positions from 1.
#include "fuzz_datagram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzDatagram(WireFormat::Generic, "format generic\n1 pitch scale 2\n3 roll offset -1\n", data, size,
                 [](std::string_view key) {
                     FUZZ_CHECK(!key.empty() && key.find_first_not_of("0123456789") == std::string_view::npos &&
                                key[0] != '0');
                 });
    return 0;
}
