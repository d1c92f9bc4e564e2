#include "page_mqtt_source.h"

#include <emscripten/emscripten.h>

#include "wire_encode.h"

// The script's connection (page/mqtt_link.js): true when the message was
// handed to a connected client.
EM_JS(int, jsMqttPublish, (const char* topic, const char* payload), {
    return panelMqtt.publish(UTF8ToString(topic), UTF8ToString(payload)) ? 1 : 0;
});

PageMqttSource::PageMqttSource(const MqttAddress& address, Mapping mapping)
    : address_(address), decoder_(address.prefix, std::move(mapping)), latest_(decoder_.Inputs().size())
{
}

void PageMqttSource::Receive(std::string_view topic, std::string_view payload)
{
    decoder_.Decode(
        topic, payload,
        [this](int input, double value) { latest_[input] = {value, false, true}; },
        [this](int input) { latest_[input] = {0.0, true, true}; },
        [this](const std::string& notice) { notices_.push_back(Name() + ": " + notice); });
}

void PageMqttSource::SetState(PageMqttState state, const std::string& cause)
{
    state_ = state;
    if (!cause.empty())
        notices_.push_back(Name() + ": " + cause);
}

void PageMqttSource::Poll(double, const ValueSink& sink)
{
    const std::vector<std::string>& inputs = decoder_.Inputs();
    for (size_t i = 0; i < latest_.size(); ++i) {
        if (!latest_[i].updated)
            continue;
        latest_[i].updated = false;
        if (latest_[i].failed)
            failed_.push_back(inputs[i]);
        else
            sink(inputs[i], latest_[i].value);
    }
}

void PageMqttSource::TakeFailed(std::vector<std::string>* out)
{
    for (std::string& input : failed_)
        out->push_back(std::move(input));
    failed_.clear();
}

void PageMqttSource::TakeNotices(std::vector<std::string>* out)
{
    for (std::string& notice : notices_)
        out->push_back(std::move(notice));
    notices_.clear();
}

std::string PageMqttSource::Condition() const
{
    // The words of the native hosts' status.
    switch (state_) {
    case PageMqttState::Connected:
        return std::string();
    case PageMqttState::Lost:
        return "(broker lost, reconnecting)";
    case PageMqttState::Connecting:
        break;
    }
    return "(connecting)";
}

void PageMqttSink::Send(const std::map<std::string, double>& sent, const std::map<std::string, double>&)
{
    // An output is a pilot's action, not a state to keep: not retained.
    for (const auto& [topic, payload] : encodeOutputMessages(address_.prefix, mapping_, sent))
        ++(jsMqttPublish(topic.c_str(), payload.c_str()) ? sent_ : failed_);
}
