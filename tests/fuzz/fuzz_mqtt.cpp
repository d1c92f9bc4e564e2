// MQTT messages and addresses: the bytes split at the first NUL into a
// topic and a payload. Whatever they hold, a value reaching an input is
// finite and of an input the mapping has, a failure names one too, counts
// stay within the messages, and an address read back has a host, a port
// and a prefix free of wildcards.
#include <cmath>
#include <string>

#include "fuzz_input.h"
#include "mqtt_address.h"
#include "mqtt_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = bytes.find('\0');
    const std::string_view topic = bytes.substr(0, split);
    const std::string_view payload = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);

    Mapping mapping;
    std::string error;
    FUZZ_CHECK(parseMapping("format mqtt\npitch pitch\nroll_deg roll scale -1\nalt altitude scale 1e300\n",
                            "fuzz.map", &mapping, &error));
    for (MqttDecoder decoder : {MqttDecoder("sim", mapping), MqttDecoder("sim/pfd", identityMqttMapping({"pitch"}))}) {
        const int inputs = static_cast<int>(decoder.Inputs().size());
        decoder.Decode(
            topic, payload,
            [&](int input, double value) {
                FUZZ_CHECK(input >= 0 && input < inputs);
                FUZZ_CHECK(std::isfinite(value));
            },
            [&](int input) { FUZZ_CHECK(input >= 0 && input < inputs); },
            [&](const std::string& notice) { FUZZ_CHECK(notice.rfind("topic sim", 0) == 0); });
        const MqttCounts& counts = decoder.Counts();
        FUZZ_CHECK(counts.messages <= 1 && counts.oversize <= counts.messages);
    }

    MqttAddress address;
    if (parseMqttAddress(std::string(bytes), &address, &error)) {
        FUZZ_CHECK(!address.host.empty() && address.port >= 1 && address.port <= 65535);
        FUZZ_CHECK(!address.prefix.empty() && address.prefix.find_first_of("+#") == std::string::npos);
    } else {
        FUZZ_CHECK(!error.empty());
    }
    return 0;
}
