#include "recording.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "file_sync.h"
#include "mapping.h"
#include "number_text.h"
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
                    std::string* error, std::string* warning)
{
    rows->clear();
    if (warning)
        warning->clear();
    // A file system that lost power may pad the cut end with zero bytes.
    while (!text.empty() && text.back() == '\0')
        text.remove_suffix(1);
    std::string_view cut;
    if (const size_t lastBreak = text.rfind('\n'); !text.empty() && text.back() != '\n') {
        const size_t cutAt = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
        cut = text.substr(cutAt);
        text = text.substr(0, cutAt);
        // Blanks after the last row are no row.
        if (trimmed(cut).empty())
            cut = std::string_view();
    }
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
        *error = fileName + ": " + (cut.empty() ? "empty" : "cut short in its header") +
                 "; a recording starts with the header " + kRecordingHeader;
        return false;
    }
    if (!cut.empty() && warning)
        *warning = fileName + ":" + std::to_string(lineNumber + 1) +
                   ": the last row is cut short (no line break after it) and is left out; the recording "
                   "plays up to line " + std::to_string(lineNumber);
    return true;
}

bool readRecording(const std::string& path, std::vector<RecordedValue>* rows, std::string* error,
                   std::string* warning)
{
    std::string text;
    return readTextFile(path, &text, error) && parseRecording(text, path, rows, error, warning);
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
    started_ = false;
    failed_ = false;
    std::fprintf(file_, "%s\n", kRecordingHeader);
    unsynced_ = true;
    failed_ = !Sync();
    return true;
}

void Recorder::Write(double timeS, std::string_view input, double value)
{
    if (!file_)
        return;
    if (!started_) {
        started_ = true;
        originS_ = timeS;
        lastS_ = 0.0;
    }
    // A clock read on two threads may be a hair out of order: never back.
    lastS_ = std::max(lastS_, timeS - originS_);
    // One row, one write: the buffer reaches the file in whole rows.
    // A point whatever the locale.
    char number[32];
    std::string row;
    row.append(number, writeFixed(number, number + sizeof number, lastS_, 3));
    row += ',';
    row += input;
    row += ',';
    row.append(number, writeGeneral(number, number + sizeof number, value, 9));
    row += '\n';
    // Handed to the system at once: a killed process loses no row.
    failed_ = failed_ || std::fwrite(row.data(), 1, row.size(), file_) != row.size() || std::fflush(file_) != 0;
    unsynced_ = true;
    Tick();
}

void Recorder::Tick()
{
    if (file_ && unsynced_ && Clock::now() - syncedAt_ >= kSyncInterval)
        failed_ = !Sync() || failed_;
}

// Asks the system to put what it holds of the file on the disk.
bool Recorder::Sync()
{
    syncedAt_ = Clock::now();
    if (!unsynced_)
        return true;
    unsynced_ = false;
    return std::fflush(file_) == 0 && syncFileToDisk(file_);
}

bool Recorder::Close(std::string* error)
{
    if (!file_)
        return true;
    const bool synced = Sync();
    const bool failed = failed_ || !synced || std::ferror(file_) != 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed || !closed) {
        *error = path_ + ": writing the recording failed";
        return false;
    }
    return true;
}
