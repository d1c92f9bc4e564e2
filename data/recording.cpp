#include "recording.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "mapping.h"
#include "wire_formats.h"

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

bool parseRecording(std::string_view text, const std::string& fileName, std::vector<RecordedValue>* rows,
                    std::string* error)
{
    rows->clear();
    int lineNumber = 0;
    auto fail = [&](const std::string& cause) {
        *error = fileName + ":" + std::to_string(lineNumber) + ": " + cause;
        rows->clear();
        return false;
    };
    bool headerSeen = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty())
            continue;
        if (!headerSeen) {
            if (line != kRecordingHeader)
                return fail(std::string("the first line must be the header ") + kRecordingHeader);
            headerSeen = true;
            continue;
        }
        if (rows->size() == kMaxRecordedRows)
            return fail("more than " + std::to_string(kMaxRecordedRows) + " rows");
        const size_t first = line.find(',');
        const size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
        if (second == std::string_view::npos || line.find(',', second + 1) != std::string_view::npos)
            return fail("expected time,input,value");
        RecordedValue row;
        const std::string_view input = trimmed(line.substr(first + 1, second - first - 1));
        if (!parseWireNumber(trimmed(line.substr(0, first)), &row.timeS) || !std::isfinite(row.timeS) ||
            row.timeS < 0.0)
            return fail("the time is not a number of seconds from 0");
        if (!rows->empty() && row.timeS < rows->back().timeS)
            return fail("the time goes back");
        if (input.empty())
            return fail("the input name is empty");
        if (!parseWireNumber(trimmed(line.substr(second + 1)), &row.value) || std::isnan(row.value))
            return fail("the value is not a number");
        row.input = input;
        rows->push_back(std::move(row));
    }
    if (!headerSeen) {
        *error = fileName + ": empty; a recording starts with the header " + kRecordingHeader;
        return false;
    }
    return true;
}

bool readRecording(const std::string& path, std::vector<RecordedValue>* rows, std::string* error)
{
    std::string text;
    return readTextFile(path, &text, error) && parseRecording(text, path, rows, error);
}

Recorder::~Recorder()
{
    std::string ignored;
    Close(&ignored);
}

bool Recorder::Open(const std::string& path, std::string* error)
{
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        *error = path + ": cannot create the recording: " + std::strerror(errno);
        return false;
    }
    path_ = path;
    std::fprintf(file_, "%s\n", kRecordingHeader);
    return true;
}

void Recorder::Write(double timeS, std::string_view input, double value)
{
    if (!file_)
        return;
    // to_chars writes a point whatever the locale.
    char time[32];
    char number[32];
    const char* timeEnd = std::to_chars(time, time + sizeof time, timeS, std::chars_format::fixed, 3).ptr;
    const char* numberEnd = std::to_chars(number, number + sizeof number, value, std::chars_format::general, 9).ptr;
    std::fprintf(file_, "%.*s,%.*s,%.*s\n", static_cast<int>(timeEnd - time), time, static_cast<int>(input.size()),
                 input.data(), static_cast<int>(numberEnd - number), number);
}

bool Recorder::Close(std::string* error)
{
    if (!file_)
        return true;
    const bool failed = std::ferror(file_) != 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed || !closed) {
        *error = path_ + ": writing the recording failed";
        return false;
    }
    return true;
}
