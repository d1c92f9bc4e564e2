// Recorded data: a CSV file with the header "time,input,value", a row per
// value received: the time it arrived in seconds (a point, three decimals)
// from the first value's arrival, never going back; the input's name; the
// value as the display took it.
#pragma once

#include <chrono>
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
// A last row without its line break was cut as it was written (the
// recorder lost power or was killed): it is dropped whole, never read as a
// shorter number, with "FILE:LINE: ..." in *warning.
bool parseRecording(std::string_view text, const std::string& fileName, std::vector<RecordedValue>* rows,
                    std::string* error, std::string* warning = nullptr);

// Reads and parses the recording at path.
bool readRecording(const std::string& path, std::vector<RecordedValue>* rows, std::string* error,
                   std::string* warning = nullptr);

// Writes what is received as a recording (--record FILE): each row whole
// in one write handed to the system at once (a killed process loses
// nothing), and the file put on the disk at least once a second (a power
// cut loses at most the last second, and a cut row is recognised on
// reading).
class Recorder {
public:
    Recorder() = default;
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates path and writes the header; false with "PATH: cause" in *error.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    // timeS: when the value arrived, on any clock that does not go back;
    // the file counts from the first row's time.
    void Write(double timeS, std::string_view input, double value);
    // Called often (each frame): flushes to the disk what waits longer than
    // the interval, also when no row comes after it.
    void Tick();
    // Flushes and closes; false with "PATH: cause" when a write failed.
    bool Close(std::string* error);

private:
    using Clock = std::chrono::steady_clock;
    // At most this long between a row's write and its flush to the disk.
    static constexpr std::chrono::milliseconds kSyncInterval{1000};
    bool Sync();

    std::FILE* file_ = nullptr;
    std::string path_;
    bool started_ = false;
    double originS_ = 0.0;
    double lastS_ = 0.0;
    bool unsynced_ = false;
    bool failed_ = false;
    Clock::time_point syncedAt_;
};
