#include "wayland_window.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>

#include "surface_input.h"
#include "xdg-shell-client-protocol.h"

namespace {

// The protocol versions the window is written against.
constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kWmBaseVersion = 1;
constexpr uint32_t kSeatVersion = 5;
constexpr uint32_t kShmVersion = 1;

// wl_pointer sends frames from this version on.
constexpr uint32_t kPointerFrameVersion = 5;

// Linux evdev key codes are XKB key codes less this offset.
constexpr uint32_t kEvdevToXkbOffset = 8;

WaylandWindow* self(void* data) { return static_cast<WaylandWindow*>(data); }

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    self(data)->Global(registry, name, interface, version);
}

void registryGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {registryGlobal, registryGlobalRemove};

void wmBasePing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }

const xdg_wm_base_listener kWmBaseListener = {wmBasePing};

void surfaceConfigure(void* data, xdg_surface*, uint32_t serial) { self(data)->Configure(serial); }

const xdg_surface_listener kSurfaceListener = {surfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    self(data)->ToplevelConfigure(width, height);
}

void toplevelClose(void* data, xdg_toplevel*) { self(data)->Close(); }

// Bounds and capabilities belong to later versions than the one bound.
void toplevelConfigureBounds(void*, xdg_toplevel*, int32_t, int32_t) {}

void toplevelWmCapabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener kToplevelListener = {toplevelConfigure, toplevelClose, toplevelConfigureBounds,
                                                 toplevelWmCapabilities};

void seatCapabilities(void* data, wl_seat*, uint32_t capabilities) { self(data)->SeatCapabilities(capabilities); }

void seatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {seatCapabilities, seatName};

void keyboardKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size)
{
    self(data)->Keymap(format, fd, size);
}

void keyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}

void keyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface*) { self(data)->KeyboardLeave(); }

void keyboardKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    self(data)->Key(key, state);
}

void keyboardModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                       uint32_t group)
{
    self(data)->Modifiers(depressed, latched, locked, group);
}

void keyboardRepeatInfo(void* data, wl_keyboard*, int32_t rate, int32_t delay)
{
    self(data)->RepeatInfo(rate, delay);
}

const wl_keyboard_listener kKeyboardListener = {keyboardKeymap, keyboardEnter,     keyboardLeave,
                                                keyboardKey,    keyboardModifiers, keyboardRepeatInfo};

// The pointer and touch events, straight to the window's SurfaceInput: the
// kiosk's one surface is the only one they can name.
SurfaceInput* inputOf(void* data) { return self(data)->Input(); }

void pointerEnter(void* data, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y)
{
    if (SurfaceInput* input = inputOf(data))
        input->PointerMotion(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*)
{
    if (SurfaceInput* input = inputOf(data))
        input->PointerLeave();
}

void pointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    if (SurfaceInput* input = inputOf(data))
        input->PointerMotion(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void pointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state)
{
    if (SurfaceInput* input = inputOf(data))
        input->PointerButton(button, state == WL_POINTER_BUTTON_STATE_PRESSED);
}

void pointerFrame(void* data, wl_pointer*)
{
    if (SurfaceInput* input = inputOf(data))
        input->PointerFrame();
}

void pointerAxis(void* data, wl_pointer* pointer, uint32_t, uint32_t axis, wl_fixed_t value)
{
    SurfaceInput* input = inputOf(data);
    if (!input || axis != WL_POINTER_AXIS_VERTICAL_SCROLL)
        return;
    input->PointerAxis(wl_fixed_to_double(value));
    if (!self(data)->PointerFrames())
        pointerFrame(data, pointer);
}

void pointerAxisSource(void*, wl_pointer*, uint32_t) {}

void pointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}

void pointerAxisDiscrete(void* data, wl_pointer*, uint32_t axis, int32_t discrete)
{
    SurfaceInput* input = inputOf(data);
    if (input && axis == WL_POINTER_AXIS_VERTICAL_SCROLL)
        input->PointerAxisDiscrete(discrete);
}

// High-resolution wheel steps belong to a later version than the one bound.
void pointerAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener kPointerListener = {pointerEnter,      pointerLeave,    pointerMotion,
                                              pointerButton,     pointerAxis,     pointerFrame,
                                              pointerAxisSource, pointerAxisStop, pointerAxisDiscrete,
                                              pointerAxisValue120};

void touchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t id, wl_fixed_t x, wl_fixed_t y)
{
    if (SurfaceInput* input = inputOf(data))
        input->TouchDown(id, wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void touchUp(void* data, wl_touch*, uint32_t, uint32_t, int32_t id)
{
    if (SurfaceInput* input = inputOf(data))
        input->TouchUp(id);
}

void touchMotion(void* data, wl_touch*, uint32_t, int32_t id, wl_fixed_t x, wl_fixed_t y)
{
    if (SurfaceInput* input = inputOf(data))
        input->TouchMotion(id, wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void touchFrame(void*, wl_touch*) {}

void touchCancel(void* data, wl_touch*)
{
    if (SurfaceInput* input = inputOf(data))
        input->TouchCancel();
}

// Shape and orientation belong to a later version than the one bound.
void touchShape(void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {}

void touchOrientation(void*, wl_touch*, int32_t, wl_fixed_t) {}

const wl_touch_listener kTouchListener = {touchDown,   touchUp,    touchMotion,     touchFrame,
                                          touchCancel, touchShape, touchOrientation};

void surfaceEnter(void* data, wl_surface*, wl_output* output) { self(data)->SurfaceEnter(output); }

void surfaceLeave(void* data, wl_surface*, wl_output* output) { self(data)->SurfaceLeave(output); }

const wl_surface_listener kSurfaceOutputListener = {surfaceEnter, surfaceLeave};

void frameDone(void* data, wl_callback*, uint32_t) { self(data)->FrameDone(); }

const wl_callback_listener kFrameListener = {frameDone};

}  // namespace

WaylandWindow::~WaylandWindow()
{
    if (frameCallback_)
        wl_callback_destroy(frameCallback_);
    if (keyState_)
        xkb_state_unref(keyState_);
    if (keymap_)
        xkb_keymap_unref(keymap_);
    if (xkb_)
        xkb_context_unref(xkb_);
    if (keyboard_)
        wl_keyboard_destroy(keyboard_);
    if (pointer_)
        wl_pointer_destroy(pointer_);
    if (touch_)
        wl_touch_destroy(touch_);
    if (seat_)
        wl_seat_destroy(seat_);
    if (toplevel_)
        xdg_toplevel_destroy(toplevel_);
    if (xdgSurface_)
        xdg_surface_destroy(xdgSurface_);
    if (surface_)
        wl_surface_destroy(surface_);
    if (wmBase_)
        xdg_wm_base_destroy(wmBase_);
    if (shm_)
        wl_shm_destroy(shm_);
    if (compositor_)
        wl_compositor_destroy(compositor_);
    outputs_.Release();
    if (registry_)
        wl_registry_destroy(registry_);
    if (display_)
        wl_display_disconnect(display_);
}

bool WaylandWindow::Open(const std::string& title, int width, int height, const std::string& output,
                         std::string* error)
{
    fallbackWidth_ = width;
    fallbackHeight_ = height;
    display_ = wl_display_connect(nullptr);
    if (!display_) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        *error = std::string("cannot connect to a Wayland compositor (WAYLAND_DISPLAY=") + (name ? name : "") +
                 "): " + std::strerror(errno);
        return false;
    }
    outputs_.OnScaleChange([this] { FollowScale(); });
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    if (wl_display_roundtrip(display_) < 0) {
        *error = "the Wayland compositor closed the connection";
        return false;
    }
    if (!compositor_ || !wmBase_) {
        *error = "the Wayland compositor offers no xdg-shell (xdg_wm_base), so no window";
        return false;
    }
    wl_output* fullscreenOn = nullptr;
    if (!output.empty()) {
        // The outputs announce their names after they are bound.
        if (wl_display_roundtrip(display_) < 0) {
            *error = "the Wayland compositor closed the connection";
            return false;
        }
        fullscreenOn = outputs_.Find(output, error);
        if (!fullscreenOn)
            return false;
    }
    xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    surface_ = wl_compositor_create_surface(compositor_);
    wl_surface_add_listener(surface_, &kSurfaceOutputListener, this);
    xdgSurface_ = xdg_wm_base_get_xdg_surface(wmBase_, surface_);
    xdg_surface_add_listener(xdgSurface_, &kSurfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
    xdg_toplevel_set_title(toplevel_, title.c_str());
    xdg_toplevel_set_app_id(toplevel_, "instrument-panel-kiosk");
    xdg_toplevel_set_fullscreen(toplevel_, fullscreenOn);
    // Every frame is opaque: the compositor need not blend what lies behind.
    wl_region* opaque = wl_compositor_create_region(compositor_);
    wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(surface_, opaque);
    wl_region_destroy(opaque);
    wl_surface_commit(surface_);
    while (!configured_)
        if (wl_display_dispatch(display_) < 0) {
            *error = "the Wayland compositor closed the connection before showing the window";
            return false;
        }
    return true;
}

void WaylandWindow::Global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    auto bind = [&](const wl_interface* kind, uint32_t wanted) {
        return wl_registry_bind(registry, name, kind, version < wanted ? version : wanted);
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !compositor_) {
        compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, kCompositorVersion));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !shm_) {
        shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, kShmVersion));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && !wmBase_) {
        wmBase_ = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, kWmBaseVersion));
        xdg_wm_base_add_listener(wmBase_, &kWmBaseListener, this);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat_) {
        seat_ = static_cast<wl_seat*>(bind(&wl_seat_interface, kSeatVersion));
        wl_seat_add_listener(seat_, &kSeatListener, this);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        outputs_.Bind(registry, name, version);
    }
}

void WaylandWindow::ToplevelConfigure(int width, int height)
{
    pendingWidth_ = width;
    pendingHeight_ = height;
}

// A size of 0 leaves the choice to the client: the display's own size.
void WaylandWindow::Configure(uint32_t serial)
{
    xdg_surface_ack_configure(xdgSurface_, serial);
    const int width = pendingWidth_ > 0 ? pendingWidth_ : fallbackWidth_;
    const int height = pendingHeight_ > 0 ? pendingHeight_ : fallbackHeight_;
    const bool resized = !configured_ || width != width_ || height != height_;
    width_ = width;
    height_ = height;
    configured_ = true;
    if (resized)
        events_.OnResize(Width(), Height());
}

void WaylandWindow::SurfaceEnter(wl_output* output)
{
    entered_.push_back(output);
    FollowScale();
}

void WaylandWindow::SurfaceLeave(wl_output* output)
{
    entered_.erase(std::remove(entered_.begin(), entered_.end(), output), entered_.end());
    FollowScale();
}

// The new scale goes with the next commit, which carries a buffer of the
// size OnResize asks for: the compositor never sees a buffer whose size
// the scale does not divide.
void WaylandWindow::FollowScale()
{
    int scale = 1;
    for (wl_output* output : entered_)
        scale = std::max(scale, outputs_.ScaleOf(output));
    if (scale == bufferScale_ || !configured_)
        return;
    bufferScale_ = scale;
    wl_surface_set_buffer_scale(surface_, scale);
    events_.OnResize(Width(), Height());
}

void WaylandWindow::SeatCapabilities(uint32_t capabilities)
{
    const bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (hasKeyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
    } else if (!hasKeyboard && keyboard_) {
        wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
        KeyboardLeave();
    }
    const bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (hasPointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat_);
        pointerFrames_ = wl_pointer_get_version(pointer_) >= kPointerFrameVersion;
        wl_pointer_add_listener(pointer_, &kPointerListener, this);
    } else if (!hasPointer && pointer_) {
        wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        if (input_)
            input_->PointerLeave();
    }
    const bool hasTouch = capabilities & WL_SEAT_CAPABILITY_TOUCH;
    if (hasTouch && !touch_) {
        touch_ = wl_seat_get_touch(seat_);
        wl_touch_add_listener(touch_, &kTouchListener, this);
    } else if (!hasTouch && touch_) {
        wl_touch_destroy(touch_);
        touch_ = nullptr;
        if (input_)
            input_->TouchCancel();
    }
}

void WaylandWindow::Keymap(uint32_t format, int fd, uint32_t size)
{
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !xkb_) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED)
        return;
    xkb_keymap* keymap = xkb_keymap_new_from_string(xkb_, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap)
        return;
    if (keyState_)
        xkb_state_unref(keyState_);
    if (keymap_)
        xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    keyState_ = xkb_state_new(keymap_);
}

void WaylandWindow::Key(uint32_t key, uint32_t state)
{
    if (!keyState_)
        return;
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
        const uint32_t keysym = xkb_state_key_get_one_sym(keyState_, key + kEvdevToXkbOffset);
        keysDown_[key] = keysym;
        events_.OnKey(keysym, true);
        return;
    }
    const auto down = keysDown_.find(key);
    if (down == keysDown_.end())
        return;
    const uint32_t keysym = down->second;
    keysDown_.erase(down);
    events_.OnKey(keysym, false);
}

void WaylandWindow::KeyboardLeave()
{
    std::map<uint32_t, uint32_t> down;
    down.swap(keysDown_);
    for (const auto& key : down)
        events_.OnKey(key.second, false);
}

void WaylandWindow::Modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group)
{
    if (!keyState_)
        return;
    xkb_state_update_mask(keyState_, depressed, latched, locked, 0, 0, group);
    if (!input_)
        return;
    const auto active = [this](const char* name) {
        return xkb_state_mod_name_is_active(keyState_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    input_->SetModifiers((active(XKB_MOD_NAME_SHIFT) ? GR_MODIFIER_SHIFT : 0) |
                         (active(XKB_MOD_NAME_CTRL) ? GR_MODIFIER_CONTROL : 0) |
                         (active(XKB_MOD_NAME_ALT) ? GR_MODIFIER_ALT : 0));
}

void WaylandWindow::RequestShownNotice()
{
    if (frameCallback_)
        wl_callback_destroy(frameCallback_);
    shown_ = false;
    frameCallback_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frameCallback_, &kFrameListener, this);
}

void WaylandWindow::FrameDone()
{
    wl_callback_destroy(frameCallback_);
    frameCallback_ = nullptr;
    shown_ = true;
}

int WaylandWindow::FileDescriptor() const { return wl_display_get_fd(display_); }

// EGL reads the same connection for its own queue while it swaps, so the
// window's events may already be read: they are dispatched before any wait,
// and the read is announced so that neither side takes the other's events.
bool WaylandWindow::PrepareToWait()
{
    while (wl_display_prepare_read(display_) != 0)
        if (wl_display_dispatch_pending(display_) < 0)
            return false;
    if (Flush())
        return true;
    wl_display_cancel_read(display_);
    return false;
}

bool WaylandWindow::FinishWait(bool readable)
{
    if (!readable)
        wl_display_cancel_read(display_);
    else if (wl_display_read_events(display_) != 0)
        return false;
    return wl_display_dispatch_pending(display_) >= 0;
}

bool WaylandWindow::Flush()
{
    // A full socket buffer drains as the compositor reads; that is no loss.
    return wl_display_flush(display_) >= 0 || errno == EAGAIN;
}
