#include "data_flood.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "udp_socket.h"

DataFlood::~DataFlood() { Stop(); }

bool DataFlood::Start(const GrDisplay& display, int rate, std::string* error)
{
    if (display.inputCount < 1) {
        *error = "the display declares no inputs to feed";
        return false;
    }
    // The first input, under a JSON name of its own.
    const std::string mappingPath =
        (std::filesystem::temp_directory_path() / ("panel-bench-flood-" + std::to_string(getpid()) + ".map")).string();
    std::ofstream(mappingPath) << "format json\nvalue " << display.inputs[0].name << "\n";
    SourceOption wanted;
    const bool attached = parseSourceOption("udp:0:" + mappingPath, &wanted, error) &&
                          feed_.Attach(display, {wanted}, "", error);
    std::filesystem::remove(mappingPath);
    if (!attached)
        return false;
    const int port = feed_.BoundPort(0);
    const float middle = (display.inputs[0].minimum + display.inputs[0].maximum) / 2.0f;
    sender_ = std::thread([this, port, rate, middle] {
        UdpSocket socket;
        std::string ignored;
        if (!socket.Connect("127.0.0.1", port, &ignored))
            return;
        const std::string datagram = "{\"value\": " + std::to_string(static_cast<int>(middle)) + "}";
        const auto start = std::chrono::steady_clock::now();
        while (!stop_.load()) {
            const double elapsedS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const long long due = static_cast<long long>(elapsedS * rate);
            // Counted as they go, so that a reading during a burst is true.
            while (sent_.load(std::memory_order_relaxed) < due && !stop_.load(std::memory_order_relaxed)) {
                socket.Send(datagram.data(), static_cast<int>(datagram.size()));
                sent_.fetch_add(1, std::memory_order_relaxed);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    return true;
}

void DataFlood::Stop()
{
    stop_ = true;
    if (sender_.joinable())
        sender_.join();
    std::string ignored;
    feed_.Detach(&ignored);
}
