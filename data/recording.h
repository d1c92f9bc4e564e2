// Recorded data: a CSV file with the header "time,input,value", a row per
// value received, time in seconds from the start of the recording and
// never going back.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct RecordedValue {
    double timeS;
    std::string input;
    double value;
};

constexpr const char* kRecordingHeader = "time,input,value";
// A recording holds no more rows than this.
constexpr size_t kMaxRecordedRows = 5000000;

// Parses a recording's text (of the file called fileName); false with
// "FILE:LINE: cause" in *error. Values are kept as written, NaN refused.
bool parseRecording(std::string_view text, const std::string& fileName, std::vector<RecordedValue>* rows,
                    std::string* error);

// Reads and parses the recording at path.
bool readRecording(const std::string& path, std::vector<RecordedValue>* rows, std::string* error);

// Writes what is received as a recording (--record FILE).
class Recorder {
public:
    Recorder() = default;
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates path and writes the header; false with "PATH: cause" in *error.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    void Write(double timeS, std::string_view input, double value);
    // Flushes and closes; false with "PATH: cause" when a write failed.
    bool Close(std::string* error);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};
