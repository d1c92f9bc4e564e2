// A display's outputs published to an MQTT broker, each on PREFIX/out/FIELD
// (through a mapping's output lines) or PREFIX/out/<name>. libmosquitto's
// publish only queues the message for the client's network thread, so a
// frame never waits; while the broker is away, what cannot be queued is
// counted as failed, never held back to arrive late.
#include <atomic>

#include "mapping.h"
#include "mqtt_client.h"
#include "output_sink.h"
#include "wire_encode.h"

namespace {

class MqttSink : public OutputSink {
public:
    MqttSink(const MqttAddress& address, Mapping mapping) : address_(address), mapping_(std::move(mapping)) {}
    ~MqttSink() override { client_.Stop(); }

    bool Open(std::string* error)
    {
        return client_.Start(address_, {}, [](std::string_view, std::string_view, bool) {}, error);
    }

    void Send(const std::map<std::string, double>& sent, const std::map<std::string, double>&) override
    {
        std::string ignored;
        // An output is a pilot's action, not a state to keep: not retained.
        for (const auto& [topic, payload] : encodeOutputMessages(address_.prefix, mapping_, sent))
            ++(client_.Publish(topic, payload, false, 0, &ignored) ? sent_ : failed_);
    }

    std::vector<std::string> Outputs() const override { return mappedOutputNames(mapping_); }

    std::string Name() const override { return mqttAddressName(address_) + "/out"; }
    long long Sent() const override { return sent_; }
    long long Failed() const override { return failed_; }

private:
    MqttAddress address_;
    Mapping mapping_;
    MqttClient client_;
    std::atomic<long long> sent_{0};
    std::atomic<long long> failed_{0};
};

}  // namespace

std::unique_ptr<OutputSink> openMqttSink(const SinkOption& wanted, std::string* error)
{
    Mapping mapping;
    mapping.format = WireFormat::Mqtt;
    if (!wanted.mqtt.mappingPath.empty()) {
        if (!readMapping(wanted.mqtt.mappingPath, &mapping, error))
            return nullptr;
        if (mapping.format != WireFormat::Mqtt || mapping.outputs.empty()) {
            *error = wanted.mqtt.mappingPath + ": --send to a broker takes a mapping of format mqtt with output lines";
            return nullptr;
        }
    }
    auto sink = std::make_unique<MqttSink>(wanted.mqtt, std::move(mapping));
    if (!sink->Open(error))
        return nullptr;
    return sink;
}
