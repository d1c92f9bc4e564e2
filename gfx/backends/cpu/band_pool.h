// Threads that draw a frame in bands of rows. Each band is drawn whole by
// one thread, in command order, so the picture does not depend on how many
// threads there are or which takes which band.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace cpu {

class BandPool {
public:
    // thread: which of the Threads() draws the band, 0 the caller's.
    using BandFunction = void (*)(void* context, int band, int thread);

    BandPool() = default;
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    // Draws with threads threads in all (the caller's included); 1 starts none.
    void SetThreads(int threads);
    int Threads() const { return static_cast<int>(workers_.size()) + 1; }

    // Calls run(context, band, thread) for every band in [0, bands), spread
    // over the threads, and returns when all are done.
    void Run(BandFunction run, void* context, int bands);

private:
    void WorkerLoop(int thread);
    void DrainBands(int thread);
    void Stop();

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    unsigned generation_ = 0;
    bool stopping_ = false;
    int busyWorkers_ = 0;
    BandFunction run_ = nullptr;
    void* context_ = nullptr;
    int bands_ = 0;
    std::atomic<int> nextBand_{0};
};

}  // namespace cpu
