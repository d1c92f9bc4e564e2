// panel-feed's MQTT side: publishing values as retained messages that
// expire at the broker, and bridging a UDP stream to the broker.
#pragma once

#include <atomic>
#include <map>
#include <string>

#include "data_feed.h"
#include "mapping.h"
#include "mqtt_client.h"

class MqttFeed {
public:
    // Connects to address, waiting up to timeoutMs; false with the cause in
    // *error. json: one JSON object on PREFIX; else one topic an input,
    // through the address's mapping (format mqtt) when it names one.
    bool Open(const MqttAddress& address, bool json, unsigned expirySeconds, int timeoutMs, std::string* error);
    // Publishes the values; those the broker cannot take now (it is gone)
    // are counted as lost.
    void Publish(const std::map<std::string, double>& values);
    // Publishes what is queued and disconnects.
    void Close();
    long long Published() const { return published_; }
    long long Lost() const { return lost_; }

private:
    MqttClient client_;
    MqttAddress address_;
    Mapping mapping_;
    bool mapped_ = false;
    bool json_ = false;
    unsigned expirySeconds_ = 0;
    long long published_ = 0;
    long long lost_ = 0;
};

// Receives the UDP stream of from (decoded through its mapping) and
// republishes each datagram's values at once, until stop or seconds (0:
// no limit) pass. Returns the exit status; prints a summary to out and
// what failed to err.
int bridgeUdpToMqtt(const SourceOption& from, MqttFeed& to, int seconds, const std::atomic<bool>& stop,
                    std::ostream& out, std::ostream& err);
