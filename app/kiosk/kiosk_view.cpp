#include "kiosk_view.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cerrno>
#include <cstdint>
#include <iostream>

#include "data_option.h"
#include "data_overlay.h"
#include "display_module.h"
#include "display_option.h"
#include "display_renderer.h"
#include "egl_presenter.h"
#include "gl_renderer_kind.h"
#include "shm_presenter.h"

namespace {

constexpr const char* kProgram = "instrument-panel-kiosk";
constexpr const char* kTitle = "instrument-panel";
constexpr long kNanosecondsPerMillisecond = 1000000;

// The view command of a key of the display's list, or 0 for keys that are
// none.
int commandOfKey(int32_t key, bool running)
{
    switch (key) {
    case GR_KEY_SPACE:
        return running ? kCommandPause : kCommandStart;
    case 'S':
        return kCommandStart;
    case 'P':
        return kCommandPause;
    case '0':
        return kCommandMultisamplingOff;
    case '2':
        return kCommandMultisampling2x;
    case '4':
        return kCommandMultisampling4x;
    case '8':
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

bool blockStopSignals(sigset_t* stopSignals)
{
    sigemptyset(stopSignals);
    sigaddset(stopSignals, SIGTERM);
    sigaddset(stopSignals, SIGINT);
    return pthread_sigmask(SIG_BLOCK, stopSignals, nullptr) == 0;
}

KioskView::KioskView(const KioskOptions& options)
    : options_(options),
      window_(*this),
      input_([this](const GrEvent& event) { QueueEvent(event); }, [this]() -> const ViewPlacement& { return placed_; })
{
    window_.SetInput(&input_);
}

KioskView::~KioskView()
{
    // The GL goes before the surface it draws on.
    presenter_.reset();
    if (timer_ >= 0)
        close(timer_);
    if (signals_ >= 0)
        close(signals_);
    if (repeat_ >= 0)
        close(repeat_);
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
    if (!MakePresenter())
        return kExitFailure;
    int status = kExitOk;
    if (!ChooseSamples(&status))
        return status;
    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    repeat_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    // A service manager stops the kiosk with SIGTERM: it ends like a quit key.
    sigset_t stopSignals;
    if (blockStopSignals(&stopSignals))
        signals_ = signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (timer_ < 0 || signals_ < 0 || repeat_ < 0) {
        std::cerr << kProgram << ": cannot create the frame timer and the stop-signal reader\n";
        return kExitFailure;
    }
    if (!CreateWithSamples(state_.Samples())) {
        if (!error_.empty())
            std::cerr << kProgram << ": " << error_ << "\n";
        return kExitFailure;
    }
    if (!LeaveSoftwareGl(&status))
        return status;
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

void KioskView::HookDataFeed()
{
    DisplayRenderer& renderer = presenter_->Renderer();
    renderer.SetBeforeUpdate([] {
        DataFeed& feed = programFeed();
        feed.BeforeUpdate(programFeedClockMs());
        for (const std::string& notice : feed.TakeNotices())
            std::cerr << kProgram << ": " << notice << "\n";
    });
    renderer.SetAfterModel([] { programOutputs().AfterModel(); });
    renderer.SetUnusedEvent([this](const GrEvent& event) {
        if (event.type == GR_EVENT_KEY_DOWN)
            unusedKeys_.push_back(event.key);
    });
    renderer.SetAfterDraw([this, &renderer] {
        const DataFeed& feed = programFeed();
        if (feed.Attached() && (showDataState_ || feed.Waiting()))
            drawDataOverlay(feed.Status(), *renderer.Display().descriptor, renderer.Width(), renderer.Height());
    });
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

bool KioskView::MakePresenter()
{
    const auto useProcessor = [this] {
        presenter_ = std::make_unique<ShmPresenter>(window_.Display(), window_.Surface(), window_.SharedMemory());
    };
    if (options_.cpu)
        useProcessor();
    else
        presenter_ = std::make_unique<EglPresenter>(window_.Display(), window_.Surface(), options_.gl, options_.glKind);
    presenter_->SetPlacement([this](int w, int h) { return Place(w, h); });
    if (presenter_->Prepare(&error_)) {
        HookDataFeed();
        return true;
    }
    if (options_.cpu || !options_.autoRenderer) {
        std::cerr << kProgram << ": " << error_ << "\n";
        return false;
    }
    std::cerr << kProgram << ": drawing on the processor: no usable GL (" << error_ << ")\n";
    useProcessor();
    presenter_->SetPlacement([this](int w, int h) { return Place(w, h); });
    options_.cpu = true;
    if (presenter_->Prepare(&error_)) {
        HookDataFeed();
        return true;
    }
    std::cerr << kProgram << ": " << error_ << "\n";
    return false;
}

bool KioskView::LeaveSoftwareGl(int* status)
{
    if (options_.cpu || !options_.autoRenderer)
        return true;
    const std::string name = presenter_->GlName();
    if (!isSoftwareRasteriser(name)) {
        std::cerr << kProgram << ": drawing through the GL (" << name << ")\n";
        return true;
    }
    std::cerr << kProgram << ": drawing on the processor: the GL is a software rasteriser (" << name
              << ") and draws slower\n";
    presenter_->Stop();
    options_.cpu = true;
    if (!MakePresenter() || !ChooseSamples(status))
        return false;
    if (CreateWithSamples(state_.Samples()))
        return true;
    if (!error_.empty())
        std::cerr << kProgram << ": " << error_ << "\n";
    *status = kExitFailure;
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
    std::vector<int32_t> keys;
    keys.swap(unusedKeys_);
    for (const int32_t key : keys)
        RunKeyCommand(key);
}

void KioskView::QueueEvent(const GrEvent& event)
{
    if (!presenter_ || !presenter_->Renderer().TakesEvents())
        return;
    presenter_->Renderer().QueueEvent(event);
    dirty_ = true;
}

void KioskView::RepeatKey(int32_t key)
{
    repeatKey_ = window_.RepeatRate() > 0 ? key : 0;
    itimerspec setting = {};
    if (repeatKey_) {
        const long periodNs = 1000000000L / window_.RepeatRate();
        const long delayMs = window_.RepeatDelayMs() > 0 ? window_.RepeatDelayMs() : 1;
        setting.it_interval = {periodNs / 1000000000L, periodNs % 1000000000L};
        setting.it_value = {delayMs / 1000, (delayMs % 1000) * kNanosecondsPerMillisecond};
    }
    timerfd_settime(repeat_, 0, &setting, nullptr);
}

void KioskView::RunKeyCommand(int32_t key)
{
    if (const int command = commandOfKey(key, state_.Running()); command && presenter_)
        state_.Execute(command, presenter_->Formats(), *this);
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
    pollfd descriptors[] = {{window_.FileDescriptor(), POLLIN, 0},
                            {timer_, POLLIN, 0},
                            {signals_, POLLIN, 0},
                            {repeat_, POLLIN, 0}};
    if (poll(descriptors, 4, -1) < 0) {
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
    if (descriptors[3].revents & POLLIN) {
        // Repeats missed during a slow frame are one: a held arrow key does
        // not run on after it is released.
        uint64_t expirations = 0;
        if (read(repeat_, &expirations, sizeof expirations) == sizeof expirations && repeatKey_)
            input_.Key(repeatKey_, true);
    }
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
    input_.SetBufferScale(window_.BufferScale());
    if (presenter_ && presenter_->Started())
        presenter_->Resize(width, height);
    dirty_ = true;
}

// Quitting and the data state stay the kiosk's keys. The other keys of the
// display's list go to a display that takes events first, the kiosk's
// commands running for those it leaves unused.
void KioskView::OnKey(uint32_t keysym, bool pressed)
{
    if (isQuitKey(keysym)) {
        quit_ = quit_ || pressed;
        return;
    }
    if (keysym == XKB_KEY_d || keysym == XKB_KEY_D) {
        if (pressed) {
            showDataState_ = !showDataState_;
            dirty_ = true;
        }
        return;
    }
    const int32_t key = displayKeyOfKeysym(keysym);
    if (presenter_ && presenter_->Renderer().TakesEvents()) {
        input_.Key(key, pressed);
        if (pressed)
            RepeatKey(key);
        else if (key == repeatKey_)
            RepeatKey(0);
        return;
    }
    if (pressed)
        RunKeyCommand(key);
}
