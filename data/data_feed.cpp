#include "data_feed.h"

#include <algorithm>

#include "data_source.h"
#include "wire_formats.h"

namespace {

// Datagrams per second are counted over windows of this length.
constexpr double kRateWindowMs = 1000.0;
constexpr int kMaxPort = 65535;

bool parsePort(const std::string& text, int* port)
{
    double number = 0.0;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        !parseWireNumber(text, &number) || number > kMaxPort)
        return false;
    *port = static_cast<int>(number);
    return true;
}

}  // namespace

bool parseSourceOption(const std::string& text, SourceOption* wanted, std::string* error)
{
    *wanted = SourceOption();
    const std::string usage = "--data takes udp:[ADDRESS:]PORT:MAPPING, replay:FILE[:loop] or "
                              "mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING], not \"" + text + "\"";
    if (text.rfind("mqtt://", 0) == 0 || text.rfind("mqtts://", 0) == 0) {
        wanted->kind = SourceOption::Kind::Mqtt;
        if (!parseMqttAddress(text, &wanted->mqtt, error))
            return false;
        wanted->path = wanted->mqtt.mappingPath;
        return true;
    }
    if (text.rfind("replay:", 0) == 0) {
        wanted->kind = SourceOption::Kind::Replay;
        wanted->path = text.substr(7);
        const std::string loopSuffix = ":loop";
        if (wanted->path.size() > loopSuffix.size() &&
            wanted->path.compare(wanted->path.size() - loopSuffix.size(), loopSuffix.size(), loopSuffix) == 0) {
            wanted->loop = true;
            wanted->path.resize(wanted->path.size() - loopSuffix.size());
        }
        if (wanted->path.empty()) {
            *error = usage;
            return false;
        }
        return true;
    }
    if (text.rfind("udp:", 0) != 0) {
        *error = usage;
        return false;
    }
    std::string rest = text.substr(4);
    if (!rest.empty() && rest[0] == '[') {
        const size_t close = rest.find("]:");
        if (close == std::string::npos) {
            *error = usage;
            return false;
        }
        wanted->address = rest.substr(1, close - 1);
        rest = rest.substr(close + 2);
    } else {
        const size_t colon = rest.find(':');
        if (colon != std::string::npos && rest.substr(0, colon).find('.') != std::string::npos) {
            wanted->address = rest.substr(0, colon);
            rest = rest.substr(colon + 1);
        }
    }
    const size_t colon = rest.find(':');
    if (colon == std::string::npos || !parsePort(rest.substr(0, colon), &wanted->port) || colon + 1 == rest.size()) {
        *error = usage;
        return false;
    }
    wanted->path = rest.substr(colon + 1);
    return true;
}

DataFeed::DataFeed() = default;

DataFeed::~DataFeed()
{
    std::string ignored;
    Detach(&ignored);
}

bool DataFeed::Attach(const GrDisplay& display, const std::vector<SourceOption>& requested, const std::string& recordPath,
                      std::string* error)
{
    std::string ignored;
    Detach(&ignored);
    if (!grUseInputs(display.inputs, display.inputCount)) {
        *error = std::string(display.name) + ": its table of inputs is refused";
        return false;
    }
    std::vector<std::unique_ptr<DataSource>> opened;
    for (const SourceOption& wanted : requested) {
        std::unique_ptr<DataSource> source = wanted.kind == SourceOption::Kind::Udp    ? openUdpSource(wanted, error)
                                             : wanted.kind == SourceOption::Kind::Mqtt ? openMqttSource(wanted, display, error)
                                                                                       : openReplaySource(wanted, error);
        if (!source) {
            grUseInputs(nullptr, 0);
            return false;
        }
        for (const std::string& input : source->Inputs()) {
            if (grFindInput(input.c_str()) >= 0)
                continue;
            std::string declared;
            for (int i = 0; i < display.inputCount; ++i)
                declared += std::string(i ? ", " : "") + display.inputs[i].name;
            *error = wanted.path + ": the display \"" + display.name + "\" has no input \"" + input +
                     "\" (its inputs: " + (declared.empty() ? std::string("none") : declared) + ")";
            grUseInputs(nullptr, 0);
            return false;
        }
        opened.push_back(std::move(source));
    }
    if (!recordPath.empty() && !recorder_.Open(recordPath, error)) {
        grUseInputs(nullptr, 0);
        return false;
    }
    sources_ = std::move(opened);
    display_ = &display;
    return true;
}

void DataFeed::BeforeUpdate(double nowMs)
{
    if (sources_.empty())
        return;
    lastNowMs_ = nowMs;
    for (const std::unique_ptr<DataSource>& source : sources_) {
        source->Poll(nowMs, [&](std::string_view input, double value) {
            const int index = grFindInput(std::string(input).c_str());
            const int result = grFeedInput(index, value, nowMs);
            if (result == GR_FEED_REFUSED)
                return;
            clamped_ += result == GR_FEED_CLAMPED;
            ++fed_;
            recorder_.Write(nowMs / 1000.0, input, value);
        });
        source->TakeNotices(&notices_);
        failedInputs_.clear();
        source->TakeFailed(&failedInputs_);
        for (const std::string& input : failedInputs_)
            failed_ += grFailInput(grFindInput(input.c_str()));
    }
    grApplyInputs(nowMs);
    if (nowMs - rateSinceMs_ >= kRateWindowMs) {
        const long long datagrams = Counts().datagrams;
        datagramsPerSecond_ = (datagrams - datagramsAtRateStart_) * 1000.0 / (nowMs - rateSinceMs_);
        datagramsAtRateStart_ = datagrams;
        rateSinceMs_ = nowMs;
    }
}

std::string DataFeed::Status() const
{
    if (sources_.empty() || !display_)
        return std::string();
    int stale = 0;
    int fed = 0;
    for (int i = 0; i < display_->inputCount; ++i) {
        const int state = grInputState(i);
        stale += state == GR_INPUT_STALE;
        fed += state != GR_INPUT_NOT_FED;
    }
    std::string names;
    std::string units = sources_.front()->Units();
    for (const std::unique_ptr<DataSource>& source : sources_) {
        if (units != source->Units())
            units = "datagrams and messages";
        const std::string condition = source->Condition();
        names += (names.empty() ? "" : ", ") + source->Name() + (condition.empty() ? "" : " " + condition);
    }
    const FeedCounts counts = Counts();
    std::string status = names + ": " + std::to_string(static_cast<long long>(datagramsPerSecond_ + 0.5)) +
                         " " + units + "/s, " + std::to_string(fed) + " inputs fed, " + std::to_string(stale) + " stale";
    if (counts.malformed + counts.refused > 0)
        status += ", " + std::to_string(counts.malformed + counts.refused) + " bad";
    return status;
}

bool DataFeed::Waiting() const
{
    for (const std::unique_ptr<DataSource>& source : sources_)
        if (!source->Condition().empty())
            return true;
    return false;
}

std::vector<std::string> DataFeed::TakeNotices()
{
    std::vector<std::string> out;
    out.swap(notices_);
    return out;
}

FeedCounts DataFeed::Counts() const
{
    FeedCounts counts;
    for (const std::unique_ptr<DataSource>& source : sources_) {
        counts.datagrams += source->Datagrams();
        counts.malformed += source->Malformed();
        counts.refused += source->Refused();
    }
    counts.clamped = clamped_;
    counts.fed = fed_;
    counts.failed = failed_;
    return counts;
}

int DataFeed::BoundPort(size_t source) const { return source < sources_.size() ? sources_[source]->Port() : 0; }

bool DataFeed::Detach(std::string* error)
{
    const bool wasAttached = !sources_.empty();
    sources_.clear();
    display_ = nullptr;
    if (wasAttached)
        grUseInputs(nullptr, 0);
    return recorder_.Close(error);
}
