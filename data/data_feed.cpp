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
    std::vector<std::unique_ptr<DataSource>> opened;
    std::vector<std::string> paths;
    for (const SourceOption& wanted : requested) {
        std::unique_ptr<DataSource> source = wanted.kind == SourceOption::Kind::Udp    ? openUdpSource(wanted, error)
                                             : wanted.kind == SourceOption::Kind::Mqtt ? openMqttSource(wanted, display, error)
                                                                                       : openReplaySource(wanted, error);
        if (!source)
            return false;
        opened.push_back(std::move(source));
        paths.push_back(wanted.path);
    }
    return attachOpened(display, std::move(opened), paths, recordPath, error);
}

bool DataFeed::AttachSource(const GrDisplay& display, std::unique_ptr<DataSource> source, std::string* error)
{
    std::string ignored;
    Detach(&ignored);
    const std::string name = source->Name();
    std::vector<std::unique_ptr<DataSource>> opened;
    opened.push_back(std::move(source));
    return attachOpened(display, std::move(opened), {name}, std::string(), error);
}

bool DataFeed::attachOpened(const GrDisplay& display, std::vector<std::unique_ptr<DataSource>> opened,
                            const std::vector<std::string>& paths, const std::string& recordPath, std::string* error)
{
    if (!grUseInputs(display.inputs, display.inputCount)) {
        *error = std::string(display.name) + ": its table of inputs is refused";
        return false;
    }
    for (size_t i = 0; i < opened.size(); ++i) {
        for (const std::string& input : opened[i]->Inputs()) {
            if (grFindInput(input.c_str()) >= 0)
                continue;
            std::string declared;
            for (int d = 0; d < display.inputCount; ++d)
                declared += std::string(d ? ", " : "") + display.inputs[d].name;
            *error = paths[i] + ": the display \"" + display.name + "\" has no input \"" + input +
                     "\" (its inputs: " + (declared.empty() ? std::string("none") : declared) + ")";
            grUseInputs(nullptr, 0);
            return false;
        }
        // Two sources taking turns at one input would make it jump between them.
        for (size_t other = 0; other < i; ++other)
            for (const std::string& input : opened[i]->Inputs()) {
                const std::vector<std::string> theirs = opened[other]->Inputs();
                if (std::find(theirs.begin(), theirs.end(), input) == theirs.end())
                    continue;
                *error = paths[i] + ": input \"" + input + "\" is fed by " + paths[other] +
                         " already; an input takes one source";
                grUseInputs(nullptr, 0);
                return false;
            }
    }
    if (!recordPath.empty() && !recorder_.Open(recordPath, error)) {
        grUseInputs(nullptr, 0);
        return false;
    }
    sources_ = std::move(opened);
    display_ = &display;
    rateSinceMs_ = 0.0;
    live_ = false;
    for (const std::unique_ptr<DataSource>& source : sources_)
        live_ = live_ || source->Live();
    attachedAt_ = std::chrono::steady_clock::now();
    datagramsAtRateStart_.assign(sources_.size(), 0);
    datagramsPerSecond_.assign(sources_.size(), 0.0);
    return true;
}

void DataFeed::BeforeUpdate(double nowMs)
{
    if (sources_.empty())
        return;
    lastNowMs_ = nowMs;
    // Polled each frame, a value is taken within a frame of its arrival.
    const double arrivedS =
        live_ ? std::chrono::duration<double>(std::chrono::steady_clock::now() - attachedAt_).count() : nowMs / 1000.0;
    for (const std::unique_ptr<DataSource>& source : sources_) {
        source->Poll(nowMs, [&](std::string_view input, double value) {
            const int index = grFindInput(std::string(input).c_str());
            const int result = grFeedInput(index, value, nowMs);
            if (result == GR_FEED_REFUSED)
                return;
            clamped_ += result == GR_FEED_CLAMPED;
            ++fed_;
            recorder_.Write(arrivedS, input, value);
        });
        source->TakeNotices(&notices_);
        failedInputs_.clear();
        source->TakeFailed(&failedInputs_);
        for (const std::string& input : failedInputs_)
            failed_ += grFailInput(grFindInput(input.c_str()));
    }
    recorder_.Tick();
    grApplyInputs(nowMs);
    if (nowMs - rateSinceMs_ >= kRateWindowMs) {
        for (size_t i = 0; i < sources_.size(); ++i) {
            const long long datagrams = sources_[i]->Datagrams();
            datagramsPerSecond_[i] = (datagrams - datagramsAtRateStart_[i]) * 1000.0 / (nowMs - rateSinceMs_);
            datagramsAtRateStart_[i] = datagrams;
        }
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
    auto count = [](long long n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string status = std::to_string(stale) + " stale, " + std::to_string(fed) + " of " +
                         std::to_string(display_->inputCount) + " inputs fed";
    if (clamped_ > 0)
        status += "; " + count(clamped_, "value clamped", "values clamped");
    status += "; ";
    for (size_t i = 0; i < sources_.size(); ++i) {
        const DataSource& source = *sources_[i];
        const std::string condition = source.Condition();
        status += (i ? "; " : "") + source.Name() + (condition.empty() ? "" : " " + condition);
        if (source.Datagrams() > 0 || source.Port() > 0)
            status += ": " + std::to_string(static_cast<long long>(datagramsPerSecond_[i] + 0.5)) + " " + source.Units() + "/s";
        if (source.Malformed() > 0)
            status += ", " + std::to_string(source.Malformed()) + " bad " + source.MalformedUnit();
        if (source.Refused() > 0)
            status += ", " + count(source.Refused(), "value refused", "values refused");
    }
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
