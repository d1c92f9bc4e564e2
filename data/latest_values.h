// The hand-off of a source's values from its receiving thread to the frame:
// the latest value (or failure) of each input in atomics with a count of
// updates, so that the frame takes only what moved and never waits.
#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

class LatestValues {
public:
    explicit LatestValues(size_t inputs) : latest_(inputs) {}

    // On the receiving thread.
    void Store(int input, double value)
    {
        Latest& latest = latest_[static_cast<size_t>(input)];
        latest.value.store(value, std::memory_order_relaxed);
        latest.failed.store(false, std::memory_order_relaxed);
        latest.updates.fetch_add(1, std::memory_order_release);
    }
    void MarkFailed(int input)
    {
        Latest& latest = latest_[static_cast<size_t>(input)];
        latest.failed.store(true, std::memory_order_relaxed);
        latest.updates.fetch_add(1, std::memory_order_release);
    }

    // On the frame's thread: value(input, v) or failed(input) for each input
    // updated since the last call.
    template <class OnValue, class OnFailed>
    void Take(OnValue value, OnFailed failed)
    {
        for (size_t i = 0; i < latest_.size(); ++i) {
            Latest& latest = latest_[i];
            const unsigned updates = latest.updates.load(std::memory_order_acquire);
            if (updates == latest.taken)
                continue;
            latest.taken = updates;
            if (latest.failed.load(std::memory_order_relaxed))
                failed(i);
            else
                value(i, latest.value.load(std::memory_order_relaxed));
        }
    }

private:
    struct Latest {
        std::atomic<double> value{0.0};
        std::atomic<bool> failed{false};
        std::atomic<unsigned> updates{0};
        unsigned taken = 0;  // the frame's own count
    };
    std::vector<Latest> latest_;
};
