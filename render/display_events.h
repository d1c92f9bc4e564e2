// The events a host takes from its toolkit for the shown display, queued
// until the drawing thread hands them over between frames: never while
// DrawDisplay runs.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "gr_display.h"

// Events queued beyond this many are dropped and counted; moves and wheel
// steps merge first, so only a stalled drawing thread gets here.
constexpr size_t kMaxQueuedEvents = 1024;

class DisplayEvents {
public:
    // Any thread. A move right after a move of the same pointer replaces
    // it, and wheel steps at the same place add up, so that a flood of them
    // costs the display one call a frame.
    void Queue(const GrEvent& event);
    // The drawing thread, between frames: hands every queued event to entry
    // in order (none when entry is null, for a display that takes no
    // events). unused, when given, gets each event entry returned 0 for,
    // for the host's own use of it. Returns how many were delivered.
    int Deliver(int32_t (*entry)(const GrEvent*), const std::function<void(const GrEvent&)>& unused = nullptr);
    long long Dropped() const;
    bool Empty() const;

private:
    mutable std::mutex mutex_;
    std::deque<GrEvent> queue_;
    long long dropped_ = 0;
};
