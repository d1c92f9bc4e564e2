#include "frame_clock.h"

#include "view_logic.h"

void FrameClock::Start(double nowMs) { next_ = nowMs + kViewTimerPeriodMs; }

bool FrameClock::Tick(double nowMs)
{
    if (nowMs < next_)
        return false;
    next_ += kViewTimerPeriodMs;
    if (next_ <= nowMs)
        next_ = nowMs + kViewTimerPeriodMs;
    return true;
}
