#include "mqtt_decoder.h"

#include <cmath>

#include "wire_formats.h"

namespace {

std::string_view trimmed(std::string_view text)
{
    const char* const blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return std::string_view();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

Mapping identityMqttMapping(const std::vector<std::string>& inputs)
{
    Mapping mapping;
    mapping.format = WireFormat::Mqtt;
    for (const std::string& input : inputs) {
        FieldMapping field;
        field.field = input;
        field.input = input;
        mapping.fields.push_back(field);
    }
    return mapping;
}

MqttDecoder::MqttDecoder(std::string prefix, Mapping mapping) : prefix_(std::move(prefix))
{
    for (const FieldMapping& field : mapping.fields) {
        targets_[field.field] = {inputIndex(&inputs_, field.input), field.scale, field.offset};
    }
}

const MqttDecoder::Target* MqttDecoder::find(std::string_view field, const NoticeSink& notices)
{
    key_.assign(field);
    const auto target = targets_.find(key_);
    if (target != targets_.end())
        return &target->second;
    if (reported_.size() < kMaxReportedFields && !reported_.count(field)) {
        reported_.emplace(field);
        notices("topic " + prefix_ + "/" + key_ + " is not in the mapping (reported once)");
    }
    return nullptr;
}

void MqttDecoder::feed(std::string_view field, double value, const ValueSink& values, const NoticeSink& notices)
{
    const Target* target = find(field, notices);
    if (!target)
        return;
    const double scaled = value * target->scale + target->offset;
    if (!std::isfinite(scaled)) {
        ++counts_.refused;
        return;
    }
    ++counts_.values;
    values(target->input, scaled);
}

void MqttDecoder::Decode(std::string_view topic, std::string_view payload, const ValueSink& values,
                         const FailSink& failed, const NoticeSink& notices)
{
    const bool whole = topic == prefix_;
    const bool under = topic.size() > prefix_.size() + 1 && topic.compare(0, prefix_.size(), prefix_) == 0 &&
                       topic[prefix_.size()] == '/';
    if (!whole && !under)
        return;
    const std::string_view field = under ? topic.substr(prefix_.size() + 1) : std::string_view();
    if (field.find('/') != std::string_view::npos)
        return;
    ++counts_.messages;
    if (payload.size() > kMaxMqttPayloadBytes) {
        ++counts_.oversize;
        return;
    }
    if (payload.empty()) {
        if (whole) {
            for (int input = 0; input < static_cast<int>(inputs_.size()); ++input) {
                ++counts_.failed;
                failed(input);
            }
        } else if (const Target* target = find(field, notices)) {
            ++counts_.failed;
            failed(target->input);
        }
        return;
    }
    if (whole) {
        ParseCounts parsed;
        parseJsonObjects(payload, [&](std::string_view name, double value) { feed(name, value, values, notices); },
                         &parsed);
        counts_.malformed += parsed.malformed;
        return;
    }
    double value = 0.0;
    if (!parseWireNumber(trimmed(payload), &value)) {
        ++counts_.malformed;
        return;
    }
    if (!std::isfinite(value)) {
        ++counts_.refused;
        return;
    }
    feed(field, value, values, notices);
}
