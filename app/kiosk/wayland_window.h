// One fullscreen xdg-shell toplevel on the Wayland compositor, with the
// seat's keyboard read through xkbcommon and its pointer and touch screen
// handed to a SurfaceInput. No toolkit: the kiosk's event loop
// polls FileDescriptor() between PrepareToWait and FinishWait itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "wayland_outputs.h"

struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct wl_touch;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
class SurfaceInput;

// What the window tells its owner.
class WindowEvents {
public:
    // The compositor gave the surface a size, or moved it to an output of
    // another scale: its size in buffer pixels.
    virtual void OnResize(int width, int height) = 0;
    // A key went down or up: its keysym under the current keymap and
    // modifiers (those of its press for its release). Keys still down when
    // the surface loses the keyboard are released then.
    virtual void OnKey(uint32_t keysym, bool pressed) = 0;
    // The compositor asks the window to close.
    virtual void OnClose() = 0;

protected:
    ~WindowEvents() = default;
};

class WaylandWindow {
public:
    explicit WaylandWindow(WindowEvents& events) : events_(events) {}
    ~WaylandWindow();
    WaylandWindow(const WaylandWindow&) = delete;
    WaylandWindow& operator=(const WaylandWindow&) = delete;

    // Connects to the compositor of WAYLAND_DISPLAY, makes the fullscreen
    // toplevel titled title and waits for its first configure. A compositor
    // that leaves the size to the client gets width x height. False with the
    // reason in *error. A non-empty output names the compositor's output to
    // go full screen on; one that does not exist is an error.
    bool Open(const std::string& title, int width, int height, const std::string& output, std::string* error);

    wl_display* Display() const { return display_; }
    wl_surface* Surface() const { return surface_; }
    // Shared memory, for presenters that draw on the processor.
    wl_shm* SharedMemory() const { return shm_; }
    // Where the seat's pointer and touch events go from now on; null: nowhere.
    void SetInput(SurfaceInput* input) { input_ = input; }
    // The surface's size in buffer pixels: its logical size times the
    // buffer scale, which follows the largest scale of the outputs it is on
    // (a HiDPI panel gets every pixel drawn, not magnified).
    int Width() const { return width_ * bufferScale_; }
    int Height() const { return height_ * bufferScale_; }
    int BufferScale() const { return bufferScale_; }

    // Asks to be told when the compositor shows the next commit; Shown()
    // turns true once it has.
    void RequestShownNotice();
    bool Shown() const { return shown_; }

    int FileDescriptor() const;
    // Dispatches the events already read, sends the requests and prepares
    // to read FileDescriptor(); every successful call is followed by one
    // FinishWait. False when the connection is lost.
    bool PrepareToWait();
    // Reads the events (when the descriptor is readable) and dispatches them.
    bool FinishWait(bool readable);
    // Sends queued requests; false when the connection is lost.
    bool Flush();

    // Protocol callbacks; public only for the listener tables.
    void Global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void Configure(uint32_t serial);
    void ToplevelConfigure(int width, int height);
    void Close() { events_.OnClose(); }
    void SeatCapabilities(uint32_t capabilities);
    void Keymap(uint32_t format, int fd, uint32_t size);
    void Key(uint32_t key, uint32_t state);
    void KeyboardLeave();
    void Modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);
    SurfaceInput* Input() const { return input_; }
    void RepeatInfo(int32_t rate, int32_t delay)
    {
        repeatRate_ = rate;
        repeatDelayMs_ = delay;
    }
    // How a held key repeats, as the compositor says (Wayland leaves the
    // repeating to the client): keys a second, 0 for none, after a delay.
    int RepeatRate() const { return repeatRate_; }
    int RepeatDelayMs() const { return repeatDelayMs_; }
    // wl_pointer before version 5 sends no frame: each event is one.
    bool PointerFrames() const { return pointerFrames_; }
    void FrameDone();
    void SurfaceEnter(wl_output* output);
    void SurfaceLeave(wl_output* output);

private:
    // The buffer scale for the outputs the surface is on now.
    void FollowScale();

    WindowEvents& events_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    xdg_wm_base* wmBase_ = nullptr;
    WaylandOutputs outputs_;
    wl_seat* seat_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    wl_touch* touch_ = nullptr;
    SurfaceInput* input_ = nullptr;
    bool pointerFrames_ = false;
    // The protocol's defaults until the compositor says otherwise.
    int repeatRate_ = 25;
    int repeatDelayMs_ = 600;
    // Keys down on the surface by evdev code, with the keysym of their press.
    std::map<uint32_t, uint32_t> keysDown_;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    wl_callback* frameCallback_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* keyState_ = nullptr;
    // The size of the latest toplevel configure, applied at its surface configure.
    int pendingWidth_ = 0;
    int pendingHeight_ = 0;
    int width_ = 0;  // logical units
    int height_ = 0;
    int bufferScale_ = 1;
    std::vector<wl_output*> entered_;
    int fallbackWidth_ = 0;
    int fallbackHeight_ = 0;
    bool configured_ = false;
    bool shown_ = false;
};
