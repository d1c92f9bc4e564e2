// A page has no sockets of its own: its MQTT goes through the page's
// script (app/web/page_mqtt.*), and UDP does not exist in a browser. What
// the command-line sources would open is refused with the reason.
#include "data_source.h"
#include "output_sink.h"

std::unique_ptr<DataSource> openUdpSource(const SourceOption& wanted, std::string* error)
{
    *error = wanted.path + ": a page cannot receive UDP; feed it with data=mqtt://";
    return nullptr;
}

std::unique_ptr<DataSource> openMqttSource(const SourceOption& wanted, const GrDisplay&, std::string* error)
{
    *error = mqttAddressName(wanted.mqtt) + ": a page subscribes through its script, not through the feed";
    return nullptr;
}

std::unique_ptr<OutputSink> openUdpSink(const SinkOption& wanted, std::string* error)
{
    *error = wanted.path + ": a page cannot send UDP; its outputs go to its data=mqtt:// broker";
    return nullptr;
}

std::unique_ptr<OutputSink> openMqttSink(const SinkOption& wanted, std::string* error)
{
    *error = mqttAddressName(wanted.mqtt) + ": a page publishes through its script, not through the feed";
    return nullptr;
}
