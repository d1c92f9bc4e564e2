// panel-bench --flood RATE: JSON datagrams sent to the built-in display's
// gauges over 127.0.0.1 at RATE a second while frames are measured, so that
// the frame's cost with a receiving source can be set against its cost
// without.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "data_feed.h"

class DataFlood {
public:
    ~DataFlood();
    // Attaches a UDP source to display's inputs and starts sending; false
    // with the reason in *error.
    bool Start(const GrDisplay& display, int rate, std::string* error);
    DataFeed& Feed() { return feed_; }
    long long Sent() const { return sent_.load(); }
    void Stop();

private:
    DataFeed feed_;
    std::thread sender_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> sent_{0};
};
