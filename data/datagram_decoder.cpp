#include "datagram_decoder.h"

#include <cmath>

DatagramDecoder::DatagramDecoder(Mapping mapping) : mapping_(std::move(mapping)), genericFieldCount_(mapping_.fieldCount)
{
    for (const FieldMapping& field : mapping_.fields) {
        targets_[field.field] = {inputIndex(&inputs_, field.input), field.scale, field.offset};
        if (mapping_.format == WireFormat::XPlane)
            mappedGroups_.insert(field.field.substr(0, field.field.find('.')));
    }
}

void DatagramDecoder::Decode(std::string_view datagram, const ValueSink& values, const NoticeSink& notices)
{
    ++counts_.datagrams;
    ParseCounts parsed;
    std::string key;
    parseDatagram(mapping_.format, mapping_.separator, datagram,
                  [&](std::string_view field, double value) {
                      key.assign(field);
                      const auto target = targets_.find(key);
                      if (target == targets_.end()) {
                          // X-Plane sends whole groups: only a group nobody maps is news.
                          std::string_view reportAs = field;
                          if (mapping_.format == WireFormat::XPlane) {
                              reportAs = field.substr(0, field.find('.'));
                              if (mappedGroups_.count(reportAs))
                                  return;
                          }
                          if (reported_.size() < kMaxReportedFields && !reported_.count(reportAs)) {
                              reported_.emplace(reportAs);
                              notices(std::string(mapping_.format == WireFormat::XPlane ? "data group " : "field ") +
                                      std::string(reportAs) + " is not in the mapping (reported once)");
                          }
                          return;
                      }
                      const double scaled = value * target->second.scale + target->second.offset;
                      if (!std::isfinite(scaled)) {
                          ++counts_.refused;
                          return;
                      }
                      ++counts_.values;
                      values(target->second.input, scaled);
                  },
                  &parsed, &genericFieldCount_);
    counts_.units += parsed.units;
    counts_.malformed += parsed.malformed;
    if (parsed.wrongFieldCount > 0 && !fieldCountReported_) {
        fieldCountReported_ = true;
        notices("a line of " + std::to_string(parsed.lastWrongFieldCount) + " fields where " +
                (mapping_.fieldCount > 0 ? "the mapping states " : "the first line held ") +
                std::to_string(genericFieldCount_) + ": such lines are counted bad and not drawn (reported once)");
    }
}
