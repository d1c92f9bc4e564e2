#include "kiosk_view.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cerrno>
#include <cstdint>
#include <iostream>

#include "display_module.h"
#include "display_option.h"
#include "display_renderer.h"
#include "egl_presenter.h"
#include "shm_presenter.h"

namespace {

constexpr const char* kProgram = "instrument-panel-kiosk";
constexpr const char* kTitle = "instrument-panel";
constexpr long kNanosecondsPerMillisecond = 1000000;

// The view command of a key, or 0 for keys that are none.
int commandOfKey(uint32_t keysym, bool running)
{
    switch (keysym) {
    case XKB_KEY_space:
        return running ? kCommandPause : kCommandStart;
    case XKB_KEY_s:
    case XKB_KEY_S:
        return kCommandStart;
    case XKB_KEY_p:
    case XKB_KEY_P:
        return kCommandPause;
    case XKB_KEY_0:
        return kCommandMultisamplingOff;
    case XKB_KEY_2:
        return kCommandMultisampling2x;
    case XKB_KEY_4:
        return kCommandMultisampling4x;
    case XKB_KEY_8:
        return kCommandMultisampling8x;
    default:
        return 0;
    }
}

bool isQuitKey(uint32_t keysym)
{
    return keysym == XKB_KEY_Escape || keysym == XKB_KEY_q || keysym == XKB_KEY_Q;
}

}  // namespace

KioskView::KioskView(const KioskOptions& options) : options_(options), window_(*this) {}

KioskView::~KioskView()
{
    // The GL goes before the surface it draws on.
    presenter_.reset();
    if (timer_ >= 0)
        close(timer_);
    if (signals_ >= 0)
        close(signals_);
}

int KioskView::Run()
{
    const GrDisplay* display = selectedDisplay().descriptor;
    placement_ = DisplayPlacement(display->width, display->height, kDisplayMargin, options_.placement);
    int width = 0, height = 0;
    placement_.NaturalViewSize(&width, &height);
    if (!window_.Open(titleShowingDisplay(kTitle, display), width, height, options_.output, &error_)) {
        std::cerr << kProgram << ": " << error_ << "\n";
        return kExitFailure;
    }
    if (options_.cpu)
        presenter_ = std::make_unique<ShmPresenter>(window_.Display(), window_.Surface(), window_.SharedMemory());
    else
        presenter_ = std::make_unique<EglPresenter>(window_.Display(), window_.Surface(), options_.gl, options_.glKind);
    presenter_->SetPlacement([this](int w, int h) { return Place(w, h); });
    if (!presenter_->Prepare(&error_)) {
        std::cerr << kProgram << ": " << error_ << "\n";
        return kExitFailure;
    }
    int status = kExitOk;
    if (!ChooseSamples(&status))
        return status;
    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    // A service manager stops the kiosk with SIGTERM: it ends like a quit key.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    if (sigprocmask(SIG_BLOCK, &stopSignals, nullptr) == 0)
        signals_ = signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (timer_ < 0 || signals_ < 0) {
        std::cerr << kProgram << ": cannot create the frame timer and the stop-signal reader\n";
        return kExitFailure;
    }
    if (!CreateWithSamples(state_.Samples())) {
        if (!error_.empty())
            std::cerr << kProgram << ": " << error_ << "\n";
        return kExitFailure;
    }
    state_.Execute(kCommandStart, presenter_->Formats(), *this);
    while (!quit_) {
        if (dirty_)
            Paint();
        if (!Wait()) {
            std::cerr << kProgram << ": the connection to the Wayland compositor is lost\n";
            return kExitFailure;
        }
    }
    return status_;
}

bool KioskView::ChooseSamples(int* status)
{
    const PixelFormatTable& formats = presenter_->Formats();
    if (options_.samples < 0) {
        state_.Prepare(formats);
        return true;
    }
    if (state_.PrepareWithSamples(formats, options_.samples))
        return true;
    std::cerr << kProgram << ": no pixel format with " << options_.samples << " samples; available:";
    for (const PixelFormatEntry& entry : formats.Entries())
        std::cerr << " " << entry.samples;
    std::cerr << "\n";
    *status = kExitBadArguments;
    return false;
}

GrPlacement KioskView::Place(int width, int height)
{
    placed_ = placement_.Place(width, height);
    if (placed_.Cropped() && !croppingTold_) {
        croppingTold_ = true;
        int naturalWidth = 0, naturalHeight = 0;
        placement_.NaturalViewSize(&naturalWidth, &naturalHeight);
        std::cerr << kProgram << ": the display needs " << naturalWidth << "x" << naturalHeight
                  << " pixels at this scale, the output has " << width << "x" << height
                  << ": its edges are cut off (--scale fit shows it whole)\n";
    }
    return placed_.Gr();
}

void KioskView::Paint()
{
    dirty_ = false;
    const bool running = state_.Running();
    if (frame_ == 0 || running)
        ++frame_;
    const bool hold = running && frame_ == options_.holdFrame;
    if (hold)
        window_.RequestShownNotice();
    presenter_->Present(running);
    if (hold) {
        // The held frame is the one just drawn: pausing needs no paint of
        // its own, and the compositor's notice says the frame is on screen.
        state_.Execute(kCommandPause, presenter_->Formats(), *this);
        dirty_ = false;
        announceHold_ = true;
    }
}

bool KioskView::Wait()
{
    if (!window_.PrepareToWait())
        return false;
    if (announceHold_ && window_.Shown()) {
        announceHold_ = false;
        std::cout << kProgram << ": holding frame " << frame_ << std::endl;
    }
    if (dirty_ || quit_)
        return window_.FinishWait(false);
    pollfd descriptors[] = {{window_.FileDescriptor(), POLLIN, 0}, {timer_, POLLIN, 0}, {signals_, POLLIN, 0}};
    if (poll(descriptors, 3, -1) < 0) {
        const bool interrupted = errno == EINTR;
        return window_.FinishWait(false) && interrupted;
    }
    if (descriptors[0].revents & (POLLERR | POLLHUP)) {
        window_.FinishWait(false);
        return false;
    }
    if (!window_.FinishWait(descriptors[0].revents & POLLIN))
        return false;
    if (descriptors[1].revents & POLLIN) {
        // Ticks during a slow frame merge into one paint: the animation
        // counts frames, not time.
        uint64_t expirations = 0;
        if (read(timer_, &expirations, sizeof expirations) == sizeof expirations)
            dirty_ = true;
    }
    if (descriptors[2].revents & POLLIN)
        quit_ = true;
    return true;
}

bool KioskView::CreateWithSamples(int samples)
{
    error_.clear();
    if (!presenter_->Start(samples, window_.Width(), window_.Height(), &error_))
        return false;
    dirty_ = true;
    return true;
}

void KioskView::DestroyWindow() { presenter_->Stop(); }

void KioskView::StartTimer()
{
    const timespec period = {0, kViewTimerPeriodMs * kNanosecondsPerMillisecond};
    const itimerspec setting = {period, period};
    timerfd_settime(timer_, 0, &setting, nullptr);
}

void KioskView::StopTimer()
{
    const itimerspec disarmed = {};
    timerfd_settime(timer_, 0, &disarmed, nullptr);
}

void KioskView::Relayout()
{
    presenter_->Resize(window_.Width(), window_.Height());
    dirty_ = true;
}

void KioskView::ReportRecreateFailure(int samples, bool restored)
{
    std::cerr << kProgram << ": cannot draw with " << samples << " samples"
              << (error_.empty() ? std::string() : " (" + error_ + ")")
              << (restored ? "; the previous samples are kept\n" : "; nothing is left to draw with\n");
}

void KioskView::CloseProgram()
{
    quit_ = true;
    status_ = kExitFailure;
}

void KioskView::OnResize(int width, int height)
{
    if (presenter_ && presenter_->Started())
        presenter_->Resize(width, height);
    dirty_ = true;
}

void KioskView::OnKey(uint32_t keysym)
{
    if (isQuitKey(keysym)) {
        quit_ = true;
        return;
    }
    if (const int command = commandOfKey(keysym, state_.Running()); command && presenter_)
        state_.Execute(command, presenter_->Formats(), *this);
}
