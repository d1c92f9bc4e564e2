// The kiosk: one fullscreen window showing the display with the program's
// frame cycle (a 40 ms timer, one frame per tick while running, the shared
// view rules for start, pause and samples), driven by keys; the seat's
// pointer, touch screen and keys reach a display that takes events.
#pragma once

#include <signal.h>

#include <memory>
#include <string>
#include <vector>

#include "display_placement.h"
#include "frame_presenter.h"
#include "kiosk_options.h"
#include "surface_input.h"
#include "view_logic.h"
#include "wayland_window.h"

// Exit statuses of the kiosk.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // no compositor, no usable GL, a lost connection
constexpr int kExitBadArguments = 2;  // a bad option, or a sample count the configurations lack

// Blocks SIGTERM and SIGINT in the calling thread and the threads it starts
// from now on, for the view to read them; false when the system refused.
bool blockStopSignals(sigset_t* stopSignals);

class KioskView : public ViewWindow, public WindowEvents {
public:
    explicit KioskView(const KioskOptions& options);
    ~KioskView();

    // Opens the window and runs until the user quits or the compositor goes:
    // the exit status, with what failed said on stderr.
    int Run();

    // ViewWindow
    bool CreateWithSamples(int samples) override;
    void DestroyWindow() override;
    void StartTimer() override;
    void StopTimer() override;
    void Invalidate() override { dirty_ = true; }
    void Relayout() override;
    void ReportRecreateFailure(int samples, bool restored) override;
    void CloseProgram() override;

    // Where the display lies on the surface now: for mapping a pointer's
    // position to display units.
    const ViewPlacement& Placement() const { return placed_; }

    // WindowEvents
    void OnResize(int width, int height) override;
    void OnKey(uint32_t keysym, bool pressed) override;
    void OnClose() override { quit_ = true; }

private:
    bool ChooseSamples(int* status);
    // Makes the presenter the options ask for; with --renderer auto the
    // processor's where EGL is missing, saying so on stderr.
    bool MakePresenter();
    // --renderer auto on a GL that is a software rasteriser: the processor
    // draws instead. False when it cannot (the reason is on stderr).
    bool LeaveSoftwareGl(int* status);
    // Places the display on a surface of width x height, saying once on
    // stderr when a fixed scale leaves part of it off the output.
    GrPlacement Place(int width, int height);
    // Feeds the inputs before each frame and draws the data state over it:
    // for every presenter made, the automatic choice may make a second.
    void HookDataFeed();
    // Queues an event for the display and paints to deliver it.
    void QueueEvent(const GrEvent& event);
    // The kiosk's command for a key of the display's list, if it has one.
    void RunKeyCommand(int32_t key);
    // Starts repeating the display's key just pressed, or stops (key 0).
    void RepeatKey(int32_t key);
    void Paint();
    // Waits for the compositor or the timer; false when the connection is lost.
    bool Wait();

    KioskOptions options_;
    WaylandWindow window_;
    std::unique_ptr<FramePresenter> presenter_;
    DisplayPlacement placement_;
    ViewPlacement placed_;
    bool croppingTold_ = false;
    ViewState state_;
    int timer_ = -1;
    int signals_ = -1;  // SIGTERM and SIGINT, read as events
    // The display's key held down repeats on this timer; 0: none held.
    int repeat_ = -1;
    int32_t repeatKey_ = 0;
    // The frames shown so far: the animation's frame number.
    int frame_ = 0;
    bool dirty_ = true;
    bool quit_ = false;
    bool showDataState_ = false;  // key D
    SurfaceInput input_;
    // Keys the display left unused at the last delivery: the kiosk's own
    // commands run for them once the frame is drawn.
    std::vector<int32_t> unusedKeys_;
    int status_ = kExitOk;
    // Set once the held frame is drawn, until the compositor has shown it.
    bool announceHold_ = false;
    std::string error_;
};
