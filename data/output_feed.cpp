#include "output_feed.h"

#include <algorithm>
#include <cmath>

#include "data_feed.h"

namespace {

double variableValue(const GrOutput& output)
{
    if (output.type == GR_INPUT_INT32)
        return *static_cast<const int32_t*>(output.variable);
    return *static_cast<const float*>(output.variable);
}

struct Collected {
    const GrOutput* table;
    std::map<std::string, double>* sent;
};

void collect(int output, double value, void* context)
{
    Collected* collected = static_cast<Collected*>(context);
    (*collected->sent)[collected->table[output].name] = value;
}

}  // namespace

bool parseSinkOption(const std::string& text, SinkOption* wanted, std::string* error)
{
    *wanted = SinkOption();
    if (text.rfind("mqtt://", 0) == 0 || text.rfind("mqtts://", 0) == 0) {
        wanted->kind = SinkOption::Kind::Mqtt;
        return parseMqttAddress(text, &wanted->mqtt, error);
    }
    const std::string usage =
        "--send takes udp:[ADDRESS:]PORT:MAPPING or mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING], not \"" +
        text + "\"";
    SourceOption udp;
    std::string ignored;
    if (text.rfind("udp:", 0) != 0 || !parseSourceOption(text, &udp, &ignored) || udp.port == 0) {
        *error = usage;
        return false;
    }
    wanted->address = udp.address;
    wanted->port = udp.port;
    wanted->path = udp.path;
    return true;
}

OutputFeed::OutputFeed() = default;

OutputFeed::~OutputFeed() { Detach(); }

bool OutputFeed::Attach(const GrOutput* outputs, int count, const std::vector<SinkOption>& destinations,
                        std::string* error)
{
    Detach();
    for (const SinkOption& wanted : destinations) {
        std::unique_ptr<OutputSink> sink =
            wanted.kind == SinkOption::Kind::Mqtt ? openMqttSink(wanted, error) : openUdpSink(wanted, error);
        if (!sink || !AttachSink(outputs, count, std::move(sink), error)) {
            Detach();
            return false;
        }
    }
    return true;
}

bool OutputFeed::AttachSink(const GrOutput* outputs, int count, std::unique_ptr<OutputSink> sink,
                            std::string* error)
{
    for (const std::string& name : sink->Outputs()) {
        const bool declared = std::any_of(outputs, outputs + std::max(count, 0),
                                          [&](const GrOutput& output) { return name == output.name; });
        if (!declared) {
            *error = sink->Name() + ": the display has no output \"" + name + "\"";
            return false;
        }
    }
    if (sinks_.empty()) {
        if (!grUseOutputs(outputs, count)) {
            *error = "the display's table of outputs is refused";
            return false;
        }
        outputs_ = outputs;
        count_ = count;
        latest_.clear();
        for (int i = 0; i < count; ++i)
            if (const double value = variableValue(outputs[i]);
                std::isfinite(value) && value >= outputs[i].minimum && value <= outputs[i].maximum)
                latest_[outputs[i].name] = value;
    }
    sinks_.push_back(std::move(sink));
    return true;
}

void OutputFeed::AfterModel()
{
    if (sinks_.empty())
        return;
    std::map<std::string, double> sent;
    Collected collected{outputs_, &sent};
    if (grCollectOutputs(collect, &collected) == 0)
        return;
    for (const auto& [name, value] : sent)
        latest_[name] = value;
    collected_ += static_cast<long long>(sent.size());
    ++frames_;
    for (const auto& sink : sinks_)
        sink->Send(sent, latest_);
}

OutputCounts OutputFeed::Counts() const
{
    OutputCounts counts;
    counts.collected = collected_;
    counts.frames = frames_;
    counts.refused = sinks_.empty() ? 0 : grOutputsRefused();
    for (const auto& sink : sinks_) {
        counts.datagrams += sink->Sent();
        counts.failed += sink->Failed();
    }
    return counts;
}

std::string OutputFeed::Status() const
{
    std::string status;
    const long long refused = sinks_.empty() ? 0 : grOutputsRefused();
    for (const auto& sink : sinks_) {
        if (!status.empty())
            status += "; ";
        status += sink->Name() + ": отправлено " + std::to_string(sink->Sent());
        if (sink->Failed() > 0)
            status += ", не доставлено " + std::to_string(sink->Failed());
    }
    if (refused > 0)
        status += ", отклонено " + std::to_string(refused);
    return status;
}

void OutputFeed::Detach()
{
    if (!sinks_.empty())
        grUseOutputs(nullptr, 0);
    sinks_.clear();
    outputs_ = nullptr;
    count_ = 0;
    latest_.clear();
}
