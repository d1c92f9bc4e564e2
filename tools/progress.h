// Progress of long runs on stderr: a line per interval (rewritten in place
// on a terminal) and a summary at the end.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

// "frame 1200 of 100000, 480 frames/s, 3 min 26 s left": done of total
// frames after elapsed seconds.
std::string progressLine(int done, int total, double elapsedSeconds);

// "100000 frames in 208.3 s, 480 frames/s".
std::string progressSummary(int frames, double elapsedSeconds);

class FrameProgress {
public:
    // inPlace: the stream is a terminal, where each line replaces the last.
    FrameProgress(std::ostream& out, int total, bool inPlace);
    // Called after each frame; writes a line once an interval has passed.
    void FrameDone(int done);
    // Ends the line in place and writes the summary.
    void Finish(int done);

private:
    using Clock = std::chrono::steady_clock;
    double Elapsed() const;

    std::ostream& out_;
    int total_;
    bool inPlace_;
    Clock::time_point start_;
    Clock::time_point lastLine_;
    size_t lastLength_ = 0;
};

// Whether standard error is a terminal (a person watching).
bool stderrIsTerminal();
