// mqtt-bench: what a cockpit on one broker costs, on this machine. Starts a
// mosquitto of its own on 127.0.0.1, one publisher sending INPUTS values
// RATE times a second (one retained message a value, as panel-feed does),
// one display's feed applying them in frames at 25 Hz, and SUBSCRIBERS - 1
// more subscribers as further displays. Prints the latency from publish to
// the value applied in a frame (p50, p99), from publish to arrival at the
// other subscribers, the broker's CPU, and the feed's cost per frame against
// no source. A benchmark, not a test: figures vary with the machine.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "arguments.h"
#include "data_feed.h"
#include "mqtt_client.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kFrameMs = 40.0;

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

int freePort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

// The broker's user and system time so far, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            user = std::stoull(field);
        if (i == 15)
            system = std::stoull(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, static_cast<size_t>(p * static_cast<double>(samples.size())))];
}

struct Options {
    int subscribers = 1;
    int inputs = 50;
    int rate = 25;
    int seconds = 10;
};

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        int* target = arg == "--subscribers" ? &options.subscribers
                      : arg == "--inputs"    ? &options.inputs
                      : arg == "--rate"      ? &options.rate
                      : arg == "--seconds"   ? &options.seconds
                                             : nullptr;
        if (!target || !parseNumber(argv[i + 1], target) || *target < 1 || *target > 1000) {
            std::cerr << "usage: mqtt-bench [--subscribers N] [--inputs N] [--rate HZ] [--seconds S] (1 to 1000)\n";
            return 2;
        }
    }
    options.inputs = std::min(options.inputs, static_cast<int>(GR_MAX_INPUTS));
    const int port = freePort();
    const std::string config = "/tmp/mqtt-bench-" + std::to_string(getpid()) + ".conf";
    std::ofstream(config) << "allow_anonymous true\npersistence false\nlistener " << port << " 127.0.0.1\n";
    const pid_t broker = fork();
    if (broker == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execlp("mosquitto", "mosquitto", "-c", config.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::string url = "mqtt://127.0.0.1:" + std::to_string(port) + "/bench";
    MqttAddress address;
    std::string error;
    parseMqttAddress(url, &address, &error);

    // The values are sequence numbers: whoever receives one looks up when it was sent.
    const long long total = static_cast<long long>(options.rate) * options.seconds + options.rate;
    std::vector<std::atomic<double>> sentAtMs(static_cast<size_t>(total));
    const Clock::time_point start = Clock::now();

    std::vector<std::string> names;
    std::vector<float> variables(static_cast<size_t>(options.inputs), -1.0f);
    std::vector<GrInput> inputs;
    for (int i = 0; i < options.inputs; ++i)
        names.push_back("in" + std::to_string(i));
    for (int i = 0; i < options.inputs; ++i)
        inputs.push_back({names[i].c_str(), "", GR_INPUT_FLOAT, &variables[i], -1.0f, 1e9f, -1.0f, 1000});
    const GrTables tables = {};
    const GrDisplay display = {GR_DISPLAY_INTERFACE_VERSION, "bench", 100, 100, &tables, [] {}, [] {},
                               inputs.data(), options.inputs, nullptr, nullptr, 0};

    std::mutex arrivalsMutex;
    std::vector<double> arrivals;
    std::vector<std::unique_ptr<MqttClient>> others;
    for (int i = 1; i < options.subscribers; ++i) {
        others.push_back(std::make_unique<MqttClient>());
        others.back()->Start(address, {"bench/+"}, [&](std::string_view, std::string_view payload, bool) {
            const double now = msSince(start);
            const long long k = std::atoll(std::string(payload).c_str());
            if (k >= 0 && k < total) {
                std::lock_guard<std::mutex> lock(arrivalsMutex);
                arrivals.push_back(now - sentAtMs[static_cast<size_t>(k)].load());
            }
        }, &error);
    }
    DataFeed feed;
    SourceOption wanted;
    parseSourceOption(url, &wanted, &error);
    if (!feed.Attach(display, {wanted}, "", &error)) {
        std::cerr << "mqtt-bench: " << error << "\n";
        kill(broker, SIGTERM);
        return 1;
    }
    MqttClient publisher;
    publisher.Start(address, {}, nullptr, &error);
    while (publisher.CurrentState() != MqttClient::State::Connected || feed.Waiting())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    std::atomic<bool> done{false};
    std::thread publishing([&] {
        for (long long k = 0; k < total - options.rate && !done; ++k) {
            // Each tick at another phase of the frames (steps of 7 ms over a
            // frame): the wait for the next frame is spread as a
            // simulator's unsynchronised clock spreads it.
            std::this_thread::sleep_until(start + std::chrono::microseconds(1000000 * (k + 10) / options.rate +
                                                                             (k * 7000) % 40000));
            sentAtMs[static_cast<size_t>(k)] = msSince(start);
            const std::string payload = std::to_string(k);
            for (const std::string& name : names)
                publisher.Publish("bench/" + name, payload, true, 1, &error);
        }
        done = true;
    });

    // Frames at 25 Hz: the feed's cost in each, and the values it applied.
    const double cpuBefore = cpuSeconds(broker);
    std::vector<double> applied;
    std::vector<double> frameCostUs;
    std::vector<float> last(variables);
    for (long long frame = 0; !done; ++frame) {
        std::this_thread::sleep_until(start + std::chrono::microseconds(static_cast<long long>(frame * kFrameMs * 1000)));
        const Clock::time_point before = Clock::now();
        feed.BeforeUpdate(msSince(start));
        frameCostUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
        const double now = msSince(start);
        for (size_t i = 0; i < variables.size(); ++i) {
            if (variables[i] != last[i] && variables[i] >= 0.0f && variables[i] < static_cast<float>(total))
                applied.push_back(now - sentAtMs[static_cast<size_t>(variables[i])].load());
            last[i] = variables[i];
        }
    }
    const double brokerCpu = cpuSeconds(broker) - cpuBefore;
    const double elapsedS = msSince(start) / 1000.0 - 0.4;
    publishing.join();
    others.clear();
    feed.Detach(&error);

    // No source: the same frames' input work with nothing attached.
    std::vector<double> idleCostUs;
    grUseInputs(inputs.data(), options.inputs);
    for (int frame = 0; frame < 1000; ++frame) {
        const Clock::time_point before = Clock::now();
        grApplyInputs(frame * kFrameMs);
        idleCostUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
    }
    grUseInputs(nullptr, 0);
    publisher.Stop();
    kill(broker, SIGTERM);
    waitpid(broker, nullptr, 0);
    std::remove(config.c_str());

    std::printf("subscribers %d, %d inputs x %d Hz (%d messages/s in, %d out)\n", options.subscribers,
                options.inputs, options.rate, options.inputs * options.rate,
                options.inputs * options.rate * options.subscribers);
    std::printf("  publish -> applied in a 25 Hz frame: p50 %.1f ms, p99 %.1f ms (%zu values)\n",
                percentile(applied, 0.5), percentile(applied, 0.99), applied.size());
    if (!arrivals.empty())
        std::printf("  publish -> arrival at the other subscribers: p50 %.2f ms, p99 %.2f ms (%zu values)\n",
                    percentile(arrivals, 0.5), percentile(arrivals, 0.99), arrivals.size());
    std::printf("  broker CPU: %.1f %% of a core\n", 100.0 * brokerCpu / elapsedS);
    std::printf("  feed per frame: MQTT source p50 %.1f us, p99 %.1f us; no source p50 %.2f us\n",
                percentile(frameCostUs, 0.5), percentile(frameCostUs, 0.99), percentile(idleCostUs, 0.5));
    return 0;
}
