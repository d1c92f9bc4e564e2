#include "display_events.h"

#include <vector>

void DisplayEvents::Queue(const GrEvent& event)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!queue_.empty()) {
        GrEvent& last = queue_.back();
        const bool samePointer = last.type == event.type && last.pointer == event.pointer;
        if (samePointer && event.type == GR_EVENT_POINTER_MOVE) {
            last = event;
            return;
        }
        if (samePointer && event.type == GR_EVENT_WHEEL && last.x == event.x && last.y == event.y &&
            last.modifiers == event.modifiers) {
            last.steps += event.steps;
            return;
        }
    }
    if (queue_.size() >= kMaxQueuedEvents) {
        ++dropped_;
        return;
    }
    queue_.push_back(event);
}

int DisplayEvents::Deliver(int32_t (*entry)(const GrEvent*), const std::function<void(const GrEvent&)>& unused)
{
    std::vector<GrEvent> events;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events.assign(queue_.begin(), queue_.end());
        queue_.clear();
    }
    if (!entry)
        return 0;
    for (const GrEvent& event : events)
        if (entry(&event) == 0 && unused)
            unused(event);
    return static_cast<int>(events.size());
}

long long DisplayEvents::Dropped() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

bool DisplayEvents::Empty() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.empty();
}
