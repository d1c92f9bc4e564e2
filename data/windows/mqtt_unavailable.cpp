// The Windows build has no MQTT client library yet: an mqtt:// source or
// destination is refused with the reason, never silently ignored.
#include "data_source.h"
#include "output_sink.h"

std::unique_ptr<DataSource> openMqttSource(const SourceOption& wanted, const GrDisplay&, std::string* error)
{
    *error = mqttAddressName(wanted.mqtt) + ": this Windows build has no MQTT client; use a udp: source";
    return nullptr;
}

std::unique_ptr<OutputSink> openMqttSink(const SinkOption& wanted, std::string* error)
{
    *error = mqttAddressName(wanted.mqtt) + ": this Windows build has no MQTT client; use a udp: destination";
    return nullptr;
}
