// One destination of a display's outputs: UDP to a simulator through a
// mapping, or (where the program has an MQTT client) PREFIX/out/<name>.
// The frame's thread hands each frame's outputs over and never waits: a
// sink sends on a thread of its own.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mqtt_address.h"

// A --send DESTINATION, parsed:
//   udp:[ADDRESS:]PORT:MAPPING   ADDRESS 127.0.0.1 unless given; IPv6 in [ ]
//   mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING]   each output on
//                                PREFIX/out/<name> (mqtts:// over TLS)
struct SinkOption {
    enum class Kind { Udp, Mqtt } kind = Kind::Udp;
    std::string address = "127.0.0.1";
    int port = 0;
    std::string path;  // the mapping file
    MqttAddress mqtt;
};

// False with a message in *error for a malformed DESTINATION.
bool parseSinkOption(const std::string& text, SinkOption* wanted, std::string* error);

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // On the frame's thread, in a frame that sent outputs: sent holds those
    // (name -> value), latest the last value of every output. Never waits.
    virtual void Send(const std::map<std::string, double>& sent, const std::map<std::string, double>& latest) = 0;
    // The output names it carries, to check against the display.
    virtual std::vector<std::string> Outputs() const = 0;
    // "udp 127.0.0.1:5600 (generic)".
    virtual std::string Name() const = 0;
    // Datagrams or messages sent, and those the system refused or the
    // queue had to drop (the destination does not take them fast enough).
    virtual long long Sent() const = 0;
    virtual long long Failed() const = 0;
};

// Opens the sink wanted names; null with "WHAT: cause" in *error.
std::unique_ptr<OutputSink> openUdpSink(const SinkOption& wanted, std::string* error);
std::unique_ptr<OutputSink> openMqttSink(const SinkOption& wanted, std::string* error);
