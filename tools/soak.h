// The display run headless for many frames or context cycles, and the
// figures that show whether it holds steady: resident memory, open files,
// live GL textures, GL errors and calls the drawing library refused.
#pragma once

#include <memory>
#include <string>

#include "display_renderer.h"
#include "gl_choice.h"
#include "headless_target.h"

struct SoakFigures {
    long frames = 0;        // frames drawn so far
    long residentKb = 0;    // resident set size of the process
    int openFiles = 0;      // file descriptors the process holds
    int liveTextures = 0;   // texture names the current context knows; -1 without GL
    long glErrors = 0;      // GL errors read after the frames so far
    long refusedCalls = 0;  // calls the drawing library refused (grDiagnostics)
    long cycles = 0;        // context re-creations so far
};

long residentKilobytes();
long peakResidentKilobytes();
int openFileCount();
// Names from 1 up to a bound that glIsTexture reports as textures.
int liveTextureCount();
// Every refusal grDiagnostics counts, summed.
long refusedCallCount();

// "frame 5000: resident 98.1 MB, 6 files open, 3 live textures, 0 GL errors, 0 refused calls"
// (without the live textures on the CPU backend, which has no GL names)
std::string describe(const SoakFigures& figures);

// The display on a headless target with its renderer, as a view holds it.
class HeadlessDisplay {
public:
    ~HeadlessDisplay() { Stop(); }
    // Probes the formats and creates the context with samples (-1: the
    // view's default level); false with the reason.
    bool Start(int width, int height, int samples, std::string* error);
    // Draws through the named backend ("gl1" by default, or one of
    // kToolChoiceNames) in the context it needs; before Start.
    bool UseBackend(const std::string& name);
    // Paints n frames, waiting for each to finish and reading its GL errors.
    void RunFrames(long n, bool running = true);
    // Destroys the context and creates it again with the next offered
    // multisampling level, as switching levels in the program does.
    bool Recreate(std::string* error);
    SoakFigures Figures() const;
    const PixelFormatTable& Formats() const { return renderer_.Formats(); }
    int Samples() const { return samples_; }
    void Stop();

private:
    bool CreateContext(std::string* error);

    DisplayRenderer renderer_;
    std::unique_ptr<HeadlessTarget> target_;
    int width_ = 0, height_ = 0, samples_ = 0;
    long frames_ = 0, glErrors_ = 0, cycles_ = 0;
    bool started_ = false;
    std::string backend_ = "gl1";
};
