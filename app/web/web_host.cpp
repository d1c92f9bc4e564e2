#include "web_host.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "arguments.h"
#include "canvas2d_surface.h"
#include "gr.h"
#include "page_bridge.h"
#include "shell_strings.h"

namespace {

// The largest count of frames the address may ask to be drawn at once.
constexpr int kMaxOpeningFrames = 100000;

struct PageCommand {
    int id;
    const char* label;
};

const PageCommand kMultisamplingCommands[] = {
    {kCommandMultisamplingOff, kMenuMultisamplingOff}, {kCommandMultisampling2x, kMenuMultisampling2x},
    {kCommandMultisampling4x, kMenuMultisampling4x},   {kCommandMultisampling8x, kMenuMultisampling8x},
    {kCommandMultisampling16x, kMenuMultisampling16x},
};

const PageCommand kCycleCommands[] = {{kCommandStart, kMenuStart}, {kCommandPause, kMenuPause}};

}  // namespace

bool parsePageOptions(int argc, const char* const* argv, PageOptions* options, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--paused" || arg == "--batched" || arg == "--exact") {
            if (arg == "--paused")
                options->paused = true;
            else
                options->batched = arg == "--batched";
            continue;
        }
        if (arg == "--data" && i + 1 < argc) {
            options->data = argv[++i];
            continue;
        }
        if ((arg != "--frames" && arg != "--samples" && arg != "--renderer") || i + 1 == argc) {
            *error = "unknown page parameter " + arg;
            return false;
        }
        const char* value = argv[++i];
        if (arg == "--frames" &&
            (!parseNumber(value, &options->frames) || options->frames < 1 || options->frames > kMaxOpeningFrames)) {
            *error = std::string("frames takes a count from 1 to ") + std::to_string(kMaxOpeningFrames) + ", not " +
                     value;
            return false;
        }
        if (arg == "--samples" && !parseSampleCount(value, &options->samples)) {
            *error = std::string("samples takes a sample count or exact, not ") + value;
            return false;
        }
        if (arg == "--renderer" && !pageRendererNamed(value, &options->renderer)) {
            *error = std::string("renderer takes auto, webgl or cpu, not ") + value;
            return false;
        }
    }
    return true;
}

bool WebHost::Start(const HostedDisplay& display, const PageOptions& options, double nowMs)
{
    nowMs_ = nowMs;
    pageSetTitle(display.descriptor->name);
    std::string failure;
    if (!choosePageRendering(options.renderer, renderer_, probe_, &rendering_, &failure)) {
        pageShowError(kErrorCaption, failure.c_str());
        return false;
    }
    pageShowRendering(rendering_);
    renderer_.SetDisplay(display);
    const PixelFormatTable& formats = renderer_.Formats();
    view_.Prepare(formats);
    if (options.samples >= 0 && !view_.PrepareWithSamples(formats, options.samples)) {
        const std::string text = "No multisampling with " + std::to_string(options.samples) + " samples here.";
        pageShowError(kErrorCaption, text.c_str());
        return false;
    }
    const int margin = static_cast<int>(kDisplayMargin);
    width_ = display.descriptor->width + margin;
    height_ = display.descriptor->height + margin;
    AddControls();
    if (!CreateWithSamples(view_.Samples()))
        return false;
    // Once the backend is chosen: the library has no other in the browser.
    grSetBatching(options.batched);
    Relayout();
    // Each opening frame is finished before the next, as panel-snapshot does,
    // so that the time they take counts the GL's work.
    const double opening = emscripten_get_now();
    for (int i = 0; i < options.frames; ++i) {
        Paint(i > 0);
        surface_->Finish();
    }
    if (!options.paused)
        view_.Execute(kCommandStart, formats, *this);
    UpdateControls();
    pageSetReady(emscripten_get_now() - opening);
    return true;
}

void WebHost::AddControls()
{
    pageAddGroup("");
    for (const PageCommand& command : kCycleCommands)
        pageAddCommand(command.id, command.label);
    pageAddGroup(kMenuMultisampling);
    for (const PageCommand& command : kMultisamplingCommands)
        if (renderer_.Formats().IsSupported(CommandSampleCount(command.id)))
            pageAddCommand(command.id, command.label);
}

void WebHost::UpdateControls()
{
    const auto show = [this](const PageCommand& command) {
        CommandUi ui = {};
        ViewCommandUi(command.id, view_.Running(), view_.Samples(), renderer_.Formats(), &ui);
        pageSetCommandState(command.id, ui.enabled && !closed_, ui.checked);
    };
    for (const PageCommand& command : kCycleCommands)
        show(command);
    for (const PageCommand& command : kMultisamplingCommands)
        show(command);
    pageShowFrame(frame_, view_.Running() && !closed_);
}

void WebHost::Command(int id, double nowMs)
{
    nowMs_ = nowMs;
    if (closed_)
        return;
    view_.Execute(id, renderer_.Formats(), *this);
    UpdateControls();
}

void WebHost::Refresh(double nowMs)
{
    nowMs_ = nowMs;
    if (closed_)
        return;
    if (timerRunning_ && clock_.Tick(nowMs)) {
        Paint(true);
        UpdateControls();
    } else if (paintWanted_) {
        Paint(false);
    }
}

void WebHost::QueueEvent(GrEvent event, double canvasX, double canvasY)
{
    if (closed_ || !renderer_.TakesEvents())
        return;
    // The canvas is the view: the display sits kDisplayMargin pixels in
    // from its lower left corner, y upwards.
    event.x = static_cast<float>(canvasX - kDisplayMargin);
    event.y = static_cast<float>(height_ - canvasY - kDisplayMargin);
    renderer_.QueueEvent(event);
    paintWanted_ = true;
}

void WebHost::Paint(bool running)
{
    // The first paint computes the first frame's values even while paused.
    if (running || frame_ == 0)
        ++frame_;
    paintWanted_ = false;
    renderer_.Paint(running);
}

bool WebHost::CreateWithSamples(int samples)
{
    if (rendering_.cpu)
        surface_ = std::make_unique<Canvas2dSurface>(width_, height_);
    else
        surface_ = std::make_unique<WebGlSurface>(width_, height_);
    if (!renderer_.Create(surface_.get(), samples)) {
        const char* why = grImageError();
        if (why && *why)
            pageShowError(kErrorCaption, why);
        renderer_.Destroy();
        surface_.reset();
        return false;
    }
    paintWanted_ = true;
    return true;
}

void WebHost::DestroyWindow()
{
    renderer_.Destroy();
    surface_.reset();
}

void WebHost::ReportRecreateFailure(int samples, bool restored)
{
    std::string text;
    if (!restored) {
        text = kRestoreFailedText;
    } else if (samples == 0) {
        text = kRecreatePlainFailedText;
    } else {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, kRecreateFailedFormat, samples);
        text = buffer;
    }
    pageShowError(kErrorCaption, text.c_str());
}

void WebHost::CloseProgram()
{
    closed_ = true;
    timerRunning_ = false;
}
