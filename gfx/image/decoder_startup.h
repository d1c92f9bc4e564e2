// The platform's image decoder must be started once per process before the
// first image table is loaded; loadImages does it, so hosts never need to.
#pragma once

// Starts the decoder; later calls do nothing. False when it cannot start.
// Exported by the shared library beside the gr API, with C linkage like it.
extern "C" bool startImageDecoder();
