// panel-snapshot: renders the display headless and writes a PNG.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "png_file.h"

// What a frame may cost unless --max-memory allows more, in MiB (2^20 bytes).
constexpr int kDefaultMemoryCapMb = 2048;
// Costs from this size on are announced before they are allocated.
constexpr int kAnnouncedCostMb = 256;

struct SnapshotOptions {
    int frames = 1;
    int samples = -1;  // -1: the view's default rule
    int width = 778;   // the display area with its 10-pixel margin
    int height = 1034;
    bool sizeGiven = false;  // false with a module: its display's area and margin
    std::string displayPath;  // a display module; empty: the built-in display
    std::string output;
    bool listFormats = false;
    bool help = false;  // print kSnapshotUsage and do nothing else
    bool batched = false;  // the drawing library's batched submission mode
    std::string gl = "gl1";  // the drawing library's backend (--gl)
    std::vector<std::string> dataSources;  // --data SOURCE, in order
    std::string recordPath;                // --record FILE
    bool progress = false;  // progress lines and a summary on stderr
    bool progressInPlace = false;  // stderr is a terminal: each line replaces the last
    int maxMemoryMb = kDefaultMemoryCapMb;  // the largest estimated cost rendered
    int threads = 0;  // the CPU backend's threads; 0: the default
};

// Frame k of a snapshot shows the inputs' values of time k x this.
constexpr double kSnapshotFrameMs = 40.0;

// Parses the command line; false with a message in *error for bad arguments.
bool parseSnapshotArgs(int argc, const char* const* argv, SnapshotOptions* options, std::string* error);

// The frame the drawing library last drew, read through its backend, top
// row first, opaque as a window shows it. storedTopRowFirst: the frame holds
// the picture top row first (drawn upside down, as a window stores it), so
// that its rows are taken as they are instead of turned. False (and image
// empty) when the backend cannot read it.
bool readFrame(int width, int height, bool storedTopRowFirst, RgbaImage* image);
// readFrame's picture; empty when it cannot be read.
RgbaImage readFramebuffer(int width, int height, bool storedTopRowFirst);

// The memory a headless frame of width x height pixels at samples per pixel
// takes, estimated from the buffers it makes: the surface, the frame's
// colour and stencil per sample, the resolved frame and two read-back copies.
uint64_t frameMemoryBytes(int width, int height, int samples);

// Runs the tool (or prints the usage to out): 0 on success, 1 when the
// display module is refused or rendering fails, 2 for a sample count the
// table lacks or a frame above the memory cap.
int runSnapshot(const SnapshotOptions& options, std::ostream& out, std::ostream& err);

// The whole tool on a UTF-8 command line: parses it, then runs; the exit
// status (2 for bad arguments, with the usage on stderr).
int snapshotMain(int argc, const char* const* argv);

extern const char* const kSnapshotUsage;
