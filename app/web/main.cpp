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
#include "page_mqtt.h"
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

PageMqtt& mqtt()
{
    static PageMqtt link;
    return link;
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

// A pointer event (GR_EVENT_POINTER_* or GR_EVENT_WHEEL) at canvasX,
// canvasY in the canvas's pixels from its top left corner.
EMSCRIPTEN_KEEPALIVE void webPointer(int type, int pointer, double canvasX, double canvasY, int button, int steps,
                                     int modifiers)
{
    GrEvent event = {};
    event.type = type;
    event.pointer = pointer;
    event.button = button;
    event.steps = steps;
    event.modifiers = modifiers;
    host().QueueEvent(event, canvasX, canvasY);
}

// A key event (GR_EVENT_KEY_DOWN or _UP) with a GR_KEY_* code.
EMSCRIPTEN_KEEPALIVE void webKey(int type, int key, int modifiers)
{
    GrEvent event = {};
    event.type = type;
    event.key = key;
    event.modifiers = modifiers;
    host().QueueEvent(event, 0.0, 0.0);
}

// The page's MQTT connection (page/mqtt_link.js): a message as it arrived,
// the connection's state (PageMqttState) with the cause of a failure, and
// the mapping file fetched (or why not).
EMSCRIPTEN_KEEPALIVE void webMqttMessage(const char* topic, int topicLength, const char* payload, int payloadLength)
{
    mqtt().Receive(std::string_view(topic, topicLength), std::string_view(payload, payloadLength));
}
EMSCRIPTEN_KEEPALIVE void webMqttState(int state, const char* cause, int causeLength)
{
    mqtt().SetState(static_cast<PageMqttState>(state), std::string(cause, causeLength));
}
EMSCRIPTEN_KEEPALIVE void webMappingFetched(const char* text, int length, int failed)
{
    mqtt().MappingFetched(std::string(text, length), failed != 0);
}

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
    // A data source refused leaves the display shown, with the cause.
    if (!options.data.empty() && !mqtt().Start(&host().Renderer(), *descriptor, options.data, &error))
        pageShowError(kErrorCaption, error.c_str());
    emscripten_request_animation_frame_loop(refresh, nullptr);
    return 0;
}
