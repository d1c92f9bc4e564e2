// gr_display: how a generated display introduces itself to the runtime.
//
// A display hands the runtime one GrDisplay: its tables, its two entry
// points, its name and the size of its display area. It is either linked
// into the program or built as a shared module that exports
// grDisplayDescriptor(), declared with GR_EXPORT_DISPLAY.
#pragma once

#include <stdint.h>

#include "gr.h"

typedef struct GrDisplay GrDisplay;

// The layout of GrDisplay and the gr API a display is built against. The
// runtime refuses a module whose descriptor carries another number.
// Version 2: C linkage throughout, and the table of inputs. Version 3 adds
// the event entry and the table of outputs after the inputs; the runtime
// still shows a display of version 2, reading none of the fields it lacks.
enum { GR_DISPLAY_INTERFACE_VERSION = 3 };

// ---------------------------------------------------------------------------
// Inputs: values a data source feeds into the display's own variables
// ---------------------------------------------------------------------------

// The type of the variable an input writes into.
enum {
    GR_INPUT_FLOAT = 0,  // float
    GR_INPUT_INT32 = 1,  // int32_t, the fed value rounded
};

// What a display learns of an input before each UpdateDisplayModel.
enum {
    GR_INPUT_NOT_FED = 0,  // no source feeds it: the display animates it itself
    GR_INPUT_FRESH = 1,    // fed within its freshness limit
    GR_INPUT_STALE = 2,    // fed once, but nothing for longer than the limit
};

enum {
    GR_MAX_INPUTS = 256,
    GR_MAX_INPUT_NAME = 63,          // bytes, without the terminator
    GR_DEFAULT_FRESHNESS_MS = 500,
    GR_MAX_FRESHNESS_MS = 3600000,   // an hour
};

typedef struct GrInput GrInput;

// One input a display declares.
struct GrInput {
    const char* name;     // unique; lower-case letters, digits, '_' and '.'
    const char* unit;     // for people, e.g. "deg", "ft", "%"; may be empty
    int32_t type;         // GR_INPUT_*
    void* variable;       // the display's variable the value is written into
    float minimum;        // the valid range; values outside are clamped
    float maximum;
    float start;          // written into the variable when a source attaches
    int32_t freshnessMs;  // 0: GR_DEFAULT_FRESHNESS_MS
};

// ---------------------------------------------------------------------------
// Events: what the user does to the display (version 3)
// ---------------------------------------------------------------------------

// Delivered between frames on the drawing thread, never during DrawDisplay,
// in the display's own units: the coordinates it draws in, origin and y
// upwards as grSetProjection sets them, the host's margin and any scaling of
// the window removed. Events outside the display area are delivered too
// (a drag may leave it); a display ignores what it does not hit.
enum {
    GR_EVENT_POINTER_DOWN = 1,  // a button pressed or a finger put down
    GR_EVENT_POINTER_MOVE = 2,  // moved, pressed or not
    GR_EVENT_POINTER_UP = 3,    // released, lifted, or the touch cancelled
    GR_EVENT_WHEEL = 4,         // steps turned at x, y
    GR_EVENT_KEY_DOWN = 5,      // a key pressed (repeats while held)
    GR_EVENT_KEY_UP = 6,
};

// Pointer ids: the mouse is 0; each finger on a touch screen has an id of
// its own from 1 for as long as it touches.
enum { GR_POINTER_MOUSE = 0 };

// Mouse buttons, in GrEvent.button; a touch is GR_BUTTON_PRIMARY.
enum {
    GR_BUTTON_NONE = 0,
    GR_BUTTON_PRIMARY = 1,
    GR_BUTTON_MIDDLE = 2,
    GR_BUTTON_SECONDARY = 3,
};

// Modifier keys held, in GrEvent.modifiers.
enum {
    GR_MODIFIER_SHIFT = 1,
    GR_MODIFIER_CONTROL = 2,
    GR_MODIFIER_ALT = 4,
};

// Key codes, the same on every host. Printable keys carry the ASCII code of
// their unshifted character with letters in upper case: GR_KEY_SPACE, '0' to
// '9', 'A' to 'Z', and the ones named below; other keys carry the codes from
// 0x100. A key with no code here is not delivered.
enum {
    GR_KEY_SPACE = 0x20,
    GR_KEY_PLUS = 0x2B,   // '+', also the keypad's
    GR_KEY_MINUS = 0x2D,  // '-', also the keypad's
    GR_KEY_ENTER = 0x100, // Return and the keypad's Enter
    GR_KEY_ESCAPE = 0x101,
    GR_KEY_TAB = 0x102,
    GR_KEY_BACKSPACE = 0x103,
    GR_KEY_DELETE = 0x104,
    GR_KEY_LEFT = 0x105,
    GR_KEY_RIGHT = 0x106,
    GR_KEY_UP = 0x107,
    GR_KEY_DOWN = 0x108,
    GR_KEY_HOME = 0x109,
    GR_KEY_END = 0x10A,
    GR_KEY_PAGE_UP = 0x10B,
    GR_KEY_PAGE_DOWN = 0x10C,
    GR_KEY_F1 = 0x111,  // F1 to F12: GR_KEY_F1 + n - 1
    GR_KEY_F12 = 0x11C,
};

typedef struct GrEvent GrEvent;

struct GrEvent {
    int32_t type;       // GR_EVENT_*
    int32_t pointer;    // pointer events and wheel: GR_POINTER_MOUSE or a finger's id
    float x, y;         // pointer events and wheel: where, in the display's units
    int32_t button;     // down and up: GR_BUTTON_*; 0 otherwise
    int32_t steps;      // wheel: steps turned, positive away from the user
    int32_t key;        // key events: GR_KEY_* or the key's ASCII code
    int32_t modifiers;  // GR_MODIFIER_* held
};

// ---------------------------------------------------------------------------
// Outputs: values the display decides, sent to the host's destinations
// ---------------------------------------------------------------------------

enum { GR_MAX_OUTPUTS = 256 };

typedef struct GrOutput GrOutput;

// One output a display declares. The runtime reads the variable after the
// display has handled the frame's events and updated its model, and sends
// the value when it differs from the last one sent (or the display called
// grSendOutput): never one a display did not change, at most once a frame,
// and never NaN or a value outside the range, which it refuses and counts.
struct GrOutput {
    const char* name;      // unique; lower-case letters, digits, '_' and '.'
    const char* unit;      // for people; may be empty
    int32_t type;          // GR_INPUT_FLOAT or GR_INPUT_INT32: the variable's type
    const void* variable;  // the display's variable
    float minimum;         // the valid range, finite
    float maximum;
};

struct GrDisplay {
    // First, so that a runtime can read it from a descriptor of any layout.
    int32_t interfaceVersion;  // GR_DISPLAY_INTERFACE_VERSION when built
    const char* name;          // UTF-8, for titles and messages
    int32_t width;             // the display area in units (pixels), > 0
    int32_t height;
    const GrTables* tables;    // handed to grUseTables before grInit
    // Advances the animated values by one frame: on every frame while the
    // program runs, and on the very first paint even while it is paused.
    // Fed inputs have their latest values in their variables by then.
    void (*updateDisplayModel)(void);
    // Draws one frame between grBeginFrame and grEndFrame.
    void (*drawDisplay)(void);
    const GrInput* inputs;     // null when inputCount is 0
    int32_t inputCount;        // 0..GR_MAX_INPUTS
    // Version 3 on. Receives one event; returns nonzero when it used it, so
    // that a host may give an unused key to its own shortcuts. Null: the
    // display takes no events and behaves exactly as before.
    int32_t (*handleEvent)(const GrEvent* event);
    const GrOutput* outputs;   // null when outputCount is 0
    int32_t outputCount;       // 0..GR_MAX_OUTPUTS
};

// The one function a display module exports; the runtime looks it up by
// this name.
#define GR_DISPLAY_ENTRY_NAME "grDisplayDescriptor"
typedef const GrDisplay* (*GrDisplayEntry)(void);

#if defined(_WIN32)
#define GR_DISPLAY_EXPORTED __declspec(dllexport)
#else
#define GR_DISPLAY_EXPORTED __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define GR_DISPLAY_LINKAGE extern "C"
#else
#define GR_DISPLAY_LINKAGE
#endif

// Defines the exported entry of a module returning descriptor, in C or C++:
//   GR_EXPORT_DISPLAY(kDisplay)
#define GR_EXPORT_DISPLAY(descriptor)                                            \
    GR_DISPLAY_LINKAGE GR_DISPLAY_EXPORTED const GrDisplay* grDisplayDescriptor(void); \
    GR_DISPLAY_LINKAGE GR_DISPLAY_EXPORTED const GrDisplay* grDisplayDescriptor(void)  \
    {                                                                             \
        return &(descriptor);                                                    \
    }

#ifdef __cplusplus
extern "C" {
#endif

// Host side: the folder relative image names of the tables resolve against,
// for displays loaded from a module (UTF-8, with or without a trailing
// slash). Null or empty restores the default, the executable's folder.
// Takes effect at the next grInit.
void grSetImageFolder(const char* folder);

// ---------------------------------------------------------------------------
// Host side: the graphics backend and the frame
// ---------------------------------------------------------------------------

// Finds a GL entry point by name (eglGetProcAddress, wglGetProcAddress...).
typedef void* (*GrProcLoader)(const char* name);

// The samples value of the CPU backend's exact coverage ("cpu-exact"): every
// pixel takes the exact share of its area an antialiased draw covers, of
// higher quality than 8 samples. The GL backends have no such level.
#define GR_EXACT_COVERAGE_SAMPLES 256

// Selects the backend the library draws through: "gl1" (OpenGL 1.1, the
// default), "es2", "es3" or "core" (the shader backend, for OpenGL ES 2,
// OpenGL ES 3 and OpenGL 3.3 core contexts: GLSL ES 1.00, ES 3.00 and 3.30),
// or "auto" (the one that serves the context current at this call). loader
// finds the GL's entry points for the shader backend. Call before grInit or
// after grShutdown. False, keeping the previous choice, for a name no
// backend answers to.
bool grSelectBackend(const char* name, GrProcLoader loader);

// The name of the backend in use ("gl1", "es3", ...).
const char* grBackendName(void);

// Why grInit returned GR_INIT_BACKEND_FAILED; empty otherwise.
const char* grBackendError(void);

// The frame's viewport and projection: width x height pixels, one unit a
// pixel, y upwards, the display's origin originX, originY pixels in from the
// lower left corner; the modelview becomes a shift by pixelOffset in x and y.
void grSetProjection(int width, int height, double originX, double originY, float pixelOffset);

// Where a display lands in its view: display unit (x, y), y upwards, goes
// to view pixel origin + scale * (x, y) turned clockwise by rotation
// degrees about the origin and then, when mirrored, with its x negated
// (left and right swapped, for a head-up display's beam splitter). View
// pixels count from the view's lower left corner, y upwards.
typedef struct GrPlacement {
    double originX;     // the display's origin in view pixels
    double originY;
    double scale;       // view pixels per display unit, > 0
    int32_t rotation;   // 0, 90, 180 or 270
    int32_t mirrored;   // nonzero: x negated after turning
} GrPlacement;

// The frame's viewport of width x height pixels and a projection placing
// the display by placement; the modelview becomes a shift by pixelOffset
// units in x and y. A placement of scale 1, no rotation and no mirror is
// grSetProjection. False, and nothing set, for a size below 1, a scale that
// is not a positive finite number or another rotation.
bool grSetPlacedProjection(int width, int height, const GrPlacement* placement, float pixelOffset);

// Host side: whether grSetProjection turns the frame upside down (clip
// space y negated, exactly), so that the target's bottom row holds the
// display's top row as a window's stored rows do. Rasterisers place pixel
// samples in stored rows: a host that resolves a multisampled frame it
// cannot draw upside down by other means (glClipControl) gets the window's
// antialiased edges this way, and flips the frame when it presents or reads
// it. Only a sample lying exactly on an edge may fall the other way, as the
// fill rule stays the target's. Off by default; grInit and grShutdown keep
// it; takes effect at the next grSetProjection or grSetPlacedProjection.
void grSetUpsideDown(bool on);

// Host side: the CPU backend draws with threads threads, the calling thread
// included (1: on the calling thread alone); 0 restores the default, the
// processors the process may run on (its CPU affinity), at most 4. Takes
// effect at the next grInit. False, and nothing changed, outside 0..64.
bool grSetThreadCount(int threads);

// The thread count the CPU backend takes at the next grInit.
int grThreadCount(void);

// Clears the frame's colour to r, g, b, a (0..1) and its stencil to 0;
// before grBeginFrame.
void grClearFrame(float r, float g, float b, float a);

// Reads the frame's lower left width x height pixels as RGBA bytes, bottom
// row first; after grEndFrame. False when the target cannot be read.
bool grReadPixels(int width, int height, uint8_t* rgba);

// Display side: the state of input (an index of the display's table) as of
// the last grApplyInputs; GR_INPUT_NOT_FED outside the table.
int grInputState(int input);

// Host or display: input goes stale after milliseconds without a value.
// False, and nothing changed, for an input not attached or milliseconds
// outside 1..GR_MAX_FRESHNESS_MS.
bool grSetInputFreshness(int input, int32_t milliseconds);

// Host side: attaches the display's inputs when a source is attached, every
// input not fed, and writes each start value into its variable. The table
// must outlive its use. False (and nothing attached) for a negative count,
// more than GR_MAX_INPUTS or a null table with inputs; checking the names
// and ranges is the host's. A count of 0 detaches.
bool grUseInputs(const GrInput* inputs, int count);

// The index of the attached input called name, or -1.
int grFindInput(const char* name);

// What grFeedInput did with a value.
enum {
    GR_FEED_ACCEPTED = 0,
    GR_FEED_CLAMPED = 1,  // outside the input's range: its nearest limit kept
    GR_FEED_REFUSED = 2,  // NaN, an infinity, or no such input: nothing kept
};

// Keeps value as input's latest, fed at nowMs (the host's clock, in
// milliseconds, never going back). Returns one of GR_FEED_*.
int grFeedInput(int input, double value, double nowMs);

// Host side: the source reports input's value failed (its publisher said
// so): stale from the next grApplyInputs until a value is fed, whatever its
// freshness limit. False for an input not attached.
bool grFailInput(int input);

// Before each UpdateDisplayModel: writes the latest value of every fed input
// into its variable and makes each state current for nowMs.
void grApplyInputs(double nowMs);

// Host side: attaches the display's outputs and takes each variable's
// present value as already sent, so that nothing goes out until the display
// changes it. The table must outlive its use. False (and nothing attached)
// for a negative count, more than GR_MAX_OUTPUTS or a null table with
// outputs; checking names and ranges is the host's. A count of 0 detaches.
bool grUseOutputs(const GrOutput* outputs, int count);

// The index of the attached output called name, or -1.
int grFindOutput(const char* name);

// Display side: sends output (an index of the display's table) at the end of
// this frame even if its value has not changed, as a soft key that repeats a
// command does. Ignored outside the table.
void grSendOutput(int output);

// Receives one value to send: the output's index and its value.
typedef void (*GrOutputSink)(int output, double value, void* context);

// Host side, once a frame after UpdateDisplayModel: hands sink every output
// whose variable changed since it was last sent, or that grSendOutput
// marked, and returns how many. A NaN, an infinity or a value outside the
// output's range is not sent: it is counted in grOutputsRefused and refused
// again only when the variable changes again.
int grCollectOutputs(GrOutputSink sink, void* context);

// How many values grCollectOutputs refused since grUseOutputs.
long long grOutputsRefused(void);

#ifdef __cplusplus
}  // extern "C"
#endif
