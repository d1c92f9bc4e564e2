// The CPU backend behind the library's backend seam.
#pragma once

#include <memory>

#include "backends/backend.h"

// Names the CPU backend answers to: "cpu" draws without samples, "cpu2",
// "cpu4" and "cpu8" with that many a pixel, "cpu-exact" with exact coverage
// (GR_EXACT_COVERAGE_SAMPLES). Returns its sample count, or -1 for any
// other name.
int cpuBackendSamples(const char* name);

// The CPU backend drawing with samples per pixel (0, 2, 4, 8 or
// GR_EXACT_COVERAGE_SAMPLES) on threads
// threads (the caller's included); 0 takes drawingThreadCount() at each
// grInit.
std::unique_ptr<Backend> makeCpuBackend(int samples, int threads);
