// FlightGear's generic protocol output: separated values, one record a line.
#include <array>
#include <cstdio>
#include <utility>

#include "wire_formats.h"

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Splits line at separator into values; false when a field is no number.
bool readLine(std::string_view line, char separator, std::array<double, kMaxGenericFields>* values, int* count)
{
    *count = 0;
    for (;;) {
        const size_t end = line.find(separator);
        const std::string_view field = trimmed(line.substr(0, end));
        if (*count == kMaxGenericFields || !parseWireNumber(field, &(*values)[*count]))
            return false;
        ++*count;
        if (end == std::string_view::npos)
            return true;
        line.remove_prefix(end + 1);
    }
}

}  // namespace

void parseGenericLines(std::string_view bytes, char separator, const FieldSink& sink, ParseCounts* counts,
                       int* fieldCount)
{
    std::array<double, kMaxGenericFields> values;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        // A space or tab separator must survive the trim of a whole line.
        const bool blankSeparated = separator == ' ' || separator == '\t';
        if ((blankSeparated ? line.find_first_not_of(" \t\r") == std::string_view::npos : trimmed(line).empty()))
            continue;
        ++counts->units;
        int count = 0;
        if (!readLine(blankSeparated ? trimmed(line) : line, separator, &values, &count)) {
            ++counts->malformed;
            continue;
        }
        if (fieldCount && *fieldCount == 0)
            *fieldCount = count;
        if (fieldCount && count != *fieldCount) {
            ++counts->malformed;
            ++counts->wrongFieldCount;
            counts->lastWrongFieldCount = count;
            continue;
        }
        char key[8];
        for (int i = 0; i < count; ++i) {
            const int length = std::snprintf(key, sizeof key, "%d", i + 1);
            sink(std::string_view(key, static_cast<size_t>(length)), values[i]);
        }
    }
}
