// One data source: delivers (input, value) pairs to the frame's thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data_feed.h"

class DataSource {
public:
    using ValueSink = std::function<void(std::string_view input, double value)>;
    virtual ~DataSource() = default;
    // On the frame's thread: hands over what arrived for nowMs.
    virtual void Poll(double nowMs, const ValueSink& sink) = 0;
    // The input names it may feed.
    virtual std::vector<std::string> Inputs() const = 0;
    // "udp 127.0.0.1:5500 (generic)", "replay flight.csv".
    virtual std::string Name() const = 0;
    virtual long long Datagrams() const { return 0; }
    virtual long long Malformed() const { return 0; }
    // What Malformed counts: "lines", "records", "objects".
    virtual const char* MalformedUnit() const { return "datagrams"; }
    virtual long long Refused() const { return 0; }
    virtual int Port() const { return 0; }
    // Values arrive when the world sends them (a network), not when the
    // frame's clock says (a replay): a recording takes their arrival time.
    virtual bool Live() const { return false; }
    // Appends the notices that came since the last call; never waits.
    virtual void TakeNotices(std::vector<std::string>*) {}
};

// Opens the source that wanted names; null with "WHAT: cause" in *error.
std::unique_ptr<DataSource> openUdpSource(const SourceOption& wanted, std::string* error);
std::unique_ptr<DataSource> openReplaySource(const SourceOption& wanted, std::string* error);
