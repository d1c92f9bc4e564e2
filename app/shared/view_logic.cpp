#include "view_logic.h"

#include "gr_display.h"

int CommandSampleCount(int id)
{
    switch (id) {
    case kCommandMultisamplingOff:
        return 0;
    case kCommandMultisampling2x:
        return 2;
    case kCommandMultisampling4x:
        return 4;
    case kCommandMultisampling8x:
        return 8;
    case kCommandMultisampling16x:
        return 16;
    case kCommandMultisamplingExact:
        return GR_EXACT_COVERAGE_SAMPLES;
    default:
        return -1;
    }
}

bool ViewCommandUi(int id, bool running, int samples, const PixelFormatTable& formats, CommandUi* ui)
{
    const int commandSamples = CommandSampleCount(id);
    if (commandSamples >= 0) {
        *ui = {!running && formats.IsSupported(commandSamples), samples == commandSamples};
        return true;
    }
    if (id == kCommandStart) {
        *ui = {!running, false};
        return true;
    }
    if (id == kCommandPause) {
        *ui = {running, false};
        return true;
    }
    return false;
}

bool ViewState::PrepareWithSamples(const PixelFormatTable& formats, int samples)
{
    if (!formats.IsSupported(samples))
        return false;
    samples_ = samples;
    return true;
}

bool ViewState::Execute(int id, const PixelFormatTable& formats, ViewWindow& window)
{
    CommandUi ui = {};
    if (!ViewCommandUi(id, running_, samples_, formats, &ui) || !ui.enabled)
        return false;
    if (id == kCommandStart) {
        // The first frame follows the first tick.
        window.StartTimer();
        running_ = true;
    } else if (id == kCommandPause) {
        // One more frame, without advancing the animated values.
        window.StopTimer();
        running_ = false;
        window.Invalidate();
    } else {
        ChangeSamples(CommandSampleCount(id), window);
    }
    return true;
}

// A view that cannot be made with the new count goes back to the previous
// one; if even that fails, nothing is left to show and the program closes.
void ViewState::ChangeSamples(int samples, ViewWindow& window)
{
    const int previous = samples_;
    window.DestroyWindow();
    samples_ = samples;
    if (!window.CreateWithSamples(samples_)) {
        samples_ = previous;
        const bool restored = window.CreateWithSamples(samples_);
        window.ReportRecreateFailure(samples, restored);
        if (!restored) {
            window.CloseProgram();
            return;
        }
    }
    window.Relayout();
}
