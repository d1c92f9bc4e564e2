// A connection to an MQTT broker through libmosquitto, for the sources that
// subscribe and the programs that publish. A network thread of its own runs
// libmosquitto's loop: connecting, reconnecting after a loss or a broker
// not there yet (after 250 ms, then every 500 ms), and subscribing again
// on each connection; the handlers run on that thread.
// Nothing here waits on the network but Start's resolving of the host.
// (libmosquitto's own loop thread gives up when the first connection is
// refused, so it is not used.)
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "mqtt_address.h"

struct mosquitto;
struct mosquitto_message;
typedef struct mqtt5__property mosquitto_property;

class MqttClient {
public:
    enum class State { Connecting, Connected, Lost };
    // On the network thread: a message on a subscribed topic. retained: the
    // broker kept it from before this connection.
    using MessageHandler = std::function<void(std::string_view topic, std::string_view payload, bool retained)>;

    MqttClient();
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Starts connecting to address (MQTT 5, clean session) and keeps the
    // connection, subscribing to topics on each one; false with
    // "mqtt://HOST:PORT/PREFIX: cause" in *error for what can never work
    // (options libmosquitto refuses, an unreadable CA file). A broker not
    // there yet is no error: the state stays Connecting until it comes.
    bool Start(const MqttAddress& address, std::vector<std::string> topics, MessageHandler onMessage,
               std::string* error);
    // Publishes payload on topic at QoS 0 without waiting; retained values
    // expire at the broker after expirySeconds (0: never). False with the
    // cause in *error when not connected or refused.
    bool Publish(const std::string& topic, std::string_view payload, bool retain, unsigned expirySeconds,
                 std::string* error);
    // Publishes what Publish queued and disconnects, waiting up to
    // timeoutMs for the queue to drain.
    void Stop(int timeoutMs = 1000);

    State CurrentState() const { return state_.load(std::memory_order_acquire); }
    // Why the last connection failed or ended; empty while none did.
    std::string LastCause() const;
    // Why TLS failed on the last try (OpenSSL's reason: "certificate verify
    // failed"), until a connection is made; empty otherwise. Trying again
    // does not cure it, so the displays' status names it.
    std::string TlsFailure() const;
    long long Connections() const { return connections_.load(std::memory_order_relaxed); }
    const MqttAddress& Address() const { return address_; }

private:
    static void onConnect(mosquitto*, void* self, int rc, int flags, const mosquitto_property*);
    static void onDisconnect(mosquitto*, void* self, int rc, const mosquitto_property*);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message, const mosquitto_property*);
    static void onPublish(mosquitto*, void* self, int mid, int rc, const mosquitto_property*);
    static void onLog(mosquitto*, void* self, int level, const char* text);
    void setCause(const std::string& cause);
    void failedTry(int rc);
    void run(bool connecting);

    MqttAddress address_;
    std::vector<std::string> topics_;
    MessageHandler handler_;
    mosquitto* mosq_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<State> state_{State::Connecting};
    std::atomic<long long> connections_{0};
    std::atomic<long long> unpublished_{0};
    std::atomic<bool> refused_{false};  // the broker refused the last connection
    mutable std::mutex causeMutex_;
    std::string cause_;
    std::string openSslError_;  // the last one libmosquitto logged
    std::string tlsFailure_;
};

const char* mqttStateName(MqttClient::State state);
