// Where the shown display's outputs go: the destinations of --send. Once a
// frame, after the display has handled its events and updated its model,
// the frame's thread collects the outputs that changed and hands them to
// every destination, which sends them on a thread of its own.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gr_display.h"
#include "output_sink.h"

struct OutputCounts {
    long long collected = 0;  // values the display sent
    long long refused = 0;    // NaN, infinities, values outside their range
    long long datagrams = 0;  // what the destinations sent
    long long failed = 0;     // refused by the system, or dropped
    long long frames = 0;     // frames that sent anything
};

class OutputFeed {
public:
    OutputFeed();
    ~OutputFeed();
    OutputFeed(const OutputFeed&) = delete;
    OutputFeed& operator=(const OutputFeed&) = delete;

    // Attaches the destinations to the display's outputs (outputs, count:
    // its table). False with "WHAT: cause" in *error, and nothing attached,
    // for a destination that cannot open or carries an output the display
    // lacks.
    bool Attach(const GrOutput* outputs, int count, const std::vector<SinkOption>& destinations, std::string* error);
    // Attaches an already open destination (tests, and hosts with sinks of
    // their own making): false with the cause as Attach gives it.
    bool AttachSink(const GrOutput* outputs, int count, std::unique_ptr<OutputSink> sink, std::string* error);
    bool Attached() const { return !sinks_.empty(); }
    // After each UpdateDisplayModel (and after events while paused).
    void AfterModel();
    // For the status bar, in the programs' language: "udp 127.0.0.1:5600
    // (generic): отправлено 12, не доставлено 1, отклонено 2".
    std::string Status() const;
    OutputCounts Counts() const;
    // Stops the sending threads and detaches the outputs.
    void Detach();

private:
    std::vector<std::unique_ptr<OutputSink>> sinks_;
    const GrOutput* outputs_ = nullptr;
    int count_ = 0;
    std::map<std::string, double> latest_;
    long long collected_ = 0;
    long long frames_ = 0;
};
