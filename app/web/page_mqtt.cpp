#include "page_mqtt.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "page_bridge.h"
#include "wire_formats.h"

EM_JS(void, jsMqttFetchMapping, (const char* path), { panelMqtt.fetchMapping(UTF8ToString(path)); });
EM_JS(void, jsMqttConnect, (const char* url, const char* user, const char* password, int hasPassword,
                            const char* prefix), {
    panelMqtt.connect(UTF8ToString(url), UTF8ToString(user), hasPassword ? UTF8ToString(password) : null,
                      UTF8ToString(prefix));
});
EM_JS(void, jsMqttShowStatus, (const char* text), { panelMqtt.showStatus(UTF8ToString(text)); });
EM_JS(void, jsMqttNotice, (const char* text), { panelMqtt.notice(UTF8ToString(text)); });
EM_JS(void, jsMqttValuesApplied, (double nowMs), { panelMqtt.valuesAppliedMs = nowMs; });

namespace {

// The broker's WebSocket listener, where a browser reaches it.
std::string webSocketUrl(const MqttAddress& address)
{
    const bool numericV6 = address.host.find(':') != std::string::npos;
    const std::string host = numericV6 ? "[" + address.host + "]" : address.host;
    return std::string(address.tls ? "wss://" : "ws://") + host + ":" + std::to_string(address.port);
}

}  // namespace

bool PageMqtt::Start(DisplayRenderer* renderer, const GrDisplay& display, const std::string& text, std::string* error)
{
    if (text.rfind("mqtt://", 0) != 0 && text.rfind("mqtts://", 0) != 0) {
        *error = "data takes mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING], not \"" + text + "\"";
        return false;
    }
    if (!parseMqttAddress(text, &address_, error))
        return false;
    if (!address_.caFile.empty()) {
        *error = "cafile=" + address_.caFile + ": a browser trusts the authorities it knows; drop cafile=";
        return false;
    }
    renderer_ = renderer;
    display_ = &display;
    if (!address_.mappingPath.empty()) {
        jsMqttFetchMapping(address_.mappingPath.c_str());
        showStatus();
        return true;
    }
    std::vector<std::string> inputs;
    for (int i = 0; i < display.inputCount; ++i)
        inputs.push_back(display.inputs[i].name);
    if (inputs.empty()) {
        *error = mqttAddressName(address_) + ": the display \"" + display.name + "\" has no inputs to feed";
        return false;
    }
    Mapping mapping = identityMqttMapping(inputs);
    return attach(std::move(mapping), error);
}

void PageMqtt::MappingFetched(const std::string& text, bool failed)
{
    std::string error;
    Mapping mapping;
    if (failed) {
        error = address_.mappingPath + ": " + text;
    } else if (parseMapping(text, address_.mappingPath, &mapping, &error)) {
        if (mapping.format != WireFormat::Mqtt)
            error = address_.mappingPath + ": data=mqtt:// takes a mapping of format mqtt, not " +
                    wireFormatName(mapping.format);
        else
            attach(std::move(mapping), &error);
    }
    if (!error.empty())
        pageShowError(kErrorCaption, error.c_str());
}

bool PageMqtt::attach(Mapping mapping, std::string* error)
{
    auto made = std::make_unique<PageMqttSource>(address_, mapping);
    PageMqttSource* source = made.get();
    if (!feed_.AttachSource(*display_, std::move(made), error))
        return false;
    source_ = source;
    if (display_->outputCount > 0) {
        auto sink = std::make_unique<PageMqttSink>(address_, std::move(mapping));
        if (!outputs_.AttachSink(display_->outputs, display_->outputCount, std::move(sink), error)) {
            std::string ignored;
            feed_.Detach(&ignored);
            source_ = nullptr;
            return false;
        }
    }
    renderer_->SetBeforeUpdate([this]() {
        const double nowMs = emscripten_performance_now();
        feed_.BeforeUpdate(nowMs);
        const long long fed = feed_.Counts().fed;
        if (fed != fed_) {
            fed_ = fed;
            jsMqttValuesApplied(nowMs);
        }
        for (const std::string& notice : feed_.TakeNotices())
            jsMqttNotice(notice.c_str());
        showStatus();
    });
    renderer_->SetAfterModel([this]() { outputs_.AfterModel(); });
    jsMqttConnect(webSocketUrl(address_).c_str(), address_.user.c_str(), address_.password.c_str(),
                  address_.hasPassword, address_.prefix.c_str());
    showStatus();
    return true;
}

void PageMqtt::Receive(std::string_view topic, std::string_view payload)
{
    if (source_)
        source_->Receive(topic, payload);
}

void PageMqtt::SetState(PageMqttState state, const std::string& cause)
{
    if (!source_)
        return;
    source_->SetState(state, cause);
    showStatus();
}

void PageMqtt::showStatus()
{
    std::string text = source_ ? feed_.Status() : mqttAddressName(address_) + " (reading " + address_.mappingPath + ")";
    const std::string sent = outputs_.Status();
    if (!sent.empty())
        text += "; " + sent;
    if (text == shown_)
        return;
    shown_ = text;
    jsMqttShowStatus(text.c_str());
}
