#include "mqtt_client.h"

#include "tls_authorities.h"

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

namespace {

// Seconds between pings: a broker that vanishes without closing the
// connection is noticed within one and a half of them.
constexpr int kKeepAliveS = 5;
// Between tries to connect: the first delay, doubling to the longest. A
// cockpit's broker is near, and a restarted one must show values within
// 2 s: that holds the publisher's and the display's waits to try again, the
// connecting and subscribing, and a frame, so neither wait may take half.
constexpr int kRetryFirstMs = 250;
constexpr int kRetryMaxMs = 500;
// The loop wakes this often at the latest, to see whether it should stop.
constexpr int kLoopTimeoutMs = 100;
constexpr int kStopPollMs = 10;

void initLibrary()
{
    // Once per process, never undone: sources come and go, the library stays.
    static const int initialised = mosquitto_lib_init();
    (void)initialised;
}

std::string describe(int rc)
{
    if (rc == MOSQ_ERR_ERRNO)
        return std::string("the system refused: ") + mosquitto_strerror(rc);
    return mosquitto_strerror(rc);
}

}  // namespace

const char* mqttStateName(MqttClient::State state)
{
    switch (state) {
    case MqttClient::State::Connected:
        return "connected";
    case MqttClient::State::Lost:
        return "broker lost, reconnecting";
    case MqttClient::State::Connecting:
        break;
    }
    return "connecting";
}

MqttClient::MqttClient() = default;

MqttClient::~MqttClient() { Stop(0); }

bool MqttClient::Start(const MqttAddress& address, std::vector<std::string> topics, MessageHandler onMessage,
                       std::string* error)
{
    initLibrary();
    address_ = address;
    topics_ = std::move(topics);
    handler_ = std::move(onMessage);
    const std::string name = mqttAddressName(address);
    auto fail = [&](const std::string& cause) {
        *error = name + ": " + cause;
        if (mosq_) {
            mosquitto_destroy(mosq_);
            mosq_ = nullptr;
        }
        return false;
    };
    mosq_ = mosquitto_new(nullptr, true, this);
    if (!mosq_)
        return fail("libmosquitto cannot make a client: out of memory");
    mosquitto_int_option(mosq_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    mosquitto_connect_v5_callback_set(mosq_, &MqttClient::onConnect);
    mosquitto_disconnect_v5_callback_set(mosq_, &MqttClient::onDisconnect);
    mosquitto_message_v5_callback_set(mosq_, &MqttClient::onMessage);
    mosquitto_publish_v5_callback_set(mosq_, &MqttClient::onPublish);
    mosquitto_log_callback_set(mosq_, &MqttClient::onLog);
    // Publish is called from other threads than the loop's.
    mosquitto_threaded_set(mosq_, true);
    if (!address.user.empty()) {
        const int rc = mosquitto_username_pw_set(mosq_, address.user.c_str(),
                                                 address.hasPassword ? address.password.c_str() : nullptr);
        if (rc != MOSQ_ERR_SUCCESS)
            return fail("the user name or password is refused: " + describe(rc));
    }
    if (address.tls) {
        if (!address.caFile.empty() && !std::ifstream(address.caFile))
            return fail(address.caFile + ": cannot read the certificate authority's file");
        std::string authorities;
        if (address.caFile.empty() && !systemAuthorities(&authorities, error))
            return fail(*error);
        const int rc = mosquitto_tls_set(mosq_, address.caFile.empty() ? nullptr : address.caFile.c_str(),
                                         address.caFile.empty() ? authorities.c_str() : nullptr, nullptr, nullptr,
                                         nullptr);
        if (rc != MOSQ_ERR_SUCCESS)
            return fail("TLS cannot be set up: " + describe(rc));
    }
    const int rc = mosquitto_connect_async(mosq_, address.host.c_str(), address.port, kKeepAliveS);
    if (rc == MOSQ_ERR_INVAL || rc == MOSQ_ERR_EAI)
        return fail(rc == MOSQ_ERR_EAI ? "cannot find the host " + address.host : describe(rc));
    // A broker that is not there yet: the network thread tries again.
    if (rc != MOSQ_ERR_SUCCESS)
        failedTry(rc);
    stop_ = false;
    thread_ = std::thread([this, rc] { run(rc == MOSQ_ERR_SUCCESS); });
    return true;
}

void MqttClient::run(bool connecting)
{
    int retryMs = kRetryFirstMs;
    while (!stop_.load(std::memory_order_relaxed)) {
        if (connecting) {
            const int rc = mosquitto_loop(mosq_, kLoopTimeoutMs, 1);
            if (rc == MOSQ_ERR_SUCCESS) {
                if (CurrentState() == State::Connected)
                    retryMs = kRetryFirstMs;
                continue;
            }
            if (stop_.load(std::memory_order_relaxed))
                break;
            // A broker's refusal (a wrong password) is the cause, not the
            // connection's end that follows it.
            if (rc != MOSQ_ERR_NO_CONN && rc != MOSQ_ERR_CONN_LOST && !refused_.load(std::memory_order_relaxed))
                failedTry(rc);
            state_.store(CurrentState() == State::Connecting ? State::Connecting : State::Lost,
                         std::memory_order_release);
        }
        // Waits in short steps so that Stop is never held up.
        for (int waited = 0; waited < retryMs && !stop_.load(std::memory_order_relaxed); waited += kStopPollMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(kStopPollMs));
        retryMs = std::min(retryMs * 2, kRetryMaxMs);
        if (stop_.load(std::memory_order_relaxed))
            break;
        const int rc = mosquitto_reconnect(mosq_);
        connecting = rc == MOSQ_ERR_SUCCESS;
        if (!connecting)
            failedTry(rc);
    }
}

void MqttClient::failedTry(int rc)
{
    std::lock_guard<std::mutex> lock(causeMutex_);
    if (rc != MOSQ_ERR_TLS) {
        cause_ = "the connection failed: " + describe(rc);
        return;
    }
    tlsFailure_ = openSslError_.empty() ? describe(rc) : openSslError_;
    openSslError_.clear();
    cause_ = "TLS failed: " + tlsFailure_;
}

bool MqttClient::Publish(const std::string& topic, std::string_view payload, bool retain, unsigned expirySeconds,
                         std::string* error)
{
    if (!mosq_ || CurrentState() != State::Connected) {
        *error = mqttAddressName(address_) + ": not connected";
        return false;
    }
    mosquitto_property* properties = nullptr;
    if (expirySeconds > 0)
        mosquitto_property_add_int32(&properties, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL, expirySeconds);
    unpublished_.fetch_add(1, std::memory_order_relaxed);
    const int rc = mosquitto_publish_v5(mosq_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                                        payload.data(), 0, retain, properties);
    mosquitto_property_free_all(&properties);
    if (rc != MOSQ_ERR_SUCCESS) {
        unpublished_.fetch_sub(1, std::memory_order_relaxed);
        *error = mqttAddressName(address_) + ": " + topic + ": " + describe(rc);
        return false;
    }
    return true;
}

void MqttClient::Stop(int timeoutMs)
{
    if (!mosq_)
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (thread_.joinable() && CurrentState() == State::Connected &&
           unpublished_.load(std::memory_order_relaxed) > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(kStopPollMs));
    stop_ = true;
    mosquitto_disconnect(mosq_);
    if (thread_.joinable())
        thread_.join();
    mosquitto_destroy(mosq_);
    mosq_ = nullptr;
}

std::string MqttClient::LastCause() const
{
    std::lock_guard<std::mutex> lock(causeMutex_);
    return cause_;
}

std::string MqttClient::TlsFailure() const
{
    std::lock_guard<std::mutex> lock(causeMutex_);
    return tlsFailure_;
}

void MqttClient::setCause(const std::string& cause)
{
    std::lock_guard<std::mutex> lock(causeMutex_);
    cause_ = cause;
}

void MqttClient::onConnect(mosquitto* mosq, void* self, int rc, int, const mosquitto_property*)
{
    auto* client = static_cast<MqttClient*>(self);
    client->refused_.store(rc != 0, std::memory_order_relaxed);
    if (rc != 0) {
        client->setCause(std::string("the broker refused the connection: ") + mosquitto_reason_string(rc));
        client->state_.store(State::Lost, std::memory_order_release);
        return;
    }
    for (const std::string& topic : client->topics_) {
        const int subscribed = mosquitto_subscribe_v5(mosq, nullptr, topic.c_str(), 0, 0, nullptr);
        if (subscribed != MOSQ_ERR_SUCCESS)
            client->setCause("cannot subscribe to " + topic + ": " + describe(subscribed));
    }
    {
        std::lock_guard<std::mutex> lock(client->causeMutex_);
        client->tlsFailure_.clear();
    }
    client->connections_.fetch_add(1, std::memory_order_relaxed);
    client->state_.store(State::Connected, std::memory_order_release);
}

void MqttClient::onDisconnect(mosquitto*, void* self, int rc, const mosquitto_property*)
{
    auto* client = static_cast<MqttClient*>(self);
    // libmosquitto also reports a failed try to connect here: only the end
    // of a connection that was made is a loss.
    if (client->CurrentState() != State::Connected)
        return;
    if (rc != 0)
        client->setCause("the connection was lost: " + describe(rc));
    client->state_.store(State::Lost, std::memory_order_release);
}

void MqttClient::onMessage(mosquitto*, void* self, const mosquitto_message* message, const mosquitto_property*)
{
    auto* client = static_cast<MqttClient*>(self);
    if (!client->handler_ || !message->topic)
        return;
    const std::string_view payload(static_cast<const char*>(message->payload),
                                   message->payload ? static_cast<size_t>(message->payloadlen) : 0);
    client->handler_(message->topic, payload, message->retain);
}

// libmosquitto tells why TLS failed only in its log: "OpenSSL Error[0]:
// error:0A000086:SSL routines::certificate verify failed". The reason is
// kept, after the last colon, for the failure the loop reports next.
void MqttClient::onLog(mosquitto*, void* self, int level, const char* text)
{
    constexpr std::string_view kOpenSsl = "OpenSSL Error[0]: ";
    const std::string_view line(text ? text : "");
    if (level != MOSQ_LOG_ERR || line.substr(0, kOpenSsl.size()) != kOpenSsl)
        return;
    auto* client = static_cast<MqttClient*>(self);
    const size_t colon = line.rfind(':');
    std::lock_guard<std::mutex> lock(client->causeMutex_);
    client->openSslError_ = std::string(line.substr(colon + 1));
}

void MqttClient::onPublish(mosquitto*, void* self, int, int, const mosquitto_property*)
{
    static_cast<MqttClient*>(self)->unpublished_.fetch_sub(1, std::memory_order_relaxed);
}
