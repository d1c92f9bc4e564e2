#include "feed_mqtt.h"

#include <chrono>
#include <ostream>
#include <thread>

#include "datagram_decoder.h"
#include "mqtt_decoder.h"
#include "udp_socket.h"
#include "wire_encode.h"

namespace {

constexpr int kConnectPollMs = 10;
constexpr int kWaitMs = 50;
constexpr int kMaxDatagramBytes = 65536;

}  // namespace

bool MqttFeed::Open(const MqttAddress& address, bool json, unsigned expirySeconds, int timeoutMs, std::string* error)
{
    address_ = address;
    json_ = json;
    expirySeconds_ = expirySeconds;
    if (!address.mappingPath.empty()) {
        if (!readMapping(address.mappingPath, &mapping_, error))
            return false;
        if (mapping_.format != WireFormat::Mqtt) {
            *error = address.mappingPath + ": an mqtt:// target takes a mapping of format mqtt, not " +
                     wireFormatName(mapping_.format);
            return false;
        }
        mapped_ = true;
    }
    if (!client_.Start(address, {}, nullptr, error))
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (client_.CurrentState() != MqttClient::State::Connected) {
        if (std::chrono::steady_clock::now() >= deadline) {
            const std::string cause = client_.LastCause();
            *error = mqttAddressName(address) + ": no connection to the broker within " +
                     std::to_string(timeoutMs / 1000) + " s" + (cause.empty() ? "" : " (" + cause + ")");
            client_.Stop(0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kConnectPollMs));
    }
    return true;
}

void MqttFeed::Publish(const std::map<std::string, double>& values)
{
    std::vector<std::pair<std::string, std::string>> messages;
    if (json_) {
        messages.emplace_back(address_.prefix, encodeDatagram(identityJsonMapping(values), values));
    } else if (mapped_) {
        messages = encodeMqttMessages(address_.prefix, mapping_, values);
    } else {
        std::vector<std::string> inputs;
        for (const auto& entry : values)
            inputs.push_back(entry.first);
        messages = encodeMqttMessages(address_.prefix, identityMqttMapping(inputs), values);
    }
    std::string ignored;
    for (const auto& [topic, payload] : messages) {
        if (client_.Publish(topic, payload, true, expirySeconds_, &ignored))
            ++published_;
        else
            ++lost_;
    }
}

void MqttFeed::Close() { client_.Stop(); }

int bridgeUdpToMqtt(const SourceOption& from, MqttFeed& to, int seconds, const std::atomic<bool>& stop,
                    std::ostream& out, std::ostream& err)
{
    Mapping mapping;
    std::string error;
    UdpSocket socket;
    if (!readMapping(from.path, &mapping, &error) || !socket.Bind(from.address, from.port, &error)) {
        err << "panel-feed: " << error << "\n";
        return 1;
    }
    out << "panel-feed: bridging udp " << from.address << ":" << socket.Port() << " (" << wireFormatName(mapping.format)
        << ")" << std::endl;
    DatagramDecoder decoder(std::move(mapping));
    std::vector<char> buffer(kMaxDatagramBytes);
    const auto start = std::chrono::steady_clock::now();
    std::map<std::string, double> values;
    while (!stop.load(std::memory_order_relaxed)) {
        if (seconds > 0 && std::chrono::steady_clock::now() - start >= std::chrono::seconds(seconds))
            break;
        if (!socket.WaitReadable(kWaitMs))
            continue;
        int length;
        while ((length = socket.Receive(buffer.data(), kMaxDatagramBytes)) >= 0) {
            values.clear();
            decoder.Decode(
                std::string_view(buffer.data(), static_cast<size_t>(length)),
                [&](int input, double value) { values[decoder.Inputs()[input]] = value; },
                [&](const std::string& notice) { err << "panel-feed: " << notice << "\n"; });
            if (!values.empty())
                to.Publish(values);
        }
    }
    const DecodeCounts& counts = decoder.Counts();
    out << "panel-feed: " << counts.datagrams << " datagrams received (" << counts.malformed << " malformed, "
        << counts.refused << " refused), " << to.Published() << " messages published";
    if (to.Lost() > 0)
        out << ", " << to.Lost() << " lost while the broker was away";
    out << "\n";
    return 0;
}
