// UDP through a mapping, received on a thread of its own that hands the
// latest values to the frame. Notices pass under a mutex that the frame
// only tries.
#include <atomic>
#include <mutex>
#include <thread>

#include "data_source.h"
#include "datagram_decoder.h"
#include "latest_values.h"
#include "udp_socket.h"

namespace {

// The largest datagram read; longer ones are cut, and then malformed.
constexpr int kMaxDatagramBytes = 65536;
// How often the receiving thread looks whether it should stop.
constexpr int kStopCheckMs = 50;

class UdpSource : public DataSource {
public:
    UdpSource(const SourceOption& wanted, Mapping mapping)
        : format_(mapping.format), wanted_(wanted), decoder_(std::move(mapping)), latest_(decoder_.Inputs().size())
    {
    }

    ~UdpSource() override
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    bool Open(std::string* error)
    {
        if (!socket_.Bind(wanted_.address, wanted_.port, error))
            return false;
        thread_ = std::thread([this] { receive(); });
        return true;
    }

    void Poll(double, const ValueSink& sink) override
    {
        const std::vector<std::string>& inputs = decoder_.Inputs();
        latest_.Take([&](size_t input, double value) { sink(inputs[input], value); }, [](size_t) {});
    }

    std::vector<std::string> Inputs() const override { return decoder_.Inputs(); }
    std::string Name() const override
    {
        const bool v6 = wanted_.address.find(':') != std::string::npos;
        return "udp " + (v6 ? "[" + wanted_.address + "]" : wanted_.address) + ":" + std::to_string(socket_.Port()) +
               " (" + wireFormatName(format_) + ")";
    }
    long long Datagrams() const override { return datagrams_.load(std::memory_order_relaxed); }
    long long Malformed() const override { return malformed_.load(std::memory_order_relaxed); }
    bool Live() const override { return true; }
    const char* MalformedUnit() const override
    {
        switch (format_) {
        case WireFormat::Generic:
            return "lines";
        case WireFormat::XPlane:
            return "datagrams";
        case WireFormat::Json:
            return "objects";
        case WireFormat::Mqtt:
            return "messages";
        }
        return "datagrams";
    }
    long long Refused() const override { return refused_.load(std::memory_order_relaxed); }
    int Port() const override { return socket_.Port(); }

    void TakeNotices(std::vector<std::string>* out) override
    {
        std::unique_lock<std::mutex> lock(noticesMutex_, std::try_to_lock);
        if (!lock.owns_lock())
            return;
        for (std::string& notice : notices_)
            out->push_back(Name() + ": " + std::move(notice));
        notices_.clear();
    }

private:
    void receive()
    {
        std::vector<char> buffer(kMaxDatagramBytes);
        while (!stop_.load(std::memory_order_relaxed)) {
            if (!socket_.WaitReadable(kStopCheckMs))
                continue;
            int length;
            while ((length = socket_.Receive(buffer.data(), kMaxDatagramBytes)) >= 0 &&
                   !stop_.load(std::memory_order_relaxed)) {
                decoder_.Decode(
                    std::string_view(buffer.data(), static_cast<size_t>(length)),
                    [this](int input, double value) { latest_.Store(input, value); },
                    [this](const std::string& notice) {
                        std::lock_guard<std::mutex> lock(noticesMutex_);
                        notices_.push_back(notice);
                    });
                const DecodeCounts& counts = decoder_.Counts();
                datagrams_.store(counts.datagrams, std::memory_order_relaxed);
                malformed_.store(counts.malformed, std::memory_order_relaxed);
                refused_.store(counts.refused, std::memory_order_relaxed);
            }
        }
    }

    WireFormat format_;
    SourceOption wanted_;
    DatagramDecoder decoder_;
    LatestValues latest_;
    UdpSocket socket_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> datagrams_{0};
    std::atomic<long long> malformed_{0};
    std::atomic<long long> refused_{0};
    std::mutex noticesMutex_;
    std::vector<std::string> notices_;
};

}  // namespace

std::unique_ptr<DataSource> openUdpSource(const SourceOption& wanted, std::string* error)
{
    Mapping mapping;
    if (!readMapping(wanted.path, &mapping, error))
        return nullptr;
    if (mapping.fields.empty()) {
        *error = wanted.path + ": maps no field to an input, only outputs (for --send)";
        return nullptr;
    }
    auto source = std::make_unique<UdpSource>(wanted, std::move(mapping));
    if (!source->Open(error))
        return nullptr;
    return source;
}
