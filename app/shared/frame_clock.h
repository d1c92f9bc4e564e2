// The frame cycle of a host that is woken by the screen's refreshes instead
// of a timer (the browser's requestAnimationFrame): one frame per
// kViewTimerPeriodMs elapsed, never more than one per refresh.
#pragma once

class FrameClock {
public:
    // Starts the cycle at nowMs; the first frame falls one period later, as
    // the first tick of a timer does.
    void Start(double nowMs);
    // Whether a frame is due at the refresh at nowMs; a due frame moves the
    // cycle on by one period. Frames missed by more than a period (a hidden
    // page, a slow refresh) are dropped, not caught up.
    bool Tick(double nowMs);

private:
    double next_ = 0.0;
};
