// How the process keeps its heap: set once at start-up by every program that
// renders (the window program, panel-snapshot, panel-bench).
#pragma once

// Keeps freed heap memory in the process instead of handing it back to the
// kernel. The software GL driver allocates and frees megabytes in 64-128 KB
// blocks every frame; with glibc's defaults those blocks are mapped and
// unmapped, or the heap top trimmed, each frame, and the next frame faults
// every page back in. Call before the first GL context exists. Returns false
// where the C library offers no such setting (then nothing changes).
bool keepDriverHeap();
