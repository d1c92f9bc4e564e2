#include "thread_count.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<int> g_requested{0};

}  // namespace

int requestedThreadCount() { return g_requested.load(); }

void setRequestedThreadCount(int threads) { g_requested.store(threads); }

int drawingThreadCount()
{
    const int requested = requestedThreadCount();
    if (requested > 0)
        return requested;
    return std::clamp(affinityProcessorCount(), 1, kMaxDefaultDrawingThreads);
}
