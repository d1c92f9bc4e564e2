#include "band_pool.h"

namespace cpu {

BandPool::~BandPool() { Stop(); }

void BandPool::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
    stopping_ = false;
}

void BandPool::SetThreads(int threads)
{
    if (threads < 1)
        threads = 1;
    if (threads == Threads())
        return;
    Stop();
    for (int i = 1; i < threads; ++i)
        workers_.emplace_back([this, i] { WorkerLoop(i); });
}

void BandPool::DrainBands(int thread)
{
    for (int band = nextBand_.fetch_add(1); band < bands_; band = nextBand_.fetch_add(1))
        run_(context_, band, thread);
}

void BandPool::WorkerLoop(int thread)
{
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_)
                return;
            seen = generation_;
            ++busyWorkers_;
        }
        DrainBands(thread);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --busyWorkers_;
        }
        done_.notify_one();
    }
}

void BandPool::Run(BandFunction run, void* context, int bands)
{
    if (workers_.empty()) {
        for (int band = 0; band < bands; ++band)
            run(context, band, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        run_ = run;
        context_ = context;
        bands_ = bands;
        nextBand_.store(0);
        ++generation_;
    }
    wake_.notify_all();
    DrainBands(0);
    // Every worker that woke has finished once none is busy and all bands
    // are taken; one that has not woken yet will find none left.
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return busyWorkers_ == 0; });
}

}  // namespace cpu
