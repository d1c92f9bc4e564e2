// panel-feed: plays a recording (time,input,value) to a UDP port in one of
// the wire formats, each value at its recorded time: a display tested
// without a simulator.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "arguments.h"
#include "data_feed.h"
#include "mapping.h"
#include "recording.h"
#include "udp_socket.h"
#include "wire_encode.h"

namespace {

const char* const kUsage =
    "usage: panel-feed --to [ADDRESS:]PORT (--mapping FILE | --format json) [--hold [--rate HZ]]\n"
    "                  [--loop] [--seconds S] RECORDING.csv\n"
    "Sends the values of a recording (CSV: time,input,value) as datagrams at the\n"
    "recording's own times: a datagram for each time the recording has values,\n"
    "holding those values only, so that a silence in the recording is a silence\n"
    "on the wire. A generic line has a place for every mapped field: it carries\n"
    "the latest value of the inputs the recording has no value for at that time.\n"
    "  --to A:P      where to send (ADDRESS 127.0.0.1 unless given)\n"
    "  --mapping F   the format and fields of F, the mapping file the display\n"
    "                reads with (values are sent as (value - offset) / scale)\n"
    "  --format json JSON objects named by the inputs themselves, without a mapping\n"
    "  --hold        send HZ datagrams a second instead, each with the latest value\n"
    "                of every input so far\n"
    "  --rate HZ     with --hold: datagrams a second, 1 to 1000000 (default 25)\n"
    "  --loop        start again at the end\n"
    "  --seconds S   stop after S seconds (default: at the end of the recording)\n"
    "Ctrl+C or SIGTERM stops it, with the count of datagrams sent.\n";

constexpr int kMaxRate = 1000000;
constexpr int kMaxSeconds = 86400;
// A recording of one instant loops at this period.
constexpr double kMinLoopS = 0.04;

struct FeedOptions {
    std::string address = "127.0.0.1";
    int port = 0;
    std::string mappingPath;
    bool json = false;
    int rate = 25;
    bool rateGiven = false;
    bool hold = false;
    bool loop = false;
    int seconds = 0;
    std::string recording;
};

bool parseArguments(int argc, char** argv, FeedOptions* options, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--loop" || arg == "--hold") {
            (arg == "--loop" ? options->loop : options->hold) = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            if (!options->recording.empty()) {
                *error = "one recording only, not also " + arg;
                return false;
            }
            options->recording = arg;
            continue;
        }
        if (!value) {
            *error = arg + " needs a value";
            return false;
        }
        ++i;
        if (arg == "--to") {
            SourceOption wanted;
            if (!parseSourceOption(std::string("udp:") + value + ":-", &wanted, error)) {
                *error = std::string("--to takes [ADDRESS:]PORT, not ") + value;
                return false;
            }
            options->address = wanted.address;
            options->port = wanted.port;
        } else if (arg == "--mapping") {
            options->mappingPath = value;
        } else if (arg == "--format") {
            if (std::strcmp(value, "json") != 0) {
                *error = "--format takes json; the other formats need --mapping";
                return false;
            }
            options->json = true;
        } else if (arg == "--rate") {
            if (!parseNumber(value, &options->rate) || options->rate < 1 || options->rate > kMaxRate) {
                *error = std::string("--rate takes 1 to 1000000 datagrams a second, not ") + value;
                return false;
            }
            options->rateGiven = true;
        } else if (arg == "--seconds") {
            if (!parseNumber(value, &options->seconds) || options->seconds < 1 || options->seconds > kMaxSeconds) {
                *error = std::string("--seconds takes 1 to 86400, not ") + value;
                return false;
            }
        } else {
            *error = "unknown argument: " + arg;
            return false;
        }
    }
    if (options->port == 0 || options->recording.empty() || options->mappingPath.empty() == !options->json) {
        *error = "needs --to, a recording, and one of --mapping or --format json";
        return false;
    }
    if (options->rateGiven && !options->hold) {
        *error = "--rate is for --hold; without it each datagram goes at its recorded time";
        return false;
    }
    return true;
}

volatile std::sig_atomic_t g_stopSignal = 0;

void stopOnSignal(int signal) { g_stopSignal = signal; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    FeedOptions options;
    std::string error;
    if (!parseArguments(argc, argv, &options, &error)) {
        std::cerr << "panel-feed: " << error << "\n" << kUsage;
        return 2;
    }
    std::vector<RecordedValue> rows;
    Mapping mapping;
    std::string warning;
    if (!readRecording(options.recording, &rows, &error, &warning) ||
        (!options.json && !readMapping(options.mappingPath, &mapping, &error))) {
        std::cerr << "panel-feed: " << error << "\n";
        return 1;
    }
    if (!warning.empty())
        std::cerr << "panel-feed: " << warning << "\n";
    if (rows.empty()) {
        std::cerr << "panel-feed: " << options.recording << ": has no values\n";
        return 1;
    }
    UdpSocket socket;
    if (!socket.Connect(options.address, options.port, &error)) {
        std::cerr << "panel-feed: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const double lengthS = rows.back().timeS;
    const double stopS = options.seconds > 0 ? options.seconds : (options.loop ? kMaxSeconds : lengthS);
    std::map<std::string, double> values;  // the latest of every input so far
    std::map<std::string, double> fresh;   // those the recording gave since the last datagram
    size_t next = 0;
    double loopStartS = 0.0;
    long long sent = 0;
    long long refused = 0;
    auto send = [&](const std::map<std::string, double>& carried) {
        const std::string datagram = encodeDatagram(options.json ? identityJsonMapping(carried) : mapping, carried);
        refused += !socket.Send(datagram.data(), static_cast<int>(datagram.size()));
        ++sent;
    };
    // A generic line has a place for every field: it carries them all.
    const bool wholeLines = !options.json && mapping.format == WireFormat::Generic;
    while (g_stopSignal == 0) {
        const double nowS = std::chrono::duration<double>(Clock::now() - start).count();
        while (next < rows.size() && loopStartS + rows[next].timeS <= nowS) {
            values[rows[next].input] = rows[next].value;
            fresh[rows[next].input] = rows[next].value;
            if (++next == rows.size() && options.loop) {
                next = 0;
                loopStartS += std::max(lengthS, kMinLoopS);
            }
        }
        if (options.hold) {
            // Bursts every millisecond or so keep high rates exact.
            const long long due = static_cast<long long>(nowS * options.rate) + 1;
            while (sent < due)
                send(values);
        } else if (!fresh.empty()) {
            send(wholeLines ? values : fresh);
            fresh.clear();
        }
        if (nowS >= stopS)
            break;
        const int tickUs = options.hold ? std::min(1000000 / options.rate, 1000) : 1000;
        std::this_thread::sleep_for(std::chrono::microseconds(tickUs));
    }
    std::cout << "panel-feed: " << sent << " datagrams sent to " << options.address << ":" << options.port;
    if (refused > 0)
        std::cout << ", " << refused << " refused by the system";
    if (g_stopSignal != 0)
        std::cout << "; stopped by " << (g_stopSignal == SIGINT ? "SIGINT" : "SIGTERM");
    std::cout << "\n";
    return 0;
}
