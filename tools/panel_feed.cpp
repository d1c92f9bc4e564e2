// panel-feed: plays a recording (time,input,value) to a UDP port in one of
// the wire formats, or to an MQTT broker, each value at its recorded time: a
// display tested without a simulator. It also bridges a simulator's UDP
// stream to a broker.
#include <algorithm>
#include <atomic>
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
#include "feed_mqtt.h"
#include "mapping.h"
#include "recording.h"
#include "udp_socket.h"
#include "wire_encode.h"

namespace {

const char* const kUsage =
    "usage: panel-feed --to [ADDRESS:]PORT (--mapping FILE | --format json) [--hold [--rate HZ]]\n"
    "                  [--loop] [--seconds S] RECORDING.csv\n"
    "       panel-feed --to mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING] [--format json]\n"
    "                  [--expiry S] [--hold [--rate HZ]] [--loop] [--seconds S] RECORDING.csv\n"
    "       panel-feed --from udp:[ADDRESS:]PORT:MAPPING --to mqtt://... [--expiry S] [--seconds S]\n"
    "Sends the values of a recording (CSV: time,input,value) as datagrams at the\n"
    "recording's own times: a datagram for each time the recording has values,\n"
    "holding those values only, so that a silence in the recording is a silence\n"
    "on the wire. A generic line has a place for every mapped field: it carries\n"
    "the latest value of the inputs the recording has no value for at that time.\n"
    "To a broker each value is a retained message on PREFIX/INPUT (through\n"
    "MAPPING, a mapping of format mqtt, when given), or with --format json one\n"
    "JSON object on PREFIX. With --from, the datagrams a simulator sends\n"
    "(generic, xplane or json, as its mapping says) are republished to the\n"
    "broker as they come, until stopped.\n"
    "  --to A:P      where to send (ADDRESS 127.0.0.1 unless given)\n"
    "  --from S      a UDP source to bridge, as the displays' --data udp:... takes it\n"
    "  --expiry S    seconds the broker keeps a retained value (default 1): a\n"
    "                display joining later never takes an old value as fresh\n"
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
constexpr int kMaxExpiryS = 3600;
constexpr int kBrokerTimeoutMs = 10000;
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
    bool toMqtt = false;
    MqttAddress mqtt;
    bool bridge = false;
    SourceOption from;
    int expiry = 1;
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
        if (arg == "--to" && (std::strncmp(value, "mqtt://", 7) == 0 || std::strncmp(value, "mqtts://", 8) == 0)) {
            if (!parseMqttAddress(value, &options->mqtt, error))
                return false;
            options->toMqtt = true;
        } else if (arg == "--from") {
            if (!parseSourceOption(value, &options->from, error) || options->from.kind != SourceOption::Kind::Udp) {
                *error = std::string("--from takes udp:[ADDRESS:]PORT:MAPPING, not ") + value;
                return false;
            }
            options->bridge = true;
        } else if (arg == "--expiry") {
            if (!parseNumber(value, &options->expiry) || options->expiry < 1 || options->expiry > kMaxExpiryS) {
                *error = std::string("--expiry takes 1 to 3600 seconds, not ") + value;
                return false;
            }
        } else if (arg == "--to") {
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
    if (options->bridge) {
        if (!options->toMqtt || !options->recording.empty() || options->json || !options->mappingPath.empty()) {
            *error = "--from needs --to mqtt://..., and takes no recording, --mapping or --format";
            return false;
        }
        return true;
    }
    if (options->toMqtt && !options->mappingPath.empty()) {
        *error = "--to mqtt:// takes its mapping after the prefix (PREFIX:MAPPING), not --mapping";
        return false;
    }
    if (options->toMqtt && options->recording.empty()) {
        *error = "--to mqtt:// needs a recording";
        return false;
    }
    if (!options->toMqtt && (options->port == 0 || options->recording.empty() || options->mappingPath.empty() == !options->json)) {
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
// The same, for the bridge's loop.
std::atomic<bool> g_stop{false};

void stopOnSignal(int signal)
{
    g_stopSignal = signal;
    g_stop = true;
}

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
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    MqttFeed broker;
    if (options.toMqtt &&
        !broker.Open(options.mqtt, options.json, static_cast<unsigned>(options.expiry), kBrokerTimeoutMs, &error)) {
        std::cerr << "panel-feed: " << error << "\n";
        return 1;
    }
    if (options.bridge) {
        const int status = bridgeUdpToMqtt(options.from, broker, options.seconds, g_stop, std::cout, std::cerr);
        broker.Close();
        return status;
    }
    std::vector<RecordedValue> rows;
    Mapping mapping;
    std::string warning;
    if (!readRecording(options.recording, &rows, &error, &warning) ||
        (!options.json && !options.toMqtt && !readMapping(options.mappingPath, &mapping, &error))) {
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
    if (!options.toMqtt && !socket.Connect(options.address, options.port, &error)) {
        std::cerr << "panel-feed: " << error << "\n";
        return 1;
    }
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
        if (options.toMqtt) {
            broker.Publish(carried);
            ++sent;
            return;
        }
        const std::string datagram = encodeDatagram(options.json ? identityJsonMapping(carried) : mapping, carried);
        refused += !socket.Send(datagram.data(), static_cast<int>(datagram.size()));
        ++sent;
    };
    // A generic line has a place for every field: it carries them all.
    const bool wholeLines = !options.json && !options.toMqtt && mapping.format == WireFormat::Generic;
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
            // A broker keeps the latest value: one publication a tick.
            if (options.toMqtt && sent < due) {
                broker.Publish(values);
                sent = due;
            }
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
    if (options.toMqtt) {
        broker.Close();
        std::cout << "panel-feed: " << broker.Published() << " messages published to " << mqttAddressName(options.mqtt);
        if (broker.Lost() > 0)
            std::cout << ", " << broker.Lost() << " lost while the broker was away";
    } else {
        std::cout << "panel-feed: " << sent << " datagrams sent to " << options.address << ":" << options.port;
        if (refused > 0)
            std::cout << ", " << refused << " refused by the system";
    }
    if (g_stopSignal != 0)
        std::cout << "; stopped by " << (g_stopSignal == SIGINT ? "SIGINT" : "SIGTERM");
    std::cout << "\n";
    return 0;
}
