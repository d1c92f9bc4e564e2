// Turns the MQTT messages under a prefix into input values, through a
// mapping of format mqtt: no sockets, no broker.
//
//   PREFIX/FIELD   a plain decimal number ("12.5"; blanks around it allowed)
//   PREFIX         a JSON object of fields and numbers ({"pitch": 2.5})
//
// An empty payload is the publisher marking the value failed: on
// PREFIX/FIELD that field's input, on PREFIX every input. A payload larger
// than kMaxMqttPayloadBytes is refused unread. Topics deeper than one level
// under the prefix (PREFIX/out/NAME, a display's outputs) are not inputs
// and are ignored.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mapping.h"

constexpr size_t kMaxMqttPayloadBytes = 16384;

struct MqttCounts {
    long long messages = 0;   // under the prefix
    long long malformed = 0;  // payloads (or JSON objects) that are not numbers
    long long refused = 0;    // NaN or infinite values
    long long oversize = 0;   // payloads over kMaxMqttPayloadBytes
    long long failed = 0;     // inputs marked failed by an empty payload
    long long values = 0;     // mapped values delivered
};

// The mapping that feeds each of inputs from the field of its own name.
Mapping identityMqttMapping(const std::vector<std::string>& inputs);

class MqttDecoder {
public:
    using ValueSink = std::function<void(int input, double value)>;
    using FailSink = std::function<void(int input)>;
    using NoticeSink = std::function<void(const std::string& notice)>;

    MqttDecoder(std::string prefix, Mapping mapping);

    // The distinct inputs the mapping feeds, in the order of first mention.
    const std::vector<std::string>& Inputs() const { return inputs_; }
    void Decode(std::string_view topic, std::string_view payload, const ValueSink& values, const FailSink& failed,
                const NoticeSink& notices);
    const MqttCounts& Counts() const { return counts_; }

private:
    struct Target {
        int input;
        double scale;
        double offset;
    };
    static constexpr size_t kMaxReportedFields = 1000;

    void feed(std::string_view field, double value, const ValueSink& values, const NoticeSink& notices);
    const Target* find(std::string_view field, const NoticeSink& notices);

    std::string prefix_;
    std::vector<std::string> inputs_;
    std::unordered_map<std::string, Target> targets_;
    std::set<std::string, std::less<>> reported_;
    std::string key_;
    MqttCounts counts_;
};
