// MQTT through an optional mapping of format mqtt: libmosquitto's network
// thread decodes each message and hands the latest value (or the failure)
// of each input to the frame, as the UDP source does. A value counts as
// arriving when the frame takes it: the sender's clock is never read.
#include <atomic>
#include <mutex>

#include "data_source.h"
#include "latest_values.h"
#include "mqtt_client.h"
#include "mqtt_decoder.h"

namespace {

class MqttSource : public DataSource {
public:
    MqttSource(const MqttAddress& address, Mapping mapping)
        : address_(address), decoder_(address.prefix, std::move(mapping)), latest_(decoder_.Inputs().size())
    {
    }

    ~MqttSource() override { client_.Stop(0); }

    bool Open(std::string* error)
    {
        return client_.Start(address_, {address_.prefix, address_.prefix + "/+"},
                             [this](std::string_view topic, std::string_view payload, bool) {
                                 receive(topic, payload);
                             },
                             error);
    }

    void Poll(double, const ValueSink& sink) override
    {
        const std::vector<std::string>& inputs = decoder_.Inputs();
        latest_.Take([&](size_t input, double value) { sink(inputs[input], value); },
                     [&](size_t input) { failed_.push_back(inputs[input]); });
    }

    void TakeFailed(std::vector<std::string>* out) override
    {
        for (std::string& input : failed_)
            out->push_back(std::move(input));
        failed_.clear();
    }

    std::vector<std::string> Inputs() const override { return decoder_.Inputs(); }
    std::string Name() const override { return mqttAddressName(address_); }
    std::string Condition() const override
    {
        const MqttClient::State state = client_.CurrentState();
        if (state == MqttClient::State::Connected)
            return std::string();
        // Trying again does not cure a TLS failure: the status says what it is.
        const std::string tls = client_.TlsFailure();
        return std::string("(") + mqttStateName(state) + (tls.empty() ? "" : ": TLS failed: " + tls) + ")";
    }
    long long Datagrams() const override { return messages_.load(std::memory_order_relaxed); }
    const char* Units() const override { return "messages"; }
    long long Malformed() const override { return malformed_.load(std::memory_order_relaxed); }
    const char* MalformedUnit() const override { return "messages"; }
    bool Live() const override { return true; }
    long long Refused() const override { return refused_.load(std::memory_order_relaxed); }

    void TakeNotices(std::vector<std::string>* out) override
    {
        std::unique_lock<std::mutex> lock(noticesMutex_, std::try_to_lock);
        if (!lock.owns_lock())
            return;
        const std::string cause = client_.LastCause();
        if (cause != reportedCause_) {
            reportedCause_ = cause;
            if (!cause.empty())
                out->push_back(Name() + ": " + cause);
        }
        for (std::string& notice : notices_)
            out->push_back(Name() + ": " + std::move(notice));
        notices_.clear();
    }

private:
    // On the network thread.
    void receive(std::string_view topic, std::string_view payload)
    {
        decoder_.Decode(
            topic, payload,
            [this](int input, double value) { latest_.Store(input, value); },
            [this](int input) { latest_.MarkFailed(input); },
            [this](const std::string& notice) {
                std::lock_guard<std::mutex> lock(noticesMutex_);
                notices_.push_back(notice);
            });
        const MqttCounts& counts = decoder_.Counts();
        messages_.store(counts.messages, std::memory_order_relaxed);
        malformed_.store(counts.malformed, std::memory_order_relaxed);
        refused_.store(counts.refused + counts.oversize, std::memory_order_relaxed);
    }

    MqttAddress address_;
    MqttDecoder decoder_;
    LatestValues latest_;
    std::vector<std::string> failed_;  // the frame's, between Poll and TakeFailed
    std::atomic<long long> messages_{0};
    std::atomic<long long> malformed_{0};
    std::atomic<long long> refused_{0};
    std::mutex noticesMutex_;
    std::vector<std::string> notices_;
    std::string reportedCause_;
    // Last: its network thread stops before the members it writes go.
    MqttClient client_;
};

}  // namespace

std::unique_ptr<DataSource> openMqttSource(const SourceOption& wanted, const GrDisplay& display, std::string* error)
{
    Mapping mapping;
    if (!wanted.mqtt.mappingPath.empty()) {
        if (!readMapping(wanted.mqtt.mappingPath, &mapping, error))
            return nullptr;
        if (mapping.format != WireFormat::Mqtt) {
            *error = wanted.mqtt.mappingPath + ": an mqtt:// source takes a mapping of format mqtt, not " +
                     wireFormatName(mapping.format);
            return nullptr;
        }
    } else {
        std::vector<std::string> inputs;
        for (int i = 0; i < display.inputCount; ++i)
            inputs.push_back(display.inputs[i].name);
        if (inputs.empty()) {
            *error = mqttAddressName(wanted.mqtt) + ": the display \"" + display.name + "\" has no inputs to feed";
            return nullptr;
        }
        mapping = identityMqttMapping(inputs);
    }
    auto source = std::make_unique<MqttSource>(wanted.mqtt, std::move(mapping));
    if (!source->Open(error))
        return nullptr;
    return source;
}
