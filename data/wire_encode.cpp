#include "wire_encode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "number_text.h"

namespace {

std::string numberText(double value)
{
    char text[32];
    const char* end = writeGeneral(text, text + sizeof text, value, 9);
    return std::string(text, static_cast<size_t>(end - text));
}

std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted.push_back('\\');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

double rawValue(const FieldMapping& field, double value)
{
    return field.scale != 0.0 ? (value - field.offset) / field.scale : 0.0;
}

void appendLittleEndian32(std::string* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string genericLine(const Mapping& mapping, const std::map<std::string, double>& values)
{
    std::map<int, double> positions;
    int last = 0;
    for (const FieldMapping& field : mapping.fields) {
        const int position = std::stoi(field.field);
        last = std::max(last, position);
        if (const auto value = values.find(field.input); value != values.end())
            positions[position] = rawValue(field, value->second);
    }
    std::string line;
    for (int position = 1; position <= last; ++position) {
        if (position > 1)
            line.push_back(mapping.separator);
        const auto value = positions.find(position);
        line += value == positions.end() ? "0" : numberText(value->second);
    }
    return line + "\n";
}

std::string xplaneDatagram(const Mapping& mapping, const std::map<std::string, double>& values)
{
    std::map<int, std::array<float, 8>> groups;
    for (const FieldMapping& field : mapping.fields) {
        const size_t dot = field.field.find('.');
        const int group = std::stoi(field.field.substr(0, dot));
        const int slot = std::stoi(field.field.substr(dot + 1));
        auto [record, added] = groups.try_emplace(group);
        if (added)
            record->second.fill(-999.0f);
        if (const auto value = values.find(field.input); value != values.end())
            record->second[slot - 1] = static_cast<float>(rawValue(field, value->second));
    }
    std::string datagram = "DATA";
    datagram.push_back('*');
    for (const auto& [group, slots] : groups) {
        appendLittleEndian32(&datagram, static_cast<uint32_t>(group));
        for (const float value : slots) {
            uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            appendLittleEndian32(&datagram, bits);
        }
    }
    return datagram;
}

std::string jsonObject(const Mapping& mapping, const std::map<std::string, double>& values)
{
    std::string object = "{";
    for (const FieldMapping& field : mapping.fields) {
        const auto value = values.find(field.input);
        if (value == values.end())
            continue;
        if (object.size() > 1)
            object += ", ";
        object += jsonString(field.field) + ": " + numberText(rawValue(field, value->second));
    }
    return object + "}\n";
}

double destinationValue(const OutputMapping& out, double value) { return value * out.scale + out.offset; }

void appendFloat(std::string* out, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    appendLittleEndian32(out, bits);
}

std::string genericOutputLine(const Mapping& mapping, const std::map<std::string, double>& latest)
{
    std::map<int, double> positions;
    for (const OutputMapping& out : mapping.outputs) {
        const auto value = latest.find(out.output);
        positions[std::stoi(out.field)] = value == latest.end() ? 0.0 : destinationValue(out, value->second);
    }
    std::string line;
    const int last = positions.empty() ? 0 : positions.rbegin()->first;
    for (int position = 1; position <= last; ++position) {
        if (position > 1)
            line.push_back(mapping.separator);
        const auto value = positions.find(position);
        line += value == positions.end() ? "0" : numberText(value->second);
    }
    return line + "\n";
}

}  // namespace

std::vector<std::string> encodeOutputDatagrams(const Mapping& mapping, const std::map<std::string, double>& sent,
                                               const std::map<std::string, double>& latest)
{
    std::vector<std::string> datagrams;
    auto wasSent = [&](const OutputMapping& out) { return sent.count(out.output) != 0; };
    switch (mapping.format) {
    case WireFormat::Generic:
        if (std::any_of(mapping.outputs.begin(), mapping.outputs.end(), wasSent))
            datagrams.push_back(genericOutputLine(mapping, latest));
        break;
    case WireFormat::Mqtt:
        // A broker takes messages, not datagrams: nothing to send here.
        break;
    case WireFormat::XPlane:
        for (const OutputMapping& out : mapping.outputs) {
            if (!wasSent(out))
                continue;
            std::string datagram(out.command.empty() ? "DREF" : "CMND");
            datagram.push_back('\0');
            if (out.command.empty()) {
                appendFloat(&datagram, static_cast<float>(destinationValue(out, sent.at(out.output))));
                std::string path = out.field;
                path.resize(kXPlanePathBytes, '\0');
                datagram += path;
            } else {
                datagram += out.command;
            }
            datagrams.push_back(std::move(datagram));
        }
        break;
    case WireFormat::Json: {
        std::string object = "{";
        for (const OutputMapping& out : mapping.outputs) {
            if (!wasSent(out))
                continue;
            if (object.size() > 1)
                object += ", ";
            object += jsonString(out.field) + ": " + numberText(destinationValue(out, sent.at(out.output)));
        }
        if (object.size() > 1)
            datagrams.push_back(object + "}\n");
        break;
    }
    }
    return datagrams;
}

std::string encodeDatagram(const Mapping& mapping, const std::map<std::string, double>& values)
{
    switch (mapping.format) {
    case WireFormat::Generic:
        return genericLine(mapping, values);
    case WireFormat::XPlane:
        return xplaneDatagram(mapping, values);
    case WireFormat::Json:
    case WireFormat::Mqtt:
        break;
    }
    return jsonObject(mapping, values);
}

Mapping identityJsonMapping(const std::map<std::string, double>& values)
{
    Mapping mapping;
    mapping.format = WireFormat::Json;
    for (const auto& entry : values) {
        FieldMapping field;
        field.field = entry.first;
        field.input = entry.first;
        mapping.fields.push_back(field);
    }
    return mapping;
}

std::vector<std::pair<std::string, std::string>> encodeMqttMessages(const std::string& prefix, const Mapping& mapping,
                                                                    const std::map<std::string, double>& values)
{
    std::vector<std::pair<std::string, std::string>> messages;
    for (const FieldMapping& field : mapping.fields)
        if (const auto value = values.find(field.input); value != values.end())
            messages.emplace_back(prefix + "/" + field.field, numberText(rawValue(field, value->second)));
    return messages;
}

std::vector<std::pair<std::string, std::string>> encodeOutputMessages(const std::string& prefix, const Mapping& mapping,
                                                                      const std::map<std::string, double>& sent)
{
    std::vector<std::pair<std::string, std::string>> messages;
    if (mapping.outputs.empty()) {
        for (const auto& [name, value] : sent)
            messages.emplace_back(prefix + "/out/" + name, numberText(value));
        return messages;
    }
    for (const OutputMapping& out : mapping.outputs)
        if (const auto value = sent.find(out.output); value != sent.end() && !out.field.empty())
            messages.emplace_back(prefix + "/out/" + out.field, numberText(destinationValue(out, value->second)));
    return messages;
}
