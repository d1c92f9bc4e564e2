// JSON objects of names and numbers: any name, as the sender wrote it.
#include "fuzz_datagram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzDatagram(WireFormat::Json, "format json\npitch_deg pitch\nroll roll scale -1\n", data, size,
                 [size](std::string_view key) { FUZZ_CHECK(key.size() <= size); });
    return 0;
}
