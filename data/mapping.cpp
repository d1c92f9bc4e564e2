#include "mapping.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r'))
            ++at;
        const size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r')
            ++at;
        if (at > start)
            out.push_back(line.substr(start, at - start));
    }
    return out;
}

// text in quotes, for messages.
std::string quotedText(std::string_view text)
{
    std::string out(1, '"');
    out.append(text);
    out.push_back('"');
    return out;
}

bool validInputName(std::string_view name)
{
    if (name.empty())
        return false;
    for (const char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.'))
            return false;
    return true;
}

bool validField(WireFormat format, std::string_view field)
{
    double number = 0.0;
    switch (format) {
    case WireFormat::Generic:
        return field.find_first_not_of("0123456789") == std::string_view::npos && parseWireNumber(field, &number) &&
               number >= 1.0;
    case WireFormat::XPlane: {
        const size_t dot = field.find('.');
        double slot = 0.0;
        return dot != std::string_view::npos &&
               field.find_first_not_of("0123456789.") == std::string_view::npos &&
               parseWireNumber(field.substr(0, dot), &number) && parseWireNumber(field.substr(dot + 1), &slot) &&
               slot >= 1.0 && slot <= 8.0 && field.find('.', dot + 1) == std::string_view::npos;
    }
    case WireFormat::Json:
        return true;
    case WireFormat::Mqtt:
        // One topic level: no separator, no wildcard.
        return field.find_first_of("/+#") == std::string_view::npos;
    }
    return false;
}

// An output's field: a position, a dataref path, or a JSON name that needs
// no escaping.
bool validOutputField(WireFormat format, std::string_view field)
{
    double number = 0.0;
    switch (format) {
    case WireFormat::Generic:
        return field.find_first_not_of("0123456789") == std::string_view::npos && parseWireNumber(field, &number) &&
               number >= 1.0 && number <= kMaxOutputPosition;
    case WireFormat::XPlane:
    case WireFormat::Json:
    case WireFormat::Mqtt:
        if (field.empty() || field.size() >= kXPlanePathBytes)
            return false;
        for (const char c : field)
            if (c <= ' ' || c > '~' || c == '"' || c == '\\')
                return false;
        // A topic level under PREFIX/out: no level separator, no wildcard.
        return format != WireFormat::Mqtt || field.find_first_of("/+#") == std::string_view::npos;
    }
    return false;
}

bool parseSeparator(std::string_view word, char* separator)
{
    if (word == "tab")
        *separator = '\t';
    else if (word == "space")
        *separator = ' ';
    else if (word.size() == 1 && word[0] != '\n')
        *separator = word[0];
    else
        return false;
    return true;
}

}  // namespace

bool parseMapping(std::string_view text, const std::string& fileName, Mapping* mapping, std::string* error)
{
    *mapping = Mapping();
    // Windows editors start UTF-8 files with a byte-order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    bool formatGiven = false;
    int fieldCountLine = 0;
    int lineNumber = 0;
    auto fail = [&](const std::string& cause) {
        *error = fileName + ":" + std::to_string(lineNumber) + ": " + cause;
        return false;
    };
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (static_cast<size_t>(lineNumber) > kMaxMappingLines)
            return fail("more than " + std::to_string(kMaxMappingLines) + " lines");
        if (const size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const std::vector<std::string_view> w = words(line);
        if (w.empty())
            continue;
        if (w[0] == "format") {
            if (w.size() != 2 || !parseWireFormat(w[1], &mapping->format))
                return fail("format takes generic, xplane, json or mqtt");
            if (!mapping->fields.empty() || !mapping->outputs.empty())
                return fail("format must come before the fields");
            formatGiven = true;
            continue;
        }
        if (w[0] == "separator") {
            if (w.size() != 2 || !parseSeparator(w[1], &mapping->separator))
                return fail("separator takes one character, tab or space");
            continue;
        }
        if (!formatGiven)
            return fail("the first statement must be the format (format generic, xplane or json)");
        if (w[0] == "fields") {
            double count = 0.0;
            if (mapping->format != WireFormat::Generic)
                return fail("fields is for the generic format only");
            if (w.size() != 2 || w[1].find_first_not_of("0123456789") != std::string_view::npos ||
                !parseWireNumber(w[1], &count) || count < 1.0 || count > kMaxGenericFields)
                return fail("fields takes the number of fields a line holds, 1 to " +
                            std::to_string(kMaxGenericFields));
            mapping->fieldCount = static_cast<int>(count);
            fieldCountLine = lineNumber;
            continue;
        }
        if (w[0] == "output") {
            OutputMapping out;
            out.line = lineNumber;
            if (w.size() == 4 && w[1] == "command") {
                if (mapping->format != WireFormat::XPlane)
                    return fail("output command is for the xplane format only");
                if (!validOutputField(WireFormat::XPlane, w[2]))
                    return fail(quotedText(w[2]) + " is not an X-Plane command (printable, no spaces, under " +
                                std::to_string(kXPlanePathBytes) + " bytes)");
                out.command = w[2];
                out.output = w[3];
            } else {
                if (w.size() < 3 || w.size() % 2 != 1)
                    return fail("expected output FIELD OUTPUT [scale S] [offset O] or output command COMMAND OUTPUT");
                if (!validOutputField(mapping->format, w[1]))
                    return fail(quotedText(w[1]) + " is not an output field of the " +
                                wireFormatName(mapping->format) + " format (" +
                                (mapping->format == WireFormat::Generic
                                     ? "a position from 1 to " + std::to_string(kMaxOutputPosition)
                                 : mapping->format == WireFormat::XPlane
                                     ? std::string("a dataref path")
                                     : std::string("a name without quotes or backslashes")) +
                                ")");
                out.field = w[1];
                out.output = w[2];
                for (size_t i = 3; i < w.size(); i += 2) {
                    double number = 0.0;
                    if ((w[i] != "scale" && w[i] != "offset") || !parseWireNumber(w[i + 1], &number) ||
                        !std::isfinite(number))
                        return fail("expected scale NUMBER or offset NUMBER, not \"" + std::string(w[i]) + " " +
                                    std::string(w[i + 1]) + "\"");
                    (w[i] == "scale" ? out.scale : out.offset) = number;
                }
                for (const OutputMapping& other : mapping->outputs)
                    if (!other.field.empty() && other.field == out.field)
                        return fail("output field " + out.field + " is mapped twice (first on line " +
                                    std::to_string(other.line) + ")");
            }
            if (!validInputName(out.output))
                return fail(quotedText(out.output) + " is not an output name (lower-case letters, digits, _ and .)");
            mapping->outputs.push_back(std::move(out));
            continue;
        }
        FieldMapping field;
        field.line = lineNumber;
        if (w.size() < 2 || w.size() % 2 != 0)
            return fail("expected FIELD INPUT [scale S] [offset O]");
        if (!validField(mapping->format, w[0]))
            return fail(quotedText(w[0]) + " is not a field of the " +
                        wireFormatName(mapping->format) + " format (" +
                        (mapping->format == WireFormat::Generic  ? "a position from 1"
                         : mapping->format == WireFormat::XPlane ? "GROUP.SLOT, slot 1 to 8"
                         : mapping->format == WireFormat::Mqtt   ? "a topic level, without / + #"
                                                                 : "a name") +
                        ")");
        if (!validInputName(w[1]))
            return fail(quotedText(w[1]) + " is not an input name (lower-case letters, digits, _ and .)");
        field.field = w[0];
        field.input = w[1];
        for (size_t i = 2; i < w.size(); i += 2) {
            double number = 0.0;
            if ((w[i] != "scale" && w[i] != "offset") || !parseWireNumber(w[i + 1], &number) ||
                !std::isfinite(number))
                return fail("expected scale NUMBER or offset NUMBER, not \"" + std::string(w[i]) + " " +
                            std::string(w[i + 1]) + "\"");
            (w[i] == "scale" ? field.scale : field.offset) = number;
        }
        if (field.scale == 0.0)
            return fail("scale 0 would feed " + field.input + " its offset whatever field " + field.field +
                        " holds");
        for (const FieldMapping& other : mapping->fields) {
            if (other.field == field.field)
                return fail("field " + field.field + " is mapped twice (first on line " +
                            std::to_string(other.line) + ")");
            if (other.input == field.input)
                return fail("input " + field.input + " is fed by field " + other.field + " on line " +
                            std::to_string(other.line) + " already; an input takes one field");
        }
        mapping->fields.push_back(std::move(field));
    }
    if (mapping->fields.empty() && mapping->outputs.empty()) {
        *error = fileName + ": maps no field";
        return false;
    }
    if (mapping->fieldCount > 0)
        for (const FieldMapping& field : mapping->fields) {
            double position = 0.0;
            parseWireNumber(field.field, &position);
            if (position > mapping->fieldCount) {
                lineNumber = field.line;
                return fail("field " + field.field + " is beyond the " + std::to_string(mapping->fieldCount) +
                            " fields a line holds (fields on line " + std::to_string(fieldCountLine) + ")");
            }
        }
    return true;
}

bool readTextFile(const std::string& path, std::string* text, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    if (text->size() > kMaxDataFileSize) {
        *error = path + ": larger than " + std::to_string(kMaxDataFileSize >> 20) + " MiB";
        return false;
    }
    return true;
}

std::vector<std::string> mappedOutputNames(const Mapping& mapping)
{
    std::vector<std::string> names;
    for (const OutputMapping& out : mapping.outputs)
        names.push_back(out.output);
    return names;
}

bool readMapping(const std::string& path, Mapping* mapping, std::string* error)
{
    std::string text;
    return readTextFile(path, &text, error) && parseMapping(text, path, mapping, error);
}

int inputIndex(std::vector<std::string>* inputs, const std::string& name)
{
    const auto found = std::find(inputs->begin(), inputs->end(), name);
    if (found != inputs->end())
        return static_cast<int>(found - inputs->begin());
    inputs->push_back(name);
    return static_cast<int>(inputs->size()) - 1;
}
