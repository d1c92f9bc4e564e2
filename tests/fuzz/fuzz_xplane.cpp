// X-Plane DATA datagrams: keys are GROUP.SLOT with slots 1 to 8.
#include "fuzz_datagram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzDatagram(WireFormat::XPlane, "format xplane\n17.1 pitch\n17.2 roll scale 1e30\n", data, size,
                 [](std::string_view key) {
                     const size_t dot = key.rfind('.');
                     FUZZ_CHECK(dot != std::string_view::npos && dot + 2 == key.size() && key[dot + 1] >= '1' &&
                                key[dot + 1] <= '8');
                 });
    return 0;
}
