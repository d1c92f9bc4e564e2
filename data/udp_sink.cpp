// Outputs as UDP datagrams through a mapping's output lines, sent on a
// thread of its own: the frame only encodes and queues.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "data_feed.h"
#include "output_sink.h"
#include "udp_socket.h"
#include "wire_encode.h"

namespace {

// Datagrams waiting beyond this many are dropped oldest first, and counted:
// a destination that falls behind loses old values, never the newest.
constexpr size_t kMaxQueuedDatagrams = 256;

class UdpSink : public OutputSink {
public:
    UdpSink(const SinkOption& wanted, Mapping mapping) : wanted_(wanted), mapping_(std::move(mapping)) {}

    ~UdpSink() override
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable())
            thread_.join();
    }

    bool Open(std::string* error)
    {
        if (!socket_.Connect(wanted_.address, wanted_.port, error))
            return false;
        thread_ = std::thread([this] { run(); });
        return true;
    }

    void Send(const std::map<std::string, double>& sent, const std::map<std::string, double>& latest) override
    {
        std::vector<std::string> datagrams = encodeOutputDatagrams(mapping_, sent, latest);
        if (datagrams.empty())
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (std::string& datagram : datagrams) {
                if (queue_.size() >= kMaxQueuedDatagrams) {
                    queue_.pop_front();
                    ++failed_;
                }
                queue_.push_back(std::move(datagram));
            }
        }
        wake_.notify_one();
    }

    std::vector<std::string> Outputs() const override { return mappedOutputNames(mapping_); }

    std::string Name() const override
    {
        const bool v6 = wanted_.address.find(':') != std::string::npos;
        return std::string("udp ") + (v6 ? "[" : "") + wanted_.address + (v6 ? "]" : "") + ":" +
               std::to_string(wanted_.port) + " (" + wireFormatName(mapping_.format) + ")";
    }

    long long Sent() const override { return sent_; }
    long long Failed() const override { return failed_; }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (stop_)
                return;
            std::string datagram = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            // A destination nobody listens on refuses with ICMP, which the
            // next send reports: counted, never waited on.
            if (socket_.Send(datagram.data(), static_cast<int>(datagram.size())))
                ++sent_;
            else
                ++failed_;
            lock.lock();
        }
    }

    SinkOption wanted_;
    Mapping mapping_;
    UdpSocket socket_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    bool stop_ = false;
    std::atomic<long long> sent_{0};
    std::atomic<long long> failed_{0};
};

}  // namespace

std::unique_ptr<OutputSink> openUdpSink(const SinkOption& wanted, std::string* error)
{
    Mapping mapping;
    if (!readMapping(wanted.path, &mapping, error))
        return nullptr;
    if (mapping.outputs.empty()) {
        *error = wanted.path + ": has no output lines (output FIELD OUTPUT), so --send has nothing to send";
        return nullptr;
    }
    auto sink = std::make_unique<UdpSink>(wanted, std::move(mapping));
    if (!sink->Open(error))
        return nullptr;
    return sink;
}
