// The kiosk: one fullscreen window showing the display with the program's
// frame cycle (a 40 ms timer, one frame per tick while running, the shared
// view rules for start, pause and samples), driven by keys.
#pragma once

#include <memory>
#include <string>

#include "display_placement.h"
#include "frame_presenter.h"
#include "kiosk_options.h"
#include "view_logic.h"
#include "wayland_window.h"

// Exit statuses of the kiosk.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // no compositor, no usable GL, a lost connection
constexpr int kExitBadArguments = 2;  // a bad option, or a sample count the configurations lack

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
    void OnKey(uint32_t keysym) override;
    void OnClose() override { quit_ = true; }

private:
    bool ChooseSamples(int* status);
    // Places the display on a surface of width x height, saying once on
    // stderr when a fixed scale leaves part of it off the output.
    GrPlacement Place(int width, int height);
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
    // The frames shown so far: the animation's frame number.
    int frame_ = 0;
    bool dirty_ = true;
    bool quit_ = false;
    int status_ = kExitOk;
    // Set once the held frame is drawn, until the compositor has shown it.
    bool announceHold_ = false;
    std::string error_;
};
