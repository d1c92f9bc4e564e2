// gr_display: how a generated display introduces itself to the runtime.
//
// A display hands the runtime one GrDisplay: its tables, its two entry
// points, its name and the size of its display area. It is either linked
// into the program or built as a shared module that exports
// grDisplayDescriptor(), declared with GR_EXPORT_DISPLAY.
#pragma once

#include <cstdint>

#include "gr.h"

// The layout of GrDisplay and the gr API a display is built against. The
// runtime refuses a module whose descriptor carries another number.
enum { GR_DISPLAY_INTERFACE_VERSION = 1 };

struct GrDisplay {
    // First, so that a runtime can read it from a descriptor of any layout.
    int32_t interfaceVersion;  // GR_DISPLAY_INTERFACE_VERSION when built
    const char* name;          // UTF-8, for titles and messages
    int32_t width;             // the display area in units (pixels), > 0
    int32_t height;
    const GrTables* tables;    // handed to grUseTables before grInit
    // Advances the animated values by one frame: on every frame while the
    // program runs, and on the very first paint even while it is paused.
    void (*updateDisplayModel)();
    // Draws one frame between grBeginFrame and grEndFrame.
    void (*drawDisplay)();
};

// The one function a display module exports; the runtime looks it up by
// this name.
#define GR_DISPLAY_ENTRY_NAME "grDisplayDescriptor"
typedef const GrDisplay* (*GrDisplayEntry)();

#if defined(_WIN32)
#define GR_DISPLAY_EXPORTED __declspec(dllexport)
#else
#define GR_DISPLAY_EXPORTED __attribute__((visibility("default")))
#endif

// Defines the exported entry of a module returning descriptor, e.g.
//   GR_EXPORT_DISPLAY(kDisplay)
#define GR_EXPORT_DISPLAY(descriptor)                                            \
    extern "C" GR_DISPLAY_EXPORTED const GrDisplay* grDisplayDescriptor()       \
    {                                                                             \
        return &(descriptor);                                                    \
    }

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

// Selects the backend the library draws through: "gl1" (OpenGL 1.1, the
// default), "es2", "es3" or "core" (the shader backend, for OpenGL ES 2,
// OpenGL ES 3 and OpenGL 3.3 core contexts: GLSL ES 1.00, ES 3.00 and 3.30),
// or "auto" (the one that serves the context current at this call). loader
// finds the GL's entry points for the shader backend. Call before grInit or
// after grShutdown. False, keeping the previous choice, for a name no
// backend answers to.
bool grSelectBackend(const char* name, GrProcLoader loader);

// The name of the backend in use ("gl1", "es3", ...).
const char* grBackendName();

// Why grInit returned GR_INIT_BACKEND_FAILED; empty otherwise.
const char* grBackendError();

// The frame's viewport and projection: width x height pixels, one unit a
// pixel, y upwards, the display's origin originX, originY pixels in from the
// lower left corner; the modelview becomes a shift by pixelOffset in x and y.
void grSetProjection(int width, int height, double originX, double originY, float pixelOffset);

// Clears the frame's colour to r, g, b, a (0..1) and its stencil to 0;
// before grBeginFrame.
void grClearFrame(float r, float g, float b, float a);

// Reads the frame's lower left width x height pixels as RGBA bytes, bottom
// row first; after grEndFrame. False when the target cannot be read.
bool grReadPixels(int width, int height, uint8_t* rgba);
