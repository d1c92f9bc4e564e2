// The page's MQTT source and destination: the page's script holds the
// connection (the npm package mqtt over the broker's WebSocket listener,
// page/mqtt_link.js) and hands each message's topic and payload over; the
// decoding, the mapping and the counts are the native hosts' own
// (data/mqtt_decoder.*, data/wire_encode.*).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data_source.h"
#include "mapping.h"
#include "mqtt_address.h"
#include "mqtt_decoder.h"
#include "output_sink.h"

// The connection as the page's script reports it.
enum class PageMqttState { Connecting = 0, Connected = 1, Lost = 2 };

class PageMqttSource : public DataSource {
public:
    PageMqttSource(const MqttAddress& address, Mapping mapping);

    // A message under the subscription, as it arrived.
    void Receive(std::string_view topic, std::string_view payload);
    // The connection's state and, when it failed, the cause.
    void SetState(PageMqttState state, const std::string& cause);

    void Poll(double nowMs, const ValueSink& sink) override;
    void TakeFailed(std::vector<std::string>* out) override;
    void TakeNotices(std::vector<std::string>* out) override;
    std::vector<std::string> Inputs() const override { return decoder_.Inputs(); }
    std::string Name() const override { return mqttAddressName(address_); }
    std::string Condition() const override;
    long long Datagrams() const override { return decoder_.Counts().messages; }
    const char* Units() const override { return "messages"; }
    long long Malformed() const override { return decoder_.Counts().malformed; }
    const char* MalformedUnit() const override { return "messages"; }
    long long Refused() const override { return decoder_.Counts().refused + decoder_.Counts().oversize; }
    bool Live() const override { return true; }

private:
    struct Latest {
        double value = 0.0;
        bool failed = false;
        bool updated = false;
    };

    MqttAddress address_;
    MqttDecoder decoder_;
    std::vector<Latest> latest_;
    std::vector<std::string> failed_;
    std::vector<std::string> notices_;
    PageMqttState state_ = PageMqttState::Connecting;
};

// Publishes the display's outputs on PREFIX/out/<name> (through the
// mapping's output lines where it has them) as the native --send mqtt://
// does, through the page's connection; while it is down an output is
// counted as failed, never held back to arrive late.
class PageMqttSink : public OutputSink {
public:
    PageMqttSink(const MqttAddress& address, Mapping mapping) : address_(address), mapping_(std::move(mapping)) {}

    void Send(const std::map<std::string, double>& sent, const std::map<std::string, double>& latest) override;
    std::vector<std::string> Outputs() const override { return mappedOutputNames(mapping_); }
    std::string Name() const override { return mqttAddressName(address_) + "/out"; }
    long long Sent() const override { return sent_; }
    long long Failed() const override { return failed_; }

private:
    MqttAddress address_;
    Mapping mapping_;
    long long sent_ = 0;
    long long failed_ = 0;
};
