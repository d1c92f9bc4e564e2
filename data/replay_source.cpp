// A recording played back at its recorded times, optionally looping.
#include <algorithm>
#include <cmath>

#include "data_source.h"
#include "recording.h"

namespace {

class ReplaySource : public DataSource {
public:
    ReplaySource(std::string path, std::vector<RecordedValue> rows, bool loop, std::string warning)
        : path_(std::move(path)), rows_(std::move(rows)), loop_(loop)
    {
        if (!warning.empty())
            notices_.push_back(std::move(warning));
        // A loop lasts until the last row, and one frame more.
        constexpr double kLoopGapS = 0.04;
        period_ = rows_.empty() ? 0.0 : rows_.back().timeS + kLoopGapS;
    }

    void Poll(double nowMs, const ValueSink& sink) override
    {
        const double nowS = nowMs / 1000.0;
        while (!rows_.empty()) {
            if (next_ == rows_.size()) {
                if (!loop_)
                    return;
                next_ = 0;
                loopStartS_ += period_;
                // After a long pause, on to the loop that holds now, not through every one between.
                const double behind = std::floor((nowS - loopStartS_) / period_) - 1.0;
                if (behind > 0.0)
                    loopStartS_ += behind * period_;
            }
            const RecordedValue& row = rows_[next_];
            if (loopStartS_ + row.timeS > nowS)
                return;
            sink(row.input, row.value);
            ++next_;
        }
    }

    std::vector<std::string> Inputs() const override
    {
        std::vector<std::string> names;
        for (const RecordedValue& row : rows_)
            if (std::find(names.begin(), names.end(), row.input) == names.end())
                names.push_back(row.input);
        return names;
    }

    std::string Name() const override { return "replay " + path_ + (loop_ ? " (looping)" : ""); }

    void TakeNotices(std::vector<std::string>* out) override
    {
        for (std::string& notice : notices_)
            out->push_back(std::move(notice));
        notices_.clear();
    }

private:
    std::string path_;
    std::vector<RecordedValue> rows_;
    bool loop_;
    double period_ = 0.0;
    double loopStartS_ = 0.0;
    size_t next_ = 0;
    std::vector<std::string> notices_;
};

}  // namespace

std::unique_ptr<DataSource> openReplaySource(const SourceOption& wanted, std::string* error)
{
    std::vector<RecordedValue> rows;
    std::string warning;
    if (!readRecording(wanted.path, &rows, error, &warning))
        return nullptr;
    return std::make_unique<ReplaySource>(wanted.path, std::move(rows), wanted.loop, std::move(warning));
}
