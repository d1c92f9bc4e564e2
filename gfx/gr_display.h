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
    void (*updateDisplayModel)(void);
    // Draws one frame between grBeginFrame and grEndFrame.
    void (*drawDisplay)(void);
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

#ifdef __cplusplus
}  // extern "C"
#endif
