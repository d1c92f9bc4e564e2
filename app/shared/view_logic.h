// What the display view decides, whatever the toolkit: its commands'
// enabling and check marks, start and pause, and making the view again for
// another sample count, with what to do when that fails. The platform's
// view supplies the window side through ViewWindow.
#pragma once

#include "pixel_format_table.h"

// The program's own commands, the same numbers on every platform.
enum ViewCommandId {
    kCommandMultisamplingOff = 3000,
    kCommandMultisampling2x = 3001,
    kCommandMultisampling4x = 3002,
    kCommandMultisampling8x = 3003,
    kCommandMultisampling16x = 3004,
    kCommandStart = 3005,
    kCommandPause = 3006,
    kCommandMultisamplingExact = 3007,
};

// The frame timer: one frame per tick while running.
constexpr int kViewTimerId = 1;
constexpr int kViewTimerPeriodMs = 40;

// The sample count a multisampling command asks for; -1 for other ids.
int CommandSampleCount(int id);

struct CommandUi {
    bool enabled;
    bool checked;
};

// Enabling and check mark of one of the view's commands; false for ids that
// are not the view's.
bool ViewCommandUi(int id, bool running, int samples, const PixelFormatTable& formats, CommandUi* ui);

// The window side of the view, as the platform makes it.
class ViewWindow {
public:
    // Creates the view window with the context for samples; false leaves none.
    virtual bool CreateWithSamples(int samples) = 0;
    // Releases the context and destroys the window.
    virtual void DestroyWindow() = 0;
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    // Asks for one more paint, without erasing.
    virtual void Invalidate() = 0;
    // Lays the new window out between the bars, which sizes its viewport.
    virtual void Relayout() = 0;
    // Tells the user the new sample count failed: restored says whether the
    // previous one works again (if not, the program closes).
    virtual void ReportRecreateFailure(int samples, bool restored) = 0;
    virtual void CloseProgram() = 0;

protected:
    ~ViewWindow() = default;
};

// The view's running state and sample count, and what its commands do.
class ViewState {
public:
    // The sample count the view starts with: the table's default.
    void Prepare(const PixelFormatTable& formats) { samples_ = formats.DefaultSampleCount(); }
    // The view starts with samples instead; false, changing nothing, when the
    // table has no format for it.
    bool PrepareWithSamples(const PixelFormatTable& formats, int samples);

    int Samples() const { return samples_; }
    bool Running() const { return running_; }

    // Runs one of the view's commands; false for other ids and for commands
    // that are disabled now (a menu may still send them).
    bool Execute(int id, const PixelFormatTable& formats, ViewWindow& window);

private:
    void ChangeSamples(int samples, ViewWindow& window);

    int samples_ = 0;
    bool running_ = false;
};
