// Turns datagrams into input values through a mapping: parses them in the
// mapping's format, scales the mapped fields, refuses NaN and infinities,
// and reports each unknown field once.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mapping.h"

struct DecodeCounts {
    long long datagrams = 0;
    long long units = 0;      // lines, records or objects read
    long long malformed = 0;  // lines, records or objects skipped whole
    long long refused = 0;    // NaN or infinite values
    long long values = 0;     // mapped values delivered
};

class DatagramDecoder {
public:
    // Receives a mapped value: the index of its input in Inputs(), and the
    // scaled value.
    using ValueSink = std::function<void(int input, double value)>;
    // Receives "field F is not in the mapping" once per unknown field, and
    // once that generic lines hold another number of fields than expected.
    using NoticeSink = std::function<void(const std::string& notice)>;

    explicit DatagramDecoder(Mapping mapping);

    // The distinct inputs the mapping feeds, in the order of first mention.
    const std::vector<std::string>& Inputs() const { return inputs_; }
    void Decode(std::string_view datagram, const ValueSink& values, const NoticeSink& notices);
    const DecodeCounts& Counts() const { return counts_; }

private:
    struct Target {
        int input;
        double scale;
        double offset;
    };
    // Unknown fields are remembered up to this many; beyond, they go unreported.
    static constexpr size_t kMaxReportedFields = 1000;

    Mapping mapping_;
    std::vector<std::string> inputs_;
    std::unordered_map<std::string, Target> targets_;
    std::set<std::string, std::less<>> mappedGroups_;  // X-Plane groups of mapped fields
    std::set<std::string, std::less<>> reported_;
    DecodeCounts counts_;
    int genericFieldCount_ = 0;  // stated by the mapping, or learnt from the first line
    bool fieldCountReported_ = false;
};
