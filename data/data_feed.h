// The data sources attached to the shown display: UDP in one of the wire
// formats through a mapping file, or the replay of a recording. The frame's
// thread polls them before each UpdateDisplayModel; a UDP source receives
// on a thread of its own, which hands the latest value of each input over
// through atomics, so that no frame ever waits on the network.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "gr_display.h"
#include "mqtt_address.h"
#include "recording.h"

// A --data SOURCE, parsed:
//   udp:[ADDRESS:]PORT:MAPPING   ADDRESS 127.0.0.1 unless given; IPv6 in [ ]
//   replay:FILE[:loop]
//   mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING][?cafile=FILE]
//   (mqtts:// for TLS; see mqtt_address.h)
struct SourceOption {
    enum class Kind { Udp, Replay, Mqtt } kind = Kind::Udp;
    std::string address = "127.0.0.1";
    int port = 0;
    std::string path;  // the mapping file, or the recording
    bool loop = false;
    MqttAddress mqtt;
};

// False with a message in *error for a malformed SOURCE.
bool parseSourceOption(const std::string& text, SourceOption* wanted, std::string* error);

// What the sources did since attaching.
struct FeedCounts {
    long long datagrams = 0;
    long long malformed = 0;
    long long refused = 0;  // NaN and infinities, payloads over their size limit
    long long clamped = 0;  // values outside their input's range
    long long fed = 0;      // values handed to the display
    long long failed = 0;   // inputs their publisher marked failed
};

class DataSource;

class DataFeed {
public:
    DataFeed();
    ~DataFeed();
    DataFeed(const DataFeed&) = delete;
    DataFeed& operator=(const DataFeed&) = delete;

    // Attaches the sources to display's inputs and, with a recordPath,
    // records what is fed. False with "WHAT: cause" in *error, and nothing
    // attached, for a source that cannot open or feeds an input the display
    // lacks.
    bool Attach(const GrDisplay& display, const std::vector<SourceOption>& sources, const std::string& recordPath,
                std::string* error);
    // Attaches one source of the host's own making (the page's, fed by its
    // script) as Attach does, without a recording.
    bool AttachSource(const GrDisplay& display, std::unique_ptr<DataSource> source, std::string* error);
    bool Attached() const { return !sources_.empty(); }
    // Before each UpdateDisplayModel, at nowMs since attaching: feeds what
    // the sources have and applies the inputs.
    void BeforeUpdate(double nowMs);
    // For the status bar, the essentials first, so that a narrow bar cut at
    // the right keeps them: stale inputs, inputs fed, then each source with
    // its rate and what went wrong, e.g. "1 stale, 6 of 6 inputs fed;
    // 3 values clamped; udp 127.0.0.1:5500 (generic): 60 datagrams/s,
    // 2 bad lines, 1 value refused".
    std::string Status() const;
    // A source is not connected (an MQTT broker not reached yet, or lost).
    bool Waiting() const;
    // What the sources reported once (unknown fields) since the last call.
    std::vector<std::string> TakeNotices();
    FeedCounts Counts() const;
    // The port a UDP source bound (for sources given port 0), or 0.
    int BoundPort(size_t source) const;
    // Stops the receiving threads, closes the recording and detaches the
    // inputs; false with the recording's failure in *error.
    bool Detach(std::string* error);

private:
    // Checks the opened sources against display and keeps them; false with
    // the fault in *error, named by each source's path in paths.
    bool attachOpened(const GrDisplay& display, std::vector<std::unique_ptr<DataSource>> opened,
                      const std::vector<std::string>& paths, const std::string& recordPath, std::string* error);

    std::vector<std::unique_ptr<DataSource>> sources_;
    std::vector<std::string> notices_;
    Recorder recorder_;
    // A live source's values are recorded at their arrival on this clock;
    // a replay's at the feed's time.
    bool live_ = false;
    std::chrono::steady_clock::time_point attachedAt_;
    const GrDisplay* display_ = nullptr;
    long long clamped_ = 0;
    long long fed_ = 0;
    long long failed_ = 0;
    std::vector<std::string> failedInputs_;
    double lastNowMs_ = 0.0;
    double rateSinceMs_ = 0.0;
    std::vector<long long> datagramsAtRateStart_;  // a count for each source
    std::vector<double> datagramsPerSecond_;
};
