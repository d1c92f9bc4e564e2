// How many threads the CPU backend draws with: what the host asked for
// (grSetThreadCount), else the processors the process may run on.
#pragma once

// The most threads a host may ask for.
constexpr int kMaxDrawingThreads = 64;
// The most the default takes: more bands than this cost more than they gain
// on a display of a few megapixels.
constexpr int kMaxDefaultDrawingThreads = 4;

// The processors the process may run on (its CPU affinity), at least 1.
int affinityProcessorCount();

// The count asked for by the host; 0 for the default.
int requestedThreadCount();
void setRequestedThreadCount(int threads);

// The count to draw with now: the one asked for, else the affinity's
// processors up to kMaxDefaultDrawingThreads.
int drawingThreadCount();
