#include "progress.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// A terminal is redrawn a few times a second; a log gets a line a second.
constexpr std::chrono::milliseconds kTerminalInterval{250};
constexpr std::chrono::milliseconds kLogInterval{1000};
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

std::string duration(double seconds)
{
    const long whole = std::lround(seconds);
    std::ostringstream text;
    if (whole >= kSecondsPerHour)
        text << whole / kSecondsPerHour << " h " << whole % kSecondsPerHour / kSecondsPerMinute << " min";
    else if (whole >= kSecondsPerMinute)
        text << whole / kSecondsPerMinute << " min " << whole % kSecondsPerMinute << " s";
    else
        text << whole << " s";
    return text.str();
}

std::string rate(int frames, double seconds)
{
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(1);
    text << (seconds > 0.0 ? frames / seconds : 0.0) << " frames/s";
    return text.str();
}

}  // namespace

std::string progressLine(int done, int total, double elapsedSeconds)
{
    std::string line = "frame " + std::to_string(done) + " of " + std::to_string(total) + ", " +
                       rate(done, elapsedSeconds);
    if (done > 0 && elapsedSeconds > 0.0)
        line += ", " + duration(elapsedSeconds / done * (total - done)) + " left";
    return line;
}

std::string progressSummary(int frames, double elapsedSeconds)
{
    std::ostringstream seconds;
    seconds.setf(std::ios::fixed);
    seconds.precision(1);
    seconds << elapsedSeconds;
    return std::to_string(frames) + (frames == 1 ? " frame" : " frames") + " in " + seconds.str() + " s, " +
           rate(frames, elapsedSeconds);
}

FrameProgress::FrameProgress(std::ostream& out, int total, bool inPlace)
    : out_(out), total_(total), inPlace_(inPlace), start_(Clock::now()), lastLine_(start_)
{
}

double FrameProgress::Elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

void FrameProgress::FrameDone(int done)
{
    const Clock::time_point now = Clock::now();
    if (now - lastLine_ < (inPlace_ ? kTerminalInterval : kLogInterval))
        return;
    lastLine_ = now;
    const std::string line = progressLine(done, total_, Elapsed());
    if (inPlace_) {
        // Spaces cover what a longer line before left behind.
        out_ << "\r" << line << std::string(lastLength_ > line.size() ? lastLength_ - line.size() : 0, ' ')
             << std::flush;
        lastLength_ = line.size();
    } else {
        out_ << line << "\n" << std::flush;
    }
}

void FrameProgress::Finish(int done)
{
    if (inPlace_ && lastLength_ > 0)
        out_ << "\r" << std::string(lastLength_, ' ') << "\r";
    out_ << progressSummary(done, Elapsed()) << "\n" << std::flush;
}

bool stderrIsTerminal()
{
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}
