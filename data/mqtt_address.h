// Where an MQTT source or publisher connects, as the command line gives it:
//
//   mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING][?cafile=FILE]
//   mqtts://...   the same over TLS (port 8883 unless given)
//
// HOST is a name or a numeric address, IPv6 in [ ]; PORT 1883 unless
// given. PREFIX is a topic of one or more levels (sim/pfd) without the MQTT
// wildcards + and #; the inputs are its subtopics. MAPPING is a mapping file
// of format mqtt. cafile= names the certificate authority that signed the
// broker's certificate; without it a TLS connection trusts the system's
// authorities (tls_authorities.h: /etc/ssl/certs; Windows needs cafile=).
// USER and PASSWORD may carry %XX escapes for the characters ':', '@' and
// '/'.
#pragma once

#include <string>

struct MqttAddress {
    std::string user;
    std::string password;
    bool hasPassword = false;
    std::string host;
    int port = 0;
    std::string prefix;
    std::string mappingPath;  // empty: topics named by the inputs themselves
    bool tls = false;
    std::string caFile;
};

constexpr int kMqttPort = 1883;
constexpr int kMqttTlsPort = 8883;

// Parses text; false with a message naming the fault in *error.
bool parseMqttAddress(const std::string& text, MqttAddress* address, std::string* error);

// "mqtt://HOST:PORT/PREFIX", without the password: for status and messages.
std::string mqttAddressName(const MqttAddress& address);
