// The page's entry: the display linked into the page, on the canvas, with
// the frame cycle on the browser's animation frames. The page's script calls
// the exported functions below.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display_module.h"
#include "display_renderer.h"
#include "gr_display.h"
#include "page_bridge.h"
#include "web_host.h"

// The display linked into the page defines it with GR_EXPORT_DISPLAY.
extern "C" const GrDisplay* grDisplayDescriptor();

namespace {

// Where the page's file system holds the display's images.
constexpr const char* kImageFolder = "/display/";

WebHost& host()
{
    static WebHost page;
    return page;
}

// The last frame read back, kept for the page's script to copy.
std::vector<uint8_t>& frameCopy()
{
    static std::vector<uint8_t> frame;
    return frame;
}

EM_BOOL refresh(double nowMs, void*)
{
    host().Refresh(nowMs);
    return EM_TRUE;
}

}  // namespace

extern "C" {

// A control of the page was chosen: a view command id.
EMSCRIPTEN_KEEPALIVE void webCommand(int id) { host().Command(id, emscripten_performance_now()); }

// The frame the canvas shows, counted from 1; 0 before the first.
EMSCRIPTEN_KEEPALIVE int webFrame() { return host().Frame(); }

// The canvas's size in pixels: the display area and its margin.
EMSCRIPTEN_KEEPALIVE int webWidth() { return host().Width(); }
EMSCRIPTEN_KEEPALIVE int webHeight() { return host().Height(); }

// The frame on the canvas, width x height RGBA top row first, valid until
// the next call; null without a context.
EMSCRIPTEN_KEEPALIVE const uint8_t* webReadFrame()
{
    frameCopy() = host().ReadFrame();
    return frameCopy().empty() ? nullptr : frameCopy().data();
}
}

int main(int argc, char** argv)
{
    PageOptions options;
    std::string error;
    if (!parsePageOptions(argc, argv, &options, &error)) {
        pageShowError(kErrorCaption, error.c_str());
        return 1;
    }
    const GrDisplay* descriptor = grDisplayDescriptor();
    const std::string problem = descriptorProblem(descriptor);
    if (!problem.empty()) {
        pageShowError(kErrorCaption, ("display refused: " + problem).c_str());
        return 1;
    }
    if (!host().Start({descriptor, kImageFolder}, options, emscripten_performance_now()))
        return 1;
    emscripten_request_animation_frame_loop(refresh, nullptr);
    return 0;
}
